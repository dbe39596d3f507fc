// Indexes over two databases searched as one: every line is the sum of the separate searches,
// its games kept per database; one index alone says and finds what it always did.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "core/fen.h"
#include "database/database_file.h"
#include "database/index_group.h"
#include "database/index_writer.h"

using namespace tandemora;
namespace fs = std::filesystem;

namespace {

class Messages : public ProgressReporter {
public:
    std::vector<std::string> shown;
    void message(const std::string& text) override { shown.push_back(text); }
};

const char* const kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR[] w KQkq";
const char* const kAfterE4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR[] b KQkq";

Board position(const char* fen) {
    Board board;
    EXPECT_TRUE(parseFen(fen, board)) << fen;
    return board;
}

class IndexGroupTest : public testing::Test {
protected:
    void SetUp() override {
        folder = fs::path(testing::TempDir()) /
                 ("index_group_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        // The club's bughouse games open with e4 on one board and d4 on the other; every game of
        // the other database opens with e4, so d4 is found in the club's database alone.
        club = buildIndex("club", {"bughouse-club.bpgn"});
        lessons = buildIndex("lessons", {"crazyhouse-sampler.bpgn", "openings-lesson.bpgn"});
    }
    void TearDown() override { fs::remove_all(folder); }

    // A database of the example files, indexed for every player; the main index's path.
    std::string buildIndex(const std::string& name, const std::vector<const char*>& examples) {
        const fs::path source = folder / ("bpgn-" + name);
        fs::create_directories(source);
        for (const char* example : examples)
            fs::copy_file(fs::path(TANDEMORA_SOURCE_DIR) / "examples" / example, source / example);
        Messages quiet;
        IndexSettings settings;
        settings.databaseName = name + ".db";
        settings.databasePath = (folder / settings.databaseName).string();
        settings.indexPath = (folder / (name + ".ind")).string();
        settings.players = {"*"};
        EXPECT_TRUE(buildDatabase(source.string() + "/", settings.databasePath, quiet));
        EXPECT_TRUE(createIndexFiles(settings, quiet));
        return settings.indexPath;
    }

    // A group of the indexes, with the white and black indexes loaded.
    void load(IndexGroup& group, const std::vector<std::string>& indexes) {
        for (const std::string& index : indexes) ASSERT_TRUE(group.addIndex(index, folder.string()));
        for (int colour : {0, 1}) ASSERT_TRUE(group.toggleSideIndex(colour));
    }

    // One index searched by itself.
    struct Separate {
        std::map<std::string, MoveStats, std::less<>> results;
        std::vector<std::string> lines;
        std::vector<std::string> messages;
        std::string databasePath;
    };
    Separate searchAlone(const std::string& index, const SearchPageValues& values, const Board* board) {
        Messages messages;
        IndexSearch search(messages, folder.string());
        EXPECT_TRUE(search.loadIndexFile(kMainIndexFile, index));
        for (int colour : {0, 1}) EXPECT_TRUE(search.toggleSideIndex(colour));
        EXPECT_TRUE(search.prepareSearch(values, board, [](const std::string&) { return false; }));
        search.runSearch();
        return {search.results(), search.resultList(), messages.shown, search.databasePath()};
    }

    fs::path folder;
    std::string club, lessons;
};

// The games and the share of all games a line gives.
std::pair<int, int> gamesAndShare(const std::string& line) {
    int games = 0, share = 0;
    EXPECT_EQ(std::sscanf(line.c_str() + line.find('\t'), " %d %d%%", &games, &share), 2) << line;
    return {games, share};
}

TEST_F(IndexGroupTest, EachLineSumsTheSeparateSearchesAndKeepsTheGamesPerDatabase) {
    const Board start = position(kStart), afterE4 = position(kAfterE4);
    SearchPageValues general;
    general.positional = false;
    general.victoryPlayer = 0;
    general.handles[0] = "*";  // nobody: no game is found
    SearchPageValues everyone = general;
    everyone.handles[0].clear();
    const struct {
        const char* name;
        SearchPageValues values;
        const Board* board;
        const char* onlyInOne;  // a key one database alone has, or null
    } cases[] = {
        {"start", {}, &start, "d4"},
        {"after e4", {}, &afterE4, nullptr},
        {"general", everyone, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Separate parts[] = {searchAlone(club, c.values, c.board), searchAlone(lessons, c.values, c.board)};
        Messages messages;
        IndexGroup group(messages);
        load(group, {club, lessons});
        ASSERT_TRUE(group.prepareSearch(c.values, c.board, [](const std::string&) { return false; }));
        group.runSearch();
        EXPECT_EQ(messages.shown, std::vector<std::string>{});

        std::set<std::string> keys;
        int counted = 0;
        for (const Separate& part : parts)
            for (const auto& [key, stats] : part.results) {
                keys.insert(key);
                counted += stats.games;
            }
        ASSERT_EQ(group.results().size(), keys.size());
        for (const std::string& key : keys) {
            SCOPED_TRACE(key);
            GroupStats expected;
            for (const Separate& part : parts)
                if (const auto found = part.results.find(key); found != part.results.end()) {
                    expected.games += found->second.games;
                    expected.won += found->second.won;
                    expected.databases.push_back({part.databasePath, found->second.offsets});
                }
            const GroupStats& sum = group.results().at(key);
            EXPECT_EQ(sum.games, expected.games);
            EXPECT_EQ(sum.won, expected.won);
            ASSERT_EQ(sum.databases.size(), expected.databases.size());
            for (size_t i = 0; i < sum.databases.size(); ++i) {
                EXPECT_EQ(sum.databases[i].databasePath, expected.databases[i].databasePath);
                EXPECT_EQ(sum.databases[i].offsets, expected.databases[i].offsets);
            }
        }
        if (c.onlyInOne) {
            EXPECT_TRUE(parts[0].results.contains(c.onlyInOne));
            EXPECT_FALSE(parts[1].results.contains(c.onlyInOne));
            EXPECT_EQ(group.results().at(c.onlyInOne).databases.size(), 1u);
        }
        // The lines, most games first, give the summed games and their share of all.
        ASSERT_EQ(group.resultList().size(), keys.size());
        int previous = counted;
        for (const std::string& line : group.resultList()) {
            const auto [games, share] = gamesAndShare(line);
            EXPECT_EQ(games, group.results().at(line.substr(0, line.find(' '))).games) << line;
            EXPECT_LE(std::abs(share - games * 100.0 / counted), 0.5) << line;
            EXPECT_LE(games, previous);
            previous = games;
        }
    }

    // Nothing found anywhere is said once.
    Messages messages;
    IndexGroup group(messages);
    load(group, {club, lessons});
    ASSERT_TRUE(group.prepareSearch(general, nullptr, [](const std::string&) { return false; }));
    group.runSearch();
    EXPECT_TRUE(group.resultList().empty());
    EXPECT_EQ(messages.shown, std::vector<std::string>{"No matching games found."});
}

TEST_F(IndexGroupTest, OneIndexAloneGivesTheLinesAndMessagesOfItsOwnSearch) {
    const Board start = position(kStart), afterE4 = position(kAfterE4);
    SearchPageValues general, nobody;
    general.positional = nobody.positional = false;
    nobody.handles[1] = "nobody";
    for (const auto& [values, board] : {std::pair{SearchPageValues{}, &start}, std::pair{SearchPageValues{}, &afterE4},
                                        std::pair{general, static_cast<const Board*>(nullptr)},
                                        std::pair{nobody, static_cast<const Board*>(nullptr)}}) {
        const Separate alone = searchAlone(club, values, board);
        Messages messages;
        IndexGroup group(messages);
        load(group, {club});
        ASSERT_TRUE(group.prepareSearch(values, board, [](const std::string&) { return false; }));
        group.runSearch();
        EXPECT_EQ(group.resultList(), alone.lines);
        EXPECT_EQ(messages.shown, alone.messages);
        for (const auto& [key, stats] : alone.results) {
            ASSERT_EQ(group.results().at(key).databases.size(), 1u);
            EXPECT_EQ(group.results().at(key).databases[0].offsets, stats.offsets);
        }
    }
    Messages messages;
    IndexGroup group(messages);
    ASSERT_TRUE(group.addIndex(club, folder.string()));
    IndexSearch search(messages, folder.string());
    ASSERT_TRUE(search.loadIndexFile(kMainIndexFile, club));
    EXPECT_EQ(group.title(), search.title());
}

TEST_F(IndexGroupTest, SideIndexesComeAndGoForEveryIndexAndTheQuestionIsAskedOnce) {
    Messages messages;
    IndexGroup group(messages);
    ASSERT_TRUE(group.addIndex(club, folder.string()));
    ASSERT_TRUE(group.toggleSideIndex(0));
    // An index added later gets the white index the group has loaded.
    ASSERT_TRUE(group.addIndex(lessons, folder.string()));
    EXPECT_TRUE(group.index(1).isLoaded(kWhiteIndexFile));
    EXPECT_FALSE(group.index(1).isLoaded(kBlackIndexFile));
    EXPECT_EQ(group.sideIndexLabel(0), "Unload white index");
    EXPECT_EQ(group.sideIndexLabel(1), "Load black index");
    EXPECT_EQ(group.title(), "Bughouse index: {*} (2 games) + 1 more (7 games in all)");

    // Black to move: one question for both indexes, and a No leaves them as they were.
    const Board afterE4 = position(kAfterE4);
    std::vector<std::string> asked;
    const auto answer = [&](bool yes) {
        return [&asked, yes](const std::string& question) {
            asked.push_back(question);
            return yes;
        };
    };
    EXPECT_FALSE(group.prepareSearch({}, &afterE4, answer(false)));
    EXPECT_FALSE(group.sideIndexLoaded(1));
    EXPECT_TRUE(group.prepareSearch({}, &afterE4, answer(true)));
    const std::string question = "Index for black positions is not loaded. Load it and proceed with search?";
    EXPECT_EQ(asked, std::vector<std::string>(2, question));
    EXPECT_TRUE(group.index(0).isLoaded(kBlackIndexFile) && group.index(1).isLoaded(kBlackIndexFile));

    // Loaded where one index lacks it, the button loads; then it unloads from every index.
    group.index(1).toggleSideIndex(0);
    EXPECT_EQ(group.sideIndexLabel(0), "Load white index");
    ASSERT_TRUE(group.toggleSideIndex(0));
    EXPECT_TRUE(group.index(1).isLoaded(kWhiteIndexFile));
    ASSERT_TRUE(group.toggleSideIndex(0));
    EXPECT_FALSE(group.index(0).isLoaded(kWhiteIndexFile) || group.index(1).isLoaded(kWhiteIndexFile));
    EXPECT_EQ(messages.shown, std::vector<std::string>{});
}

TEST_F(IndexGroupTest, AnIndexThatCannotJoinLeavesTheGroupAsItWas) {
    Messages messages;
    IndexGroup group(messages);
    ASSERT_TRUE(group.addIndex(club, folder.string()));
    ASSERT_TRUE(group.toggleSideIndex(1));
    fs::rename(lessons + "BP", folder / "away");
    const std::string copy = (folder / "club-copy.ind").string();
    fs::copy_file(club, copy);
    const struct {
        std::string path;
        std::string message;
    } cases[] = {
        {(folder / "missing.ind").string(), "Could not open index file: " + (folder / "missing.ind").string()},
        {(folder / "." / "club.ind").string(),
         "The index file " + (folder / "." / "club.ind").string() + " is searched already."},
        {copy, "The index file " + copy + " is over the database " + (folder / "club.db").string() +
                   ", which is searched already."},
        {lessons, "Could not open index file: " + lessons + "BP"},  // the black index the group has
    };
    for (const auto& c : cases) {
        messages.shown.clear();
        EXPECT_FALSE(group.addIndex(c.path, folder.string())) << c.path;
        EXPECT_EQ(messages.shown, std::vector<std::string>{c.message});
        EXPECT_EQ(group.size(), 1u);
    }
}

TEST_F(IndexGroupTest, AStoppedSearchEndsInEveryIndexWithoutAWord) {
    Messages messages;
    IndexGroup group(messages);
    load(group, {club, lessons});
    const Board start = position(kStart);
    ASSERT_TRUE(group.prepareSearch({}, &start, [](const std::string&) { return false; }));
    const std::atomic<bool> stop{true};
    group.runSearch(&stop);
    EXPECT_TRUE(group.results().empty());
    EXPECT_TRUE(group.resultList().empty());
    EXPECT_EQ(messages.shown, std::vector<std::string>{});
}

TEST(GamesInRange, TheRangeRunsThroughTheDatabasesInTurn) {
    const GroupStats stats{6, 0, {{"a.db", {10, 11, 12}}, {"b.db", {20}}, {"c.db", {30, 31}}}};
    using Chosen = std::vector<std::pair<std::string, std::vector<int32_t>>>;
    const struct {
        int first, last;
        Chosen chosen;
    } cases[] = {
        {1, 6, {{"a.db", {10, 11, 12}}, {"b.db", {20}}, {"c.db", {30, 31}}}},
        {2, 3, {{"a.db", {11, 12}}}},
        {3, 5, {{"a.db", {12}}, {"b.db", {20}}, {"c.db", {30}}}},
        {4, 4, {{"b.db", {20}}}},
        {6, 9, {{"c.db", {31}}}},
        {6, 3, {{"a.db", {}}}},  // no game: one empty list, as one database gives
    };
    for (const auto& c : cases) {
        Chosen chosen;
        for (const DatabaseGames& games : gamesInRange(stats, c.first, c.last))
            chosen.emplace_back(games.databasePath, games.offsets);
        EXPECT_EQ(chosen, c.chosen) << c.first << "-" << c.last;
    }
}

}  // namespace
