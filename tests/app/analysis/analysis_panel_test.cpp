// The Analysis panel against the scripted engine: the missing and the stopping engine, output
// of an earlier position never shown, lines in the program's notation, and a line played.

#include <cstdlib>

#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include "app/analysis/analysis_panel.h"
#include "tests/app/app_fixture.h"

namespace {

using namespace tandemora;
using namespace app_test;

// The engine's FEN of the start and after 1. e4, up to the side to move.
const char* const kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR[] w";
const char* const kAfterE4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR[] b";

class AnalysisPanelTest : public AppTest {
protected:
    // Opens a game of `moves`, makes the engine the scripted one answering from `table`, and
    // turns the analysis on.
    void start(const std::string& table, const char* moves = "1A. e4 {179} 1a. d5 {178}", const char* event = "Crazyhouse game") {
        std::ofstream(folder / "table.txt") << table;
        ::setenv("TANDEMORA_FAKE_ENGINE_TABLE", (folder / "table.txt").c_str(), 1);
        ::setenv("TANDEMORA_FAKE_ENGINE_LOG", (folder / "engine.log").c_str(), 1);
        app->mutableSettings().engineProgram = FAKE_ENGINE;
        app->mutableSettings().engineLines = 2;
        const fs::path path = folder / "game.bpgn";
        std::ofstream(path, std::ios::binary) << "[Event \"" << event << "\"]\n\n" << moves << "\n\n{*} *\n";
        ASSERT_TRUE(app->openFile(path.string()));
        auto* view = app->managerList().front()->findChild<QListView*>();
        view->setCurrentIndex(view->model()->index(0, 0));
        game = app->managerList().front()->games().front().get();
        game->toStart();
        panel = &app->mainFrame().analysisPanel();
        panel->show();
        panel->findChild<QPushButton*>(QStringLiteral("onOff"))->setChecked(true);
    }
    std::string label(const char* name) const { return panel->findChild<QLabel*>(QString::fromLatin1(name))->text().toStdString(); }
    QListWidget& lines() const { return *panel->findChild<QListWidget*>(QStringLiteral("lines")); }
    std::string line(int row) const { return row < lines().count() ? lines().item(row)->text().toStdString() : ""; }
    bool waitFor(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, 5000); }

    CGame* game = nullptr;
    AnalysisPanel* panel = nullptr;
};

TEST_F(AnalysisPanelTest, AMissingEngineIsNamedWithHowToInstallIt) {
    start("* => silent");
    for (const fs::path& program : {folder / "no-such-engine", folder / "Tandemora.INI"}) {
        app->mutableSettings().engineProgram = program.string();
        panel->optionsChanged();
        ASSERT_TRUE(waitFor([&] { return !label("message").empty(); })) << program;
        EXPECT_EQ(label("message"),
                  "Fairy-Stockfish is not installed: sudo apt-get install fairy-stockfish, or choose its program in Options");
        // Stepping on neither tries it again nor loses the message.
        game->forwardOne();
        QTest::qWait(50);
        EXPECT_NE(label("message").find("not installed"), std::string::npos);
        EXPECT_EQ(panel->engine().process(), nullptr);
    }
}

TEST_F(AnalysisPanelTest, AStoppedEngineIsRestartedOnTheSamePositionAndOneThatKeepsStoppingIsLeftAlone) {
    start(std::string("* => sleep 300 ; info depth 4 score cp 35 pv e2e4 e7e5\n"));
    ASSERT_TRUE(waitFor([&] { return line(0) == "+0.35  e4 e5"; }));
    panel->engine().process()->kill();
    ASSERT_TRUE(waitFor([&] { return label("message") == "The engine stopped; restarting it."; }));
    ASSERT_TRUE(waitFor([&] { return label("message") == "The engine stopped and was restarted."; }));
    EXPECT_EQ(line(0), "+0.35  e4 e5");
    const std::string log = fileText(folder / "engine.log");
    size_t searches = 0;
    for (size_t at = 0; (at = log.find(std::string("position fen ") + kStart, at)) != std::string::npos; ++at) ++searches;
    EXPECT_EQ(searches, 2u);

    std::ofstream(folder / "table.txt") << "* => info depth 1 score cp 10 pv d2d4 ; crash\n";
    panel->findChild<QPushButton*>(QStringLiteral("onOff"))->setChecked(false);
    panel->findChild<QPushButton*>(QStringLiteral("onOff"))->setChecked(true);
    ASSERT_TRUE(waitFor([&] { return label("message").find("again and again") != std::string::npos; }));
    QTest::qWait(100);
    EXPECT_EQ(panel->engine().process(), nullptr);
}

TEST_F(AnalysisPanelTest, AStepWhileTheEngineIsBusyNeverShowsTheLinesOfThePositionBefore) {
    start(std::string(kStart) + " => info depth 1 score cp 20 pv d2d4 ; sleep 200 ; info depth 2 score cp 30 pv g1f3\n" +
          kAfterE4 + " => info depth 1 score cp -40 pv e7e5\n");
    ASSERT_TRUE(waitFor([&] { return line(0) == "+0.20  d4"; }));
    std::vector<std::string> shown;
    QObject::connect(lines().model(), &QAbstractItemModel::dataChanged, panel, [&] { shown.push_back(line(0)); });
    game->forwardOne();
    ASSERT_TRUE(waitFor([&] { return line(0) == "+0.40  e5"; }));
    QTest::qWait(300);  // the old search's last line has come by now
    for (const std::string& text : shown) EXPECT_TRUE(text.empty() || text == "+0.40  e5") << text;
    EXPECT_EQ(line(0), "+0.40  e5");
    EXPECT_EQ(label("evaluation"), "+0.40");
}

TEST_F(AnalysisPanelTest, LinesAndTheEvaluationReadInTheProgramsNotationFromWhitesSide) {
    start(std::string(kStart) +
              " => info depth 9 multipv 1 score cp 35 nps 2500000 pv e2e4 e7e5 g1f3 ; info depth 9 multipv 2 score mate 3 pv g1f3 d7d5\n" +
              kAfterE4 + " => info depth 7 score mate 2 pv d7d5 e4d5 d8d5\n" +
              "rnb1kbnr/ppp1pppp/8/3q4/8/8/PPPP1PPP/RNBQKBNR[Pp] w => info depth 3 score mate -1 pv P@e4 P@e2\n",
          "1A. e4 {179} 1a. d5 {178} 2A. exd5 {177} 2a. Qxd5 {176}");
    const struct {
        const char* evaluation;
        const char* figures;
        std::vector<std::string> lines;
    } cases[] = {
        {"+0.35", "Depth 9    2.50 M nodes/s", {"+0.35  e4 e5 Nf3", "#3  Nf3 d5"}},
        {"Black mates in 2", "Depth 7", {"#-2  d5 exd5 Qxd5"}},
        {"", "", {}},  // 1... d5 is not in the table: no line
        {"", "", {}},
        {"Black mates in 1", "Depth 3", {"#-1  P@e4 P@e2"}},
    };
    for (const auto& expected : cases) {
        if (!expected.lines.empty()) {
            ASSERT_TRUE(waitFor([&] { return line(0) == expected.lines[0]; })) << line(0);
            for (size_t row = 0; row < expected.lines.size(); ++row) EXPECT_EQ(line(int(row)), expected.lines[row]);
            EXPECT_EQ(label("evaluation"), expected.evaluation);
            EXPECT_EQ(label("figures"), expected.figures);
            EXPECT_EQ(label("variant"), "Crazyhouse");
        }
        game->forwardOne();
    }
}

TEST_F(AnalysisPanelTest, ADoubleClickPlaysTheLinesFirstMoveAsAVariationOnTheBoardAnalysed) {
    start(std::string(kStart) + " => info depth 5 score cp 10 pv g1f3 g8f6\n", "1A. e4 {179} 1B. d4 {178}", "Bughouse game");
    auto& boardB = static_cast<CBoardFrame&>(*game->boardB);
    app->mainFrame().mdiArea().setActiveSubWindow(boardB.subWindow());
    ASSERT_TRUE(waitFor([&] { return line(0) == "+0.10  Nf3 Nf6" && label("variant") == "Bughouse, board B"; }));
    const QPoint first = lines().visualItemRect(lines().item(0)).center();
    QTest::mouseClick(lines().viewport(), Qt::LeftButton, {}, first);
    QTest::mouseDClick(lines().viewport(), Qt::LeftButton, {}, first);
    ASSERT_EQ(game->root->children.size(), 2u);
    const GameNode* played = game->root->children[1].get();
    EXPECT_EQ(game->current, played);
    EXPECT_STREQ(played->moveText, "Nf3");
    EXPECT_EQ(played->boardLetter, 'B');
}

}  // namespace
