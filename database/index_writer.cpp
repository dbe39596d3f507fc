#include "database/index_writer.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <system_error>
#include <thread>
#include <vector>

#include "database/board_packing.h"
#include "database/database_file.h"
#include "database/file_bytes.h"
#include "database/index_header.h"
#include "database/position_hashes.h"
#include "game/temporary_file.h"

namespace tandemora {

namespace fs = std::filesystem;

namespace {

const char* const kNoPlayerMessage = "You must specify at least one player for this index.";

// Index files are little-endian; wider values keep their low bits.
void appendInt8(std::string& buffer, int64_t value) { buffer += static_cast<char>(value & 0xFF); }

void appendInt16(std::string& buffer, int64_t value) {
    appendInt8(buffer, value);
    appendInt8(buffer, value >> 8);
}

void appendInt32(std::string& buffer, int64_t value) {
    appendInt16(buffer, value);
    appendInt16(buffer, value >> 16);
}

void storeInt32At(std::string& buffer, size_t at, int32_t value) {
    std::string bytes;
    appendInt32(bytes, value);
    buffer.replace(at, 4, bytes);
}

void appendText(std::string& buffer, const std::string& text) {
    buffer += text;
    buffer += '\0';
}

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    return true;
}

std::string format(const char* pattern, const std::string& text) {
    std::string result = pattern;
    result.replace(result.find("%s"), 2, text);
    return result;
}

// The four seats of a game, in the order WhiteA, BlackA, WhiteB, BlackB.
enum SeatIndex { kWhiteA = 0, kBlackA = 1, kWhiteB = 2, kBlackB = 3 };

struct Player {
    const std::string& name;
    int rating;
};

Player playerAt(const CGame& game, int seat) {
    switch (seat) {
    case kWhiteA: return {game.WhiteA, game.WhiteAElo};
    case kBlackA: return {game.BlackA, game.BlackAElo};
    case kWhiteB: return {game.WhiteB, game.WhiteBElo};
    default: return {game.BlackB, game.BlackBElo};
    }
}

int playerCount(const CGame& game) { return game.isBughouse() ? 4 : 2; }

int seatOfLetter(char letter) {
    switch (letter) {
    case 'A': return kWhiteA;
    case 'a': return kBlackA;
    case 'B': return kWhiteB;
    default: return kBlackB;
    }
}

// Player entries 0 and 2 are one team, 1 and 3 the other; 0 and 1 share a board.
constexpr int kMainOrder[4] = {kWhiteA, kBlackA, kBlackB, kWhiteB};
// From a seat: the seat itself, its opponent, its partner, the partner's opponent.
constexpr int kSeatOrder[4][4] = {
    {kWhiteA, kBlackA, kBlackB, kWhiteB},
    {kBlackA, kWhiteA, kWhiteB, kBlackB},
    {kWhiteB, kBlackB, kBlackA, kWhiteA},
    {kBlackB, kWhiteB, kWhiteA, kBlackA},
};

int checkmateBit(const CGame& game) {
    const std::string& text = game.resultDescription;
    return text.find("checkmated") != std::string::npos || text.find("resigns") != std::string::npos ? 4 : 0;
}

// Length (patched when the record is complete), variant, offset, time control, result, date.
void appendHead(const CGame& game, int32_t databaseOffset, int result, std::string& buffer) {
    appendInt32(buffer, 0);
    appendInt8(buffer, game.variant);
    appendInt32(buffer, databaseOffset);
    appendInt8(buffer, game.baseSeconds / 60);
    appendInt8(buffer, game.incrementSeconds);
    appendInt8(buffer, result);
    appendInt32(buffer, indexDate(game.Date));
}

void appendPlayers(const CGame& game, const int (&order)[4], std::string& buffer) {
    for (int i = 0; i < playerCount(game); ++i) {
        const Player player = playerAt(game, order[i]);
        appendText(buffer, player.name);
        appendInt16(buffer, player.rating);
    }
}

// Patches the record that starts at `start` with its length and returns that length.
int closeRecord(std::string& buffer, size_t start) {
    const int length = static_cast<int>(buffer.size() - start);
    storeInt32At(buffer, start, length);
    return length;
}

// One position entry: the seat's board before the move, the mover's reserve, the clock
// difference to the same colour on the other board, and the move.
void appendPosition(const GameNode& node, bool bughouse, std::string& buffer) {
    const bool onB = node.onBoardB();
    const bool white = node.whiteMoved();
    const Board& before = onB ? *node.parent->positionB : node.parent->positionA;
    const PackedBoard packed = packBoard(before);
    buffer.append(reinterpret_cast<const char*>(packed.data()), packed.size());
    const int* reserve = before.holdings + (white ? 0 : 5);
    for (int piece = 0; piece < 5; ++piece) appendInt8(buffer, reserve[piece]);
    int64_t clockDifference = 0;
    if (bughouse) {
        const Board& mover = onB ? *node.positionB : node.positionA;
        const Board& other = onB ? node.positionA : *node.positionB;
        clockDifference = white ? int64_t{mover.whiteClockMs} - other.whiteClockMs
                                : int64_t{mover.blackClockMs} - other.blackClockMs;
    }
    appendInt16(buffer, clockDifference);
    appendText(buffer, node.moveText);
}

// Appends the main record of a game to `buffer`: its head and the players of both boards.
void appendMainRecord(const CGame& game, int32_t databaseOffset, std::string& buffer) {
    const size_t start = buffer.size();
    const int result = (game.Result == "1-0" ? 1 : game.Result == "0-1" ? 2 : 0) | checkmateBit(game);
    appendHead(game, databaseOffset, result, buffer);
    appendPlayers(game, kMainOrder, buffer);
    closeRecord(buffer, start);
}

bool passesRatingFilters(const CGame& game, const IndexSettings& settings) {
    int64_t sum = 0;
    int lowest = INT32_MAX;
    for (int seat = 0; seat < playerCount(game); ++seat) {
        const int rating = playerAt(game, seat).rating;
        sum += rating;
        lowest = std::min(lowest, rating);
    }
    if (settings.averageMin != 0 && sum / playerCount(game) < settings.averageMin) return false;
    return settings.minimumMin == 0 || lowest >= settings.minimumMin;
}

// The main index takes a game when a listed name plays in it; a "*" decides by the ratings at once.
bool mainIndexSelects(const CGame& game, const IndexSettings& settings) {
    for (const std::string& name : settings.players) {
        for (int seat = 0; seat < playerCount(game); ++seat) {
            const Player player = playerAt(game, seat);
            if (name == "*" ? player.rating >= settings.playerRatingMin : equalsIgnoringCase(name, player.name))
                return true;
        }
        if (name == "*") return false;
    }
    return false;
}

// Writes one index file: its header, then the records of the games offered, then the counts.
class IndexFileWriter {
public:
    IndexFileWriter(int kind, int colour, const IndexSettings& settings)
        : kind_(kind), colour_(colour), settings_(settings), path_(indexFilePath(settings.indexPath, kind, colour)) {}

    // Creates the file under a temporary name and writes its header with counts of 0; false
    // when it does not open.
    bool open() {
        file_.emplace(path_);
        if (!file_->isOpen()) return false;
        std::string header;
        appendText(header, settings_.databaseName);
        if (kind_ == kMainRecords) {
            appendInt8(header, settings_.type);
            std::string joined;
            for (size_t i = 0; i < settings_.players.size(); ++i) joined += (i ? ", " : "") + settings_.players[i];
            appendText(header, joined);
        }
        countsAt_ = header.size();
        appendInt32(header, 0);
        appendInt32(header, 0);
        file_->stream().write(header.data(), static_cast<std::streamsize>(header.size()));
        return true;
    }

    // Adds the records this file takes of one game.
    void addGame(const CGame& game, int32_t databaseOffset, ProgressReporter& progress) {
        if (kind_ == kMainRecords) {
            if (!mainIndexSelects(game, settings_)) return;
            record_.clear();
            appendMainRecord(game, databaseOffset, record_);
            append(progress);
            return;
        }
        // The colour's seat on board A, and on board B for bughouse; at most two records a game.
        const char seats[2] = {colour_ == kWhiteSeats ? 'A' : 'a', colour_ == kWhiteSeats ? 'B' : 'b'};
        int written = 0;
        for (const std::string& name : settings_.players) {
            for (int board = 0; board < (game.isBughouse() ? 2 : 1); ++board) {
                const Player player = playerAt(game, seatOfLetter(seats[board]));
                if ((name != "*" && !equalsIgnoringCase(name, player.name)) || player.rating < settings_.playerRatingMin)
                    continue;
                record_.clear();
                writeSeatRecord(seats[board], game, databaseOffset, record_);
                append(progress);
                if (++written == 2) return;
            }
        }
    }

    // Writes the final counts into the header and closes the file; false when writing failed.
    bool finish() {
        std::string counts;
        appendInt32(counts, records_);
        appendInt32(counts, dataSize_);
        std::ostream& out = file_->stream();
        out.seekp(static_cast<std::streamoff>(countsAt_));
        out.write(counts.data(), static_cast<std::streamsize>(counts.size()));
        return file_->close();
    }

    // Puts the finished file in the place of the old one.
    bool replaceOld() { return file_->replaceTarget(); }

    bool full() const { return full_; }
    int records() const { return records_; }
    const std::string& path() const { return path_; }
    int error() const { return file_ ? file_->error() : 0; }

private:
    // Writes the assembled record unless the file's records would pass the size limit; from
    // then on the file takes nothing more.
    void append(ProgressReporter& progress) {
        if (full_) return;
        if (int64_t{dataSize_} + static_cast<int64_t>(record_.size()) > settings_.maxDataSize) {
            full_ = true;
            progress.error(format("Index file %s is full: its records may not pass ", path_) +
                           std::to_string(settings_.maxDataSize) + " bytes. It holds the first " +
                           std::to_string(records_) + " records.");
            return;
        }
        file_->stream().write(record_.data(), static_cast<std::streamsize>(record_.size()));
        ++records_;
        dataSize_ += static_cast<int32_t>(record_.size());
    }

    int kind_, colour_;
    const IndexSettings& settings_;
    std::string path_;
    std::optional<TemporaryFile> file_;
    size_t countsAt_ = 0;
    int32_t records_ = 0;
    int32_t dataSize_ = 0;
    bool full_ = false;
    std::string record_;  // grows to the largest record and is reused
};

// The database opened for one pass, with the game count from its header.
struct DatabaseReader {
    std::unique_ptr<std::istream> stream;
    int32_t gameCount = 0;
};

std::optional<DatabaseReader> openDatabase(const IndexSettings& settings, ProgressReporter& progress) {
    DatabaseReader reader{openDatabaseForReading(settings.databasePath)};
    if (!reader.stream) {
        progress.error("Could not open database for reading.");
        return std::nullopt;
    }
    unsigned char bytes[4];
    if (!reader.stream->read(reinterpret_cast<char*>(bytes), 4) ||
        (reader.gameCount = static_cast<int32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t{bytes[3]} << 24)) < 0) {
        progress.error(format("Could not read the number of games from database %s.", settings.databasePath));
        return std::nullopt;
    }
    return reader;
}

// What one pass over the database found.
struct Pass {
    int gamesFailed = 0;  // games that could not be parsed
    bool stopped = false;  // on the reporter's request, before the last game
};

// Replays every game of the database once and offers each game that passes the rating
// thresholds to every writer.
Pass indexGames(DatabaseReader& database, std::span<IndexFileWriter* const> writers, const IndexSettings& settings,
                ProgressReporter& progress) {
    auto allFull = [&] {
        for (const IndexFileWriter* writer : writers)
            if (!writer->full()) return false;
        return true;
    };
    std::istream& stream = *database.stream;
    Pass pass;
    progress.setRange(database.gameCount);
    progress.setPosition(0);
    for (int32_t i = 0; i < database.gameCount && !allFull(); ++i) {
        if ((pass.stopped = progress.stopRequested())) return pass;
        progress.step();
        const auto databaseOffset = static_cast<int32_t>(stream.tellg());
        std::unique_ptr<CGame> game = readNextDatabaseGame(stream, &progress);
        if (!game) {
            if (stream.bad()) {
                progress.error(format("The database %s is damaged at offset ", settings.databasePath) +
                               std::to_string(databaseOffset) + "; only the games before it are indexed.");
                break;
            }
            if (stream.fail()) {
                progress.error(format("The database %s ends after ", settings.databasePath) + std::to_string(i) +
                               " of its " + std::to_string(database.gameCount) + " games.");
                break;
            }
            ++pass.gamesFailed;
            continue;
        }
        if (!passesRatingFilters(*game, settings)) continue;
        for (IndexFileWriter* writer : writers) writer->addGame(*game, databaseOffset, progress);
    }
    progress.setPosition(database.gameCount);
    return pass;
}

// Writes the position file beside the white or black index just completed at `path`. The index
// stands without it (a search makes it on first load), so only the reporter hears of a failure.
void writePositionFile(const std::string& path, ProgressReporter& progress) {
    FileBytes::Problem problem;
    const FileBytes file = FileBytes::ofFile(path, problem);
    IndexHeader header;
    const size_t headerLength = readIndexHeader(file.data(), file.size(), false, header);
    IndexRecords records{file.data() + headerLength, file.size() - headerLength, header.recordCount};
    if (problem != FileBytes::Problem::none || headerLength == 0 || !fileStamp(path, records.fileSize, records.modified))
        return progress.error(format("Could not read index file %s to make its position file.", path));
    PositionHashes::write(path, records, hashPackedBoard, progress);
}

// Keeps the errors of work done on another thread, to be reported once it has ended; that
// work runs to its end, as the stop button is the reporting thread's.
class HeldErrors : public ProgressReporter {
public:
    void message(const std::string& text) override { texts_.push_back(text); }
    void passTo(ProgressReporter& progress) const {
        for (const std::string& text : texts_) progress.error(text);
    }

private:
    std::vector<std::string> texts_;
};

// Writes the position files of the white and black indexes at once, one on another thread:
// each is a pass over its own index file, and index creation waits for both.
void writePositionFiles(const std::string& whitePath, const std::string& blackPath, ProgressReporter& progress) {
    HeldErrors blackErrors;
    {
        // Joined however the white file's making ends; what the black one could not foresee
        // (running out of memory) is told like its own failures.
        std::jthread black([&] {
            try {
                writePositionFile(blackPath, blackErrors);
            } catch (const std::exception& error) {
                blackErrors.error(format("Could not make the position file of %s: ", blackPath) + error.what());
            }
        });
        writePositionFile(whitePath, progress);
    }
    blackErrors.passTo(progress);
}

// The files written so far are temporary ones, removed with their writers.
bool reportStopped(ProgressReporter& progress) {
    progress.message("Index creation was stopped; the index files were left as they were.");
    return false;
}

bool failOpening(ProgressReporter& progress) {
    progress.error("Could not open index file for writing.");
    return false;
}

bool failWriting(const IndexFileWriter& writer, ProgressReporter& progress) {
    progress.error(format("Could not write index file %s: ", writer.path()) + writeFailureCause(writer.error()) +
                   ".");
    return false;
}

// What stands at each of the index paths given, with whether it is to be a main index.
IndexTargets checkTargets(const std::vector<std::pair<std::string, bool>>& paths, const std::string& databasePath) {
    IndexTargets targets;
    for (const auto& [path, main] : paths) {
        std::error_code error;
        const fs::file_status status = fs::status(path, error);
        if (!fs::exists(status)) continue;
        if (fs::equivalent(path, databasePath, error)) targets.database = path;
        else if (!fs::is_regular_file(status)) targets.notRegular = path;
        else if (!isIndexFile(path, main)) targets.otherFiles.push_back(path);
    }
    return targets;
}

// Refuses to write over the database or what is no regular file, and over a file that is no
// index unless the user agreed.
bool targetsUsable(const IndexTargets& targets, const IndexSettings& settings, ProgressReporter& progress) {
    if (!targets.database.empty()) {
        progress.error(format("The index file %s is the database itself; no index was written.", targets.database));
        return false;
    }
    if (!targets.notRegular.empty()) return failOpening(progress);
    if (!targets.otherFiles.empty() && !settings.overwriteOtherFiles) {
        progress.error(
            format("%s is not an index file; no index was written over it.", targets.otherFiles.front()));
        return false;
    }
    return true;
}

}  // namespace

std::vector<std::string> splitPlayerList(const std::string& text, std::string& message) {
    std::vector<std::string> players;
    std::string piece;
    for (char c : text + ',') {
        if (c == ',' || c == ' ' || c == '\t') {
            if (!piece.empty()) players.push_back(piece);
            piece.clear();
        } else {
            piece += c;
        }
    }
    message = players.empty() ? kNoPlayerMessage : "";
    return players;
}

std::string indexFilePath(const std::string& mainPath, int kind, int colour) {
    if (kind == kMainRecords) return mainPath;
    return mainPath + (colour == kWhiteSeats ? "WP" : "BP");
}

int32_t indexDate(const std::string& dateTag) {
    int64_t parts[3];
    const char* p = dateTag.data();
    const char* end = p + dateTag.size();
    for (int i = 0; i < 3; ++i) {
        if (i > 0 && (p == end || *p++ != '.')) return 0;
        auto [next, error] = std::from_chars(p, end, parts[i]);
        if (error != std::errc() || next - p > 9) return 0;
        p = next;
    }
    int64_t year = parts[0];
    if (year >= 0 && year < 50) year += 2000;
    else if (year >= 50 && year < 100) year += 1900;
    const int64_t date = year * 10000 + parts[1] * 100 + parts[2];
    return date >= INT32_MIN && date <= INT32_MAX ? static_cast<int32_t>(date) : 0;
}

int writeSeatRecord(char seat, const CGame& game, int32_t databaseOffset, std::string& buffer) {
    const size_t start = buffer.size();
    const bool whiteTeamWon = seat == 'A' || seat == 'b';
    const bool won = game.Result == (whiteTeamWon ? "1-0" : "0-1");
    appendHead(game, databaseOffset, (won ? 1 : 0) | checkmateBit(game), buffer);
    appendPlayers(game, kSeatOrder[seatOfLetter(seat)], buffer);

    const size_t countAt = buffer.size();
    appendInt16(buffer, 0);
    int positions = 0;
    const GameNode* node = game.root ? game.root->firstChild() : nullptr;
    for (; node && positions < kMaxSeatPositions; node = node->firstChild()) {
        if (node->boardLetter != seat) continue;
        appendPosition(*node, game.isBughouse(), buffer);
        ++positions;
    }
    std::string count;
    appendInt16(count, positions);
    buffer.replace(countAt, 2, count);
    return closeRecord(buffer, start);
}

IndexTargets checkIndexTargets(const IndexSettings& settings) {
    return checkTargets({{indexFilePath(settings.indexPath, kMainRecords, 0), true},
                         {indexFilePath(settings.indexPath, kSeatRecords, kWhiteSeats), false},
                         {indexFilePath(settings.indexPath, kSeatRecords, kBlackSeats), false}},
                        settings.databasePath);
}

bool writeIndexFile(int kind, int colour, const IndexSettings& settings, ProgressReporter& progress,
                    int& recordsWritten, int& gamesFailed) {
    recordsWritten = gamesFailed = 0;
    std::optional<DatabaseReader> database = openDatabase(settings, progress);
    if (!database) return false;
    IndexFileWriter writer(kind, colour, settings);
    const IndexTargets targets = checkTargets({{writer.path(), kind == kMainRecords}}, settings.databasePath);
    if (!targetsUsable(targets, settings, progress)) return false;
    if (!writer.open()) return failOpening(progress);
    IndexFileWriter* const writers[] = {&writer};
    const Pass pass = indexGames(*database, writers, settings, progress);
    if (pass.stopped) return reportStopped(progress);
    gamesFailed = pass.gamesFailed;
    recordsWritten = writer.records();
    if (!writer.finish() || !writer.replaceOld()) return failWriting(writer, progress);
    if (kind == kSeatRecords) writePositionFile(writer.path(), progress);
    return true;
}

bool createIndexFiles(const IndexSettings& settings, ProgressReporter& progress) {
    progress.status("Creating main index file...");
    std::optional<DatabaseReader> database = openDatabase(settings, progress);
    if (!database) return false;
    if (!targetsUsable(checkIndexTargets(settings), settings, progress)) return false;
    IndexFileWriter main(kMainRecords, 0, settings);
    IndexFileWriter white(kSeatRecords, kWhiteSeats, settings);
    IndexFileWriter black(kSeatRecords, kBlackSeats, settings);
    IndexFileWriter* const writers[] = {&main, &white, &black};
    for (IndexFileWriter* writer : writers)
        if (!writer->open()) return failOpening(progress);
    // One pass feeds all three files.
    const Pass pass = indexGames(*database, writers, settings, progress);
    if (pass.stopped) return reportStopped(progress);
    const char* const titles[] = {nullptr, "Creating white index file...", "Creating black index file..."};
    for (size_t stage = 0; stage < 3; ++stage) {
        if (titles[stage]) progress.status(titles[stage]);
        if (!writers[stage]->finish()) return failWriting(*writers[stage], progress);
    }
    // Only when all three are complete do they take the place of the old ones.
    for (IndexFileWriter* writer : writers)
        if (!writer->replaceOld()) return failWriting(*writer, progress);
    writePositionFiles(white.path(), black.path(), progress);
    std::string summary = "Index creation successful, " + std::to_string(main.records()) + " games added.";
    if (pass.gamesFailed > 0)
        summary += " " + std::to_string(pass.gamesFailed) + " games could not be parsed due to errors.";
    progress.message(summary);
    return true;
}

}  // namespace tandemora
