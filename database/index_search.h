// Searching a loaded index: the main index for games that pass the filters of the search
// pages, or the white or black position index for the moves played from one position.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <istream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/board.h"
#include "database/board_packing.h"
#include "database/file_bytes.h"
#include "database/position_hashes.h"
#include "database/progress.h"

namespace tandemora {

struct RecordView;

enum IndexFileKind { kMainIndexFile = 0, kWhiteIndexFile = 1, kBlackIndexFile = 2 };

// The values of the search pages as the user last entered them.
struct SearchPageValues {
    // General search
    std::string dateText;  // month/day/year; empty for no date filter
    int timeLimit = 0;     // minutes
    int increment = 0;     // seconds
    int averageRating = 0;
    int minimumRating = 0;
    bool wonOnly = false;
    bool mateOrResign = false;
    // Positional search
    bool positional = true;
    std::string materialText;  // reserve the mover must hold, as "P N"
    int upDown = 0;            // 0 up, 1 down
    int clockSeconds = 0;      // how far up or down on the clock, 0 for no clock filter
    bool player1Positional = false;
    // Players
    std::array<std::string, 4> handles;
    std::array<int, 4> ratings{};
    bool teammates = false;  // players 1 and 2
    bool opponents = false;  // players 1 and 3
    int victoryPlayer = 0;   // 0-3
};

// One result line: the games found with one move (or all games of a general search).
struct MoveStats {
    int games = 0;
    int won = 0;
    std::vector<int32_t> offsets;  // database offsets, in the order found
};

// A name and rating of one seat of a record; a crazyhouse record fills seats 0 and 1.
struct SeatPlayers {
    std::array<std::string_view, 4> names;
    std::array<int, 4> ratings{};
};

// The filters prepareSearch derives from the page values.
struct SearchFilter {
    bool positional = false;
    int sideToMove = 1;  // 1 white, 0 black
    PackedBoard key{};
    std::array<int, 5> material{};  // pawn, rook, knight, bishop, queen
    bool materialOn = false;
    int timeLimit = 0, increment = 0, averageRating = 0, minimumRating = 0;
    std::optional<int32_t> date;
    bool wonOnly = false, mateOrResign = false;
    int64_t clockMs = 0;  // 0 for no clock filter
    bool clockUp = true;
    bool player1Positional = false;
    std::array<std::string, 4> handles;  // empty where no handle is asked for
    std::array<int, 4> ratings{};
    bool teammates = false, opponents = false;
    int victoryPlayer = -1;

    bool playersOn() const;
};

class IndexSearch {
public:
    // The database named by an index is looked for in `databaseDirectory`.
    IndexSearch(ProgressReporter& reporter, std::string databaseDirectory);

    // Loads one of the three files; a main index first unloads all three and becomes the
    // index whose companions ("WP", "BP") the side indexes are.
    bool loadIndexFile(IndexFileKind kind, const std::string& path);
    // The same from an open stream; `path` names the file in messages.
    bool loadIndex(IndexFileKind kind, std::istream& in, const std::string& path);
    // Unloads the white (0) or black (1) index when loaded, else loads it beside the main index.
    bool toggleSideIndex(int colour);
    bool isLoaded(IndexFileKind kind) const { return indexes_[kind].has_value(); }
    // "Load white index" or "Unload white index", and the same for black.
    std::string sideIndexLabel(int colour) const;

    // The hash the position files of white and black indexes loaded from now on are made and
    // searched with (tests force collisions with one of their own).
    void setPositionHash(PositionHash hash) { positionHash_ = hash; }
    // Whether positional searches read every record instead of looking the position up in the
    // index's position file; both find the same.
    void setFullScan(bool fullScan) { fullScan_ = fullScan; }
    // Whether a position file serves the loaded white or black index.
    bool hasPositionFile(IndexFileKind kind) const { return indexes_[kind] && indexes_[kind]->hashes; }

    // Takes the page values and the position to search (null without a board window);
    // `askYesNo` answers whether a missing side index is to be loaded.
    bool prepareSearch(const SearchPageValues& values, const Board* position,
                       const std::function<bool(const std::string&)>& askYesNo);
    // Scans the index the filters chose. A search that `stop` asks to end, from another thread,
    // ends at the next record with no results and says nothing.
    void runSearch(const std::atomic<bool>* stop = nullptr);
    // The scan of runSearch alone: the result map filled, nothing said and no lines formatted;
    // false, with no results, when `stop` ended it.
    bool findGames(const std::atomic<bool>* stop = nullptr);
    // Places players 1-4 on the record's seats 0-3 (-1 for a player not given); false when
    // the record does not hold the players asked for.
    bool matchPlayers(bool crazyhouse, const SeatPlayers& players, std::array<int, 4>& seats) const;
    // Formats the result map into the result list, most games first.
    void fillResultList();
    // Whether the lines of the search prepared give a win rate: positional searches, and
    // general ones that count a player's victories.
    bool winsShown() const;

    const std::string& title() const { return title_; }
    const std::string& mainIndexPath() const { return mainIndexPath_; }
    const std::string& databasePath() const { return databasePath_; }
    const std::map<std::string, MoveStats, std::less<>>& results() const { return results_; }
    const std::vector<std::string>& resultList() const { return resultList_; }
    int counted() const { return counted_; }
    // The games of the main index loaded, 0 without one.
    int32_t gameCount() const;

private:
    // Never written once loaded: a search may read it on a worker thread while nothing else
    // touches this object.
    struct LoadedIndex {
        FileBytes file;                    // the whole index file
        const uint8_t* records = nullptr;  // within `file`, after its header
        size_t size = 0;
        int32_t recordCount = 0;
        std::optional<PositionHashes> hashes;  // white and black indexes loaded from a file
    };

    void forget(IndexFileKind kind, const std::string& path);
    // `fromFile` when `file` holds the file at `path`, whose position file may then serve it.
    bool readIndex(IndexFileKind kind, FileBytes file, const std::string& path, bool fromFile);
    bool validRecords(const LoadedIndex& index, IndexFileKind kind, const std::string& path);
    void reportNoMemory(IndexFileKind kind);
    void clearResults();
    // Counts the record under its move (or "*") when it passes the filters.
    void considerRecord(const RecordView& record, bool playersOn);
    void countGame(std::string_view key, int32_t offset, bool won);

    ProgressReporter& reporter_;
    std::string databaseDirectory_;
    std::string mainIndexPath_;
    std::string databasePath_;
    std::string title_;
    std::array<std::optional<LoadedIndex>, 3> indexes_;
    SearchFilter filter_;
    std::map<std::string, MoveStats, std::less<>> results_;
    std::vector<std::string> resultList_;
    int counted_ = 0;
    PositionHash positionHash_ = hashPackedBoard;
    bool fullScan_ = false;
};

}  // namespace tandemora
