#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "database/database_file.h"
#include "tests/compressed_text.h"
#include "tests/file_size_limit.h"

namespace fs = std::filesystem;
using namespace tandemora;

namespace {

// A crazyhouse game whose first player names it; it ends with the empty line that separates games.
std::string game(const std::string& player, const std::string& moves = "1A. e4 {179} 1a. e5 {178}") {
    return "[Event \"Crazyhouse game\"]\n[WhiteA \"" + player + "\"]\n\n" + moves + "\n\n{" + player +
           " resigns} 0-1\n\n";
}

std::string int32Bytes(int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
}

std::string record(const std::string& text) {
    return int32Bytes(static_cast<int32_t>(text.size())) + text + int32Bytes(static_cast<int32_t>(text.size()));
}

std::string databaseOf(const std::vector<std::string>& texts) {
    std::string bytes = int32Bytes(static_cast<int32_t>(texts.size()));
    for (const std::string& text : texts) bytes += record(text);
    return bytes;
}

int32_t int32At(const std::string& bytes, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(bytes.at(at + i));
    return static_cast<int32_t>(v);
}

// The texts of the records from `at` on; both copies of each length must agree.
std::vector<std::string> recordsOf(const std::string& bytes, size_t at = 4) {
    std::vector<std::string> texts;
    while (at < bytes.size()) {
        const int32_t length = int32At(bytes, at);
        texts.push_back(bytes.substr(at + 4, length));
        EXPECT_EQ(int32At(bytes, at + 4 + length), length);
        at += 8 + length;
    }
    return texts;
}

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// Every call, in order: "message:...", "range:1000", "position:0", "step", "status:file.bpgn".
class RecordingReporter : public ProgressReporter {
public:
    std::vector<std::string> events;
    void message(const std::string& text) override { events.push_back("message:" + text); }
    void setRange(int maximum) override { events.push_back("range:" + std::to_string(maximum)); }
    void step() override { events.push_back("step"); }
    void setPosition(int position) override { events.push_back("position:" + std::to_string(position)); }
    void status(const std::string& text) override { events.push_back("status:" + text); }
};

// Asks to stop once it has been asked whether to stop `answersLeft` times.
class StoppingReporter : public RecordingReporter {
public:
    explicit StoppingReporter(int answersLeft) : answersLeft_(answersLeft) {}
    bool stopRequested() const override { return answersLeft_-- <= 0; }

private:
    mutable int answersLeft_;
};

class DatabaseFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tandemora-db-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        root = pattern;
        folder = root / "games";
        fs::create_directory(folder);
        database = root / "games.db";
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path root, folder, database;
    RecordingReporter reporter;
};

TEST(DatabaseCutting, GamesEndBeforeTheTagThatFollowsTheirFirstBrace) {
    const std::string commented = game("Cy", "1A. e4 {179} {C: see [diagram]} 1a. e5 {178}");
    const std::string roomTwo = "[Site \"club {room 2}\"]\n" + game("Ann");
    const std::string openBrace = "[Site \"a { too many\"] [Round \"}\"]\n" + game("Bob");
    const struct {
        const char* name;
        std::string source;
        std::vector<std::string> records;
    } cases[] = {
        {"two games", game("Ann") + game("Bob"), {game("Ann"), game("Bob")}},
        {"tag inside a comment", commented + game("Bob"), {commented, game("Bob")}},
        {"braces inside tag values", roomTwo + openBrace + game("Cy"), {roomTwo, openBrace, game("Cy")}},
        {"text before the first tag", "; club night\n" + game("Ann") + game("Bob"), {"; club night\n" + game("Ann"), game("Bob")}},
        {"no brace at all", "[Event \"a\"]\n\n1A. e4\n[Event \"b\"]\n", {"[Event \"a\"]\n\n1A. e4\n[Event \"b\"]\n"}},
        {"empty file", "", {}},
        {"CR LF line ends", "[Event \"a\"]\r\n\r\n1A. e4 {1}\r\r\n[Event \"b\"]\r\n{", {"[Event \"a\"]\n\n1A. e4 {1}\r\n", "[Event \"b\"]\n{"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::istringstream source(c.source);
        std::ostringstream out;
        bool full = true;
        EXPECT_EQ(addSingleFileToDatabase(source, out, full), static_cast<int>(c.records.size()));
        EXPECT_FALSE(full);
        EXPECT_EQ(recordsOf(out.str(), 0), c.records);
    }
}

TEST_F(DatabaseFileTest, BuildingTwiceStoresEveryGameTwice) {
    writeBytes(folder / "a.bpgn", game("Ann") + game("Bob"));
    writeBytes(folder / "B.BPGN", game("Cy"));
    writeBytes(folder / "notes.txt", game("Dan"));
    ASSERT_TRUE(buildDatabase(folder.string(), database.string(), reporter));  // no trailing "/"
    // Progress follows the files' bytes.
    const std::string afterFirstFile = std::to_string(1000 * game("Cy").size() / (game("Cy") + game("Ann") + game("Bob")).size());
    EXPECT_EQ(reporter.events,
              (std::vector<std::string>{"range:1000", "position:0", "status:B.BPGN", "position:" + afterFirstFile,
                                        "status:a.bpgn", "position:1000",
                                        "message:Database successfully updated, 3 games added, now contains 3 games."}));
    const std::vector<std::string> once = {game("Cy"), game("Ann"), game("Bob")};
    EXPECT_EQ(int32At(readBytes(database), 0), 3);
    EXPECT_EQ(recordsOf(readBytes(database)), once);

    reporter.events.clear();
    ASSERT_TRUE(buildDatabase(folder.string() + "/", database.string(), reporter));
    EXPECT_EQ(reporter.events.back(), "message:Database successfully updated, 3 games added, now contains 6 games.");
    std::vector<std::string> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(int32At(readBytes(database), 0), 6);
    EXPECT_EQ(recordsOf(readBytes(database)), twice);
}

// Enough games, with CR LF line ends, for the text to span several of the reader's blocks.
std::string manyGames() {
    std::string text;
    for (int i = 0; i < 4000; ++i) text += game("Player" + std::to_string(i));
    std::string crlf;
    for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return crlf;
}

TEST_F(DatabaseFileTest, CompressedSourcesGiveTheSameDatabaseAsPlainOnes) {
    const std::string text = manyGames();
    const std::string half = text.substr(0, text.size() / 2), rest = text.substr(text.size() / 2);
    writeBytes(folder / "a.bpgn", text);
    ASSERT_TRUE(buildDatabase(folder.string(), database.string(), reporter));
    const std::string plain = readBytes(database);
    fs::remove(folder / "a.bpgn");
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"a.bpgn.bz2", bzip2Of(text)},
        {"a.BPGN.GZ", gzipOf(text)},
        // Parallel compressors write one stream after another.
        {"a.bpgn.bz2", bzip2Of(half) + bzip2Of(rest)},
        {"a.bpgn.gz", gzipOf(half) + gzipOf(rest)},
        // The first bytes tell the compression, not the name.
        {"a.bpgn", gzipOf(text)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(database);
        writeBytes(folder / c.name, c.bytes);
        reporter.events.clear();
        EXPECT_TRUE(buildDatabase(folder.string(), database.string(), reporter));
        EXPECT_EQ(readBytes(database), plain);
        fs::remove(folder / c.name);
    }
}

TEST_F(DatabaseFileTest, ADamagedCompressedSourceUndoesTheWholeBuild) {
    const std::string text = manyGames();
    const auto cut = [](std::string bytes) { return bytes.substr(0, bytes.size() * 2 / 3); };
    const auto spoilt = [](std::string bytes) {
        bytes[bytes.size() / 2] ^= 0x55;
        return bytes;
    };
    const struct {
        const char* name;
        std::string bytes;
        const char* why;
    } cases[] = {
        {"b.bpgn.bz2", cut(bzip2Of(text)), "the compressed data ends early"},
        {"b.bpgn.bz2", spoilt(bzip2Of(text)), "not valid bzip2 data at byte "},
        {"b.bpgn.bz2", bzip2Of(text) + "junk", "not valid bzip2 data at byte "},
        {"b.bpgn.gz", cut(gzipOf(text)), "the compressed data ends early"},
        {"b.bpgn.gz", spoilt(gzipOf(text)), "not valid gzip data at byte "},
    };
    writeBytes(folder / "a.bpgn", game("Ann"));
    const std::string existing = databaseOf({game("Old")});
    for (const auto& c : cases) {
        for (bool isNew : {false, true}) {
            SCOPED_TRACE(std::string(c.why) + (isNew ? ", new database" : ", existing database"));
            writeBytes(folder / c.name, c.bytes);
            if (isNew) fs::remove(database);
            else writeBytes(database, existing);
            reporter.events.clear();
            EXPECT_FALSE(buildDatabase(folder.string(), database.string(), reporter));
            const std::string message = reporter.events.back();
            EXPECT_EQ(message.find(std::string("message:") + c.name + " is damaged: " + c.why), 0u) << message;
            EXPECT_NE(message.find("The database was left as it was before this build."), std::string::npos);
            if (isNew) EXPECT_FALSE(fs::exists(database));
            else EXPECT_EQ(readBytes(database), existing);
            fs::remove(folder / c.name);
        }
    }
}

TEST_F(DatabaseFileTest, StoppedBuildsSayWhyAndLeaveTheDatabaseAsItWas) {
    const std::string damaged[] = {std::string("\1\0\0", 3), int32Bytes(1000) + record(game("Ann"))};
    const struct {
        const char* name;
        std::string folder, database;
        const std::string* existing;
        const char* message;
    } cases[] = {
        {"no folder", "", database.string(), nullptr, "You must specify directory for BPGN files."},
        {"no database", folder.string(), "", nullptr, "You must specify database file name."},
        {"no BPGN file", (root / "missing").string(), database.string(), nullptr,
         "No .bpgn files were found in the specified directory."},
        {"shorter than a count", folder.string(), database.string(), &damaged[0],
         "Could not read number of games from existing database."},
        {"more games than bytes", folder.string(), database.string(), &damaged[1],
         "Could not read number of games from existing database."},
    };
    writeBytes(folder / "a.bpgn", game("Ann"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(database);
        if (c.existing) writeBytes(database, *c.existing);
        reporter.events.clear();
        EXPECT_FALSE(buildDatabase(c.folder, c.database, reporter));
        EXPECT_EQ(reporter.events, std::vector<std::string>{std::string("message:") + c.message});
        if (c.existing) EXPECT_EQ(readBytes(database), *c.existing);
        else EXPECT_FALSE(fs::exists(database));
    }
}

TEST_F(DatabaseFileTest, AStoppedBuildCountsTheWholeGamesItAdded) {
    // The build asks before each file and after each game that is not a file's last.
    writeBytes(folder / "a.bpgn", game("Ann") + game("Bob") + game("Cy"));
    writeBytes(folder / "b.bpgn", game("Dan") + game("Eve"));
    const std::vector<std::string> all = {game("Ann"), game("Bob"), game("Cy"), game("Dan"), game("Eve")};
    const struct {
        int answers;
        bool existing;
        size_t added;
    } cases[] = {
        {0, false, 0}, {1, false, 1}, {2, true, 2}, {3, false, 3}, {4, true, 4}, {5, false, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answers);
        std::vector<std::string> expected;
        if (c.existing) expected.push_back(game("Old"));
        if (c.existing) writeBytes(database, databaseOf(expected));
        else fs::remove(database);
        expected.insert(expected.end(), all.begin(), all.begin() + static_cast<long>(c.added));
        StoppingReporter stopping(c.answers);
        const bool complete = c.added == all.size();
        EXPECT_EQ(buildDatabase(folder.string(), database.string(), stopping), complete);
        EXPECT_EQ(stopping.events.back(),
                  std::string(complete ? "message:Database successfully updated, " : "message:Building the database was stopped, ") +
                      std::to_string(c.added) + " games added, now contains " + std::to_string(expected.size()) +
                      " games.");
        const std::string bytes = readBytes(database);
        EXPECT_EQ(int32At(bytes, 0), static_cast<int32_t>(expected.size()));
        EXPECT_EQ(recordsOf(bytes), expected);
    }
}

TEST_F(DatabaseFileTest, WhatAStoppedBuildLeftAfterTheCountedRecordsIsCutOff) {
    writeBytes(folder / "a.bpgn", game("Bob"));
    const std::string counted = databaseOf({game("Ann")});
    const struct {
        const char* name;
        std::string left;
    } cases[] = {
        {"half a record", int32Bytes(400) + "[Event \"Crazyhouse game\"]\n[Wh"},
        {"a whole record not yet counted", record(game("Cy"))},
        {"a length cut short", std::string("\x90\x01", 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(database, counted + c.left);
        ASSERT_TRUE(buildDatabase(folder.string(), database.string(), reporter));
        EXPECT_EQ(readBytes(database), databaseOf({game("Ann"), game("Bob")}));
    }
}

TEST_F(DatabaseFileTest, ADatabaseInItsOwnSourceFolderIsNotReadIntoItself) {
    writeBytes(folder / "a.bpgn", game("Ann") + game("Bob"));
    const fs::path inside = folder / "all.bpgn";
    // A build that reads what it appends stops at the limit rather than filling the disk.
    const bool built = underFileSizeLimit(1 << 20, [&] {
        const bool first = buildDatabase(folder.string(), inside.string(), reporter);
        const bool second = buildDatabase(folder.string(), inside.string(), reporter);
        fs::create_symlink(inside, folder / "link.bpgn");
        return first && second && buildDatabase(folder.string(), inside.string(), reporter);
    });
    EXPECT_TRUE(built);
    EXPECT_EQ(readBytes(inside), databaseOf({game("Ann"), game("Bob"), game("Ann"), game("Bob"), game("Ann"),
                                             game("Bob")}));
}

TEST_F(DatabaseFileTest, AFailedWriteCutsTheDatabaseBackToItsFormerSize) {
    std::string many;
    for (int i = 0; i < 200; ++i) many += game("Player" + std::to_string(i));
    writeBytes(folder / "many.bpgn", many);
    const std::string existing = databaseOf({game("Ann")});
    for (bool isNew : {false, true}) {
        SCOPED_TRACE(isNew ? "new database" : "existing database");
        if (isNew) fs::remove(database);
        else writeBytes(database, existing);
        reporter.events.clear();
        const bool built = underFileSizeLimit(existing.size() + 100, [&] {
            return buildDatabase(folder.string(), database.string(), reporter);
        });
        EXPECT_FALSE(built);
        EXPECT_EQ(reporter.events.back(),
                  "message:Could not write game number into the database: the file size limit was reached.");
        if (isNew) EXPECT_FALSE(fs::exists(database));
        else EXPECT_EQ(readBytes(database), existing);
    }
}

TEST_F(DatabaseFileTest, AFullDatabaseKeepsTheRecordsThatFitAndCountsThem) {
    writeBytes(folder / "a.bpgn", game("Ann") + game("Bob"));
    // A sparse file of one record that leaves room for exactly one more before the largest offset.
    const int32_t length = INT32_MAX - static_cast<int32_t>(record(game("Ann")).size() + 4 + 8);
    writeBytes(database, int32Bytes(1) + int32Bytes(length));
    fs::resize_file(database, 8 + static_cast<uintmax_t>(length));
    std::ofstream(database, std::ios::binary | std::ios::app) << int32Bytes(length);
    EXPECT_FALSE(buildDatabase(folder.string(), database.string(), reporter));
    EXPECT_EQ(reporter.events,
              (std::vector<std::string>{
                  "range:1000", "position:0", "status:a.bpgn",
                  "message:The database has reached its largest size (2 GB); adding stopped in file a.bpgn.",
                  "position:1000", "message:Database successfully updated, 1 games added, now contains 2 games."}));
    EXPECT_EQ(fs::file_size(database), static_cast<uintmax_t>(INT32_MAX));
    std::ifstream in(database, std::ios::binary);
    std::string count(4, '\0');
    in.read(count.data(), 4);
    EXPECT_EQ(int32At(count, 0), 2);
    auto last = readDatabaseGameAt(in, INT32_MAX - static_cast<int32_t>(record(game("Ann")).size()));
    ASSERT_TRUE(last);
    EXPECT_EQ(last->WhiteA, "Ann");
}

TEST_F(DatabaseFileTest, OnlyARegularFileIsOpenedAsADatabase) {
    writeBytes(database, databaseOf({game("Ann")}));
    for (const fs::path& path : {database, fs::path("/dev/null"), fs::path("/dev/zero"), folder, root / "none.db"})
        EXPECT_EQ(openDatabaseForReading(path.string()) != nullptr, path == database) << path;
}

TEST(DatabaseReading, SequentialReadingSkipsTooLargeAndUnreadableGames) {
    auto padded = [](std::string text, size_t size) { return text.append(size - text.size(), ' '); };
    std::istringstream database(databaseOf({padded(game("Ann"), kMaxSequentialGameText),
                                            padded(game("Bob"), kMaxSequentialGameText + 1), "not a game",
                                            game("Cy")}).substr(4));
    RecordingReporter reporter;
    auto first = readNextDatabaseGame(database, &reporter);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->WhiteA, "Ann");
    EXPECT_NE(first->mainLineEnd(), first->root.get());  // the moves were replayed
    EXPECT_FALSE(readNextDatabaseGame(database, &reporter));
    EXPECT_TRUE(database.good());
    EXPECT_EQ(reporter.events, std::vector<std::string>{"message:Game too large, skipping."});
    EXPECT_FALSE(readNextDatabaseGame(database, &reporter));
    EXPECT_TRUE(database.good());
    auto last = readNextDatabaseGame(database, nullptr);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->WhiteA, "Cy");
    EXPECT_FALSE(readNextDatabaseGame(database, &reporter));
    EXPECT_TRUE(database.fail());
    EXPECT_FALSE(database.bad());  // the end, not damage
    EXPECT_EQ(reporter.events.size(), 1u);
}

TEST(DatabaseReading, DamagedRecordsAreRefusedWithoutReadingPastTheData) {
    const std::string text = game("Ann");
    const std::string damaged[] = {
        int32Bytes(0) + int32Bytes(0),
        int32Bytes(-5) + text + int32Bytes(-5),
        int32Bytes(INT32_MAX) + text,
        int32Bytes(1000000) + text,
        int32Bytes(kMaxSequentialGameText + 1) + text,
        record(text).substr(0, 40),
        record(text).substr(0, 2),
        int32Bytes(static_cast<int32_t>(text.size())) + text + int32Bytes(7),
    };
    for (const std::string& bytes : damaged) {
        SCOPED_TRACE(::testing::PrintToString(bytes.substr(0, 4)));
        RecordingReporter reporter;
        std::istringstream database(int32Bytes(1) + bytes);
        database.seekg(4);
        EXPECT_FALSE(readNextDatabaseGame(database, &reporter));
        EXPECT_TRUE(database.bad());
        EXPECT_TRUE(reporter.events.empty());
        EXPECT_FALSE(readDatabaseGameAt(database, 4));
        std::vector<std::unique_ptr<CGame>> list;
        EXPECT_FALSE(retrieveNearbyGames(database, 1, 1, 4, list));
    }
}

// Five games "P0" to "P4" of equal length, so record i starts at 4 + i * (record size).
class NearbyGamesTest : public ::testing::Test {
protected:
    std::vector<std::string> texts = {game("P0"), game("P1"), game("P2"), game("P3"), game("P4")};
    std::istringstream database{databaseOf(texts)};
    int32_t offsetOf(int index) const { return 4 + index * static_cast<int32_t>(record(texts[0]).size()); }
};

TEST_F(NearbyGamesTest, ReadingAtAnOffsetSetsTheGamesOffset) {
    auto third = readDatabaseGameAt(database, offsetOf(2));
    ASSERT_TRUE(third);
    EXPECT_EQ(third->WhiteA, "P2");
    EXPECT_EQ(third->databaseOffset, offsetOf(2));
    EXPECT_FALSE(third->root);  // the tree is built when the game is shown
    EXPECT_EQ(database.tellg(), offsetOf(3));
    for (int32_t offset : {0, -4, 5, offsetOf(5), INT32_MAX}) EXPECT_FALSE(readDatabaseGameAt(database, offset)) << offset;
}

// A game taken into the database and read back keeps the tags the program has no field for.
TEST(DatabaseReading, GamesReadBackKeepTheirOtherTags) {
    const std::string others = "[Round \"3\"]\n[Lag  \"102 101\" ]\n[Link \"https://lichess.org/l95HJ3fQ\"]\n";
    std::istringstream source(game("P0") + others + game("P1"));
    std::stringstream database;
    database << int32Bytes(2);
    bool full = false;
    ASSERT_EQ(addSingleFileToDatabase(source, database, full), 2);
    std::vector<std::unique_ptr<CGame>> games;
    ASSERT_TRUE(retrieveNearbyGames(database, 0, 1, 4, games));
    ASSERT_EQ(games.size(), 2u);
    std::ostringstream written;
    ASSERT_TRUE(games[1]->storeGameToStream(written));
    EXPECT_NE(written.str().find("[Result \"*\"]\n" + others + "\n"), std::string::npos) << written.str();
}

TEST_F(NearbyGamesTest, TheWindowShiftsAtTheEndsOfTheFile) {
    const struct {
        int index, before, after;
        std::vector<std::string> players;
    } cases[] = {
        {2, 1, 1, {"P1", "P2", "P3"}},
        {2, 0, 0, {"P2"}},
        {0, 2, 1, {"P0", "P1", "P2", "P3"}},
        {1, 2, 1, {"P0", "P1", "P2", "P3"}},
        {4, 1, 2, {"P3", "P4"}},
        {3, 10, 0, {"P0", "P1", "P2", "P3", "P4"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        std::vector<std::unique_ptr<CGame>> list;
        EXPECT_TRUE(retrieveNearbyGames(database, c.before, c.after, offsetOf(c.index), list));
        std::vector<std::string> players;
        for (const auto& g : list) players.push_back(g->WhiteA);
        EXPECT_EQ(players, c.players);
    }
    // Where no game starts, there are no games around it either.
    for (int32_t offset : {offsetOf(2) + 1, offsetOf(5)}) {
        std::vector<std::unique_ptr<CGame>> list;
        EXPECT_FALSE(retrieveNearbyGames(database, 1, 0, offset, list)) << offset;
    }
}

}  // namespace
