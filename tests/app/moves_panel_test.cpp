// The Moves panel and the active game it shows: its text, clicks and keys that move the game,
// nothing else that does, closing games, and the dock kept with the settings.

#include <QListView>
#include <QTest>

#include "app/panels/game_panels.h"
#include "app/panels/moves_panel.h"
#include "tests/app/app_fixture.h"

namespace {

using namespace tandemora;
using namespace app_test;

const char* const kGame =
    "[Event \"Bughouse game\"]\n\n"
    "{C:start} 1A. e4 {179} {A:!} {C:central} 1B. d4 {178} (1B. e4 {177} 1b. e5 {176}) 1b. d5 {173} 1a. e5 {172}\n\n"
    "{*} *\n";

class MovesPanelTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        const fs::path path = folder / "game.bpgn";
        std::ofstream(path, std::ios::binary) << kGame;
        ASSERT_TRUE(app->openFile(path.string()));
        list = app->managerList().front();
        auto* view = list->findChild<QListView*>();
        view->setCurrentIndex(view->model()->index(0, 0));
        game = list->games().front().get();
        panel = app->mainFrame().findChild<MovesPanel*>();
        // Wide enough that no line of the game wraps.
        app->mainFrame().resize(1600, 800);
        app->mainFrame().resizeDocks({&app->mainFrame().gamePanels()}, {700}, Qt::Horizontal);
        QApplication::processEvents();  // the active game is looked at once the game is open
    }
    std::string text() const { return panel->text().toStdString(); }
    // Whether the move is drawn, at least in part, in exactly that colour.
    bool drawnIn(const GameNode* node, const QColor& colour) const {
        const QImage image = panel->viewport()->grab().toImage();
        const QRect rect = panel->moveRect(node);
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                if (image.pixelColor(x, y) == colour) return true;
        return false;
    }
    QPoint pointOf(const GameNode* node) const { return panel->moveRect(node).center(); }

    CBPGNManager* list = nullptr;
    CGame* game = nullptr;
    MovesPanel* panel = nullptr;
};

TEST_F(MovesPanelTest, ShowsBothBoardsNumberedWithClocksCommentsAndVariationsInBrackets) {
    ASSERT_EQ(panel->game(), game);
    EXPECT_EQ(text(), "start 1A. e4! 2:59 central 1B. d4 2:58\n( 1B. e4 2:57 1b. e5 2:56 )\n1b. d5 2:53 1a. e5 2:52");
    GameNode* e4 = game->root->firstChild();
    GameNode* d4 = e4->firstChild();
    GameNode* variation = e4->children[1].get();
    const QColor boardA(0x1d, 0x4f, 0x91), boardB(0xa4, 0x46, 0x0c);
    EXPECT_TRUE(drawnIn(e4, boardA));
    EXPECT_FALSE(drawnIn(e4, boardB));
    EXPECT_TRUE(drawnIn(d4, boardB));
    EXPECT_TRUE(drawnIn(variation, boardB));
    const GameNode* after = d4->firstChild();  // the main line goes on below the variation
    EXPECT_GT(panel->moveRect(variation).left(), panel->moveRect(after).left());  // indented
    EXPECT_GT(panel->moveRect(variation).top(), panel->moveRect(d4).top());
}

TEST_F(MovesPanelTest, AClickOrUpAndDownGoToAMoveOnBothBoards) {
    GameNode* e5 = game->root->firstChild()->children[1]->firstChild();  // 1b. e5 in the variation
    QTest::mouseClick(panel->viewport(), Qt::LeftButton, {}, pointOf(e5));
    ASSERT_EQ(game->current, e5);
    EXPECT_STREQ(game->boardB->position().lastMove, e5->positionB->lastMove);
    EXPECT_EQ(game->boardA->position().whiteClockMs, e5->positionA.whiteClockMs);
    EXPECT_NE(static_cast<CBoardFrame&>(*game->boardB).subWindow()->windowTitle().indexOf(u"e5"), -1);

    // In the order shown: out of the variation on to the main line, and back.
    QTest::keyClick(panel, Qt::Key_Down);
    EXPECT_STREQ(game->current->moveText, "d5");
    QTest::keyClick(panel, Qt::Key_Up);
    EXPECT_EQ(game->current, e5);
    QTest::mouseClick(panel->viewport(), Qt::LeftButton, {}, QPoint(panel->viewport()->width() - 2, panel->viewport()->height() - 2));
    EXPECT_EQ(game->current, e5);  // no move there
}

TEST_F(MovesPanelTest, OnlyTheUserMovesTheGame) {
    GameNode* d4 = game->root->firstChild()->firstChild();
    game->moveTo(d4);
    GamePanels& dock = app->mainFrame().gamePanels();
    const std::pair<const char*, std::function<void()>> happenings[] = {
        {"shown again", [&] { panel->showGame(game); }},
        {"position told", [&] { panel->positionChanged(); }},
        {"tree edited", [&] { game->applyMoveInfoEdits({"170", "?", "edited"}); }},
        {"list activated", [&] { list->bringToFront(); }},
        {"board activated", [&] { static_cast<CBoardFrame&>(*game->boardB).bringToTop(); }},
        {"panel focused", [&] { panel->setFocus(); }},
        {"dock hidden and shown", [&] { dock.hide(), dock.show(); }},
        {"dock floated", [&] { dock.setFloating(true); }},
    };
    for (const auto& [name, happening] : happenings) {
        happening();
        QApplication::processEvents();
        EXPECT_EQ(game->current, d4) << name;
    }
    EXPECT_EQ(panel->game(), game);
    EXPECT_NE(text().find("1B. d4? 2:50 edited"), std::string::npos);
}

// Records what the active game tells a view, and whether a game let go still had its tree.
struct RecordingView : QWidget, GameView {
    void showGame(CGame* game) override {
        if (!game && shown) treeWhenLetGo = shown->root != nullptr;
        shown = game;
        ++changes;
    }
    void positionChanged() override {}
    CGame* shown = nullptr;
    int changes = 0;
    bool treeWhenLetGo = false;
};

TEST_F(MovesPanelTest, AClosingGameIsLetGoBeforeItsTreeGoes) {
    auto& view = app->mainFrame().gamePanels().addView(new RecordingView, 1);
    ASSERT_EQ(view.shown, game);
    app->closeGame(*game, true);  // its boards close; the list keeps the game
    EXPECT_EQ(view.shown, nullptr);
    EXPECT_TRUE(view.treeWhenLetGo);
    EXPECT_EQ(panel->game(), nullptr);

    app->newGame(true);
    QApplication::processEvents();
    ASSERT_EQ(view.shown, app->newGameList().front().get());
    view.treeWhenLetGo = false;
    app->removePtrFromGameList(view.shown);  // the game itself goes
    EXPECT_EQ(view.shown, nullptr);
    EXPECT_TRUE(view.treeWhenLetGo);
    EXPECT_TRUE(panel->text().isEmpty());
}

TEST_F(MovesPanelTest, TheDockKeepsItsPlaceWithTheSettings) {
    QAction* toggle = app->mainFrame().command(kToggleGamePanels);
    ASSERT_TRUE(toggle->isChecked());
    toggle->trigger();
    EXPECT_TRUE(app->mainFrame().gamePanels().isHidden());
    app->mainFrame().gamePanels().setFloating(false);
    app->saveSettings();
    app->removePtrFromManagerList(list);
    delete list->subWindow();

    app = std::make_unique<CTandemoraApp>(SettingsFiles{folder / "Tandemora.INI", folder / "Tandemora.WL"});
    app->start();
    EXPECT_TRUE(app->mainFrame().gamePanels().isHidden());
    EXPECT_FALSE(app->mainFrame().command(kToggleGamePanels)->isChecked());
    app->mainFrame().command(kToggleGamePanels)->trigger();
    EXPECT_FALSE(app->mainFrame().gamePanels().isHidden());
}

}  // namespace
