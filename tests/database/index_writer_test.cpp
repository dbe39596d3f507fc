// Index creation: a small database of known games is indexed, and the files are read back
// field by field.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench/game_generator.h"
#include "core/fen.h"
#include "database/board_packing.h"
#include "database/index_writer.h"
#include "tests/file_size_limit.h"

namespace tandemora {
namespace {

namespace fs = std::filesystem;

std::string game(const std::string& tags, const std::string& moves, const std::string& closing) {
    return tags + "\n\n" + moves + "\n\n" + closing + "\n";
}

// Ratings: game 0 avg 1550 min 1500, game 1 avg 1425 min 1400, game 2 avg 1850 min 1700,
// game 3 (alice at both white seats, board B silent) avg 19050 min 2000.
const std::vector<std::string> kGames = {
    game("[Event \"Crazyhouse game\"][WhiteA \"alice\"][WhiteAElo \"1500\"][BlackA \"bob\"][BlackAElo \"1600\"]"
         "[TimeControl \"180+5\"][Date \"99.12.31\"][Result \"1-0\"]",
         "1A. e4 {178} 1a. d5 {179} 2A. exd5 {175} 2a. Qxd5 {177} 3A. P@e4 {170} 3a. Nc6 {176}",
         "{bob checkmated} 1-0"),
    game("[Event \"Crazyhouse game\"][WhiteA \"carol\"][WhiteAElo \"1400\"][BlackA \"Alice\"][BlackAElo \"1450\"]"
         "[TimeControl \"90+0\"][Date \"01.02.03\"][Result \"0-1\"]",
         "1A. e4 {88} 1a. e5 {89}", "{carol resigns} 0-1"),
    game("[Event \"Bughouse game\"][WhiteA \"alice\"][WhiteAElo \"1800\"][BlackA \"dave\"][BlackAElo \"1700\"]"
         "[WhiteB \"erin\"][WhiteBElo \"1900\"][BlackB \"frank\"][BlackBElo \"2000\"]"
         "[TimeControl \"120+0\"][Date \"2000.01.05\"][Result \"1-0\"]",
         "1A. e4 {118} 1B. d4 {60} 1a. e5 {110} 1b. d5 {100} 2A. Nf3 {50}", "{frank forfeits on time} 1-0"),
    game("[Event \"Bughouse game\"][WhiteA \"alice\"][WhiteAElo \"2100\"][BlackA \"gus\"][BlackAElo \"2000\"]"
         "[WhiteB \"ALICE\"][WhiteBElo \"2100\"][BlackB \"hal\"][BlackBElo \"70000\"]"
         "[TimeControl \"18000+300\"][Date \"????.??.??\"][Result \"1/2-1/2\"]",
         "1A. d4 {17990} 1a. d5 {17990}", "{Game drawn by mutual agreement} 1/2-1/2"),
    game("[Event \"Crazyhouse game\"]", "1A. e5 {170}", "{*} *"),  // does not replay
};

class Recorder : public ProgressReporter {
public:
    void message(const std::string& text) override { messages.push_back(text); }
    void status(const std::string& text) override { statuses.push_back(text); }
    std::vector<std::string> messages, statuses;
};

// The bytes of a file, read in order; reading past the end throws and fails the test.
class Bytes {
public:
    explicit Bytes(std::string data) : data_(std::move(data)) {}
    int number(int size) {
        uint32_t value = 0;
        for (int i = 0; i < size; ++i) value |= uint32_t{static_cast<uint8_t>(data_.at(at_++))} << (8 * i);
        return size == 1 ? static_cast<uint8_t>(value) : size == 2 ? static_cast<int16_t>(value) : static_cast<int32_t>(value);
    }
    std::string block(size_t size) {
        std::string s = data_.substr(at_, size);
        at_ += size;
        return s;
    }
    std::string text() {
        std::string s = block(data_.find('\0', at_) + 1 - at_);
        return s.substr(0, s.size() - 1);
    }
    bool atEnd() const { return at_ == data_.size(); }

private:
    std::string data_;
    size_t at_ = 0;
};

using Players = std::vector<std::pair<std::string, int>>;
struct Position {
    std::string board;
    std::vector<int> reserve;
    int clockDifference;
    std::string move;
};
struct Record {
    int length, flag, offset, minutes, increment, result, date;
    Players players;
    std::vector<Position> positions;
};
struct IndexFile {
    std::string database, playerList;
    int type = -1, count = 0, dataSize = 0;
    std::vector<Record> records;
};

Record readRecord(Bytes& in, bool seat) {
    Record r;
    for (auto [field, size] : {std::pair{&r.length, 4}, {&r.flag, 1}, {&r.offset, 4}, {&r.minutes, 1},
                               {&r.increment, 1}, {&r.result, 1}, {&r.date, 4}})
        *field = in.number(size);
    for (int i = 0; i < (r.flag ? 2 : 4); ++i) {
        std::string name = in.text();
        r.players.emplace_back(name, in.number(2));
    }
    for (int n = seat ? in.number(2) : 0; n > 0; --n) {
        Position p{in.block(32), {}, 0, ""};
        for (int piece = 0; piece < 5; ++piece) p.reserve.push_back(in.number(1));
        p.clockDifference = in.number(2);
        p.move = in.text();
        r.positions.push_back(p);
    }
    return r;
}

std::string fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

IndexFile readIndex(const fs::path& path, bool main) {
    Bytes bytes(fileBytes(path));
    IndexFile file;
    file.database = bytes.text();
    if (main) {
        file.type = bytes.number(1);
        file.playerList = bytes.text();
    }
    file.count = bytes.number(4);
    file.dataSize = bytes.number(4);
    while (!bytes.atEnd()) file.records.push_back(readRecord(bytes, !main));
    return file;
}

Board boardOf(const std::string& fen) {
    Board board = Board::initial();
    EXPECT_TRUE(parseFen(fen, board)) << fen;
    return board;
}

class IndexWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("tandemora-index-" + std::to_string(getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        settings_.databasePath = writeDatabase("games.db", kGames);
        settings_.databaseName = "games.db";
        settings_.indexPath = (dir_ / "games.ind").string();
        settings_.players = {"*"};
    }
    void TearDown() override { fs::remove_all(dir_); }

    // A database made by hand: the count, then each text wrapped in its length; notes the offsets.
    std::string writeDatabase(const std::string& name, const std::vector<std::string>& texts) {
        std::string data;
        auto int32 = [&](uint32_t v) {
            for (int shift = 0; shift < 32; shift += 8) data += static_cast<char>(v >> shift & 0xFF);
        };
        int32(static_cast<uint32_t>(texts.size()));
        offsets_.clear();
        for (const std::string& text : texts) {
            offsets_.push_back(static_cast<int>(data.size()));
            int32(static_cast<uint32_t>(text.size()));
            data += text;
            int32(static_cast<uint32_t>(text.size()));
        }
        std::ofstream(dir_ / name, std::ios::binary) << data;
        return (dir_ / name).string();
    }

    IndexFile write(int kind, int colour) {
        int records = -1, failed = -1;
        EXPECT_TRUE(writeIndexFile(kind, colour, settings_, recorder_, records, failed));
        IndexFile file = readIndex(indexFilePath(settings_.indexPath, kind, colour), kind == kMainRecords);
        EXPECT_EQ(records, file.count);
        EXPECT_EQ(file.count, static_cast<int>(file.records.size()));
        int size = 0;
        for (const Record& r : file.records) size += r.length;
        EXPECT_EQ(file.dataSize, size);
        EXPECT_EQ(file.database, "games.db");
        return file;
    }

    std::vector<int> gamesOf(const IndexFile& file) const {
        std::vector<int> games;
        for (const Record& r : file.records)
            games.push_back(static_cast<int>(std::find(offsets_.begin(), offsets_.end(), r.offset) - offsets_.begin()));
        return games;
    }

    fs::path dir_;
    IndexSettings settings_;
    Recorder recorder_;
    std::vector<int> offsets_;
};

// flag, minutes, increment, main result, date, players in main order.
struct Head {
    int flag, minutes, increment, result, date;
    Players players;
};
const Head kHeads[] = {
    {1, 3, 5, 1 | 4, 19991231, {{"alice", 1500}, {"bob", 1600}}},
    {1, 1, 0, 2 | 4, 20010203, {{"carol", 1400}, {"Alice", 1450}}},
    {0, 2, 0, 1, 20000105, {{"alice", 1800}, {"dave", 1700}, {"frank", 2000}, {"erin", 1900}}},
    {0, 44, 44, 0, 0, {{"alice", 2100}, {"gus", 2000}, {"hal", 70000 - 65536}, {"ALICE", 2100}}},
};

TEST_F(IndexWriterTest, MainIndexHoldsTheHeadOfEverySelectedGame) {
    settings_.type = 1;
    settings_.players = {"*", "bob"};
    const IndexFile file = write(kMainRecords, 0);
    EXPECT_EQ(file.type, 1);
    EXPECT_EQ(file.playerList, "*, bob");
    ASSERT_EQ(gamesOf(file), (std::vector<int>{0, 1, 2, 3}));
    for (int g = 0; g < 4; ++g) {
        const Record& r = file.records[g];
        const Head& h = kHeads[g];
        SCOPED_TRACE(g);
        EXPECT_EQ(std::tie(r.flag, r.minutes, r.increment, r.result, r.date, r.players),
                  std::tie(h.flag, h.minutes, h.increment, h.result, h.date, h.players));
    }
}

TEST_F(IndexWriterTest, ThresholdsAndNamesSelectTheGames) {
    const struct {
        std::vector<std::string> players;
        int averageMin, minimumMin, playerRatingMin;
        std::vector<int> main, white, black;
    } cases[] = {
        {{"*"}, 1500, 0, 0, {0, 2, 3}, {0, 2, 2, 3, 3}, {0, 2, 2, 3, 3}},
        {{"*"}, 0, 1600, 0, {2, 3}, {2, 2, 3, 3}, {2, 2, 3, 3}},
        {{"*"}, 0, 0, 1950, {2, 3}, {3, 3}, {2, 3, 3}},  // alice 2100, frank and gus 2000, hal 70000
        {{"zed", "*", "bob"}, 0, 0, 1950, {2, 3}, {3, 3}, {2, 3, 3}},  // "*" ends the walk of the main index
        {{"BOB", "frank"}, 0, 0, 0, {0, 2}, {}, {0, 2}},
        {{"alice"}, 0, 0, 0, {0, 1, 2, 3}, {0, 2, 3, 3}, {1}},
        {{"alice"}, 0, 0, 1460, {0, 1, 2, 3}, {0, 2, 3, 3}, {}},  // the rating counts for a named seat
        {{"bob", "bob", "bob"}, 0, 0, 0, {0}, {}, {0, 0}},         // a name twice writes its seat twice
    };
    for (const auto& c : cases) {
        settings_.players = c.players;
        settings_.averageMin = c.averageMin;
        settings_.minimumMin = c.minimumMin;
        settings_.playerRatingMin = c.playerRatingMin;
        SCOPED_TRACE(c.players[0] + " " + std::to_string(c.averageMin) + "/" + std::to_string(c.minimumMin) + "/" +
                     std::to_string(c.playerRatingMin));
        EXPECT_EQ(gamesOf(write(kMainRecords, 0)), c.main);
        EXPECT_EQ(gamesOf(write(kSeatRecords, kWhiteSeats)), c.white);
        EXPECT_EQ(gamesOf(write(kSeatRecords, kBlackSeats)), c.black);
    }
}

TEST_F(IndexWriterTest, SeatRecordsListPlayersFromTheSeatAndItsMoves) {
    // Per record: the players from the seat (the seat, its opponent, its partner, the partner's
    // opponent), won bit | checkmate bit, and the number of positions.
    const struct {
        int colour;
        std::vector<std::string> players;
        std::vector<int> results, positions;
    } cases[] = {
        {kWhiteSeats,
         {"alice bob", "carol Alice", "alice dave frank erin", "erin frank dave alice", "alice gus hal ALICE",
          "ALICE hal gus alice"},
         {5, 4, 1, 0, 0, 0},
         {3, 1, 2, 1, 1, 0}},
        {kBlackSeats,
         {"bob alice", "Alice carol", "dave alice erin frank", "frank erin alice dave", "gus alice ALICE hal",
          "hal ALICE alice gus"},
         {4, 5, 0, 1, 0, 0},
         {3, 1, 1, 1, 1, 0}},
    };
    for (const auto& c : cases) {
        const IndexFile file = write(kSeatRecords, c.colour);
        ASSERT_EQ(gamesOf(file), (std::vector<int>{0, 1, 2, 2, 3, 3}));
        for (size_t i = 0; i < file.records.size(); ++i) {
            const Record& r = file.records[i];
            const Head& h = kHeads[gamesOf(file)[i]];
            SCOPED_TRACE(c.players[i]);
            std::string names;
            for (const auto& [name, rating] : r.players) names += (names.empty() ? "" : " ") + name;
            EXPECT_EQ(names, c.players[i]);
            EXPECT_EQ(r.result, c.results[i]);
            EXPECT_EQ(r.positions.size(), static_cast<size_t>(c.positions[i]));
            EXPECT_EQ(std::tie(r.flag, r.minutes, r.increment, r.date), std::tie(h.flag, h.minutes, h.increment, h.date));
        }
    }
}

TEST_F(IndexWriterTest, PositionsHoldTheBoardBeforeTheMoveTheReserveAndTheClockDifference) {
    const std::string start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";
    const struct {
        int colour;
        size_t record, entry;
        std::string fen;  // the seat's board before the move, with both reserves
        int clockDifference;
        std::string move;
    } cases[] = {
        {kWhiteSeats, 0, 0, start, 0, "e4"},
        {kWhiteSeats, 0, 1, "rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR", 0, "exd5"},
        {kWhiteSeats, 0, 2, "rnb1kbnr/ppp1pppp/8/3q4/8/8/PPPP1PPP/RNBQKBNR[Pp]", 0, "P@e4"},
        {kBlackSeats, 0, 0, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR", 0, "d5"},
        {kBlackSeats, 0, 1, "rnbqkbnr/ppp1pppp/8/3P4/8/8/PPPP1PPP/RNBQKBNR[P]", 0, "Qxd5"},
        {kBlackSeats, 0, 2, "rnb1kbnr/ppp1pppp/8/3q4/4P3/8/PPPP1PPP/RNBQKBNR[p]", 0, "Nc6"},
        // Bughouse: the mover's clock minus the same colour's clock on the other board, which ran
        // meanwhile, in milliseconds kept in 16 bits.
        {kWhiteSeats, 2, 0, start, 118000 - 118000, "e4"},
        {kWhiteSeats, 2, 1, "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR", 50000 - 12000 - 65536, "Nf3"},
        {kWhiteSeats, 3, 0, start, 60000 - 118000 + 65536, "d4"},
        {kBlackSeats, 2, 0, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR", 110000 - 120000, "e5"},
        {kBlackSeats, 3, 0, "rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR", 100000 - 110000, "d5"},
    };
    const IndexFile files[] = {write(kSeatRecords, kWhiteSeats), write(kSeatRecords, kBlackSeats)};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.move);
        const Position& p = files[c.colour].records.at(c.record).positions.at(c.entry);
        const Board before = boardOf(c.fen);
        const PackedBoard packed = packBoard(before);
        EXPECT_EQ(p.board, std::string(packed.begin(), packed.end()));
        const int* reserve = before.holdings + (c.colour == kWhiteSeats ? 0 : 5);
        EXPECT_EQ(p.reserve, std::vector<int>(reserve, reserve + 5));
        EXPECT_EQ(p.clockDifference, c.clockDifference);
        EXPECT_EQ(p.move, c.move);
    }
}

TEST(IndexWriter, PlayerTextSplitsAtCommasAndBlanks) {
    const struct {
        const char* text;
        std::vector<std::string> players;
    } cases[] = {
        {"alice,bob", {"alice", "bob"}},
        {"alice bob", {"alice", "bob"}},
        {" , alice , ", {"alice"}},
        {"*", {"*"}},
        {"  ", {}},
        {", ,", {}},
    };
    for (const auto& c : cases) {
        std::string message;
        EXPECT_EQ(splitPlayerList(c.text, message), c.players) << c.text;
        EXPECT_EQ(message, c.players.empty() ? "You must specify at least one player for this index." : "") << c.text;
    }
}

TEST(IndexWriter, DateTagsGiveYearMonthDay) {
    const struct {
        const char* tag;
        int32_t date;
    } cases[] = {
        {"99.12.31", 19991231}, {"01.02.03", 20010203}, {"2000.01.05", 20000105}, {"1996.08.07", 19960807},
        {"50.1.1", 19500101},   {"49.1.1", 20490101},   {"00.1.2", 20000102},   {"????.??.??", 0},        {"2000.01", 0},
        {"15'th century", 0},  {"", 0},                {"2000-01-05", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(indexDate(c.tag), c.date) << c.tag;
}

TEST(IndexWriter, SeatRecordStopsAt32767Positions) {
    std::string moves;
    const char* const cycle[] = {"Nf3", "Nf6", "Ng1", "Ng8"};
    for (int ply = 0; ply < 2 * (kMaxSeatPositions + 3); ++ply)
        moves += std::string(ply % 2 ? "1a." : "1A.") + cycle[ply % 4] + " {1} ";
    std::istringstream in(game("[Event \"Crazyhouse game\"]", moves, "{*} *"));
    CGame longGame;
    ASSERT_TRUE(longGame.readGame(in));
    ASSERT_TRUE(longGame.replayGame()) << longGame.parseError;
    std::string buffer = "x";  // the record is appended behind what the buffer holds
    const int length = writeSeatRecord('A', longGame, 4, buffer);
    Bytes bytes(buffer.substr(1));
    const Record record = readRecord(bytes, true);
    EXPECT_TRUE(bytes.atEnd());
    EXPECT_EQ(record.length, length);
    EXPECT_EQ(static_cast<size_t>(length), buffer.size() - 1);
    ASSERT_EQ(record.positions.size(), static_cast<size_t>(kMaxSeatPositions));
    EXPECT_EQ(record.positions.back().move, "Nf3");  // the 32,767th of white's moves
}

TEST_F(IndexWriterTest, OnePassGivesTheBytesOfThreeSeparateFiles) {
    std::vector<std::string> texts = kGames;
    for (uint64_t seed = 1; seed <= 30; ++seed) texts.push_back(randomGameText(seed, seed % 3 != 0));
    settings_.databasePath = writeDatabase("random.db", texts);
    const std::vector<std::string> lists[] = {{"*"}, {"Amber", "boris", "Chiara", "alice", "amber"}};
    for (const auto& players : lists) {
        SCOPED_TRACE(players[0]);
        settings_.players = players;
        settings_.playerRatingMin = players[0] == "*" ? 1500 : 0;
        settings_.indexPath = (dir_ / "separate.ind").string();
        int records = 0, failed = 0;
        for (int colour : {kWhiteSeats, kBlackSeats})
            ASSERT_TRUE(writeIndexFile(kSeatRecords, colour, settings_, recorder_, records, failed));
        ASSERT_TRUE(writeIndexFile(kMainRecords, 0, settings_, recorder_, records, failed));
        EXPECT_EQ(failed, 1);
        EXPECT_GT(records, 10);

        settings_.indexPath = (dir_ / "onepass.ind").string();
        recorder_ = Recorder();
        ASSERT_TRUE(createIndexFiles(settings_, recorder_));
        for (const char* suffix : {"", "WP", "BP"})
            EXPECT_EQ(fileBytes(settings_.indexPath + suffix), fileBytes((dir_ / "separate.ind").string() + suffix))
                << suffix;
        EXPECT_EQ(recorder_.statuses,
                  (std::vector<std::string>{"Creating main index file...", "Creating white index file...",
                                            "Creating black index file...",
                                            "Making the position file of " + settings_.indexPath + "WP..."}));
        EXPECT_TRUE(fs::exists(settings_.indexPath + "BP.pos"));  // made beside it, silently
        EXPECT_EQ(recorder_.messages, (std::vector<std::string>{"Index creation successful, " + std::to_string(records) +
                                                               " games added. 1 games could not be parsed due to errors."}));
    }
}

TEST_F(IndexWriterTest, RecordsStopBeforeTheSizeLimit) {
    const IndexFile all = write(kMainRecords, 0);
    const int twoRecords = all.records[0].length + all.records[1].length;
    for (int limit : {twoRecords, twoRecords - 1}) {
        settings_.maxDataSize = limit;
        recorder_ = Recorder();
        const IndexFile file = write(kMainRecords, 0);
        EXPECT_EQ(file.count, limit == twoRecords ? 2 : 1);
        ASSERT_EQ(recorder_.messages.size(), 1u);
        EXPECT_NE(recorder_.messages[0].find("is full"), std::string::npos) << recorder_.messages[0];
    }
}

TEST_F(IndexWriterTest, FailuresStopWithTheirMessage) {
    const std::string games = settings_.databasePath;
    std::string bytes = fileBytes(games);
    bytes[0] = 7;  // the count promises two games more than the file holds
    std::ofstream(dir_ / "cut.db", std::ios::binary) << bytes;
    bytes[bytes.size() - 1] = 9;  // and the trailing length of its last record is wrong
    std::ofstream(dir_ / "damaged.db", std::ios::binary) << bytes;
    std::ofstream(dir_ / "short.db", std::ios::binary) << "ab";
    fs::create_directory(dir_ / "blocked.indWP");
    const std::string done = "Index creation successful, 4 games added. 1 games could not be parsed due to errors.";
    const struct {
        fs::path database, index;
        bool ok;
        std::vector<std::string> messages;
        size_t stages;  // titles shown: the three index files, then the position files (the black one made beside)
        int mainRecords;  // -1: no main index
        bool blackWritten;
    } cases[] = {
        {dir_ / "missing.db", dir_ / "a.ind", false, {"Could not open database for reading."}, 1, -1, false},
        {dir_ / "short.db", dir_ / "b.ind", false,
         {"Could not read the number of games from database " + (dir_ / "short.db").string() + "."}, 1, -1, false},
        {games, dir_ / "no-folder" / "c.ind", false, {"Could not open index file for writing."}, 1, -1, false},
        {games, dir_ / "blocked.ind", false, {"Could not open index file for writing."}, 1, -1, false},
        {dir_ / "cut.db", dir_ / "d.ind", true,
         {"The database " + (dir_ / "cut.db").string() + " ends after 5 of its 7 games.", done}, 4, 4, true},
        {dir_ / "damaged.db", dir_ / "e.ind", true,
         {"The database " + (dir_ / "damaged.db").string() + " is damaged at offset " + std::to_string(offsets_[4]) +
              "; only the games before it are indexed.",
          "Index creation successful, 4 games added."},
         4, 4, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index.string());
        settings_.databasePath = c.database.string();
        settings_.indexPath = c.index.string();
        recorder_ = Recorder();
        EXPECT_EQ(createIndexFiles(settings_, recorder_), c.ok);
        EXPECT_EQ(recorder_.messages, c.messages);
        EXPECT_EQ(recorder_.statuses.size(), c.stages);
        EXPECT_EQ(fs::exists(c.index), c.mainRecords >= 0);
        if (c.mainRecords >= 0) {
            EXPECT_EQ(readIndex(c.index, true).count, c.mainRecords);
        }
        EXPECT_EQ(fs::exists(c.index.string() + "BP"), c.blackWritten);
    }
}

// The names in a folder, and each file's bytes.
std::map<std::string, std::string> folderContents(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] = entry.is_regular_file() ? fileBytes(entry.path()) : "(folder)";
    return files;
}

TEST_F(IndexWriterTest, NeverWritesOverTheDatabaseOrAFileThatIsNoIndex) {
    const std::string database = settings_.databasePath;
    settings_.indexPath = (dir_ / "old.ind").string();
    ASSERT_TRUE(createIndexFiles(settings_, recorder_));  // old indexes are written over
    std::ofstream(dir_ / "other.indBP") << "my notes\n";
    fs::create_symlink(database, dir_ / "link.ind");
    fs::create_hard_link(database, dir_ / "games.indWP");
    const std::string notIndex = " is not an index file; no index was written over it.";
    const auto isDatabase = [](const fs::path& path) {
        return "The index file " + path.string() + " is the database itself; no index was written.";
    };
    const struct {
        const char* index;
        bool overwriteOtherFiles;
        std::string message;  // empty: written
    } cases[] = {
        {"games.db", false, isDatabase(database)},
        {"link.ind", true, isDatabase(dir_ / "link.ind")},
        {"games.ind", true, isDatabase(dir_ / "games.indWP")},
        {"other.ind", false, (dir_ / "other.indBP").string() + notIndex},
        {"other.ind", true, ""},
        {"old.ind", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        settings_.indexPath = (dir_ / c.index).string();
        settings_.overwriteOtherFiles = c.overwriteOtherFiles;
        recorder_ = Recorder();
        const auto before = folderContents(dir_);
        EXPECT_EQ(createIndexFiles(settings_, recorder_), c.message.empty());
        if (c.message.empty()) {
            EXPECT_EQ(readIndex(settings_.indexPath, true).count, 4);
            continue;
        }
        EXPECT_EQ(recorder_.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(folderContents(dir_), before);
    }
    const IndexTargets targets = checkIndexTargets(settings_);
    EXPECT_TRUE(targets.database.empty() && targets.notRegular.empty() && targets.otherFiles.empty());
}

TEST_F(IndexWriterTest, AStoppedCreationLeavesTheOldIndexesWhole) {
    ASSERT_TRUE(createIndexFiles(settings_, recorder_));
    settings_.players = {"alice"};  // the new files would differ
    const auto before = folderContents(dir_);
    // Asks to stop once it has been asked `answers` times, once before each game.
    class Stopping : public Recorder {
    public:
        explicit Stopping(int answers) : answers_(answers) {}
        bool stopRequested() const override { return answers_-- <= 0; }

    private:
        mutable int answers_;
    };
    const struct {
        bool allThree;
        int answers;
    } cases[] = {{true, 0}, {true, 3}, {false, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answers);
        Stopping stopping(c.answers);
        int records = 0, failed = 0;
        EXPECT_FALSE(c.allThree ? createIndexFiles(settings_, stopping)
                                : writeIndexFile(kSeatRecords, kWhiteSeats, settings_, stopping, records, failed));
        EXPECT_EQ(stopping.messages,
                  std::vector<std::string>{"Index creation was stopped; the index files were left as they were."});
        EXPECT_EQ(folderContents(dir_), before);  // no temporary file is left either
    }
}

TEST_F(IndexWriterTest, AFailedWriteLeavesTheOldIndexesWhole) {
    ASSERT_TRUE(createIndexFiles(settings_, recorder_));
    std::vector<std::string> texts = kGames;
    for (uint64_t seed = 1; seed <= 20; ++seed) texts.push_back(randomGameText(seed, true));
    settings_.databasePath = writeDatabase("more.db", texts);
    const auto before = folderContents(dir_);
    recorder_ = Recorder();
    const bool created = underFileSizeLimit(fs::file_size(settings_.indexPath + "WP") + 100,  // the new files are larger
                                            [&] { return createIndexFiles(settings_, recorder_); });
    EXPECT_FALSE(created);
    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_NE(recorder_.messages[0].find(": the file size limit was reached."), std::string::npos)
        << recorder_.messages[0];
    EXPECT_EQ(folderContents(dir_), before);  // no temporary file is left either
}

}  // namespace
}  // namespace tandemora
