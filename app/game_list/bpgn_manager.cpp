#include "app/game_list/bpgn_manager.h"

#include <algorithm>
#include <optional>
#include <sstream>

#include <QEvent>
#include <QFile>
#include <QKeyEvent>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <QVBoxLayout>

#include "app/dialogs/message_box.h"
#include "app/file_names.h"
#include "app/game_list/game_list_model.h"
#include "app/tandemora_app.h"
#include "app/wait_cursor.h"
#include "game/compressed_source.h"
#include "game/file_replacement.h"
#include "game/game_file.h"
#include "game/messages.h"

namespace tandemora {

namespace {

// Where a new list opens, in the main window's client area.
constexpr QRect kOpeningGeometry(0, 504, 720, 180);

}  // namespace

// The list of a game-list window. It knows whether the selection it is changing comes from a
// key, so that a player browsing with the keyboard stays in the list.
class GameListView : public QListView {
public:
    using QListView::QListView;
    bool handlingKey() const { return handlingKey_; }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        handlingKey_ = true;
        // Focus puts the cursor on the first line without choosing it: the first arrow chooses
        // that line rather than skipping it.
        const bool arrow = event->key() == Qt::Key_Down || event->key() == Qt::Key_Up;
        if (arrow && currentIndex().isValid() && !selectionModel()->hasSelection())
            selectionModel()->select(currentIndex(), QItemSelectionModel::ClearAndSelect);
        else
            QListView::keyPressEvent(event);
        handlingKey_ = false;
    }

private:
    bool handlingKey_ = false;
};

CBPGNManager::CBPGNManager(CTandemoraApp& app, QMdiArea& area) : app_(app) {
    model_ = new GameListModel(games_, this);
    list_ = new GameListView(this);
    list_->setModel(model_);
    list_->setUniformItemSizes(true);  // a hundred thousand lines scroll without measuring each
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_);
    // The selection, not the current row: focus alone moves the current row to the first line.
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { selectItem(selectedRow()); });

    subWindow_ = area.addSubWindow(this);
    subWindow_->installEventFilter(this);
    subWindow_->setGeometry(kOpeningGeometry);
    setTitle(fileName_ + " game list.");
    subWindow_->show();
}

CBPGNManager::~CBPGNManager() {
    // The games' boards live in other windows: they close with the games, before this widget goes.
    games_.clear();
}

QSize CBPGNManager::sizeHint() const {
    return subWindow_ ? kOpeningGeometry.size().shrunkBy(subWindow_->contentsMargins()) : kOpeningGeometry.size();
}

void CBPGNManager::setTitle(const std::string& title) {
    setWindowTitle(fileNameText(title));
    subWindow_->setWindowTitle(windowTitle());
}

// An imported list names the file it came from until it is saved under a name of its own.
std::string CBPGNManager::listTitle(const std::string& ending) const {
    const bool imported = !importedFrom_.empty() && fileName_ == "Unsaved";
    return fileName_ + " Game List" + (imported ? " (imported from " + importedFrom_ + ")" : "") + ending;
}

std::string CBPGNManager::numberedTitle(int index) const {
    return listTitle(" (" + std::to_string(index + 1) + "/" + std::to_string(games_.size()) + ")");
}

void CBPGNManager::clear() {
    showSelection(-1);
    currentGame_ = nullptr;
    currentIndex_ = -1;
    games_.clear();
    model_->refill();
    setTitle(fileName_ + " game list.");
}

CBPGNManager::Reading CBPGNManager::openFile(const std::string& path) {
    clear();
    const WaitCursor wait;
    std::string problem;
    Compression compression = Compression::kNone;
    std::optional<std::string> text = readSourceText(path, problem, &compression);
    if (!text) {
        showMessageBox(&app_.mainFrameWidget(), compression == Compression::kNone ? "Could not open " + fileNameText(path)
                                                                                   : fileNameText(problem));
        return Reading::kCannotOpen;
    }
    // Saving writes plain BPGN, which must never take the compressed file's place: the games
    // become an unsaved list, as imported ones do, and Save asks for a name.
    if (compression == Compression::kNone) fileName_ = path;
    else markImportedFrom(path);
    return readGames(std::move(*text));
}

CBPGNManager::Reading CBPGNManager::readGames(std::string text) {
    GameFileReader reader(std::move(text));
    while (std::unique_ptr<CGame> game = reader.next()) {
        game->manager = this;
        game->events = &app_;
        games_.push_back(std::move(game));
    }
    if (games_.empty()) return Reading::kNoGames;
    fillList();
    return reader.stopLine() ? Reading::kStoppedEarly : Reading::kAllGames;
}

void CBPGNManager::fillList() {
    model_->refill();
    setTitle(listTitle("."));
}

void CBPGNManager::addGame(std::unique_ptr<CGame> game, bool refill) {
    game->manager = this;
    game->events = &app_;
    games_.push_back(std::move(game));
    games_.back()->gameNumber = gameCount();
    if (refill) fillList();
}

void CBPGNManager::addGames(std::vector<std::unique_ptr<CGame>> games) {
    for (auto& game : games) addGame(std::move(game), false);
    fillList();
}

int CBPGNManager::selectedRow() const {
    const QModelIndexList selected = list_->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.front().row();
}

CGame* CBPGNManager::selectedGame() const {
    const int row = selectedRow();
    return row < 0 ? nullptr : games_.at(static_cast<size_t>(row)).get();
}

void CBPGNManager::showSelection(int index) {
    const QSignalBlocker blocker(list_->selectionModel());
    if (index < 0) list_->selectionModel()->clear();
    else list_->selectionModel()->setCurrentIndex(model_->index(index), QItemSelectionModel::ClearAndSelect);
}

void CBPGNManager::selectItem(int index) {
    if (index < 0) return;
    if (index >= gameCount()) internalError("CPBNManager::selectItem: internal error");
    CGame& game = *games_[static_cast<size_t>(index)];
    if (&game == currentGame_) return;
    if (currentGame_) {
        Answer answer = Answer::kYes;
        if (!app_.settings().autoClosePreviousGame) {
            // The question must not meet the selection half-changed.
            showSelection(index);
            answer = askYesNoCancel(&app_.mainFrameWidget(), "Close previous game?");
        }
        if (answer == Answer::kCancel) {
            showSelection(currentIndex_);
            return;
        }
        if (answer == Answer::kYes) {
            currentGame_->closeBoards();
            currentGame_ = nullptr;
        }
    }
    setTitle(numberedTitle(index));
    showSelection(index);
    const bool hadBoards = game.boardA != nullptr;
    const bool shown = game.showGame(app_);
    if (shown && !hadBoards) app_.placeBoards(game);
    if (app_.settings().autoApplyDefaultLayout) app_.applyLayout(0);
    if (shown) {
        currentGame_ = &game;
        currentIndex_ = index;
    }
    // The boards came to the front with the focus; Down and End must go on in the list.
    if (list_->handlingKey()) bringToFront();
}

void CBPGNManager::bringToFront() {
    if (subWindow_->isMinimized()) subWindow_->showNormal();
    if (QMdiArea* area = subWindow_->mdiArea()) area->setActiveSubWindow(subWindow_);
    list_->setFocus();
}

void CBPGNManager::closeGameBoards(CGame& game) {
    game.closeBoards();
    if (&game != currentGame_) return;
    currentGame_ = nullptr;
    currentIndex_ = -1;
    showSelection(-1);
}

void CBPGNManager::markImportedFrom(const std::string& path) {
    importedFrom_ = path.substr(path.find_last_of('/') + 1);  // npos + 1 is 0
    setTitle(listTitle("."));
}

bool CBPGNManager::confirmDroppingUnreadMoves() const {
    const auto first = std::find_if(games_.begin(), games_.end(),
                                    [](const auto& game) { return game->modified && game->movesReadUpTo; });
    if (first == games_.end()) return true;
    const TextPosition& at = *(*first)->movesReadUpTo;
    return askYesNo(&app_.mainFrameWidget(),
                    "Game " + std::to_string(first - games_.begin() + 1) + " was edited, but its moves could be read "
                    "only up to line " + std::to_string(at.line) + ", column " + std::to_string(at.column) +
                    " of its move text; saving it drops the moves after that point. Save anyway?");
}

bool CBPGNManager::saveGames(const std::string& path) {
    if (!confirmDroppingUnreadMoves()) return false;
    const int selected = selectedRow();
    const std::string target = path.empty() ? fileName_ : path;
    std::ostringstream details;
    const Replacement result = replaceFile(
        target,
        [this](std::ostream& out) {
            for (const auto& game : games_)
                if (!game->storeGameToStream(out) || !out) return false;
            return true;
        },
        details);
    if (result != Replacement::kDone) {
        showMessageBox(&app_.mainFrameWidget(), "Could not save games to " + fileNameText(target));
        return false;
    }
    if (!path.empty()) fileName_ = path;
    app_.rememberRecentFile(fileName_);
    pasted_ = false;
    for (const auto& game : games_) {
        game->markSaved();
        if (game->boardA) game->updateTitles();
    }
    setTitle(selected >= 0 ? numberedTitle(selected) : listTitle(""));
    return true;
}

bool CBPGNManager::closeWithPrompt(bool removeFromList) {
    const bool changed =
        pasted_ || std::any_of(games_.begin(), games_.end(), [](const auto& game) { return game->modified; });
    if (changed) {
        switch (askYesNoCancel(&app_.mainFrameWidget(), "Save game changes to " + fileNameText(fileName_) + "?")) {
        case Answer::kCancel: return false;
        case Answer::kNo: break;
        case Answer::kYes:
            // A list that never had a file asks for one; a save that fails keeps the list open.
            if (fileName_ == "Unsaved") {
                const std::optional<std::string> chosen = app_.askSaveFileName(this);
                if (!chosen || !saveGames(*chosen)) return false;
            } else if (!saveGames({})) {
                return false;
            }
            break;
        }
    }
    if (removeFromList) app_.removePtrFromManagerList(this);
    games_.clear();
    subWindow_->removeEventFilter(this);
    subWindow_->hide();
    subWindow_->deleteLater();
    return true;
}

bool CBPGNManager::eventFilter(QObject* watched, QEvent* event) {
    if (watched == subWindow_ && event->type() == QEvent::Close) {
        // Closing may ask and then destroy this window: let the close event finish first.
        event->ignore();
        QTimer::singleShot(0, this, [this] { closeWithPrompt(true); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace tandemora
