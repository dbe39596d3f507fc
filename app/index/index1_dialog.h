// The property sheet of an index window: the pages General search, Positional search, Players
// and Search over the indexes loaded (one, or several searched as one), the searches they ask
// for, and the games behind a result.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QTabWidget>

#include "app/index/index_runner.h"
#include "core/board.h"
#include "database/index_group.h"

namespace tandemora {

class CIndex1Dialog_1;
class CIndex1Dialog15;
class CIndex1Dialog_2;
class CIndex1Dialog_3;
class CIndex1Frame;
class CTandemoraApp;

class CIndex1Dialog : public QTabWidget {
    Q_OBJECT
public:
    CIndex1Dialog(CTandemoraApp& app, CIndex1Frame& frame);
    // A search still running is stopped; its index is freed on the worker.
    ~CIndex1Dialog() override;

    // Loads the main index, then `loaded` follows here with the outcome and the window's title;
    // a failure has been reported.
    void loadIndexFile(const std::string& path, std::function<void(bool loaded, const std::string& title)> loaded);
    // "Add index...": a further main index chosen in a file dialog, searched with the others.
    void addIndex();
    // Loads a further main index (with the white and black indexes the others have loaded);
    // the window's title then counts the indexes. A failure is reported and changes nothing.
    void addIndexFile(const std::string& path);
    // Unloads the white (0) or black (1) index of every index, or loads it, and captions its
    // button to match.
    void toggleSideIndex(int colour);
    // The Search button: the position shown searched, with the messages of the search.
    void search();
    // The position shown changed: with auto-search on, that position is searched, silently; a
    // search that cannot be made empties the result list.
    void autoSearch();
    // A result line was double-clicked: its games open in a new game list per database.
    void OnDblclkI1dListSearchresults();

    // No load or search runs or waits.
    bool idle() const { return runner_.idle(); }
    CIndex1Dialog_3& searchPage() const { return *searchPage_; }

private:
    struct SearchRequest {
        bool messagesShown = false;  // an explicit search shows its messages, auto-search none
        SearchPageValues values;
        std::optional<Board> position;  // none without a board window
    };
    struct FoundLines {
        std::vector<std::string> lines;
        GroupResults stats;
    };

    // Loads the main index at `path` into the indexes searched, on the worker; its messages are
    // shown, then `then` follows here.
    void joinGroup(const std::string& path, std::function<void(bool joined)> then);
    void requestSearch(bool messagesShown);
    void beginSearch(const SearchRequest& request);
    void loadSideIndexThenSearch(const SearchRequest& request);
    void showResults(FoundLines found);
    void clearResults();
    // A page being left gives up its values; one that refuses them stays.
    void pageChanged(int index);
    // The white and black index buttons say whether they will load or unload.
    void updateSideIndexLabels();
    void showMessages(const IndexRunner::Messages& messages);

    CTandemoraApp& app_;
    CIndex1Frame& frame_;
    const std::string databaseDirectory_;  // where every index's database is looked for
    std::string indexFolder_;             // where the first index lies, for "Add index..."
    IndexRunner runner_;
    CIndex1Dialog_1* general_;
    CIndex1Dialog15* positional_;
    CIndex1Dialog_2* players_;
    CIndex1Dialog_3* searchPage_;
    int shownPage_ = 0;
    SearchPageValues values_;                           // as last taken from the pages
    std::optional<SearchRequest> pending_;              // the latest search asked for, not yet begun
    std::shared_ptr<std::atomic<bool>> runningSearch_;  // stops the search that runs, if one does
    bool runningShown_ = false;                         // that search shows its messages
    // The games behind the lines shown.
    GroupResults results_;
};

}  // namespace tandemora
