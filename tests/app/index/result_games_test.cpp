// The games behind a result line: the range asked for beyond 20 games, the games opened with
// their database offsets, and the games around one of them fetched again.
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "tests/app/index/index_fixture.h"

namespace {

using namespace index_test;

class ResultGamesTest : public IndexTest {
protected:
    void SetUp() override {
        IndexTest::SetUp();
        // The first sampler game twenty times, then the second: after 3A. Bc4 the first game's
        // Bc5 has 20 games, and 1A. e4 at the start 21.
        const std::vector<std::string> examples = exampleGames("crazyhouse-sampler.bpgn");
        std::string games;
        for (int i = 0; i < 20; ++i) games += examples[0];
        index = buildIndex("sampler", games + examples[1]);
        window = loadIndex(index);
        ASSERT_TRUE(window);
        for (const char* id : {"1109", "1110"}) control<QPushButton>(*window, 1, id).click();
        waitUntilIdle(*window);
        app->mainFrame().runCommand(kNewCrazyhouseGame);
    }
    void play(const std::vector<const char*>& moves) {
        BoardRules& rules = board(0).rules();
        for (const char* move : moves) ASSERT_TRUE(rules.makeMoveFromText(move, rules.position.sideToMove, false));
    }
    // Searches the board's position and double-clicks the line of `move`.
    void doubleClick(const char* move) {
        search(*window);
        QListWidget& list = window->sheet().searchPage().resultList();
        const auto found = list.findItems(QString::fromLatin1(move) + ' ', Qt::MatchStartsWith);
        ASSERT_EQ(found.size(), 1) << move;
        const QRect line = list.visualItemRect(found.front());
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, line.center());
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, line.center());
    }
    // The database offsets the engine finds behind the line of `move`, from the board's position.
    std::vector<int32_t> offsetsOf(const char* move) {
        return engineSearch(index, {}, &board(0).position()).stats.at(move).offsets;
    }
    static std::vector<int32_t> offsetsIn(const CBPGNManager& list) {
        std::vector<int32_t> offsets;
        for (const auto& game : list.games()) offsets.push_back(game->databaseOffset);
        return offsets;
    }

    std::string index;
    CIndex1Frame* window = nullptr;
};

TEST_F(ResultGamesTest, ALineOpensItsGamesInTheRangeChosen) {
    const struct {
        std::vector<const char*> moves;  // played before the search
        const char* line;
        std::vector<const char*> range;  // typed into the range dialog: first, last; none without it
        const char* refusal;
        std::pair<int, int> opened;  // the first and last of the line's games opened, from 1
    } cases[] = {
        {{"e4", "e5", "Nf3", "Nc6", "Bc4"}, "Bc5", {}, "", {1, 20}},
        {{}, "e4", {"1", "20"}, "", {1, 20}},
        {{}, "e4", {"5", "5"}, "", {5, 5}},
        {{}, "e4", {"21", "21"}, "", {21, 21}},
        {{}, "e4", {"6", "3"}, "", {6, 3}},
        {{}, "e4", {"0", "3"}, "Selection out of range.", {}},
        {{}, "e4", {"1", "0"}, "Selection out of range.", {}},
        {{}, "e4", {"1", "22"}, "Selection out of range.", {}},
        {{}, "e4", {"", "3"}, "Please enter a positive integer.", {}},
    };
    for (const auto& c : cases) {
        board(0).bringToTop();  // the list opened last is the active window
        app->newGameList().front()->toStart();
        play(c.moves);
        const std::vector<int32_t> offsets = offsetsOf(c.line);
        std::string refusal;
        QString proposed;
        if (!c.range.empty()) {
            dialog_test::whenModal(QStringLiteral("Game Range Selection"), [&](QDialog& dialog) {
                proposed = dialog_test::control<QLabel>(dialog, "1072").text() + ' ' +
                           dialog_test::control<QLineEdit>(dialog, "1070").text() + ' ' +
                           dialog_test::control<QLineEdit>(dialog, "1071").text();
                dialog_test::control<QLineEdit>(dialog, "1070").setText(QString::fromLatin1(c.range[0]));
                dialog_test::control<QLineEdit>(dialog, "1071").setText(QString::fromLatin1(c.range[1]));
                if (*c.refusal)
                    dialog_test::whenRefused(refusal, dialog.windowTitle(),
                                             [](QDialog& open) { dialog_test::click(open, "Cancel"); });
                dialog_test::click(dialog, "Show Games");
            });
        }
        const size_t listsBefore = app->managerList().size();
        doubleClick(c.line);
        EXPECT_EQ(refusal, c.refusal);
        EXPECT_EQ(proposed, c.range.empty() ? "" : "21 1 20");
        const bool listed = !*c.refusal;
        ASSERT_EQ(app->managerList().size(), listsBefore + (listed ? 1 : 0)) << c.line;
        if (!listed) continue;
        const CBPGNManager& list = *app->managerList().back();
        std::vector<int32_t> expected;
        for (int game = c.opened.first; game <= c.opened.second; ++game)
            expected.push_back(offsets[static_cast<size_t>(game - 1)]);
        EXPECT_EQ(offsetsIn(list), expected);
        for (const auto& game : list.games())
            EXPECT_EQ(game->databaseFileName, (folder / "Databases" / "sampler.db").string());  // no "./"
        EXPECT_EQ(list.subWindow()->windowTitle(), "Unsaved Game List.");  // filled, also when empty
    }
}

TEST_F(ResultGamesTest, AnAddedIndexIsSearchedWithTheFirstAndItsGamesOpenFromItsOwnDatabase) {
    // The club's two bughouse games each open with e4 on one board.
    std::string clubGames;
    for (const std::string& game : exampleGames("bughouse-club.bpgn")) clubGames += game;
    const std::string club = buildIndex("club", clubGames);
    const MessageBoxWatch watch;
    QPushButton& add = control<QPushButton>(*window, 1, "addIndex");
    chooseFile(club);
    add.click();
    waitUntilIdle(*window);
    EXPECT_EQ(window->subWindow()->windowTitle().toStdString(),
              "Bughouse index: {*} (21 game) + 1 more (23 games in all)");
    // The white and black indexes the window had loaded are loaded for the new index too.
    for (const char* id : {"1109", "1110"})
        EXPECT_TRUE(control<QPushButton>(*window, 1, id).text().startsWith(QStringLiteral("Unload"))) << id;

    // The lines are the group's: e4 has the sampler's 21 games and the club's 2.
    Quiet quiet;
    IndexGroup group(quiet);
    for (const std::string& path : {index, club}) ASSERT_TRUE(group.addIndex(path, (folder / "Databases").string()));
    ASSERT_TRUE(group.prepareSearch({}, &board(0).position(), [](const std::string&) { return true; }));
    group.runSearch();
    const GroupStats& e4 = group.results().at("e4");
    ASSERT_EQ(e4.games, 23);
    ASSERT_EQ(e4.databases.size(), 2u);

    // Games 20 to 22: the sampler's last two, then the club's first, each database in a list.
    dialog_test::whenModal(QStringLiteral("Game Range Selection"), [&](QDialog& dialog) {
        dialog_test::control<QLineEdit>(dialog, "1070").setText(QStringLiteral("20"));
        dialog_test::control<QLineEdit>(dialog, "1071").setText(QStringLiteral("22"));
        dialog_test::click(dialog, "Show Games");
    });
    const size_t listsBefore = app->managerList().size();
    doubleClick("e4");
    EXPECT_EQ(lines(*window), group.resultList());
    ASSERT_EQ(app->managerList().size(), listsBefore + 2);
    const CBPGNManager& sampled = *app->managerList()[listsBefore];
    const CBPGNManager& clubbed = *app->managerList()[listsBefore + 1];
    EXPECT_EQ(offsetsIn(sampled), (std::vector<int32_t>{e4.databases[0].offsets[19], e4.databases[0].offsets[20]}));
    EXPECT_EQ(offsetsIn(clubbed), std::vector<int32_t>{e4.databases[1].offsets[0]});
    EXPECT_EQ(sampled.games().front()->databaseFileName, (folder / "Databases" / "sampler.db").string());
    EXPECT_EQ(clubbed.games().front()->databaseFileName, (folder / "Databases" / "club.db").string());
    EXPECT_EQ(watch.texts, std::vector<std::string>{});

    // An index that cannot be added is reported and changes nothing.
    const QString title = window->subWindow()->windowTitle();
    chooseFile(club);
    add.click();
    waitUntilIdle(*window);
    EXPECT_EQ(watch.texts, std::vector<std::string>{"The index file " + club + " is searched already."});
    EXPECT_EQ(window->subWindow()->windowTitle(), title);
    EXPECT_TRUE(add.isEnabled());
}

TEST_F(ResultGamesTest, NearbyGamesAreTheNeighboursOfAGameFromTheDatabase) {
    EXPECT_FALSE(app->mainFrame().command(kRetrieveNearbyGames)->isEnabled());  // a new game is shown
    play({"e4", "e5", "Nf3", "Nc6", "Bc4"});
    doubleClick("Bc5");
    CBPGNManager& found = *app->managerList().back();
    found.selectItem(2);
    app->mainFrame().updateCommandStates();
    ASSERT_TRUE(app->mainFrame().command(kRetrieveNearbyGames)->isEnabled());

    QString proposed;
    dialog_test::whenModal(QStringLiteral("Retreive Nearby Games"), [&](QDialog& dialog) {
        QLineEdit& before = dialog_test::control<QLineEdit>(dialog, "before");
        QLineEdit& after = dialog_test::control<QLineEdit>(dialog, "after");
        proposed = before.text() + ' ' + after.text();
        before.setText(QStringLiteral("1"));
        after.setText(QStringLiteral("2"));
        dialog_test::click(dialog, "Retreive");
    });
    app->mainFrame().runCommand(kRetrieveNearbyGames);
    EXPECT_EQ(proposed, "10 10");
    const std::vector<int32_t> listed = offsetsIn(found);
    const std::vector<int32_t> around(listed.begin() + 1, listed.begin() + 5);
    EXPECT_EQ(offsetsIn(*app->managerList().back()), around);
}

TEST_F(ResultGamesTest, GamesOpenedAreThoseOfTheLineClickedThoughAutoSearchReplacedIt) {
    const std::vector<int32_t> offsets = offsetsOf("e4");
    window->sheet().searchPage().autoSearch().setChecked(true);
    dialog_test::whenModal(QStringLiteral("Game Range Selection"), [&](QDialog& dialog) {
        // While the range is asked for, the board moves on and auto-search finds other lines.
        play({"e4"});
        waitUntilIdle(*window);
        const QListWidget& lines = window->sheet().searchPage().resultList();
        EXPECT_TRUE(lines.findItems(QStringLiteral("e4 "), Qt::MatchStartsWith).empty());
        dialog_test::control<QLineEdit>(dialog, "1070").setText(QStringLiteral("21"));
        dialog_test::control<QLineEdit>(dialog, "1071").setText(QStringLiteral("21"));
        dialog_test::click(dialog, "Show Games");
    });
    doubleClick("e4");
    EXPECT_EQ(offsetsIn(*app->managerList().back()), std::vector<int32_t>{offsets.back()});
}

}  // namespace
