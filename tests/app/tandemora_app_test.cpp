// The application with its main window, headless: new games, their closing questions, option
// commands and window layouts.
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <QMdiSubWindow>

#include "tests/app/app_fixture.h"

namespace {

using namespace tandemora;
using namespace app_test;

TEST_F(AppTest, NewGamesAreNumberedByKindAndPlacedSideBySide) {
    app->mainFrame().runCommand(kNewBughouseGame);
    app->mainFrame().runCommand(kNewCrazyhouseGame);
    app->mainFrame().runCommand(kNewCrazyhouseGame);
    ASSERT_EQ(app->newGameList().size(), 3u);
    EXPECT_EQ(board(0).subWindow()->windowTitle(), "Bughouse: New Game 1 (B1)");
    EXPECT_EQ(board(0, true).subWindow()->windowTitle(), "Bughouse: New Game 1 (B2)");
    EXPECT_EQ(board(2).subWindow()->windowTitle(), "Crazyhouse: New Game 2");
    EXPECT_EQ(board(0).subWindow()->geometry(), QRect(0, 0, 480, 480));
    EXPECT_EQ(board(0, true).subWindow()->geometry(), QRect(481, 0, 480, 480));
    EXPECT_TRUE(board(0, true).flipped);

    // Once every new game is closed the numbers start again.
    answer("No");
    answer("No");
    answer("No");
    EXPECT_TRUE(app->closeAll());
    app->mainFrame().runCommand(kNewCrazyhouseGame);
    EXPECT_EQ(app->newGameList().front()->gameNumber, 1);
}

TEST_F(AppTest, ClosingANewGameAsksAndCancelKeepsIt) {
    app->mainFrame().runCommand(kNewCrazyhouseGame);
    app->mainFrame().runCommand(kNewBughouseGame);
    // Cancel at the second question stops Close All; the first game is already gone.
    answer("No");
    answer("Cancel");
    EXPECT_FALSE(app->closeAll());
    ASSERT_EQ(app->newGameList().size(), 1u);
    EXPECT_TRUE(app->newGameList().front()->isBughouse());

    answer("Cancel");
    board(0).command(kCloseDocument)->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(app->newGameList().size(), 1u);
    answer("No");
    board(0).subWindow()->close();
    QCoreApplication::processEvents();
    EXPECT_TRUE(app->newGameList().empty());
}

TEST_F(AppTest, ANewGameIsSavedOnClosingOrKeptWhenNoFileIsChosen) {
    app->mainFrame().runCommand(kNewCrazyhouseGame);
    ASSERT_TRUE(board(0).rules().makeMoveFromText("e4", true, false));
    const fs::path saved = folder / "game.bpgn";
    for (const std::string& choice : {std::string(), saved.string()}) {
        dialog_test::whenModal(QStringLiteral("Tandemora"), [choice](QDialog& box) {
            chooseFile(choice);
            dialog_test::click(box, "Yes");
        });
        const bool closed = app->closeGame(*app->newGameList().front(), true);
        EXPECT_EQ(closed, !choice.empty());
        EXPECT_EQ(app->newGameList().size(), choice.empty() ? 1u : 0u);
    }
    const std::string text = fileText(saved);
    EXPECT_NE(text.find("[Event \"Crazyhouse game\"]"), std::string::npos);
    EXPECT_NE(text.find("1A. e4"), std::string::npos);
}

TEST_F(AppTest, ALayoutPutsTheFirstBoardsBackWhereTheyWere) {
    for (int i = 0; i < 3; ++i) app->mainFrame().runCommand(kNewBughouseGame);
    for (int i = 0; i < 6; ++i) board(i / 2, i % 2).subWindow()->setGeometry(10 * i, 20 * i, 300 + i, 320);
    app->mainFrame().runCommand(kSaveLayout1);
    for (int i = 0; i < 6; ++i) board(i / 2, i % 2).subWindow()->setGeometry(500, 300, 200, 200);
    app->mainFrame().runCommand(kRestoreLayout1);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(board(i / 2, i % 2).subWindow()->geometry(), QRect(10 * i, 20 * i, 300 + i, 320));
    EXPECT_EQ(board(2, true).subWindow()->geometry(), QRect(500, 300, 200, 200));  // only four are stored

    // Saved settings carry the layouts; the settings file already exists.
    app->mainFrame().runCommand(kSaveSettingsNow);
    EXPECT_EQ(fs::file_size(folder / "Tandemora.WL"), 1632u);
}

TEST_F(AppTest, OptionCommandsToggleTheirSettingsAndChecks) {
    QAction* clocks = app->mainFrame().command(kHighResolutionClocks);
    app->mainFrame().runCommand(kNewCrazyhouseGame);
    const int clockX = board(0).boardLayout().whiteClockPos.x;
    clocks->trigger();
    EXPECT_TRUE(clocks->isChecked());
    EXPECT_EQ(app->settings().highPrecisionClocks, 1);
    EXPECT_LT(board(0).boardLayout().whiteClockPos.x, clockX);  // the longer sample moves the clock left
    EXPECT_FALSE(app->mainFrame().command(kDeleteLastMove)->isEnabled());
}

TEST_F(AppTest, ReplaySpeedIsOneChoiceKeptInTheSettings) {
    CMainFrame& frame = app->mainFrame();
    EXPECT_TRUE(frame.command(kReplaySpeed1)->isChecked());
    frame.command(kReplaySpeed4)->trigger();
    frame.command(kSkipLongThinks)->trigger();
    EXPECT_EQ(app->settings().replaySpeed, 4);
    EXPECT_EQ(app->settings().skipLongThinks, 1);
    EXPECT_FALSE(frame.command(kReplaySpeed1)->isChecked());
    frame.runCommand(kSaveSettingsNow);
    const std::string saved = fileText(folder / "Tandemora.INI");
    EXPECT_NE(saved.find("Replay speed=4"), std::string::npos);
    EXPECT_NE(saved.find("Skip long thinks=1"), std::string::npos);
}

// The entries at the end of the Window menu as it opens.
std::vector<QAction*> windowList(CMainFrame& frame) {
    auto* menu = static_cast<QMenu*>(frame.command(kCascadeWindows)->associatedObjects().front());
    emit menu->aboutToShow();
    std::vector<QAction*> entries;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) entries.clear();  // only what follows the last separator
        else if (!action->menu()) entries.push_back(action);
    }
    return entries;
}

// "&1 title" and an x when checked, one line each.
std::string listed(CMainFrame& frame) {
    std::string text;
    for (QAction* entry : windowList(frame)) text += entry->text().toStdString() + (entry->isChecked() ? " x\n" : "\n");
    return text;
}

TEST_F(AppTest, TheWindowMenuListsTheOpenWindowsAndActivatesTheChosenOne) {
    CMainFrame& frame = app->mainFrame();
    frame.runCommand(kNewBughouseGame);
    frame.runCommand(kNewCrazyhouseGame);
    frame.mdiArea().setActiveSubWindow(board(1).subWindow());
    EXPECT_EQ(listed(frame), "&1 Bughouse: New Game 1 (B1)\n&2 Bughouse: New Game 1 (B2)\n&3 Crazyhouse: New Game 1 x\n");

    board(0, true).subWindow()->showMinimized();
    windowList(frame).at(1)->trigger();
    EXPECT_EQ(frame.mdiArea().activeSubWindow(), board(0, true).subWindow());
    EXPECT_FALSE(board(0, true).subWindow()->isMinimized());

    // Opened again, the menu lists what is open now, once.
    answer("No");
    app->closeGame(*app->newGameList().back(), true);
    EXPECT_EQ(listed(frame), "&1 Bughouse: New Game 1 (B1)\n&2 Bughouse: New Game 1 (B2) x\n");
}

TEST_F(AppTest, DroppedFilesOpenAsGameListsAndOtherDragsAreRefused) {
    const std::string examples = std::string(TANDEMORA_SOURCE_DIR) + "/examples/";
    auto drag = [](const QList<QUrl>& urls) {
        auto* data = new QMimeData;
        data->setUrls(urls);
        return data;
    };
    auto accepts = [this](QMimeData* data) {
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&app->mainFrame(), &enter);
        return enter.isAccepted();
    };
    std::unique_ptr<QMimeData> web(drag({QUrl("https://example.org/games.bpgn")}));
    std::unique_ptr<QMimeData> mixed(drag({QUrl::fromLocalFile(QString::fromStdString(examples + "crazyhouse-sampler.bpgn")),
                                           QUrl("https://example.org/games.bpgn")}));
    EXPECT_FALSE(accepts(web.get()));
    EXPECT_FALSE(accepts(mixed.get()));

    std::unique_ptr<QMimeData> files(drag({QUrl::fromLocalFile(QString::fromStdString(examples + "crazyhouse-sampler.bpgn")),
                                           QUrl::fromLocalFile(QString::fromStdString(examples + "bughouse-club.bpgn"))}));
    ASSERT_TRUE(accepts(files.get()));
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, files.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&app->mainFrame(), &drop);
    EXPECT_TRUE(app->managerList().empty()) << "the files open once the drop has ended";
    QApplication::processEvents();
    ASSERT_EQ(app->managerList().size(), 2u);
    EXPECT_EQ(app->managerList()[0]->path(), examples + "crazyhouse-sampler.bpgn");
    EXPECT_EQ(app->managerList()[1]->path(), examples + "bughouse-club.bpgn");
}

}  // namespace
