#include "database/index_group.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "database/formatted.h"
#include "database/result_format.h"

namespace tandemora {

namespace {

IndexFileKind sideKind(int colour) { return colour == 0 ? kWhiteIndexFile : kBlackIndexFile; }

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

// The same database file, also when it does not exist (yet) under that name.
bool sameDatabase(const std::string& a, const std::string& b) {
    return std::filesystem::path(a).lexically_normal() == std::filesystem::path(b).lexically_normal() || sameFile(a, b);
}

}  // namespace

IndexGroup::IndexGroup(ProgressReporter& reporter) : reporter_(reporter) {}

bool IndexGroup::addIndex(const std::string& path, const std::string& databaseDirectory) {
    for (const auto& index : indexes_)
        if (sameFile(index->mainIndexPath(), path)) {
            reporter_.error(formatted("The index file %s is searched already.", path.c_str()));
            return false;
        }
    auto index = std::make_unique<IndexSearch>(reporter_, databaseDirectory);
    index->setFullScan(fullScan_);
    if (!index->loadIndexFile(kMainIndexFile, path)) return false;
    // Two indexes over one database would count its games twice, or open one database's games
    // for the other's offsets where two databases share a name in the database folder.
    for (const auto& other : indexes_)
        if (sameDatabase(other->databasePath(), index->databasePath())) {
            reporter_.error(formatted("The index file %s is over the database %s, which is searched already.",
                                      path.c_str(), index->databasePath().c_str()));
            return false;
        }
    // The side index buttons speak for every index, the new one included.
    for (int colour : {0, 1})
        if (!indexes_.empty() && sideIndexLoaded(colour) && !index->toggleSideIndex(colour)) return false;
    indexes_.push_back(std::move(index));
    return true;
}

bool IndexGroup::sideIndexLoaded(int colour) const {
    return std::all_of(indexes_.begin(), indexes_.end(),
                       [kind = sideKind(colour)](const auto& index) { return index->isLoaded(kind); });
}

bool IndexGroup::toggleSideIndex(int colour) {
    if (!sideIndexLoaded(colour)) return loadSideIndex(colour);
    for (const auto& index : indexes_) index->toggleSideIndex(colour);
    return true;
}

bool IndexGroup::loadSideIndex(int colour) {
    for (const auto& index : indexes_)
        if (!index->isLoaded(sideKind(colour)) && !index->toggleSideIndex(colour)) return false;
    return true;
}

// Each index words its own button; the first still missing the side index says "Load".
std::string IndexGroup::sideIndexLabel(int colour) const {
    if (indexes_.empty()) return {};
    for (const auto& index : indexes_)
        if (!index->isLoaded(sideKind(colour))) return index->sideIndexLabel(colour);
    return indexes_.front()->sideIndexLabel(colour);
}

void IndexGroup::setFullScan(bool fullScan) {
    fullScan_ = fullScan;
    for (const auto& index : indexes_) index->setFullScan(fullScan);
}

bool IndexGroup::prepareSearch(const SearchPageValues& values, const Board* position,
                               const std::function<bool(const std::string&)>& askYesNo) {
    clearResults();
    std::optional<bool> answer;
    const auto askOnce = [&](const std::string& question) {
        if (!answer) answer = askYesNo(question);
        return *answer;
    };
    for (const auto& index : indexes_)
        if (!index->prepareSearch(values, position, askOnce)) return false;
    return !indexes_.empty();
}

void IndexGroup::runSearch(const std::atomic<bool>* stop) {
    clearResults();
    int counted = 0;
    for (const auto& index : indexes_) {
        if (!index->findGames(stop)) return clearResults();
        addResults(*index);
        counted += index->counted();
    }
    if (indexes_.empty()) return;
    if (results_.empty()) reporter_.message(kNoMatchingGames);
    std::vector<ResultCount> counts;
    counts.reserve(results_.size());
    for (const auto& [key, stats] : results_) counts.push_back({key, stats.games, stats.won});
    resultList_ = formatResultLines(std::move(counts), counted, indexes_.front()->winsShown());
}

void IndexGroup::addResults(const IndexSearch& index) {
    for (const auto& [key, stats] : index.results()) {
        GroupStats& sum = results_[key];
        sum.games += stats.games;
        sum.won += stats.won;
        sum.databases.push_back({index.databasePath(), stats.offsets});
    }
}

void IndexGroup::clearResults() {
    results_.clear();
    resultList_.clear();
}

std::string IndexGroup::title() const {
    if (indexes_.size() <= 1) return indexes_.empty() ? std::string() : indexes_.front()->title();
    long long games = 0;
    for (const auto& index : indexes_) games += index->gameCount();
    return formatted("%s + %zu more (%lld %s in all)", indexes_.front()->title().c_str(), indexes_.size() - 1, games,
                     games == 1 ? "game" : "games");
}

std::vector<DatabaseGames> gamesInRange(const GroupStats& stats, int first, int last) {
    std::vector<DatabaseGames> chosen;
    int before = 0;  // the games of the databases passed
    for (const DatabaseGames& database : stats.databases) {
        const int count = static_cast<int>(database.offsets.size());
        // The range within this database, counted from 1.
        const int from = std::max(first - before, 1), to = std::min(last - before, count);
        const auto offsets = database.offsets.begin();
        if (from <= to) chosen.push_back({database.databasePath, {offsets + (from - 1), offsets + to}});
        before += count;
    }
    if (chosen.empty() && !stats.databases.empty()) chosen.push_back({stats.databases.front().databasePath, {}});
    return chosen;
}

}  // namespace tandemora
