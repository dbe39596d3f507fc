#include "database/index_search.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "database/formatted.h"
#include "database/index_header.h"
#include "database/index_records.h"
#include "database/result_format.h"
#include "database/stream_size.h"

namespace tandemora {

namespace {

constexpr int kAbsentSeatRating = 100000;  // crazyhouse seats 2 and 3, last in rating order

const char* const kNoBoardWindow = "Make the board position from which you wish to search your topmost window.";
const char* const kBadDate = "The date must be written as month/day/year, for example 12/31/2003.";
const char* const kCannotReadRecords = "Could not read games from the index.";

std::string trimmed(const std::string& text) {
    const char* blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    return true;
}

// "month/day/year" as year * 10000 + month * 100 + day, a two-digit year taken as 1950-2049;
// nothing when the text is not three numbers of at most four digits.
std::optional<int32_t> dateThreshold(const std::string& text) {
    int numbers[3] = {};
    size_t at = 0;
    for (int i = 0; i < 3; ++i) {
        if (i > 0 && (at >= text.size() || text[at++] != '/')) return std::nullopt;
        while (at < text.size() && text[at] == ' ') ++at;
        const size_t start = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9')
            numbers[i] = numbers[i] * 10 + (text[at++] - '0');
        if (at == start || at - start > 4) return std::nullopt;
        while (at < text.size() && text[at] == ' ') ++at;
    }
    if (at != text.size()) return std::nullopt;
    int year = numbers[2];
    if (year < 50)
        year += 2000;
    else if (year < 100)
        year += 1900;
    return year * 10000 + numbers[0] * 100 + numbers[1];
}

// Whether the record's players, and for a seat record its positions, fill it exactly.
bool recordIsWhole(const RecordView& record, bool seatRecord) {
    if (!seatRecord) return record.afterPlayers == record.end;
    int count = positionCount(record);
    if (count < 0) return false;
    const uint8_t* p = record.afterPlayers + 2;
    PositionEntry entry;
    while (count-- > 0) {
        // Each entry's end depends on the one before: the lines ahead are asked for early
        // rather than waited for one by one.
        __builtin_prefetch(p + 4096);
        if (!(p = readEntry(p, record.end, entry))) return false;
    }
    return p == record.end;
}

// The tests on the head fields and ratings that are on.
bool passesHead(const SearchFilter& filter, const RecordView& record) {
    if (record.minutes < filter.timeLimit || record.increment < filter.increment) return false;
    if (filter.averageRating > 0 || filter.minimumRating > 0) {
        const int seats = record.crazyhouse ? 2 : 4;
        int sum = 0, lowest = record.players.ratings[0];
        for (int s = 0; s < seats; ++s) {
            sum += record.players.ratings[s];
            lowest = std::min(lowest, record.players.ratings[s]);
        }
        if (filter.averageRating > 0 && sum / seats < filter.averageRating) return false;
        if (filter.minimumRating > 0 && lowest < filter.minimumRating) return false;
    }
    return !filter.date || record.date >= *filter.date;
}

// The move of the record's first entry at the searched position that passes the reserve and
// clock tests.
std::optional<std::string_view> matchingMove(const SearchFilter& filter, const RecordView& record) {
    int count = positionCount(record);
    if (count < 0) return std::nullopt;
    const uint8_t* p = record.afterPlayers + 2;
    const bool clockOn = filter.clockMs > 0 && !record.crazyhouse;
    PositionEntry entry;
    while (count-- > 0 && (p = readEntry(p, record.end, entry))) {
        if (std::memcmp(entry.board, filter.key.data(), kPackedBoardSize) != 0) continue;
        if (filter.materialOn) {
            bool enough = true;
            for (int piece = 0; piece < 5; ++piece)
                enough = enough && static_cast<int8_t>(entry.reserve[piece]) >= filter.material[piece];
            if (!enough) continue;
        }
        if (clockOn) {
            const int d = entry.clockMs;
            if (filter.clockUp ? d < 0 : d > 0) continue;
            if (std::abs(d) < filter.clockMs) continue;
        }
        return entry.move;
    }
    return std::nullopt;
}

}  // namespace

IndexSearch::IndexSearch(ProgressReporter& reporter, std::string databaseDirectory)
    : reporter_(reporter), databaseDirectory_(std::move(databaseDirectory)) {}

bool IndexSearch::loadIndexFile(IndexFileKind kind, const std::string& path) {
    forget(kind, path);
    FileBytes::Problem problem;
    FileBytes file = FileBytes::ofFile(path, problem);
    switch (problem) {
    case FileBytes::Problem::none:
        return readIndex(kind, std::move(file), path, true);
    case FileBytes::Problem::cannotOpen:
        reporter_.error("Could not open index file: " + path);
        break;
    case FileBytes::Problem::noMemory:
        reportNoMemory(kind);
        break;
    case FileBytes::Problem::cannotRead:
        reporter_.error(kCannotReadRecords);
        break;
    }
    return false;
}

bool IndexSearch::loadIndex(IndexFileKind kind, std::istream& in, const std::string& path) {
    forget(kind, path);
    const std::streamoff size = bytesLeft(in);
    if (size < 0) {
        reporter_.error(kCannotReadRecords);
        return false;
    }
    std::unique_ptr<uint8_t[]> buffer;
    try {
        buffer = std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        reportNoMemory(kind);
        return false;
    }
    if (!in.read(reinterpret_cast<char*>(buffer.get()), size)) {
        reporter_.error(kCannotReadRecords);
        return false;
    }
    return readIndex(kind, FileBytes(std::move(buffer), static_cast<size_t>(size)), path, false);
}

// A main index takes the place of all three; a side index only of itself.
void IndexSearch::forget(IndexFileKind kind, const std::string& path) {
    if (kind == kMainIndexFile) {
        for (auto& index : indexes_) index.reset();
        mainIndexPath_ = path;
    }
    indexes_[kind].reset();
}

void IndexSearch::reportNoMemory(IndexFileKind kind) {
    const char* names[] = {"main", "white", "black"};
    reporter_.error(formatted("Could not allocate enough memory for the %s index.", names[kind]));
}

bool IndexSearch::readIndex(IndexFileKind kind, FileBytes file, const std::string& path, bool fromFile) {
    IndexHeader header;
    const size_t headerLength = readIndexHeader(file.data(), file.size(), kind == kMainIndexFile, header);
    if (headerLength == 0) {
        reporter_.error("Could not read index header.");
        return false;
    }
    std::string directory = trimmed(databaseDirectory_);
    if (directory.empty() || directory.back() != '/') directory += '/';
    databasePath_ = directory + header.databaseName;
    const int32_t recordCount = header.recordCount;
    const int32_t dataSize = header.dataSize;
    if (recordCount < 0 || dataSize < 0) {
        reporter_.error(formatted("The index file %s is damaged: its header is not valid.", path.c_str()));
        return false;
    }
    // The records fill the rest of the file exactly: a file cut short, or one whose header was
    // never completed, is damaged.
    if (file.size() - headerLength != static_cast<size_t>(dataSize)) {
        reporter_.error(kCannotReadRecords);
        return false;
    }
    const uint8_t* records = file.data() + headerLength;
    LoadedIndex index{std::move(file), records, static_cast<size_t>(dataSize), recordCount, std::nullopt};
    index.file.prepareOnePass();
    const bool valid = validRecords(index, kind, path);
    index.file.endOnePass();
    if (!valid) return false;
    IndexRecords seen{index.records, index.size, recordCount};
    if (kind != kMainIndexFile && fromFile && fileStamp(path, seen.fileSize, seen.modified))
        index.hashes = PositionHashes::open(path, seen, positionHash_, reporter_);
    indexes_[kind] = std::move(index);

    if (kind == kMainIndexFile)
        title_ = formatted("%s index: {%s} (%d %s)", header.type == 1 ? "Crazyhouse" : "Bughouse",
                           header.playerList.c_str(), recordCount, recordCount % 10 == 1 ? "game" : "games");
    return true;
}

// Reads every record once so that a damaged file is refused at loading, not met mid-search.
bool IndexSearch::validRecords(const LoadedIndex& index, IndexFileKind kind, const std::string& path) {
    const uint8_t* p = index.records;
    const uint8_t* end = p + index.size;
    RecordView record;
    for (int32_t i = 0; i < index.recordCount; ++i) {
        if (!readRecord(p, end, record) || !recordIsWhole(record, kind != kMainIndexFile)) {
            reporter_.error(formatted("The index file %s is damaged: record %d is not valid.", path.c_str(), i + 1));
            return false;
        }
        p = record.end;
    }
    if (p != end) {
        reporter_.error(formatted("The index file %s is damaged: its records do not fill its data.", path.c_str()));
        return false;
    }
    return true;
}

bool IndexSearch::toggleSideIndex(int colour) {
    const IndexFileKind kind = colour == 0 ? kWhiteIndexFile : kBlackIndexFile;
    if (isLoaded(kind)) {
        indexes_[kind].reset();
        return true;
    }
    return loadIndexFile(kind, mainIndexPath_ + (colour == 0 ? "WP" : "BP"));
}

std::string IndexSearch::sideIndexLabel(int colour) const {
    const IndexFileKind kind = colour == 0 ? kWhiteIndexFile : kBlackIndexFile;
    return std::string(isLoaded(kind) ? "Unload " : "Load ") + (colour == 0 ? "white" : "black") + " index";
}

bool SearchFilter::playersOn() const {
    for (int p = 0; p < 4; ++p)
        if (!handles[p].empty() || ratings[p] > 0) return true;
    return false;
}

bool IndexSearch::prepareSearch(const SearchPageValues& values, const Board* position,
                                const std::function<bool(const std::string&)>& askYesNo) {
    SearchFilter filter;
    filter.positional = values.positional;
    if (filter.positional) {
        if (!position) {
            reporter_.error(kNoBoardWindow);
            return false;
        }
        filter.sideToMove = position->sideToMove == 1 ? 1 : 0;
        const bool white = filter.sideToMove == 1;
        const IndexFileKind kind = white ? kWhiteIndexFile : kBlackIndexFile;
        if (!isLoaded(kind)) {
            const std::string colour = white ? "white" : "black";
            if (!askYesNo("Index for " + colour + " positions is not loaded. Load it and proceed with search?") ||
                !loadIndexFile(kind, mainIndexPath_ + (white ? "WP" : "BP")))
                return false;
        }
    }
    const std::string date = trimmed(values.dateText);
    if (!date.empty()) {
        filter.date = dateThreshold(date);
        if (!filter.date) {
            reporter_.error(kBadDate);
            return false;
        }
    }
    if (filter.positional) {
        filter.key = packBoard(*position);
        for (char c : trimmed(values.materialText)) {
            const int piece = pieceIndex(c);  // pawn, rook, knight, bishop, queen
            if (piece >= 0) ++filter.material[piece];
        }
        filter.materialOn = std::any_of(filter.material.begin(), filter.material.end(), [](int n) { return n > 0; });
        filter.clockMs = values.clockSeconds > 0 ? int64_t{values.clockSeconds} * 1000 : 0;
        filter.clockUp = values.upDown == 0;
        filter.player1Positional = values.player1Positional;
    }
    filter.timeLimit = values.timeLimit;
    filter.increment = values.increment;
    filter.averageRating = values.averageRating;
    filter.minimumRating = values.minimumRating;
    filter.wonOnly = values.wonOnly;
    filter.mateOrResign = values.mateOrResign;
    for (int p = 0; p < 4; ++p) {
        filter.handles[p] = trimmed(values.handles[p]);
        filter.ratings[p] = values.ratings[p];
    }
    filter.teammates = values.teammates;
    filter.opponents = values.opponents;
    const int victor = values.victoryPlayer;
    if (victor >= 0 && victor < 4 && (!filter.handles[victor].empty() || filter.ratings[victor] > 0))
        filter.victoryPlayer = victor;
    filter_ = std::move(filter);
    clearResults();
    return true;
}

void IndexSearch::clearResults() {
    results_.clear();
    resultList_.clear();
    counted_ = 0;
}

bool IndexSearch::matchPlayers(bool crazyhouse, const SeatPlayers& players, std::array<int, 4>& seats) const {
    const int seatCount = crazyhouse ? 2 : 4;
    std::array<int, 4> rating = players.ratings;
    if (crazyhouse) rating[2] = rating[3] = kAbsentSeatRating;
    // Seats by ascending rating, put in order by a selection sort that swaps the first lowest
    // rating into place (so equal ratings need not keep their seat order).
    std::array<int, 4> byRating = {0, 1, 2, 3};
    for (int i = 0; i < 3; ++i) {
        int lowest = i;
        for (int j = i + 1; j < 4; ++j)
            if (rating[byRating[j]] < rating[byRating[lowest]]) lowest = j;
        std::swap(byRating[i], byRating[lowest]);
    }
    const bool firstIsMover = filter_.positional && filter_.player1Positional;
    const auto byHandle = [&](int player) { return !filter_.handles[player].empty(); };
    std::array<bool, 4> used{};
    seats.fill(-1);
    for (int player = 0; player < 4; ++player) {
        const int wanted = filter_.ratings[player];
        int seat = -1;
        if (byHandle(player)) {
            const int tried = player == 0 && firstIsMover ? 1 : seatCount;
            for (int s = 0; s < tried && seat < 0; ++s)
                if (equalsIgnoringCase(players.names[s], filter_.handles[player])) seat = s;
            if (seat < 0 || used[seat] || (wanted > 0 && players.ratings[seat] < wanted)) return false;
        } else if (wanted > 0) {
            if (player == 0 && firstIsMover) {
                if (players.ratings[0] >= wanted) seat = 0;
            } else {
                for (int s : byRating)
                    if (!used[s] && rating[s] >= wanted) {
                        seat = s;
                        break;
                    }
            }
            if (seat < 0 || seat >= seatCount) return false;
        } else {
            continue;
        }
        seats[player] = seat;
        used[seat] = true;
        const int other = seats[0];
        if (player == 1 && filter_.teammates && byHandle(0) && byHandle(1) && (seat == other || seat % 2 != other % 2))
            return false;
        if (player == 2 && filter_.opponents && byHandle(0) && byHandle(2) && (seat == other || seat / 2 != other / 2))
            return false;
    }
    return true;
}

void IndexSearch::runSearch(const std::atomic<bool>* stop) {
    if (!findGames(stop)) return;
    if (results_.empty()) reporter_.message(kNoMatchingGames);
    fillResultList();
}

bool IndexSearch::findGames(const std::atomic<bool>* stop) {
    clearResults();
    const IndexFileKind kind = !filter_.positional       ? kMainIndexFile
                               : filter_.sideToMove == 1 ? kWhiteIndexFile
                                                         : kBlackIndexFile;
    const bool playersOn = filter_.playersOn();
    const std::optional<LoadedIndex>& index = indexes_[kind];
    const uint8_t* p = index ? index->records : nullptr;
    const uint8_t* end = index ? p + index->size : nullptr;
    const int32_t records = index ? index->recordCount : 0;
    RecordView record;
    const auto stopped = [&] {
        if (!stop || !stop->load(std::memory_order_relaxed)) return false;
        clearResults();
        return true;
    };
    if (filter_.positional && index && index->hashes && !fullScan_) {
        // Only the records holding an entry with the position's hash, in the order of the file.
        uint32_t previous = UINT32_MAX;
        for (const uint32_t offset : index->hashes->recordsWith(filter_.key.data())) {
            if (stopped()) return false;
            if (offset == previous || offset >= index->size || !readRecord(p + offset, end, record)) continue;
            previous = offset;
            considerRecord(record, playersOn);
        }
    } else {
        for (int32_t i = 0; i < records && readRecord(p, end, record); ++i, p = record.end) {
            if (stopped()) return false;
            considerRecord(record, playersOn);
        }
    }
    return true;
}

void IndexSearch::considerRecord(const RecordView& record, bool playersOn) {
    if (!passesHead(filter_, record)) return;
    std::array<int, 4> seats;
    seats.fill(-1);
    if (playersOn && !matchPlayers(record.crazyhouse, record.players, seats)) return;
    bool won;
    if (filter_.positional) {
        won = (record.result & 3) != 0;
    } else {
        const int seat = filter_.victoryPlayer >= 0 ? seats[filter_.victoryPlayer] : -1;
        won = seat >= 0 && (record.result & 3) == (seat % 2 == 0 ? 1 : 2);
    }
    if (filter_.wonOnly && !won) return;
    if (filter_.mateOrResign && !(record.result & 4)) return;
    if (!filter_.positional) {
        countGame("*", record.databaseOffset, won);
    } else if (const auto move = matchingMove(filter_, record)) {
        countGame(*move, record.databaseOffset, won);
    }
}

// Counts a game under a key once, however many records of that game follow one another.
void IndexSearch::countGame(std::string_view key, int32_t offset, bool won) {
    auto entry = results_.find(key);
    if (entry == results_.end()) {
        results_.emplace(std::string(key), MoveStats{1, won ? 1 : 0, {offset}});
    } else {
        MoveStats& stats = entry->second;
        if (stats.offsets.back() == offset) return;
        stats.offsets.push_back(offset);
        ++stats.games;
        if (won) ++stats.won;
    }
    ++counted_;
}

void IndexSearch::fillResultList() {
    std::vector<ResultCount> counts;
    counts.reserve(results_.size());
    for (const auto& [key, stats] : results_) counts.push_back({key, stats.games, stats.won});
    resultList_ = formatResultLines(std::move(counts), counted_, winsShown());
}

bool IndexSearch::winsShown() const { return filter_.positional || filter_.victoryPlayer >= 0; }

int32_t IndexSearch::gameCount() const { return indexes_[kMainIndexFile] ? indexes_[kMainIndexFile]->recordCount : 0; }

}  // namespace tandemora
