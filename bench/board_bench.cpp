// tandemora-boardbench [GAMES]: how long the board windows of a bughouse game take to show a
// move, with two 480 x 480 windows, measured against a plain copy of one 480 x 480 image in
// the same run:
//   move typed   (the rules apply it, the tree stores it, both windows repaint),
//   step         (a navigation or replay step that plays a move: both windows repaint),
//   tick         (a replay tick without a move: both clocks repaint).
// Each includes handing the changed pixels to the screen.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "bench/game_generator.h"
#include "board/fixed_environment.h"

using namespace tandemora;

namespace {

using Clock = std::chrono::steady_clock;

double microsecondsSince(Clock::time_point start, long calls) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / static_cast<double>(calls);
}

// The main line of a game as (board letter, move) pairs.
std::vector<std::pair<char, std::string>> mainLine(const CGame& game) {
    std::vector<std::pair<char, std::string>> moves;
    for (const GameNode* node = game.root->firstChild(); node; node = node->firstChild())
        moves.emplace_back(node->boardLetter, node->moveText);
    return moves;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int games = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    FixedBoardEnvironment environment;

    double typed = 0, step = 0, tick = 0;
    long typedMoves = 0, steps = 0, ticks = 0;
    for (int seed = 1; seed <= games; ++seed) {
        std::istringstream text(randomGameText(seed, true));
        CGame recorded;
        if (!recorded.readGame(text) || !recorded.replayGame()) continue;

        CGame game;
        game.createBughouseBoards(environment);
        auto& a = static_cast<CBoardFrame&>(*game.boardA);
        auto& b = static_cast<CBoardFrame&>(*game.boardB);
        a.placeWindow(0, 0, 0, 0);
        b.placeWindow(481, 0, 0, 0);
        QApplication::processEvents();

        const auto moves = mainLine(recorded);
        auto start = Clock::now();
        for (const auto& [letter, move] : moves) {
            CBoardFrame& board = (letter == 'A' || letter == 'a') ? a : b;
            board.rules().makeMoveFromText(move, letter == 'A' || letter == 'B', false);
            QApplication::processEvents();
        }
        typed += std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        typedMoves += static_cast<long>(moves.size());

        game.toStart();
        start = Clock::now();
        while (game.current->firstChild()) {
            game.forwardOne();
            QApplication::processEvents();
            ++steps;
        }
        step += std::chrono::duration<double, std::micro>(Clock::now() - start).count();

        start = Clock::now();
        for (int i = 0; i < 50; ++i) {
            a.repaintClocks();
            b.repaintClocks();
            QApplication::processEvents();
        }
        tick += std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        ticks += 50;
    }

    QImage source(480, 480, QImage::Format_RGB32), target(480, 480, QImage::Format_RGB32);
    source.fill(Qt::darkGreen);
    const int copies = 2000;
    const auto copyStart = Clock::now();
    for (int i = 0; i < copies; ++i) {
        QPainter painter(&target);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, source);
    }
    const double copy = microsecondsSince(copyStart, copies);

    const double perTyped = typed / static_cast<double>(typedMoves), perStep = step / static_cast<double>(steps),
                 perTick = tick / static_cast<double>(ticks);
    std::printf("%ld typed moves, %ld steps, %ld ticks over %d bughouse games\n", typedMoves, steps, ticks, games);
    std::printf("baseline: one 480x480 image copy     %8.1f us\n", copy);
    std::printf("move typed, both windows shown       %8.1f us  %6.1f x copy  %5.2f%% of a 16 ms frame\n", perTyped,
                perTyped / copy, perTyped / 160.0);
    std::printf("step to the next move, both windows  %8.1f us  %6.1f x copy  %5.2f%% of a 16 ms frame\n", perStep,
                perStep / copy, perStep / 160.0);
    std::printf("replay tick, both clocks             %8.1f us  %6.1f x copy  %5.2f%% of a 16 ms frame\n", perTick,
                perTick / copy, perTick / 160.0);
    return 0;
}
