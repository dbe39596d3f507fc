// tandemora-paintbench [ROUNDS]: how long a 480 x 480 board window takes to paint, measured
// against a plain copy of a whole 480 x 480 image in the same run:
//   paintAll            (names, clocks, buffer and board, after every move),
//   paintClocks         (every replay tick),
//   layout + tiles      (every size change),
//   paintAll with the last move, coordinates and large counts shown,
//   paintAll at a pixel ratio of 2 (a high-DPI screen).
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "board/painting/board_painter.h"

using namespace tandemora;

namespace {

// Microseconds per call, over `rounds` calls.
double microseconds(int rounds, const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) work();
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() / rounds;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;

    const Settings settings;
    const DrawingResources resources = makeDrawingResources(settings, app.primaryScreen()->logicalDotsPerInchY());
    BoardPainter painter(resources);
    Board position = Board::initial(180000);
    const int reserve[kReserveSlots] = {3, 1, 2, 0, 1, 12, 0, 1, 1, 0};  // a busy bughouse buffer
    for (int slot = 0; slot < kReserveSlots; ++slot) position.holdings[slot] = reserve[slot];
    position.lastFrom = squareIndex(4, 1);
    position.lastTo = squareIndex(4, 3);
    const BoardScene scene{&position, false, "WHITE", "BLACK", true, QColor(Qt::white)};
    BoardScene readable = scene;
    readable.markLastMove = readable.showCoordinates = readable.largeCounts = true;

    QImage window(480, 480, QImage::Format_RGB32);
    window.fill(Qt::white);
    QImage screen(480, 480, QImage::Format_RGB32);
    painter.layout(window.width(), window.height(), scene);

    const double paintAll = microseconds(rounds, [&] { painter.paintAll(window, scene); });
    const double paintClocks = microseconds(rounds, [&] { painter.paintClocks(window, scene); });
    const double relayout = microseconds(std::max(1, rounds / 10), [&] {
        painter.layout(window.width(), window.height(), scene);
    });
    const double paintReadable = microseconds(rounds, [&] { painter.paintAll(window, readable); });
    QImage sharp(960, 960, QImage::Format_RGB32);
    sharp.setDevicePixelRatio(2);
    sharp.fill(Qt::white);
    painter.layout(480, 480, scene, 2);
    const double paintSharp = microseconds(rounds, [&] { painter.paintAll(sharp, scene); });
    const double copy = microseconds(rounds, [&] {
        QPainter onScreen(&screen);
        onScreen.setCompositionMode(QPainter::CompositionMode_Source);
        onScreen.drawImage(0, 0, window);
    });

    std::printf("480 x 480 board window, square size %d, %d rounds\n", painter.layout().squareSize, rounds);
    std::printf("  paintAll        %9.1f us\n", paintAll);
    std::printf("  paintClocks     %9.1f us\n", paintClocks);
    std::printf("  layout + tiles  %9.1f us\n", relayout);
    std::printf("  plain copy      %9.1f us   (drawImage of the whole image)\n", copy);
    std::printf("  paintAll / copy %9.2f\n", paintAll / copy);
    std::printf("  paintAll, readable options / paintAll  %6.2f  (%.1f us)\n", paintReadable / paintAll, paintReadable);
    std::printf("  paintAll, pixel ratio 2 / paintAll     %6.2f  (%.1f us)\n", paintSharp / paintAll, paintSharp);
    return 0;
}
