#include "app/index/index1_dialog.h"

#include <filesystem>

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include "app/dialogs/message_box.h"
#include "app/file_names.h"
#include "app/index/database_games.h"
#include "app/index/game_range_dialog.h"
#include "app/index/index1_frame.h"
#include "app/index/index_file_dialog.h"
#include "app/index/search_pages.h"
#include "app/tandemora_app.h"
#include "board/board_frame.h"
#include "game/messages.h"

namespace tandemora {

namespace {

// More games than this behind a line ask which of them to open.
constexpr int kGamesOpenedWithoutAsking = 20;

}  // namespace

CIndex1Dialog::CIndex1Dialog(CTandemoraApp& app, CIndex1Frame& frame)
    : QTabWidget(&frame), app_(app), frame_(frame), databaseDirectory_(app.databaseDirectory()) {
    general_ = new CIndex1Dialog_1;
    positional_ = new CIndex1Dialog15;
    players_ = new CIndex1Dialog_2;
    searchPage_ = new CIndex1Dialog_3;
    addTab(general_, QStringLiteral("General search"));
    addTab(positional_, QStringLiteral("Positional search"));
    addTab(players_, QStringLiteral("Players"));
    addTab(searchPage_, QStringLiteral("Search"));
    connect(this, &QTabWidget::currentChanged, this, &CIndex1Dialog::pageChanged);
    runner_.setProgressShown([this](const std::string& text) { frame_.showProgress(text); });
    for (int colour : {0, 1})
        connect(&positional_->sideIndexButton(colour), &QPushButton::clicked, this,
                [this, colour] { toggleSideIndex(colour); });
    connect(&positional_->addIndexButton(), &QPushButton::clicked, this, &CIndex1Dialog::addIndex);
    connect(&searchPage_->searchButton(), &QPushButton::clicked, this, &CIndex1Dialog::search);
    // Once checked, the position shown is searched at once, not only after the next move.
    connect(&searchPage_->autoSearch(), &QCheckBox::toggled, this, &CIndex1Dialog::autoSearch);
    connect(&searchPage_->closeButton(), &QPushButton::clicked, &frame_, &CIndex1Frame::closeWindow);
    connect(&searchPage_->resultList(), &QListWidget::itemDoubleClicked, this,
            &CIndex1Dialog::OnDblclkI1dListSearchresults);
}

CIndex1Dialog::~CIndex1Dialog() {
    if (runningSearch_) *runningSearch_ = true;
}

void CIndex1Dialog::loadIndexFile(const std::string& path,
                                  std::function<void(bool loaded, const std::string& title)> loaded) {
    indexFolder_ = std::filesystem::path(path).parent_path().string();
    joinGroup(path, [this, loaded](bool joined) { loaded(joined, runner_.index().title()); });
}

void CIndex1Dialog::addIndex() {
    // Further indexes of an archive usually lie beside the first.
    if (const std::optional<std::string> path = askIndexFile(this, indexFolder_)) addIndexFile(*path);
}

void CIndex1Dialog::addIndexFile(const std::string& path) {
    QPushButton& button = positional_->addIndexButton();
    button.setEnabled(false);
    joinGroup(path, [this, &button](bool added) {
        button.setEnabled(true);
        if (!added) return;
        frame_.showTitle(runner_.index().title());
        updateSideIndexLabels();
        autoSearch();  // the position shown, searched in every index now
    });
}

void CIndex1Dialog::joinGroup(const std::string& path, std::function<void(bool joined)> then) {
    runner_.post([this, path, then] {
        runner_.runOnWorker(
            [path, directory = databaseDirectory_](IndexGroup& group) { return group.addIndex(path, directory); },
            [this, then](bool joined, IndexRunner::Messages messages) {
                showMessages(messages);
                then(joined);
            });
    });
}

void CIndex1Dialog::toggleSideIndex(int colour) {
    // Pressed twice while the index loads, the button would load and unload it at once.
    positional_->sideIndexButton(colour).setEnabled(false);
    runner_.post([this, colour] {
        runner_.runOnWorker([colour](IndexGroup& group) { return group.toggleSideIndex(colour); },
                            [this, colour](bool, IndexRunner::Messages messages) {
                                updateSideIndexLabels();
                                positional_->sideIndexButton(colour).setEnabled(true);
                                showMessages(messages);
                                autoSearch();  // the position shown may have waited for this index
                            });
    });
}

void CIndex1Dialog::updateSideIndexLabels() {
    for (int colour : {0, 1})
        positional_->sideIndexButton(colour).setText(QString::fromLatin1(runner_.index().sideIndexLabel(colour)));
}

void CIndex1Dialog::pageChanged(int index) {
    if (auto* left = dynamic_cast<SearchValuesPage*>(widget(shownPage_))) {
        // The page comes back before its values are taken, so that a refused field is seen.
        const QSignalBlocker blocker(this);
        setCurrentIndex(shownPage_);
        if (!left->takeValues(values_)) return;
        setCurrentIndex(index);
    }
    shownPage_ = index;
}

// The Search page holds no values: those of the other pages were taken as they were left.
void CIndex1Dialog::search() { requestSearch(true); }

void CIndex1Dialog::autoSearch() {
    if (searchPage_->autoSearch().isChecked()) requestSearch(false);
}

void CIndex1Dialog::requestSearch(bool messagesShown) {
    // A search asked for replaces the one that waits and stops the one that runs, so that the
    // latest position is searched next; it shows their messages if they would have.
    const CBoardFrame* board = frame_.searchedBoard();
    pending_ = SearchRequest{messagesShown || (pending_ && pending_->messagesShown) || runningShown_, values_,
                             board ? std::optional<Board>(board->position()) : std::nullopt};
    if (runningSearch_) *runningSearch_ = true;
    runner_.post(
        [this] {
            if (!pending_) return;
            const SearchRequest request = std::move(*pending_);
            pending_.reset();
            beginSearch(request);
        },
        true);
}

void CIndex1Dialog::beginSearch(const SearchRequest& request) {
    std::optional<std::string> question;
    const bool prepared = runner_.index().prepareSearch(
        request.values, request.position ? &*request.position : nullptr, [&question](const std::string& text) {
            question = text;
            return false;
        });
    const IndexRunner::Messages messages = runner_.takeMessages();
    if (!prepared) {
        if (!request.messagesShown) return clearResults();
        if (question && askYesNo(this, *question)) return loadSideIndexThenSearch(request);
        return showMessages(messages);
    }
    if (request.messagesShown) clearResults();
    auto found = std::make_shared<FoundLines>();
    runningSearch_ = std::make_shared<std::atomic<bool>>(false);
    runningShown_ = request.messagesShown;
    runner_.runOnWorker(
        [found, stop = runningSearch_](IndexGroup& group) {
            group.runSearch(stop.get());
            if (*stop) return false;
            found->lines = group.resultList();
            found->stats = group.results();
            return true;
        },
        [this, found](bool completed, IndexRunner::Messages messages) {
            const bool shown = std::exchange(runningShown_, false);
            runningSearch_.reset();
            if (!completed) return;  // a later search takes its place
            showResults(std::move(*found));
            if (shown) showMessages(messages);
        });
}

void CIndex1Dialog::loadSideIndexThenSearch(const SearchRequest& request) {
    const int colour = request.position->sideToMove == 1 ? 0 : 1;
    runner_.runOnWorker([colour](IndexGroup& group) { return group.loadSideIndex(colour); },
                        [this, request](bool loaded, IndexRunner::Messages messages) {
                            updateSideIndexLabels();
                            if (loaded) return beginSearch(request);
                            showMessages(messages);
                        });
}

void CIndex1Dialog::showResults(FoundLines found) {
    results_ = std::move(found.stats);
    QListWidget& list = searchPage_->resultList();
    list.clear();
    for (const std::string& line : found.lines) list.addItem(QString::fromLatin1(line));
}

void CIndex1Dialog::clearResults() {
    results_.clear();
    searchPage_->resultList().clear();
}

void CIndex1Dialog::OnDblclkI1dListSearchresults() {
    const QListWidgetItem* item = searchPage_->resultList().currentItem();
    if (!item) return;
    const std::string line = item->text().toLatin1().toStdString();
    const auto entry = results_.find(std::string_view(line).substr(0, line.find(' ')));
    if (entry == results_.end()) internalError("Internal error in CIndex1Dialog::OnDblclkI1dListSearchresults()");
    // An auto-search may replace the results while the range is asked for.
    const GroupStats stats = entry->second;
    std::pair<int, int> range{1, stats.games};
    if (range.second > kGamesOpenedWithoutAsking) {
        const auto chosen = askGameRange(this, range.second);
        if (!chosen) return;
        range = *chosen;
    }
    for (const DatabaseGames& games : gamesInRange(stats, range.first, range.second))
        openDatabaseGames(app_, games.databasePath, games.offsets, 1, static_cast<int>(games.offsets.size()));
}

void CIndex1Dialog::showMessages(const IndexRunner::Messages& messages) {
    // The index names files in its messages as the file system spells them; its own words are ASCII.
    for (const std::string& message : messages) showMessageBox(this, fileNameText(message));
}

}  // namespace tandemora
