// The game database file: built from the BPGN files of a folder, read in order, by offset and
// around a game.
#include "database/database_file.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include "database/stream_size.h"
#include "game/compressed_source.h"
#include "game/temporary_file.h"

namespace tandemora {

namespace fs = std::filesystem;

namespace {

// The characters that matter when cutting a file into games.
constexpr auto kSpecial = [] {
    std::array<bool, 256> special{};
    for (unsigned char c : {'{', '}', '[', '\r', '\n'}) special[c] = true;
    return special;
}();

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Where the cutter stands in a game. Until a line starts with something other than "[", the
// game is in its tags, whose values may hold any brace: only the move text and the closing
// line open and close groups.
enum class GamePart { kTagsLineStart, kTagLine, kMoveText };

constexpr int32_t kFirstRecord = 4;
// The two copies of a record's length around its text.
constexpr int64_t kRecordFrame = 8;
constexpr int64_t kShortestRecord = kRecordFrame + 1;
constexpr int64_t kLargestEnd = INT32_MAX;
// Records up to this length are read without first measuring the data left.
constexpr int32_t kUncheckedLength = 65536;
// Texts up to this length are passed over in the stream's buffer: a seek would empty it.
constexpr int32_t kPassedInBuffer = 65536;

void writeInt32(std::ostream& out, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    const char bytes[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 24)};
    out.write(bytes, 4);
}

// False on a short read; gcount() then tells how many bytes there were.
bool readInt32(std::istream& in, int32_t& value) {
    unsigned char b[4];
    if (!in.read(reinterpret_cast<char*>(b), 4)) return false;
    value = static_cast<int32_t>(uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24);
    return true;
}

void writeRecord(std::ostream& database, const std::string& text) {
    const auto length = static_cast<int32_t>(text.size());
    writeInt32(database, length);
    database.write(text.data(), length);
    writeInt32(database, length);
}

// The text of the record at `offset`, its lengths checked against each other, the stream's end
// and the largest offset; false on any failure.
bool readRecordAt(std::istream& database, int32_t offset, std::string& text) {
    database.clear();
    int32_t length = 0, trailing = 0;
    if (offset < kFirstRecord || !database.seekg(offset) || !readInt32(database, length) || length <= 0) return false;
    if (offset + kRecordFrame + length > kLargestEnd || bytesLeft(database) < int64_t{length} + 4) return false;
    text.assign(static_cast<size_t>(length), '\0');
    return database.read(text.data(), length) && readInt32(database, trailing) && trailing == length;
}

// The record before the one at `offset`, found by the length that ends just before it; -1 when
// that length cannot be read or leads before the first record.
int32_t previousRecord(std::istream& database, int32_t offset) {
    database.clear();
    int32_t length = 0;
    if (offset < kFirstRecord + kShortestRecord || !database.seekg(offset - 4) || !readInt32(database, length))
        return -1;
    if (length <= 0 || length > offset - kFirstRecord - kRecordFrame) return -1;
    return offset - static_cast<int32_t>(kRecordFrame) - length;
}

std::unique_ptr<CGame> damagedRecord(std::istream& database) {
    database.setstate(std::ios::badbit);
    return nullptr;
}

bool endsWithIgnoringCase(const std::string& text, const std::string& ending) {
    auto sameLetter = [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    };
    return text.size() >= ending.size() && std::equal(ending.rbegin(), ending.rend(), text.rbegin(), sameLetter);
}

// The game files a build takes: BPGN, also as the archives ship it, compressed.
bool isBuildSource(const std::string& name) {
    return endsWithIgnoringCase(name, ".bpgn") || endsWithIgnoringCase(name, ".bpgn.bz2") ||
           endsWithIgnoringCase(name, ".bpgn.gz");
}

// The names of the game files in a folder, sorted so that a build does not depend on the order
// of the directory listing. The database itself is left out, even under another name, so that
// a build never reads what it appends.
std::vector<std::string> bpgnFilesIn(const std::string& folder, const std::string& databasePath) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code statusError;
        std::string name = it->path().filename().string();
        if (it->is_regular_file(statusError) && isBuildSource(name) &&
            !fs::equivalent(it->path(), databasePath, statusError))
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A build's progress over the stored bytes of its files, so that it moves on inside one large
// archive however much its text is compressed.
class BuildProgress {
public:
    static constexpr int kSteps = 1000;

    BuildProgress(ProgressReporter& reporter, std::uint64_t total) : reporter_(reporter), total_(total) {
        reporter_.setRange(kSteps);
        reporter_.setPosition(0);
    }
    // `bytes` of the current file have been read.
    void reach(std::uint64_t bytes) { show(filesDone_ + bytes); }
    void fileDone(std::uint64_t size) {
        filesDone_ += size;
        show(filesDone_);
    }
    void finish() { showPosition(kSteps); }

private:
    void show(std::uint64_t bytes) {
        // A file may have grown since it was measured.
        showPosition(total_ == 0 ? kSteps : static_cast<int>(std::min<std::uint64_t>(bytes * kSteps / total_, kSteps)));
    }
    void showPosition(int position) {
        if (position == shown_) return;
        shown_ = position;
        reporter_.setPosition(position);
    }

    ProgressReporter& reporter_;
    std::uint64_t total_;
    std::uint64_t filesDone_ = 0;
    int shown_ = 0;
};

// An existing database as an update finds it.
struct ExistingDatabase {
    bool exists = false;  // false for a file that does not open
    int32_t count = 0;
    int64_t end = kFirstRecord;  // where the last record the count covers ends
};

// Reads the game count of an existing database and follows its records to the end of the
// last one counted; false when the count cannot be read or the records do not bear it out.
bool readExistingDatabase(const std::string& path, ExistingDatabase& existing) {
    std::ifstream in(path, std::ios::binary);
    existing.exists = in.is_open();
    if (!existing.exists) return true;
    if (!readInt32(in, existing.count)) return false;
    const std::streamoff rest = bytesLeft(in);
    if (existing.count < 0 || rest < 0 || existing.count > rest / kShortestRecord) return false;
    const int64_t size = kFirstRecord + rest;
    int64_t at = kFirstRecord;
    int32_t length = 0, trailing = 0;
    for (int32_t i = 0; i < existing.count; ++i) {
        if (!readInt32(in, length) || length <= 0 || at + kRecordFrame + length > size) return false;
        if (length <= kPassedInBuffer ? !in.ignore(length) : !in.seekg(at + 4 + length)) return false;
        if (!readInt32(in, trailing) || trailing != length) return false;
        at += kRecordFrame + length;
    }
    existing.end = at;
    return true;
}

// The database file opened for an update that either completes or leaves no trace: a failed
// write cuts the file back to the size it had, or removes it when the update created it.
class DatabaseUpdate {
public:
    ~DatabaseUpdate() {
        if (file_.is_open()) rollBack();
    }

    bool open(const std::string& path, const ExistingDatabase& existing) {
        path_ = path;
        std::error_code error;
        created_ = fs::status(path, error).type() == fs::file_type::not_found;
        if (created_ && !std::ofstream(path, std::ios::binary | std::ios::app)) return false;
        // Bytes after the records the count covers are what a stopped build left: half a
        // record, or records it never counted. The new records take their place.
        const auto end = static_cast<std::uintmax_t>(existing.end);
        if (existing.exists && fs::file_size(path, error) > end && !error) fs::resize_file(path, end, error);
        if (!existing.exists || !error) file_.open(path, std::ios::binary | std::ios::in | std::ios::out);
        if (file_.is_open() && file_.seekp(0, std::ios::end)) size_ = file_.tellp();
        if (size_ >= 0) return true;
        rollBack();
        return false;
    }

    std::fstream& stream() { return file_; }

    // Keeps why the first failed write failed; called right after it.
    void noteFailure() {
        if (error_ == 0) error_ = errno;
    }
    int error() const { return error_; }

    // Closes the file; false, with the file rolled back, when any write failed.
    bool commit() {
        file_.close();
        if (!file_.fail()) return true;
        noteFailure();
        rollBack();
        return false;
    }

private:
    void rollBack() {
        if (file_.is_open()) file_.close();
        std::error_code ignored;
        if (created_) fs::remove(path_, ignored);
        else if (size_ >= 0) fs::resize_file(path_, static_cast<std::uintmax_t>(size_), ignored);
    }

    std::string path_;
    std::fstream file_;
    bool created_ = false;
    std::streamoff size_ = -1;
    int error_ = 0;
};

}  // namespace

int addSingleFileToDatabase(std::istream& source, std::ostream& database, bool& databaseFull,
                            const ProgressReporter* progress) {
    databaseFull = false;
    const std::streamoff start = database.tellp();
    std::streambuf* in = source.rdbuf();
    if (start < 0 || !in) return -1;
    int64_t recordStart = start;
    int games = 0;
    std::string text;
    GamePart part = GamePart::kTagsLineStart;
    bool pastFirstBrace = false, inGroup = false;
    // Writes the collected game, if any; false when the database failed.
    auto endGame = [&]() {
        if (text.empty()) return true;
        writeRecord(database, text);
        if (!database) return false;
        recordStart += kRecordFrame + static_cast<int64_t>(text.size());
        ++games;
        text.clear();
        pastFirstBrace = inGroup = false;
        return true;
    };
    // The source is read in blocks and copied in runs between line ends and game boundaries.
    auto tooLarge = [&]() { return recordStart + kRecordFrame + static_cast<int64_t>(text.size()) > kLargestEnd; };
    std::vector<char> block(1 << 16);
    bool heldReturn = false;  // a '\r' that ended the previous block, unless a '\n' follows
    for (std::streamsize n; (n = in->sgetn(block.data(), static_cast<std::streamsize>(block.size()))) > 0;) {
        const char* data = block.data();
        size_t runStart = 0;
        if (heldReturn && data[0] != '\n') text += '\r';
        heldReturn = false;
        for (size_t i = 0; i < static_cast<size_t>(n); ++i) {
            const char c = data[i];
            if (part == GamePart::kTagsLineStart && !isBlank(c))
                part = c == '[' ? GamePart::kTagLine : GamePart::kMoveText;
            if (!kSpecial[static_cast<unsigned char>(c)]) continue;
            if (c == '\n') {
                if (part == GamePart::kTagLine) part = GamePart::kTagsLineStart;
            } else if (c == '{') {
                if (part == GamePart::kMoveText) pastFirstBrace = inGroup = true;
            } else if (c == '}') {
                inGroup = false;
            } else if (c == '[') {
                // After the first '{' (the first move's clock), a '[' outside every group opens
                // the next game.
                if (!pastFirstBrace || inGroup) continue;
                text.append(data + runStart, i - runStart);
                runStart = i;
                if (tooLarge()) break;
                if (!endGame()) return -1;
                if (progress && progress->stopRequested()) return games;
                part = GamePart::kTagLine;
            } else {
                // A text-mode read gives a single line feed for CR LF.
                text.append(data + runStart, i - runStart);
                runStart = i + 1;
                if (i + 1 == static_cast<size_t>(n)) heldReturn = true;
                else if (data[i + 1] != '\n') text += c;
            }
        }
        text.append(data + runStart, static_cast<size_t>(n) - std::min(runStart, static_cast<size_t>(n)));
        if (tooLarge()) {
            databaseFull = true;
            return games;
        }
    }
    if (heldReturn) text += '\r';
    if (tooLarge()) {
        databaseFull = true;
        return games;
    }
    source.setstate(std::ios::eofbit);
    return endGame() ? games : -1;
}

bool buildDatabase(std::string folder, const std::string& databasePath, ProgressReporter& reporter) {
    if (folder.empty()) {
        reporter.error("You must specify directory for BPGN files.");
        return false;
    }
    if (databasePath.empty()) {
        reporter.error("You must specify database file name.");
        return false;
    }
    if (folder.back() != '/') folder += '/';
    const std::vector<std::string> files = bpgnFilesIn(folder, databasePath);
    if (files.empty()) {
        reporter.error("No .bpgn files were found in the specified directory.");
        return false;
    }
    std::error_code error;
    const fs::file_status status = fs::status(databasePath, error);
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        reporter.error("Could not open database file for writing.");
        return false;
    }
    ExistingDatabase existing;
    if (!readExistingDatabase(databasePath, existing)) {
        reporter.error("Could not read number of games from existing database.");
        return false;
    }
    DatabaseUpdate update;
    if (!update.open(databasePath, existing)) {
        reporter.error("Could not open database file for writing.");
        return false;
    }
    std::fstream& database = update.stream();
    if (!existing.exists) writeInt32(database, 0);  // the count, rewritten at the end

    std::uint64_t totalSize = 0;
    std::vector<std::uint64_t> sizes;
    for (const std::string& name : files) {
        const std::uintmax_t size = fs::file_size(folder + name, error);
        sizes.push_back(error ? 0 : size);
        totalSize += sizes.back();
    }
    BuildProgress progress(reporter, totalSize);
    int added = 0;
    bool full = false, stopped = false;
    for (size_t i = 0; i < files.size(); ++i) {
        const std::string& name = files[i];
        if ((stopped = reporter.stopRequested())) break;
        reporter.status(name);
        SourceFile source(folder + name, name);
        if (!source.isOpen()) {
            reporter.error("Could not add file " + name + " to the database.");
            progress.fileDone(sizes[i]);
            continue;
        }
        source.onRead([&progress](std::uint64_t bytes) { progress.reach(bytes); });
        int games = 0;
        try {
            games = addSingleFileToDatabase(source, database, full, &reporter);
        } catch (const SourceError& damage) {
            // Like a failed write: the whole build is undone, so that building again once the
            // file is mended adds none of its games twice.
            reporter.error(std::string(damage.what()) + ". The database was left as it was before this build.");
            return false;
        }
        if (games < 0) {
            update.noteFailure();
            break;
        }
        added += games;
        // Stopped between two games of the file: what was written is complete and counted below.
        if ((stopped = !full && !source.eof())) break;
        if (full) {
            reporter.error("The database has reached its largest size (2 GB); adding stopped in file " + name + ".");
            break;
        }
        progress.fileDone(sizes[i]);
    }

    // Records never reach 2^31 bytes, so neither can their count.
    const int32_t total = existing.count + added;
    database.seekp(0);
    writeInt32(database, total);
    if (!update.commit()) {
        reporter.error(update.error() ? "Could not write game number into the database: " +
                                            writeFailureCause(update.error()) + "."
                                      : "Could not write game number into the database.");
        return false;
    }
    const std::string counts = std::to_string(added) + " games added, now contains " + std::to_string(total) + " games.";
    if (stopped) {
        reporter.message("Building the database was stopped, " + counts);
        return false;
    }
    progress.finish();
    reporter.message("Database successfully updated, " + counts);
    return !full;
}

std::unique_ptr<std::istream> openDatabaseForReading(const std::string& path) {
    // A pipe would wait for a writer, a device need never end.
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return nullptr;
    auto file = std::make_unique<std::ifstream>(path, std::ios::binary);
    if (!file->is_open()) return nullptr;
    return file;
}

std::unique_ptr<CGame> readNextDatabaseGame(std::istream& database, ProgressReporter* reporter) {
    int32_t length = 0, trailing = 0;
    if (!readInt32(database, length)) return database.gcount() > 0 ? damagedRecord(database) : nullptr;
    if (length <= 0) return damagedRecord(database);
    // Measuring the data left costs two seeks, too many for every game: a short record is only
    // checked by its read.
    if (length > kUncheckedLength && bytesLeft(database) < int64_t{length} + 4) return damagedRecord(database);
    if (length > kMaxSequentialGameText) {
        if (reporter) reporter->error("Game too large, skipping.");
        database.seekg(length, std::ios::cur);
        if (!readInt32(database, trailing) || trailing != length) return damagedRecord(database);
        return nullptr;
    }
    std::string text(static_cast<size_t>(length), '\0');
    if (!database.read(text.data(), length) || !readInt32(database, trailing) || trailing != length)
        return damagedRecord(database);
    std::istringstream in(std::move(text));
    auto game = std::make_unique<CGame>();
    if (!game->readGame(in) || !game->replayGame()) return nullptr;
    return game;
}

std::unique_ptr<CGame> readDatabaseGameAt(std::istream& database, int32_t offset) {
    std::string text;
    if (!readRecordAt(database, offset, text)) return nullptr;
    std::istringstream in(std::move(text));
    auto game = std::make_unique<CGame>();
    if (!game->readGame(in)) return nullptr;
    game->databaseOffset = offset;
    return game;
}

bool retrieveNearbyGames(std::istream& database, int before, int after, int32_t offset,
                         std::vector<std::unique_ptr<CGame>>& list) {
    // Only from where a game starts, as reading at that offset finds one: the end of the file,
    // say, also follows a record's length, which would lead back to the last game.
    if (!readDatabaseGameAt(database, offset)) return false;
    for (int step = 0; step < before && offset != kFirstRecord; ++step) {
        offset = previousRecord(database, offset);
        if (offset < 0) return false;
    }
    // Steps not taken back at the start of the file become games after the given one.
    const int64_t wanted = int64_t{std::max(before, 0)} + std::max(after, 0) + 1;
    for (int64_t read = 0; read < wanted; ++read) {
        auto game = readDatabaseGameAt(database, offset);
        if (!game) break;
        list.push_back(std::move(game));
        offset = static_cast<int32_t>(database.tellg());
    }
    return !list.empty();
}

}  // namespace tandemora
