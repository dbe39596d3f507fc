// Several main indexes searched as one, for an archive split over databases (by year, or
// because one database holds at most 2 GB). Each index keeps its own database; a line sums the
// games found in all of them and keeps each database's games apart.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/board.h"
#include "database/index_search.h"
#include "database/progress.h"

namespace tandemora {

// Games of one database, by their offsets in it.
struct DatabaseGames {
    std::string databasePath;
    std::vector<int32_t> offsets;
};

// A summed result line: the games and wins of all indexes, and the games in each database, in
// the order the indexes were added (a database without games under the line left out).
struct GroupStats {
    int games = 0;
    int won = 0;
    std::vector<DatabaseGames> databases;
};

using GroupResults = std::map<std::string, GroupStats, std::less<>>;

class IndexGroup {
public:
    explicit IndexGroup(ProgressReporter& reporter);

    // Loads a further main index, whose database is looked for in `databaseDirectory`, with the
    // white and black indexes every index of the group has loaded. An index that does not load,
    // or that the group holds already, leaves the group as it was.
    bool addIndex(const std::string& path, const std::string& databaseDirectory);
    size_t size() const { return indexes_.size(); }
    IndexSearch& index(size_t i) { return *indexes_[i]; }
    const IndexSearch& index(size_t i) const { return *indexes_[i]; }

    // The white (0) or black (1) index counts as loaded when every index has its own loaded.
    bool sideIndexLoaded(int colour) const;
    // Unloads it everywhere when loaded, else loads it where it is missing.
    bool toggleSideIndex(int colour);
    // Loads it where it is missing, up to the first index whose file does not load.
    bool loadSideIndex(int colour);
    // "Load white index" or "Unload white index", and the same for black.
    std::string sideIndexLabel(int colour) const;
    void setFullScan(bool fullScan);

    // Prepares every index for the search; the first that refuses ends it, having said why.
    // `askYesNo` is asked at most once, its answer serving every index.
    bool prepareSearch(const SearchPageValues& values, const Board* position,
                       const std::function<bool(const std::string&)>& askYesNo);
    // Searches every index and sums their lines. A search that `stop` asks to end, from another
    // thread, ends with no results and says nothing.
    void runSearch(const std::atomic<bool>* stop = nullptr);

    // The title of the only index; with several, the first one's, how many more there are and
    // the games of all.
    std::string title() const;
    const GroupResults& results() const { return results_; }
    const std::vector<std::string>& resultList() const { return resultList_; }

private:
    void clearResults();
    // Adds one index's results to the sums.
    void addResults(const IndexSearch& index);

    ProgressReporter& reporter_;
    std::vector<std::unique_ptr<IndexSearch>> indexes_;
    GroupResults results_;
    std::vector<std::string> resultList_;
    bool fullScan_ = false;
};

// The games `first` to `last` (counted from 1) of a summed line, database by database in the
// line's order, leaving out the databases the range does not reach. A range holding no game
// still gives the first database, with no games, so that an empty list opens as for one index.
std::vector<DatabaseGames> gamesInRange(const GroupStats& stats, int first, int last);

}  // namespace tandemora
