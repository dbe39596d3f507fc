// Index windows: loading names the window, the pages take their values, the white and black
// indexes come and go with their buttons, searches give the engine's lines, and auto-search
// follows the game shown without a word.
#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>

#include "tests/app/index/index_fixture.h"

namespace {

using namespace index_test;

enum Page { kGeneral = 0, kPositional = 1, kPlayers = 2, kSearch = 3 };

TEST_F(IndexTest, TheTitleNamesTheIndexAndCountsItsGames) {
    const std::string game = exampleGames("crazyhouse-sampler.bpgn")[0];
    const std::pair<int, const char*> cases[] = {
        {1, "Bughouse index: {*} (1 game)"},   {2, "Bughouse index: {*} (2 games)"},
        {11, "Bughouse index: {*} (11 game)"}, {12, "Bughouse index: {*} (12 games)"},
        {21, "Bughouse index: {*} (21 game)"},
    };
    for (const auto& [count, title] : cases) {
        std::string games;
        for (int i = 0; i < count; ++i) games += game;
        CIndex1Frame* window = loadIndex(buildIndex("games" + std::to_string(count), games));
        ASSERT_TRUE(window);
        EXPECT_EQ(window->subWindow()->windowTitle().toStdString(), title);
    }
    // Side by side, in the order they were opened.
    EXPECT_EQ(app->indexList().size(), std::size(cases));

    // An index that cannot be loaded closes its window.
    const MessageBoxWatch watch;
    std::ofstream(folder / "broken.ind") << "not an index";
    EXPECT_FALSE(loadIndex((folder / "broken.ind").string()));
    EXPECT_EQ(watch.texts, std::vector<std::string>{"Could not read index header."});
    QCoreApplication::processEvents();
    EXPECT_EQ(app->indexList().size(), std::size(cases));
}

TEST_F(IndexTest, PagesRefuseNumbersOutsideTheirRangeAndStay) {
    CIndex1Frame* window = loadIndex(buildIndex("games", exampleGames("crazyhouse-sampler.bpgn")[0]));
    ASSERT_TRUE(window);
    const struct {
        Page page;
        const char* id;
        const char* typed;
        const char* refusal;  // empty when the page may be left
    } cases[] = {
        {kGeneral, "1046", "4001", "Please enter an integer between 0 and 4000."},
        {kGeneral, "1049", "", "Please enter an integer."},
        {kGeneral, "1047", "4000", ""},
        {kPositional, "1101", "100001", "Please enter an integer between 0 and 100000."},
        {kPlayers, "1107", "4001", "Please enter an integer between 0 and 4000."},
    };
    CIndex1Dialog& sheet = window->sheet();
    for (const auto& c : cases) {
        sheet.setCurrentIndex(c.page);
        QLineEdit& edit = control<QLineEdit>(*window, c.page, c.id);
        const QString before = edit.text();
        edit.setText(QString::fromLatin1(c.typed));
        const MessageBoxWatch watch;
        sheet.setCurrentIndex(kSearch);
        EXPECT_EQ(sheet.currentIndex(), *c.refusal ? c.page : kSearch) << c.id << " " << c.typed;
        EXPECT_EQ(watch.texts, *c.refusal ? std::vector<std::string>{c.refusal} : std::vector<std::string>{});
        edit.setText(before);
    }
}

TEST_F(IndexTest, UncheckingPositionalSearchGreysItsControls) {
    CIndex1Frame* window = loadIndex(buildIndex("games", exampleGames("crazyhouse-sampler.bpgn")[0]));
    ASSERT_TRUE(window);
    QCheckBox& enabled = control<QCheckBox>(*window, kPositional, "1108");
    EXPECT_TRUE(enabled.isChecked());
    for (const bool checked : {false, true, false}) {
        enabled.setChecked(checked);
        for (const char* id : {"1036", "1100", "1101", "1092"})
            EXPECT_EQ(control<QWidget>(*window, kPositional, id).isEnabled(), checked) << id;
    }
}

TEST_F(IndexTest, SideIndexButtonsLoadAndUnloadAndSayWhichTheyWillDo) {
    const std::string index = buildIndex("games", exampleGames("crazyhouse-sampler.bpgn")[0]);
    CIndex1Frame* window = loadIndex(index);
    ASSERT_TRUE(window);
    window->sheet().setCurrentIndex(kPositional);
    const struct {
        const char* id;
        const char* loaded;
        const char* unloaded;
        const char* companion;
    } buttons[] = {{"1109", "Unload white index", "Load white index", "WP"},
                   {"1110", "Unload black index", "Load black index", "BP"}};
    for (const auto& b : buttons) {
        QPushButton& button = control<QPushButton>(*window, kPositional, b.id);
        EXPECT_EQ(button.text().toStdString(), b.unloaded);
        for (const char* caption : {b.loaded, b.unloaded}) {
            button.click();
            waitUntilIdle(*window);
            EXPECT_EQ(button.text().toStdString(), caption);
        }
        // A failed load leaves the caption as it was.
        fs::rename(index + b.companion, index + b.companion + ".away");
        const MessageBoxWatch watch;
        button.click();
        waitUntilIdle(*window);
        EXPECT_EQ(button.text().toStdString(), b.unloaded);
        EXPECT_EQ(watch.texts, std::vector<std::string>{"Could not open index file: " + index + b.companion});
    }
}

TEST_F(IndexTest, ASearchFromABoardGivesTheLinesOfTheCommandLineSearch) {
    std::string games;
    for (const char* file : {"crazyhouse-sampler.bpgn", "openings-lesson.bpgn", "bughouse-club.bpgn"})
        for (const std::string& game : exampleGames(file)) games += game;
    const std::string index = buildIndex("club", games);
    CIndex1Frame* window = loadIndex(index);
    ASSERT_TRUE(window);
    for (const char* id : {"1109", "1110"}) control<QPushButton>(*window, kPositional, id).click();
    waitUntilIdle(*window);
    app->mainFrame().runCommand(kNewCrazyhouseGame);
    BoardRules& rules = board(0).rules();

    // Each case types one field (or clears "Enable positional search." with an empty text),
    // searches, and sets the field back.
    const struct {
        const char* move;  // played on board A before the search
        Page page;
        const char* id;
        const char* typed;
        void (*expected)(SearchPageValues&);
    } cases[] = {
        {nullptr, kGeneral, "1087", "", [](SearchPageValues&) {}},
        {"e4", kGeneral, "1087", "", [](SearchPageValues&) {}},
        {nullptr, kPlayers, "1045", "marguerite", [](SearchPageValues& v) { v.handles[0] = "marguerite"; }},
        {nullptr, kGeneral, "1087", "03/20/2024", [](SearchPageValues& v) { v.dateText = "03/20/2024"; }},
        {"e5", kPlayers, "1045", " Oskar ", [](SearchPageValues& v) { v.handles[0] = " Oskar "; }},
        {nullptr, kPositional, "1108", "", [](SearchPageValues& v) { v.positional = false; }},
    };
    for (const auto& c : cases) {
        if (c.move) {
            ASSERT_TRUE(rules.makeMoveFromText(c.move, rules.position.sideToMove != 0, false));
        }
        window->sheet().setCurrentIndex(c.page);
        QWidget& field = control<QWidget>(*window, c.page, c.id);
        auto* edit = qobject_cast<QLineEdit*>(&field);
        if (edit) edit->setText(QString::fromLatin1(c.typed));
        else static_cast<QCheckBox&>(field).setChecked(false);
        EXPECT_EQ(search(*window), std::vector<std::string>{});

        SearchPageValues values;
        c.expected(values);
        const Board position = rules.position;
        const auto expected = engineSearch(index, values, values.positional ? &position : nullptr).lines;
        EXPECT_EQ(lines(*window), expected) << c.id << " " << c.typed;
        EXPECT_FALSE(expected.empty()) << c.id << " " << c.typed;

        window->sheet().setCurrentIndex(c.page);
        if (edit) edit->clear();
        else static_cast<QCheckBox&>(field).setChecked(true);
    }
}

TEST_F(IndexTest, AutoSearchFollowsAReplayWithoutAMessageAndShowsTheLastPosition) {
    const std::vector<std::string> examples = exampleGames("crazyhouse-sampler.bpgn");
    // The second game leaves the first at Black's third move; the third at Black's first.
    const std::string index = buildIndex("sampler", examples[1] + examples[2]);
    CIndex1Frame* window = loadIndex(index);
    ASSERT_TRUE(window);
    // Only the white index: Black's positions would ask for the black one.
    control<QPushButton>(*window, kPositional, "1109").click();
    window->sheet().searchPage().autoSearch().setChecked(true);
    waitUntilIdle(*window);

    std::ofstream(folder / "sampler.bpgn", std::ios::binary) << examples[0];
    ASSERT_TRUE(app->openFile((folder / "sampler.bpgn").string()));
    app->managerList().back()->selectItem(0);
    CBoardFrame& shown = static_cast<CBoardFrame&>(*app->managerList().back()->games()[0]->boardA);
    const MessageBoxWatch watch;
    shown.startReplay();
    // Up to White's sixth move, from a position no game of the index reached.
    while (shown.replaying() && shown.game().current->moveNumber < 6) {
        shown.replayTick();
        QCoreApplication::processEvents();
    }
    shown.stopReplay();
    waitUntilIdle(*window);
    EXPECT_EQ(watch.texts, std::vector<std::string>{});
    EXPECT_EQ(lines(*window), std::vector<std::string>{});

    // Back where the second game went on: its move arrives without a word.
    shown.game().toStart();
    for (int i = 0; i < 4; ++i) shown.game().forwardOne();
    waitUntilIdle(*window);
    const Board position = shown.position();
    EXPECT_EQ(lines(*window), engineSearch(index, {}, &position).lines);
    EXPECT_FALSE(lines(*window).empty());

    // Another board brought to the front: its position is searched.
    app->mainFrame().runCommand(kNewCrazyhouseGame);
    waitUntilIdle(*window);
    const Board start = board(0).position();
    EXPECT_EQ(lines(*window), engineSearch(index, {}, &start).lines);
    EXPECT_NE(lines(*window), engineSearch(index, {}, &position).lines);
    EXPECT_EQ(watch.texts, std::vector<std::string>{});
}

TEST_F(IndexTest, LayoutsPlaceTheFirstTwoIndexWindows) {
    const std::string index = buildIndex("games", exampleGames("crazyhouse-sampler.bpgn")[0]);
    std::vector<CIndex1Frame*> windows;
    for (int i = 0; i < 3; ++i) windows.push_back(loadIndex(index));
    for (int i = 0; i < 3; ++i) windows[i]->subWindow()->move(30 * i, 40 * i);
    app->mainFrame().runCommand(kSaveLayout2);
    for (CIndex1Frame* window : windows) window->subWindow()->move(200, 100);
    app->mainFrame().runCommand(kRestoreLayout2);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(windows[i]->subWindow()->pos(), i < 2 ? QPoint(30 * i, 40 * i) : QPoint(200, 100)) << i;
    // The layout keeps each window's fixed size.
    EXPECT_EQ(windows[0]->subWindow()->size(), windows[2]->subWindow()->size());
}

TEST_F(IndexTest, TheWindowKeepsItsSize) {
    CIndex1Frame* window = loadIndex(buildIndex("games", exampleGames("crazyhouse-sampler.bpgn")[0]));
    ASSERT_TRUE(window);
    QMdiSubWindow& frame = *window->subWindow();
    const QSize size = frame.size();
    frame.resize(size + QSize(300, 300));
    EXPECT_EQ(frame.size(), size);
    // Activated while another window is maximized, it is not maximized with it.
    app->mainFrame().runCommand(kNewCrazyhouseGame);
    board(0).subWindow()->showMaximized();
    app->mainFrame().mdiArea().setActiveSubWindow(&frame);
    QCoreApplication::processEvents();
    EXPECT_FALSE(frame.isMaximized());
    EXPECT_EQ(frame.size(), size);
    frame.showMinimized();
    EXPECT_LT(frame.height(), size.height());
}

}  // namespace
