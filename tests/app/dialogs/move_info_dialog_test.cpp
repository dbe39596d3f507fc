#include "app/dialogs/move_info_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

#include "tests/modal_driver.h"
#include "tests/game/test_games.h"

using namespace dialog_test;
using namespace tandemora_test;

namespace {

class DialogEvents : public GameEvents {
public:
    std::unique_ptr<MoveInfoView> createMoveInfoDialog(CGame& game) override {
        auto dialog = std::make_unique<MoveInfoDialog>(game);
        dialog->show();
        return dialog;
    }
};

struct MoveInfoDialogTest : testing::Test {
    // A crazyhouse game played from `moves`, back at its start, with the dialog open.
    void open(const std::string& moves) {
        game = newGame(kCrazyhouse);
        game->events = &events;
        ASSERT_TRUE(play(*game, moves));
        game->toStart();
        game->toggleMoveInfo();
        ASSERT_NE(game->moveInfoDialog, nullptr);
    }
    MoveInfoDialog& dialog() { return static_cast<MoveInfoDialog&>(*game->moveInfoDialog); }
    QLineEdit& edit(const char* name) { return control<QLineEdit>(dialog(), name); }
    QListWidget& list(const char* name) { return control<QListWidget>(dialog(), name); }
    QStringList lines(const char* name) {
        QStringList texts;
        for (int i = 0; i < list(name).count(); ++i) texts << list(name).item(i)->text();
        return texts;
    }
    void clickLine(const char* name, int row) {
        QListWidget& widget = list(name);
        QTest::mouseClick(widget.viewport(), Qt::LeftButton, {}, widget.visualItemRect(widget.item(row)).center());
    }

    DialogEvents events;
    std::unique_ptr<CGame> game;
};

TEST_F(MoveInfoDialogTest, FollowsTheCurrentMove) {
    open("A:e4 a:e5 A:Nf3");
    EXPECT_EQ(edit("move").text(), "");
    EXPECT_EQ(edit("time").text(), "");
    EXPECT_FALSE(edit("time").isEnabled());
    EXPECT_FALSE(edit("annotation").isEnabled());
    EXPECT_EQ(lines("nextMoves"), QStringList{"1A. e4"});

    game->root->firstChild()->firstChild()->annotation = "!?";
    game->forwardOne();
    EXPECT_EQ(edit("move").text(), "1A. e4");
    EXPECT_EQ(edit("time").text(), QString::number(game->current->clockSeconds));
    EXPECT_TRUE(edit("time").isEnabled());
    EXPECT_TRUE(edit("annotation").isEnabled());
    EXPECT_EQ(lines("nextMoves"), QStringList{"1a. e5!?"});
    EXPECT_EQ(lines("alternatives"), QStringList{});
}

TEST_F(MoveInfoDialogTest, SelectingALineStepsToThatMove) {
    open("A:e4");
    game->toStart();
    ASSERT_TRUE(play(*game, "A:d4"));
    game->toStart();
    ASSERT_TRUE(play(*game, "A:c4"));
    game->toStart();
    const auto& starts = game->root->children;
    starts[0]->moveText[0] = '\0';  // a continuation without a move is not listed
    game->fillMoveInfo();
    EXPECT_EQ(lines("nextMoves"), (QStringList{"1A. d4", "1A. c4"}));

    clickLine("nextMoves", 1);
    EXPECT_EQ(game->current, starts[2].get());
    EXPECT_EQ(lines("alternatives"), QStringList{"1A. d4"});
    clickLine("alternatives", 0);
    EXPECT_EQ(game->current, starts[1].get());
    EXPECT_EQ(edit("move").text(), "1A. d4");
    EXPECT_EQ(lines("alternatives"), QStringList{"1A. c4"});
}

TEST_F(MoveInfoDialogTest, OnlyAClickOrEnterOrSpaceOnALineSteps) {
    QWidget board;  // takes the activation away, as a board window does
    board.show();
    const struct {
        std::vector<int> keys;  // typed into "Next move:" after Tab brought the focus there
        bool click;             // on its first line while the board is active, which then comes back
        int plies;
    } cases[] = {{{}, false, 0}, {{Qt::Key_Down}, false, 0}, {{}, true, 1},
                 {{Qt::Key_Return, Qt::Key_Enter}, false, 2}, {{Qt::Key_Space}, false, 1}};
    for (const auto& c : cases) {
        open("A:e4 a:e5 A:Nf3");
        QApplication::setActiveWindow(c.click ? &board : &dialog());
        list("nextMoves").setFocus(Qt::TabFocusReason);
        for (int key : c.keys) QTest::keyClick(&list("nextMoves"), static_cast<Qt::Key>(key));
        if (c.click) clickLine("nextMoves", 0);
        QApplication::setActiveWindow(&dialog());  // after a refill the list has no current line
        const GameNode* expected = game->root.get();
        for (int ply = 0; ply < c.plies; ++ply) expected = expected->firstChild();
        EXPECT_EQ(game->current, expected) << "keys " << c.keys.size() << ", click " << c.click;
    }
}

TEST_F(MoveInfoDialogTest, ApplyStoresTheFieldsAndDiscardShowsThemAgain) {
    open("A:e4 a:e5");
    game->forwardOne();
    game->modified = false;
    click(dialog(), "Apply changes");
    EXPECT_TRUE(game->modified);  // even with nothing edited

    edit("time").setText("170");
    edit("annotation").setText("!");
    control<QPlainTextEdit>(dialog(), "comment").setPlainText("the usual");
    click(dialog(), "Apply changes");
    EXPECT_EQ(game->current->clockSeconds, 170);
    EXPECT_EQ(game->current->annotation, "!");
    EXPECT_EQ(game->current->comment, "the usual");
    EXPECT_EQ(edit("move").text(), "1A. e4!");

    edit("annotation").setText("??");
    click(dialog(), "Discard changes");
    EXPECT_EQ(edit("annotation").text(), "!");
}

TEST_F(MoveInfoDialogTest, ClosingMakesTheGameForgetTheDialog) {
    for (bool escape : {false, true}) {
        open("A:e4");
        if (escape) QTest::keyClick(&dialog(), Qt::Key_Escape);
        else dialog().close();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !game->moveInfoDialog; }, 1000)) << escape;
    }
    // A game destroyed before the posted release runs has taken its dialog along.
    open("A:e4");
    dialog().close();
    game.reset();
    QTest::qWait(20);
}

TEST_F(MoveInfoDialogTest, PlacedBelowAWindowKeepingItsSize) {
    open("A:e4");
    QWidget frame;
    frame.setGeometry(100, 80, 300, 200);
    QWidget board(&frame);
    board.setGeometry(10, 20, 120, 90);
    frame.show();
    const QSize size = dialog().size();

    dialog().placeBelow(&board);
    EXPECT_EQ(dialog().pos(), board.mapToGlobal(QPoint(0, 90)));
    dialog().placeBelow(&frame);
    EXPECT_EQ(dialog().pos(), frame.frameGeometry().bottomLeft() + QPoint(0, 1));
    EXPECT_EQ(dialog().size(), size);
}

}  // namespace
