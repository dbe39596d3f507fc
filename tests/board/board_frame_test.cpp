// The board window driven as a user would: pieces dragged from squares and reserves, moves
// typed, promotions chosen, replay stepped.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <functional>

#include "board/fixed_environment.h"
#include "core/fen.h"
#include "tests/message_log.h"
#include "tests/modal_driver.h"
#include "resources/command_texts.h"

namespace {

using namespace tandemora;

class BoardFrameTest : public ::testing::Test {
protected:
    void open(bool bughouse, const char* fen = nullptr) {
        game = std::make_unique<CGame>();
        if (bughouse) game->createBughouseBoards(environment);
        else game->createCrazyhouseBoards(environment);
        if (fen) {
            Board board = Board::initial(180000);
            ASSERT_TRUE(parseFen(fen, board));
            game->root->positionA = board;
            game->synchronizeBoardsWithCurrentNode();
        }
        game->updateNavigationState();
        frame().placeWindow(0, 0, 0, 0);
        if (bughouse) board(true).placeWindow(481, 0, 0, 0);
    }
    CBoardFrame& board(bool b) { return static_cast<CBoardFrame&>(b ? *game->boardB : *game->boardA); }
    CBoardFrame& frame() { return board(false); }
    QWidget* canvas() { return frame().centralWidget(); }

    // The centre of a square in window coordinates.
    QPoint centre(const char* square) {
        const BoardLayout& l = frame().boardLayout();
        const int file = square[0] - 'a', rank = square[1] - '1';
        const int column = frame().flipped ? 7 - file : file, row = frame().flipped ? rank : 7 - rank;
        return {l.boardLeft + 1 + column * l.squareSize + l.squareSize / 2,
                l.boardTop + 1 + row * l.squareSize + l.squareSize / 2};
    }
    // The centre of a reserve cell: slot 0..4 white P R N B Q, 5..9 black.
    QPoint cellCentre(int slot) {
        const BoardLayout& l = frame().boardLayout();
        return {l.bufferLeft + l.cellOffset[slot].x + l.squareSize / 2, l.bufferTop + l.cellOffset[slot].y + l.squareSize / 2};
    }
    void drag(QPoint from, QPoint to) {
        QTest::mousePress(canvas(), Qt::LeftButton, {}, from);
        QTest::mouseMove(canvas(), (from + to) / 2);
        QTest::mouseMove(canvas(), to);
        QTest::mouseRelease(canvas(), Qt::LeftButton, {}, to);
    }
    std::string lastMove() { return game->current->moveText; }

    FixedBoardEnvironment environment;
    std::unique_ptr<CGame> game;
    tandemora_test::MessageLog messages;
};

TEST_F(BoardFrameTest, ADragMakesLegalMovesAndSilentlyUndoesOthers) {
    open(false);
    const QImage start = frame().backBuffer().copy();
    drag(centre("e2"), centre("e5"));  // illegal: the image is back as it was, no message
    EXPECT_EQ(game->current, game->root.get());
    EXPECT_EQ(frame().backBuffer(), start);
    drag(centre("e2"), cellCentre(0));  // released over the buffer: put back
    EXPECT_EQ(frame().backBuffer(), start);
    drag(centre("e7"), centre("e5"));  // black's piece while white is to move: nothing in hand
    EXPECT_EQ(game->current, game->root.get());
    EXPECT_TRUE(messages.messages.empty());

    drag(centre("e2"), centre("e4"));
    EXPECT_EQ(lastMove(), "e4");
    EXPECT_EQ(frame().position().at(4, 3), 'P');
    EXPECT_NE(frame().backBuffer(), start);

    // Over the marked squares and back from a square with coordinates, put back as it was.
    const QImage afterMove = frame().backBuffer().copy();
    QTest::mousePress(canvas(), Qt::LeftButton, {}, centre("a8"));
    QTest::mouseMove(canvas(), centre("e4"));
    QTest::mouseMove(canvas(), centre("e2"));
    QTest::mouseRelease(canvas(), Qt::LeftButton, {}, QPoint(1, 1));  // outside board and buffer
    EXPECT_EQ(frame().backBuffer(), afterMove);
}

TEST_F(BoardFrameTest, APieceFromTheReserveIsDroppedOrPutBack) {
    open(false, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR[N] w KQkq");
    ASSERT_EQ(frame().position().holdings[2], 1);
    const QImage start = frame().backBuffer().copy();
    QTest::mousePress(canvas(), Qt::LeftButton, {}, cellCentre(2));
    QTest::mouseMove(canvas(), centre("e4"));
    EXPECT_NE(frame().backBuffer(), start);  // the last knight has left its cell
    QTest::mouseRelease(canvas(), Qt::LeftButton, {}, QPoint(1, 1));  // outside board and buffer
    EXPECT_EQ(frame().backBuffer(), start);

    drag(cellCentre(2), centre("e4"));
    EXPECT_EQ(lastMove(), "N@e4");
    EXPECT_EQ(frame().position().holdings[2], 0);
}

TEST_F(BoardFrameTest, TypedMovesAreSubmittedOnceAndReportedWhenIllegal) {
    open(true);
    QLineEdit* box = frame().moveEntryBox();
    box->setText("nf3");
    QTest::keyClick(box, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(lastMove(), "Nf3");
    EXPECT_TRUE(box->text().isEmpty());

    box->setText("nf9");
    QTest::keyClick(box, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.messages, (std::vector<std::string>{"Illegal move: Nf9"}));
    EXPECT_EQ(lastMove(), "Nf3");
}

TEST_F(BoardFrameTest, APromotionAsksUnlessAutoQueenIsSet) {
    const char* fen = "8/4P3/8/8/8/8/8/k3K3[] w -";
    open(false, fen);
    environment.settingsValues.autoQueen = 1;
    drag(centre("e7"), centre("e8"));
    EXPECT_EQ(lastMove(), "e8=Q");

    environment.settingsValues.autoQueen = 0;
    game->backOne();
    bool asked = false;
    QPoint place;
    QTimer::singleShot(0, [&] {
        QWidget* chooser = QApplication::activeModalWidget();
        ASSERT_TRUE(chooser);
        asked = chooser->windowTitle() == "Promote";
        place = chooser->pos();
        for (QRadioButton* button : chooser->findChildren<QRadioButton*>())
            if (button->text() == "K&night") button->click();
    });
    drag(centre("e7"), centre("e8"));
    EXPECT_TRUE(asked);
    EXPECT_EQ(lastMove(), "e8=N");
    // The chooser lies on the destination square, inside its outline, where the player looks.
    const BoardLayout& l = frame().boardLayout();
    EXPECT_EQ(place, frame().mapToGlobal(QPoint(l.boardLeft + 4 * l.squareSize + 1, l.boardTop + 1)));

    game->backOne();
    QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
    drag(centre("e7"), centre("e8"));
    EXPECT_EQ(game->current, game->root.get());  // cancelled: no move
    EXPECT_EQ(frame().position().at(4, 6), 'P');

    // Typed: a cancelled choice is no illegal move; a piece letter without '=' needs no choice.
    QLineEdit* box = frame().moveEntryBox();
    dialog_test::whenModal(QStringLiteral("Promote"), [](QDialog& chooser) { QTest::keyClick(&chooser, Qt::Key_Escape); });
    box->setText("e8");
    QTest::keyClick(box, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(game->current, game->root.get());
    EXPECT_TRUE(messages.messages.empty());
    box->setText("e8n");
    QTest::keyClick(box, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(lastMove(), "e8=N");
}

TEST_F(BoardFrameTest, CommandsFollowTheNavigationAndReplayStates) {
    open(true);
    ASSERT_TRUE(game->parseMoveText("1A. e4 {180} 1B. d4 {180} 1a. e5 {180}", false));
    game->toStart();
    EXPECT_FALSE(frame().command(kBackInGame)->isEnabled());
    EXPECT_TRUE(frame().command(kForwardInGame)->isEnabled());
    EXPECT_FALSE(board(true).command(kStartReplay));  // board B has no game controls
    EXPECT_FALSE(frame().command(kForwardOnBoardWithSkip) == nullptr);

    frame().command(kStartReplay)->trigger();
    EXPECT_TRUE(frame().replaying());
    EXPECT_FALSE(frame().command(kStartReplay)->isEnabled());
    EXPECT_TRUE(frame().command(kStopReplay)->isEnabled());
    for (int step = 0; step < 20 && frame().replaying(); ++step) frame().replayTick();
    EXPECT_FALSE(frame().replaying());  // the last move ends it
    EXPECT_EQ(lastMove(), "e5");
    frame().command(kStartReplay)->trigger();  // at the end: refused, stays idle
    EXPECT_FALSE(frame().replaying());

    frame().command(kFlipBoards)->trigger();
    EXPECT_TRUE(frame().flipped);
    EXPECT_FALSE(board(true).flipped);
}

// Keys typed into a board's move-entry box, or the wheel turned over the board by eighths of
// a degree (positive away from the user).
std::function<void(CBoardFrame&)> keys(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    return [=](CBoardFrame& board) { QTest::keyClick(board.moveEntryBox(), key, modifiers); };
}
std::function<void(CBoardFrame&)> wheel(int angle, int turns = 1) {
    return [=](CBoardFrame& board) {
        const QPointF at(100, 100);
        for (int i = 0; i < turns; ++i) {
            QWheelEvent event(at, at, {}, {0, angle}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
            QApplication::sendEvent(board.centralWidget(), &event);
        }
    };
}

TEST_F(BoardFrameTest, KeysAndTheWheelStepAsTheToolbarDoes) {
    open(true);
    ASSERT_TRUE(game->parseMoveText("1A. e4 {180} 1B. d4 {180} 1a. e5 {180} 1b. d5 {180} 2A. Nf3 {170}", false));
    GameNode* const start = game->root.get();
    GameNode* const end = game->current;
    auto onCanvas = [](Qt::Key key) { return [key](CBoardFrame& b) { QTest::keyClick(b.centralWidget(), key); }; };
    const struct {
        bool boardB;
        GameNode* from;
        std::function<void(CBoardFrame&)> input;
        int toolbarCommand;  // the same step on a toolbar; 0 for none
    } cases[] = {
        {false, end, keys(Qt::Key_Left), kBackOnBoard},      {true, end, keys(Qt::Key_Left), kBackOnBoard},
        {true, start, keys(Qt::Key_Right), kForwardOnBoard}, {true, end, keys(Qt::Key_Home), kRewindGame},
        {false, start, onCanvas(Qt::Key_End), kFastForwardGame},
        {false, end, wheel(120), kBackOnBoard},              {true, start, wheel(-120), kForwardOnBoard},
        {false, end, wheel(30, 4), kBackOnBoard},  // a touchpad's small turns add up to a notch
        {false, end, wheel(60), 0},                          {false, start, keys(Qt::Key_Left), 0},
        {false, end, keys(Qt::Key_Left, Qt::ShiftModifier), 0},
        {false, end, [](CBoardFrame& b) { b.moveEntryBox()->setText("nf3"); keys(Qt::Key_Left)(b); }, 0},  // editing
        {true, end, [](CBoardFrame& b) { b.bringToTop(); b.moveEntryBox()->setFocus(); }, 0},  // focus alone
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        game->moveTo(c.from);
        // Board B has no game controls: the game's start and end buttons are board A's.
        if (c.toolbarCommand) {
            CBoardFrame& withButton = board(c.boardB).command(c.toolbarCommand) ? board(c.boardB) : frame();
            withButton.command(c.toolbarCommand)->trigger();
        }
        GameNode* const expected = game->current;
        game->moveTo(c.from);
        c.input(board(c.boardB));
        EXPECT_EQ(game->current, expected) << "case " << i;
        board(c.boardB).moveEntryBox()->clear();
    }
}

}  // namespace
