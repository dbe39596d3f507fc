#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "database/index_search.h"
#include "tests/core/test_positions.h"

using namespace tandemora;

namespace {

const char* const kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";
const char* const kAfterE4E5 = "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR";

struct Entry {
    const char* placement;
    const char* move;
    const char* reserve = "";  // "PPN": two pawns and a knight
    int clockMs = 0;
};

using Players = std::vector<std::pair<std::string, int>>;

// One index record as the reader sees it; `positions` only for the white and black index.
struct Record {
    int32_t offset = 4;
    bool crazyhouse = false;
    int minutes = 3, increment = 0, result = 0;
    int32_t date = 20240101;
    Players players = {};  // in the record's order
    std::vector<Entry> positions = {};
};

void put16(std::string& out, int value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& out, int32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((static_cast<uint32_t>(value) >> shift) & 0xFF);
}

std::string recordBytes(const Record& record, bool seatRecord) {
    std::string body;
    body += static_cast<char>(record.crazyhouse);
    put32(body, record.offset);
    body += static_cast<char>(record.minutes);
    body += static_cast<char>(record.increment);
    body += static_cast<char>(record.result);
    put32(body, record.date);
    for (const auto& [name, rating] : record.players) {
        body += name + '\0';
        put16(body, rating);
    }
    if (seatRecord) {
        put16(body, static_cast<int>(record.positions.size()));
        for (const Entry& entry : record.positions) {
            const PackedBoard board = packBoard(tandemora_test::boardFrom(entry.placement));
            body.append(board.begin(), board.end());
            char reserve[5] = {};
            for (const char* c = entry.reserve; *c; ++c) ++reserve[pieceIndex(*c)];
            body.append(reserve, 5);
            put16(body, entry.clockMs);
            body += std::string(entry.move) + '\0';
        }
    }
    std::string bytes;
    put32(bytes, static_cast<int32_t>(body.size() + 4));
    return bytes + body;
}

std::string recordsBytes(IndexFileKind kind, const std::vector<Record>& records) {
    std::string data;
    for (const Record& record : records) data += recordBytes(record, kind != kMainIndexFile);
    return data;
}

// A whole index file around `data`, with the record count its header is to give.
std::string indexFile(IndexFileKind kind, const std::string& data, int32_t recordCount, int type = 0,
                      const std::string& playerList = "alice") {
    std::string file = "games.db" + std::string(1, '\0');
    if (kind == kMainIndexFile) file += static_cast<char>(type) + playerList + '\0';
    put32(file, recordCount);
    put32(file, static_cast<int32_t>(data.size()));
    return file + data;
}

std::string indexFile(IndexFileKind kind, const std::vector<Record>& records) {
    return indexFile(kind, recordsBytes(kind, records), static_cast<int32_t>(records.size()));
}

std::string temporaryPath(const std::string& name) { return testing::TempDir() + "index_search_" + name; }

void writeFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

class Messages : public ProgressReporter {
public:
    std::vector<std::string> shown;
    void message(const std::string& text) override { shown.push_back(text); }
};

const Players kFour = {{"alice", 1800}, {"bob", 1700}, {"carol", 1600}, {"dave", 1500}};

const std::vector<Record> kMainRecords = {
    {.offset = 4, .minutes = 3, .result = 1 | 4, .date = 20030105, .players = kFour},
    {.offset = 100, .minutes = 5, .increment = 2, .result = 2, .date = 20101231,
     .players = {{"bob", 2000}, {"alice", 1900}, {"dave", 1400}, {"carol", 1300}}},
    {.offset = 200, .crazyhouse = true, .minutes = 1, .result = 2, .date = 19991231,
     .players = {{"Alice", 1500}, {"eve", 1600}}},
    {.offset = 300, .minutes = 2, .increment = 12, .date = 20240101,
     .players = {{"frank", 2200}, {"gina", 2100}, {"hank", 2000}, {"ivy", 1950}}},
};

// Seat records of the white index; the searched position is kAfterE4E5.
const std::vector<Record> kWhiteRecords = {
    {.offset = 4, .result = 1, .players = kFour,
     .positions = {{kStart, "e4"}, {kAfterE4E5, "Nf3", "PN", 1000}}},
    {.offset = 4, .result = 1, .players = {{"carol", 1600}, {"dave", 1500}, {"alice", 1800}, {"bob", 1700}},
     .positions = {{kAfterE4E5, "Nf3", "PN", 1000}}},  // the partner's seat of the same game
    {.offset = 50, .players = {{"bob", 1700}, {"alice", 1800}, {"carol", 1600}, {"dave", 1500}},
     .positions = {{kAfterE4E5, "Nf3"}}},
    {.offset = 100, .players = kFour, .positions = {{kStart, "d4"}, {kAfterE4E5, "Nc3", "PP", -2000}}},
    {.offset = 200, .crazyhouse = true, .result = 1, .players = {{"alice", 1800}, {"eve", 1600}},
     .positions = {{kAfterE4E5, "Nf3", "PPN", -5000}}},
    {.offset = 300, .players = kFour, .positions = {{kStart, "e4"}}},
    {.offset = 400, .players = kFour},  // a seat that made no move
};

class IndexSearchTest : public testing::Test {
protected:
    Messages messages;
    IndexSearch search{messages, "  /data/dbs "};

    void load(IndexFileKind kind, const std::string& bytes) {
        std::istringstream in(bytes);
        ASSERT_TRUE(search.loadIndex(kind, in, "games.ind")) << testing::PrintToString(messages.shown);
    }

    void loadMain() { load(kMainIndexFile, indexFile(kMainIndexFile, kMainRecords)); }

    void loadWhite() { load(kWhiteIndexFile, indexFile(kWhiteIndexFile, kWhiteRecords)); }

    bool prepare(const SearchPageValues& values, const Board* board = nullptr) {
        return search.prepareSearch(values, board, [](const std::string&) { return false; });
    }

    // "key: offsets" for every result line, keys in map order.
    std::string found() {
        std::string text;
        for (const auto& [key, stats] : search.results()) {
            if (!text.empty()) text += "; ";
            text += key;
            text += ':';
            for (int32_t offset : stats.offsets) {
                text += ' ';
                text += std::to_string(offset);
            }
        }
        return text;
    }
};

TEST_F(IndexSearchTest, RefusesFilesItCannotRead) {
    const std::string good = recordsBytes(kWhiteIndexFile, {kWhiteRecords[0]});
    const std::string damaged = "The index file %s is damaged";  // %s: the path loaded
    const auto patched = [&](size_t at, const std::string& bytes) {
        return indexFile(kWhiteIndexFile, std::string(good).replace(at, bytes.size(), bytes), 1);
    };
    // The record cut to its first `length` bytes, and its length field saying so.
    const auto cut = [&](char length) {
        return indexFile(kWhiteIndexFile, (std::string(1, length) + good.substr(1)).substr(0, length), 1);
    };
    Record withoutPositions = kWhiteRecords[0];
    withoutPositions.positions.clear();
    const size_t countAt = recordBytes(withoutPositions, true).size() - 2;
    const struct {
        const char* name;
        std::string file;
        std::string message;
    } cases[] = {
        {"empty file", "", "Could not read index header."},
        {"no header", "games.db", "Could not read index header."},
        {"counts cut short", indexFile(kWhiteIndexFile, "", 0).substr(0, 12), "Could not read index header."},
        {"data shorter than its size", indexFile(kWhiteIndexFile, good, 1).substr(0, 30),
         "Could not read games from the index."},
        {"data longer than its size", indexFile(kWhiteIndexFile, good, 1) + "x",
         "Could not read games from the index."},
        {"header never completed", indexFile(kWhiteIndexFile, "", 0) + good, "Could not read games from the index."},
        {"negative data size", indexFile(kWhiteIndexFile, "", 0).substr(0, 13) + "\xFF\xFF\xFF\xFF", damaged},
        {"more records counted than stored", indexFile(kWhiteIndexFile, good, 2), damaged},
        {"bytes after the last record", indexFile(kWhiteIndexFile, good + "xx", 1), damaged},
        {"record length below its head", patched(0, std::string("\x0A\0\0\0", 4)), damaged},
        {"record length past the data", patched(0, std::string("\xFF\0\0\0", 4)), damaged},
        {"name without its zero", cut(0x14), damaged},
        {"rating cut short", cut(0x17), damaged},
        {"position count past the record", patched(countAt, std::string("\x03\0", 2)), damaged},
        {"negative position count", patched(countAt, std::string("\xFF\xFF", 2)), damaged},
        {"move without its zero", indexFile(kWhiteIndexFile, good.substr(0, good.size() - 1) + "x", 1), damaged},
        {"bytes after the last position",
         indexFile(kWhiteIndexFile, static_cast<char>(good[0] + 1) + good.substr(1) + "x", 1), damaged},
    };
    // Each file is refused alike from a stream and from the file itself, mapped.
    const std::string filePath = temporaryPath("damaged.ind");
    for (const auto& c : cases) {
        writeFile(filePath, c.file);
        for (const std::string& path : {std::string("games.ind"), filePath}) {
            messages.shown.clear();
            std::istringstream in(c.file);
            EXPECT_FALSE(path == filePath ? search.loadIndexFile(kWhiteIndexFile, path)
                                          : search.loadIndex(kWhiteIndexFile, in, path))
                << c.name << " " << path;
            std::string message = c.message;
            if (const size_t at = message.find("%s"); at != std::string::npos) message.replace(at, 2, path);
            ASSERT_EQ(messages.shown.size(), 1u) << c.name << " " << path;
            EXPECT_EQ(messages.shown[0].substr(0, message.size()), message) << c.name << " " << path;
            EXPECT_FALSE(search.isLoaded(kWhiteIndexFile)) << c.name << " " << path;
        }
    }
    std::remove(filePath.c_str());
    for (const std::string& path : {temporaryPath("missing.ind"), std::string("/dev/null"), testing::TempDir()}) {
        EXPECT_FALSE(search.loadIndexFile(kMainIndexFile, path));
        EXPECT_EQ(messages.shown.back(), "Could not open index file: " + path);
    }
}

TEST_F(IndexSearchTest, TitlesTheWindowWithTheIndexHeader) {
    const struct {
        int records;
        int type;
        const char* title;
    } cases[] = {
        {1, 0, "Bughouse index: {alice, bob} (1 game)"},     {11, 0, "Bughouse index: {alice, bob} (11 game)"},
        {21, 1, "Crazyhouse index: {alice, bob} (21 game)"}, {2, 0, "Bughouse index: {alice, bob} (2 games)"},
        {12, 1, "Crazyhouse index: {alice, bob} (12 games)"}, {0, 0, "Bughouse index: {alice, bob} (0 games)"},
    };
    for (const auto& c : cases) {
        std::string data;
        for (int i = 0; i < c.records; ++i) data += recordBytes(kMainRecords[0], false);
        load(kMainIndexFile, indexFile(kMainIndexFile, data, c.records, c.type, "alice, bob"));
        EXPECT_EQ(search.title(), c.title);
    }
    EXPECT_EQ(search.databasePath(), "/data/dbs/games.db");
    IndexSearch slashed(messages, "/data/dbs/");
    std::istringstream in(indexFile(kMainIndexFile, kMainRecords));
    ASSERT_TRUE(slashed.loadIndex(kMainIndexFile, in, "games.ind"));
    EXPECT_EQ(slashed.databasePath(), "/data/dbs/games.db");
}

TEST_F(IndexSearchTest, GeneralSearchFilters) {
    loadMain();
    const struct {
        const char* name;
        const char* found;
        std::function<void(SearchPageValues&)> set;
    } cases[] = {
        {"no filters", "*: 4 100 200 300", [](auto&) {}},
        {"time limit", "*: 4 100", [](auto& v) { v.timeLimit = 3; }},
        {"increment", "*: 100 300", [](auto& v) { v.increment = 2; }},
        {"average rating reached", "*: 4 100 300", [](auto& v) { v.averageRating = 1650; }},
        {"average rating missed", "*: 300", [](auto& v) { v.averageRating = 1651; }},
        {"minimum rating", "*: 4 200 300", [](auto& v) { v.minimumRating = 1500; }},
        {"date", "*: 4 100 300", [](auto& v) { v.dateText = "1/5/2003"; }},
        {"two-digit year before 2000", "*: 4 100 200 300", [](auto& v) { v.dateText = "12/31/99"; }},
        {"two-digit year after 2000", "*: 100 300", [](auto& v) { v.dateText = " 1/1/10 "; }},
        {"handle ignoring case", "*: 4 100 200", [](auto& v) { v.handles[0] = " ALICE "; }},
        {"handle and rating", "*: 100", [](auto& v) { v.handles[0] = "alice", v.ratings[0] = 1850; }},
        {"rating alone", "*: 300", [](auto& v) { v.ratings[0] = 2100; }},
        {"teammates", "*: 4 100", [](auto& v) { v.handles = {"alice", "carol"}, v.teammates = true; }},
        {"not teammates", "", [](auto& v) { v.handles = {"alice", "bob"}, v.teammates = true; }},
        {"opponents", "*: 4 100", [](auto& v) { v.handles = {"alice", "", "bob"}, v.opponents = true; }},
        {"not opponents", "", [](auto& v) { v.handles = {"alice", "", "dave"}, v.opponents = true; }},
        {"won only without a victory player", "", [](auto& v) { v.wonOnly = true; }},
        {"won only for player 1", "*: 4 100", [](auto& v) { v.handles[0] = "alice", v.wonOnly = true; }},
        {"won only for player 2", "*: 200",
         [](auto& v) { v.handles[1] = "eve", v.victoryPlayer = 1, v.wonOnly = true; }},
        {"checkmate or resignation", "*: 4", [](auto& v) { v.mateOrResign = true; }},
    };
    for (const auto& c : cases) {
        messages.shown.clear();
        SearchPageValues values;
        values.positional = false;
        c.set(values);
        ASSERT_TRUE(prepare(values)) << c.name;
        search.runSearch();
        EXPECT_EQ(found(), c.found) << c.name;
        const bool none = std::string(c.found).empty();
        EXPECT_EQ(messages.shown, std::vector<std::string>(none, "No matching games found.")) << c.name;
        EXPECT_EQ(search.resultList().size(), none ? 0u : 1u) << c.name;
    }
}

// Searched the same whether it was read from a stream or mapped from its file.
TEST_F(IndexSearchTest, ResultLines) {
    for (bool fromFile : {false, true}) {
        SCOPED_TRACE(fromFile ? "mapped from the file" : "read from a stream");
        if (fromFile) {
            const std::string path = temporaryPath("lines.ind");
            writeFile(path, indexFile(kMainIndexFile, kMainRecords));
            writeFile(path + "WP", indexFile(kWhiteIndexFile, kWhiteRecords));
            ASSERT_TRUE(search.loadIndexFile(kMainIndexFile, path));
            ASSERT_TRUE(search.toggleSideIndex(0));
            for (const char* suffix : {"", "WP", "WP.pos"}) std::remove((path + suffix).c_str());
        } else {
            loadMain();
            loadWhite();
        }
        SearchPageValues values;
        values.positional = false;
        ASSERT_TRUE(prepare(values));
        search.runSearch();
        EXPECT_EQ(search.resultList(), std::vector<std::string>{"* \t               4 \t              100% \t       ---"});
        values.handles[0] = "alice";
        ASSERT_TRUE(prepare(values));
        search.runSearch();
        EXPECT_EQ(search.resultList(), std::vector<std::string>{"* \t               3 \t              100% \t        67%"});

        const Board board = tandemora_test::boardFrom(kAfterE4E5);
        ASSERT_TRUE(prepare(SearchPageValues{}, &board));
        search.runSearch();
        EXPECT_EQ(search.counted(), 4);
        EXPECT_EQ(search.resultList(),
                  (std::vector<std::string>{"Nf3 \t               3 \t              75% \t        67%",
                                            "Nc3 \t               1 \t              25% \t         0%"}));
    }
}

TEST_F(IndexSearchTest, PositionalSearchFilters) {
    loadWhite();
    const Board board = tandemora_test::boardFrom(kAfterE4E5);
    const struct {
        const char* name;
        const char* found;
        std::function<void(SearchPageValues&)> set;
    } cases[] = {
        // The two seats of the game at 4 follow one another and count once.
        {"no filters", "Nc3: 100; Nf3: 4 50 200", [](auto&) {}},
        {"pawn and knight in reserve", "Nf3: 4 200", [](auto& v) { v.materialText = "P N"; }},
        {"two pawns in reserve", "Nc3: 100; Nf3: 200", [](auto& v) { v.materialText = "pp"; }},
        {"no piece letter", "Nc3: 100; Nf3: 4 50 200", [](auto& v) { v.materialText = "x"; }},
        {"a second up", "Nf3: 4 200", [](auto& v) { v.clockSeconds = 1; }},
        {"two seconds up", "Nf3: 200", [](auto& v) { v.clockSeconds = 2; }},
        {"two seconds down", "Nc3: 100; Nf3: 200", [](auto& v) { v.clockSeconds = 2, v.upDown = 1; }},
        {"three seconds down", "Nf3: 200", [](auto& v) { v.clockSeconds = 3, v.upDown = 1; }},
        {"won only", "Nf3: 4 200", [](auto& v) { v.wonOnly = true; }},
        {"handle at any seat", "Nc3: 100; Nf3: 4 50 200", [](auto& v) { v.handles[0] = "alice"; }},
        {"handle of the mover", "Nc3: 100; Nf3: 4 200",
         [](auto& v) { v.handles[0] = "alice", v.player1Positional = true; }},
        {"time limit", "", [](auto& v) { v.timeLimit = 4; }},
    };
    for (const auto& c : cases) {
        SearchPageValues values;
        c.set(values);
        ASSERT_TRUE(prepare(values, &board)) << c.name;
        search.runSearch();
        EXPECT_EQ(found(), c.found) << c.name;
    }
    const Board elsewhere = tandemora_test::boardFrom("4k3/8/8/8/8/8/8/4K3");
    ASSERT_TRUE(prepare(SearchPageValues{}, &elsewhere));
    search.runSearch();
    EXPECT_EQ(found(), "");

    // A search asked to stop, as a newer one takes its place, ends with nothing and says nothing.
    const std::atomic<bool> stop{true};
    messages.shown.clear();
    ASSERT_TRUE(prepare(SearchPageValues{}, &board));
    search.runSearch(&stop);
    EXPECT_EQ(found(), "");
    EXPECT_TRUE(search.resultList().empty());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(IndexSearchTest, MatchPlayers) {
    loadWhite();
    const Board board = tandemora_test::boardFrom(kAfterE4E5);
    const SeatPlayers bughouse{{"alice", "bob", "carol", "dave"}, {1800, 1500, 1700, 1600}};
    const SeatPlayers crazyhouse{{"alice", "bob"}, {1800, 1500}};
    const SeatPlayers equalRatings{{"alice", "bob", "carol", "dave"}, {1600, 1600, 1500, 1700}};
    // Seats of players 1-4 ("-" for none), or "fails"; a record with two names is crazyhouse.
    const struct {
        const char* name;
        const SeatPlayers& players;
        const char* seats;
        std::function<void(SearchPageValues&)> set;
    } cases[] = {
        {"handle ignoring case", bughouse, "- 1 - -", [](auto& v) { v.handles[1] = "BOB"; }},
        {"unknown handle", bughouse, "fails", [](auto& v) { v.handles[0] = "zed"; }},
        {"handle below its rating", bughouse, "fails", [](auto& v) { v.handles[0] = "alice", v.ratings[0] = 1801; }},
        {"handle at its rating", bughouse, "0 - - -", [](auto& v) { v.handles[0] = "alice", v.ratings[0] = 1800; }},
        {"handle taken twice", bughouse, "fails", [](auto& v) { v.handles = {"alice", "ALICE"}; }},
        {"lowest rating that reaches", bughouse, "2 0 - -", [](auto& v) { v.ratings = {1650, 1650}; }},
        {"no rating left", bughouse, "fails", [](auto& v) { v.ratings = {1650, 1650, 1650}; }},
        {"rating after handles", bughouse, "2 1 - -", [](auto& v) { v.handles = {"carol"}, v.ratings = {0, 1500}; }},
        {"equal ratings in selection order", equalRatings, "1 - - -", [](auto& v) { v.ratings[0] = 1550; }},
        {"teammates", bughouse, "0 2 - -", [](auto& v) { v.handles = {"alice", "carol"}, v.teammates = true; }},
        {"not teammates", bughouse, "fails", [](auto& v) { v.handles = {"dave", "alice"}, v.teammates = true; }},
        {"teammate by rating is not checked", bughouse, "0 1 - -",
         [](auto& v) { v.handles[0] = "alice", v.ratings[1] = 1500, v.teammates = true; }},
        {"opponents", bughouse, "3 - 2 -", [](auto& v) { v.handles = {"dave", "", "carol"}, v.opponents = true; }},
        {"not opponents", bughouse, "fails", [](auto& v) { v.handles = {"alice", "", "dave"}, v.opponents = true; }},
        {"crazyhouse rating reached", crazyhouse, "0 - - -", [](auto& v) { v.ratings[0] = 1600; }},
        {"crazyhouse rating beyond both seats", crazyhouse, "fails", [](auto& v) { v.ratings[0] = 1900; }},
        {"crazyhouse third player", crazyhouse, "fails", [](auto& v) { v.ratings = {1500, 1500, 1500}; }},
        {"mover by handle", bughouse, "0 - - -", [](auto& v) { v.handles[0] = "alice", v.player1Positional = true; }},
        {"mover handle elsewhere", bughouse, "fails",
         [](auto& v) { v.handles[0] = "bob", v.player1Positional = true; }},
        {"mover by rating", bughouse, "0 - - -", [](auto& v) { v.ratings[0] = 1700, v.player1Positional = true; }},
        {"mover rating missed", bughouse, "fails", [](auto& v) { v.ratings[0] = 1801, v.player1Positional = true; }},
        {"mover rule off in a general search", bughouse, "2 - - -",
         [](auto& v) { v.ratings[0] = 1700, v.player1Positional = true, v.positional = false; }},
    };
    for (const auto& c : cases) {
        SearchPageValues values;
        c.set(values);
        ASSERT_TRUE(prepare(values, &board)) << c.name;
        std::array<int, 4> seats;
        std::string placed = "fails";
        if (search.matchPlayers(c.players.names[2].empty(), c.players, seats)) {
            placed.clear();
            for (int seat : seats) placed += (placed.empty() ? "" : " ") + (seat < 0 ? "-" : std::to_string(seat));
        }
        EXPECT_EQ(placed, c.seats) << c.name;
    }
}

TEST_F(IndexSearchTest, PrepareRefusals) {
    const std::string mainPath = temporaryPath("prepare.ind");
    writeFile(mainPath, indexFile(kMainIndexFile, kMainRecords));
    writeFile(mainPath + "WP", indexFile(kWhiteIndexFile, kWhiteRecords));
    std::remove((mainPath + "BP").c_str());
    ASSERT_TRUE(search.loadIndexFile(kMainIndexFile, mainPath));
    Board white = tandemora_test::boardFrom(kAfterE4E5);
    Board black = white;
    black.sideToMove = 0;
    std::vector<std::string> asked;
    const auto answer = [&](bool yes) {
        return [&asked, yes](const std::string& question) {
            asked.push_back(question);
            return yes;
        };
    };

    EXPECT_FALSE(prepare(SearchPageValues{}, nullptr));
    EXPECT_EQ(messages.shown.back(), "Make the board position from which you wish to search your topmost window.");
    EXPECT_FALSE(search.prepareSearch(SearchPageValues{}, &white, answer(false)));
    EXPECT_EQ(asked.back(), "Index for white positions is not loaded. Load it and proceed with search?");
    EXPECT_FALSE(search.prepareSearch(SearchPageValues{}, &black, answer(true)));
    EXPECT_EQ(asked.back(), "Index for black positions is not loaded. Load it and proceed with search?");
    EXPECT_EQ(messages.shown.back(), "Could not open index file: " + mainPath + "BP");

    EXPECT_EQ(search.sideIndexLabel(0), "Load white index");
    EXPECT_TRUE(search.prepareSearch(SearchPageValues{}, &white, answer(true)));
    EXPECT_EQ(search.sideIndexLabel(0), "Unload white index");
    EXPECT_TRUE(search.toggleSideIndex(0));
    EXPECT_EQ(search.sideIndexLabel(0), "Load white index");
    EXPECT_TRUE(search.toggleSideIndex(0));
    ASSERT_TRUE(search.loadIndexFile(kMainIndexFile, mainPath));
    EXPECT_FALSE(search.isLoaded(kWhiteIndexFile));  // a new main index comes without its companions

    for (const char* date : {"12/31", "a/b/c", "1/2/3/4", "12-31-2003", "1/2/20030", "1//2003"}) {
        messages.shown.clear();
        SearchPageValues values;
        values.positional = false;
        values.dateText = date;
        EXPECT_FALSE(prepare(values)) << date;
        ASSERT_EQ(messages.shown.size(), 1u) << date;
        EXPECT_EQ(messages.shown[0], "The date must be written as month/day/year, for example 12/31/2003.") << date;
    }
    for (const char* suffix : {"", "WP", "WP.pos"}) std::remove((mainPath + suffix).c_str());
}

// Many seat records over a few boards, with every field the filters look at varied.
std::vector<Record> variedWhiteRecords() {
    const char* const boards[] = {kStart, kAfterE4E5, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR",
                                  "rnbqkb1r/pppppppp/5n2/8/3P4/8/PPP1PPPP/RNBQKBNR", "4k3/8/8/8/8/8/8/4K3"};
    const char* const moves[] = {"e4", "d4", "Nf3", "P@e5", "O-O"};
    const char* const reserves[] = {"", "P", "PN", "PPN", "QR"};
    const char* const names[] = {"alice", "bob", "carol", "dave", "eve"};
    uint32_t seed = 12345;
    const auto next = [&seed](uint32_t range) {
        seed = seed * 1103515245 + 12345;
        return static_cast<int>((seed >> 16) % range);
    };
    std::vector<Record> records;
    for (int i = 0; i < 150; ++i) {
        Record record;
        // Now and then both seats of one game follow one another.
        record.offset = i > 0 && next(4) == 0 ? records.back().offset : 4 + 100 * i;
        record.crazyhouse = next(6) == 0;
        record.minutes = next(6), record.increment = next(3), record.result = next(8);
        record.date = 20000101 + 10000 * next(20);
        const int first = next(5);
        for (int seat = 0; seat < (record.crazyhouse ? 2 : 4); ++seat)
            record.players.emplace_back(names[(first + seat) % 5], 1400 + 50 * next(16));
        for (int n = next(5); n > 0; --n)
            record.positions.push_back({boards[next(5)], moves[next(5)], reserves[next(5)], 1000 * (next(13) - 6)});
        records.push_back(record);
    }
    return records;
}

class PositionFileTest : public IndexSearchTest {
protected:
    // Writes the main and white index of the varied records at a fresh path, with no position file.
    std::string writeIndex(const std::string& name) {
        const std::string path = temporaryPath(name);
        writeFile(path, indexFile(kMainIndexFile, kMainRecords));
        writeFile(path + "WP", indexFile(kWhiteIndexFile, variedWhiteRecords()));
        std::remove(positionFilePath(path + "WP").c_str());
        return path;
    }

    // The result lines, then every key's games, wins and offsets, of a search on `board`.
    std::string searched(const SearchPageValues& values, const Board& board, bool fullScan) {
        search.setFullScan(fullScan);
        if (!prepare(values, &board)) return "refused";
        search.runSearch();
        std::string text;
        for (const std::string& line : search.resultList()) text += line + "\n";
        for (const auto& [key, stats] : search.results())
            text += key + " " + std::to_string(stats.games) + " " + std::to_string(stats.won) + "\n";
        return text + found();
    }

    static std::vector<Board> searchedBoards() {
        std::vector<Board> boards;
        for (const char* placement : {kStart, kAfterE4E5, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR",
                                      "rnbqkb1r/pppppppp/5n2/8/3P4/8/PPP1PPPP/RNBQKBNR", "4k3/8/8/8/8/8/8/4K3",
                                      "8/8/8/8/8/8/8/K6k"})
            boards.push_back(tandemora_test::boardFrom(placement));
        return boards;
    }

    void removeIndex(const std::string& path) {
        for (const char* suffix : {"", "WP", "WP.pos"}) std::remove((path + suffix).c_str());
    }
};

TEST_F(PositionFileTest, LookupFindsWhatTheScanFinds) {
    const struct {
        const char* name;
        std::function<void(SearchPageValues&)> set;
    } filters[] = {
        {"no filters", [](auto&) {}},
        {"date", [](auto& v) { v.dateText = "1/1/2010"; }},
        {"time control", [](auto& v) { v.timeLimit = 2, v.increment = 1; }},
        {"average rating", [](auto& v) { v.averageRating = 1750; }},
        {"minimum rating", [](auto& v) { v.minimumRating = 1500; }},
        {"won only", [](auto& v) { v.wonOnly = true; }},
        {"mate or resign", [](auto& v) { v.mateOrResign = true; }},
        {"material", [](auto& v) { v.materialText = "P N"; }},
        {"clock up", [](auto& v) { v.clockSeconds = 2; }},
        {"clock down", [](auto& v) { v.clockSeconds = 3, v.upDown = 1; }},
        {"players", [](auto& v) { v.handles[0] = "alice", v.ratings[1] = 1700; }},
        {"mover", [](auto& v) { v.handles[0] = "bob", v.player1Positional = true; }},
        {"teammates", [](auto& v) { v.handles[0] = "alice", v.handles[1] = "carol", v.teammates = true; }},
        {"opponents", [](auto& v) { v.handles[0] = "alice", v.handles[2] = "bob", v.opponents = true; }},
        {"victory player", [](auto& v) { v.handles[1] = "dave", v.victoryPlayer = 1; }},
    };
    // The real hash, one that gives most boards the same value, and one that gives all of them one.
    const struct {
        const char* name;
        PositionHash hash;
    } hashes[] = {
        {"board hash", hashPackedBoard},
        {"two values", [](const uint8_t* board) -> uint64_t { return board[12] == 0 ? 1 : 2; }},
        {"one value", [](const uint8_t*) -> uint64_t { return 7; }},
    };
    for (const auto& h : hashes) {
        const std::string path = writeIndex(std::string("lookup_") + (h.hash == hashPackedBoard ? "real" : h.name));
        search.setPositionHash(h.hash);
        ASSERT_TRUE(search.loadIndexFile(kMainIndexFile, path));
        ASSERT_TRUE(search.toggleSideIndex(0));
        ASSERT_TRUE(search.hasPositionFile(kWhiteIndexFile)) << h.name;
        for (const Board& board : searchedBoards())
            for (const auto& f : filters) {
                SearchPageValues values;
                f.set(values);
                EXPECT_EQ(searched(values, board, false),
                          searched(values, board, true))
                    << h.name << ", " << f.name << ", " << packBoard(board)[12] + 0;
            }
        removeIndex(path);
    }
    // The data holds what the filters tell apart.
    EXPECT_NE(searched(SearchPageValues{}, searchedBoards()[1], false), "");
}

TEST_F(PositionFileTest, ADamagedOrForeignFileIsNotUsed) {
    const std::string path = writeIndex("faults.ind");
    const std::string other = writeIndex("faults_other.ind");
    writeFile(other + "WP", indexFile(kWhiteIndexFile, kWhiteRecords));
    const std::string positions = positionFilePath(path + "WP");
    namespace fs = std::filesystem;
    const auto load = [&] {
        messages.shown.clear();
        EXPECT_TRUE(search.loadIndexFile(kMainIndexFile, path));
        EXPECT_TRUE(search.toggleSideIndex(0));
    };
    load();  // makes the position file
    ASSERT_TRUE(search.hasPositionFile(kWhiteIndexFile));
    EXPECT_TRUE(messages.shown.empty());
    std::string made;
    {
        std::ifstream in(positions, std::ios::binary);
        made.assign(std::istreambuf_iterator<char>(in), {});
    }
    ASSERT_GT(made.size(), 64u);
    SearchPageValues values;
    const Board board = tandemora_test::boardFrom(kAfterE4E5);
    const std::string expected = searched(values, board, true);

    const std::string damaged = "The position file " + positions + " is damaged";
    const std::string foreign = "The position file " + positions + " was made for another index";
    const struct {
        const char* name;
        std::function<void()> spoil;
        std::string message;  // its start; empty when the file serves again
    } cases[] = {
        {"an entry changed", [&] { writeFile(positions, std::string(made).replace(80, 1, "\x55")); }, damaged},
        {"cut short", [&] { writeFile(positions, made.substr(0, made.size() - 5)); }, damaged},
        {"only part of its header", [&] { writeFile(positions, made.substr(0, 20)); }, damaged},
        {"made for another index",
         [&] {
             search.loadIndexFile(kMainIndexFile, other);
             search.toggleSideIndex(0);
             fs::copy_file(positionFilePath(other + "WP"), positions, fs::copy_options::overwrite_existing);
         },
         foreign},
        // Older than its index: made again.
        {"older than its index",
         [&] { fs::last_write_time(positions, fs::last_write_time(path + "WP") - std::chrono::hours(1)); }, ""},
        {"missing", [&] { fs::remove(positions); }, ""},
    };
    for (const auto& c : cases) {
        writeFile(positions, made);
        c.spoil();
        load();
        EXPECT_EQ(search.hasPositionFile(kWhiteIndexFile), c.message.empty()) << c.name;
        if (c.message.empty()) {
            EXPECT_TRUE(messages.shown.empty()) << c.name;
            EXPECT_GE(fs::last_write_time(positions), fs::last_write_time(path + "WP")) << c.name;
        } else {
            ASSERT_EQ(messages.shown.size(), 1u) << c.name;
            EXPECT_EQ(messages.shown[0].substr(0, c.message.size()), c.message) << c.name;
        }
        // Either way the search finds what the scan finds.
        EXPECT_EQ(searched(values, board, false), expected) << c.name;
    }
    removeIndex(path);
    removeIndex(other);
}

}  // namespace
