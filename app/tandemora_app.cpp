#include "app/tandemora_app.h"

#include <algorithm>
#include <sstream>

#include <QFileDialog>
#include <QMdiSubWindow>
#include <QScreen>

#include "app/dialogs/message_box.h"
#include "app/dialogs/move_info_dialog.h"
#include "app/main_frame.h"
#include "board/board_frame.h"
#include "game/file_replacement.h"

namespace tandemora {

namespace {
constexpr int kMoveSound = 0;
constexpr int kGameOverSound = 1;
}  // namespace

CTandemoraApp::CTandemoraApp(SettingsFiles files) : files_(std::move(files)) { setMessageSink(this); }

CTandemoraApp::~CTandemoraApp() {
    // The games' windows live in the main window: they go first.
    newGameList_.clear();
    mainFrame_.reset();
    setMessageSink(nullptr);
}

void CTandemoraApp::start() {
    mainFrame_ = std::make_unique<CMainFrame>(*this);
    mainFrame_->show();
    loadSettings(settings_, layouts_, files_);
    createDrawingResources();
    applyLayout(0);
    mainFrame_->updateOptionChecks();
}

void CTandemoraApp::createDrawingResources() {
    const QScreen* screen = mainFrame_ ? mainFrame_->screen() : nullptr;
    resources_ = tandemora::makeDrawingResources(settings_, screen ? static_cast<int>(screen->logicalDotsPerInchY()) : 96);
}

int CTandemoraApp::nextGameNumber(bool bughouse) {
    if (newGameList_.empty()) nextCrazyhouseNumber_ = nextBughouseNumber_ = 1;
    return bughouse ? nextBughouseNumber_++ : nextCrazyhouseNumber_++;
}

std::unique_ptr<BoardWindow> CTandemoraApp::createBoard(CGame& game, bool boardB) {
    return std::make_unique<CBoardFrame>(game, boardB, *this, mainFrame_->mdiArea());
}

void CTandemoraApp::newGame(bool bughouse) {
    auto game = std::make_unique<CGame>();
    game->events = this;
    game->gameNumber = nextGameNumber(bughouse);
    if (bughouse) game->createBughouseBoards(*this);
    else game->createCrazyhouseBoards(*this);
    game->updateNavigationState();
    placeNewBoards(*game);
    newGameList_.push_back(std::move(game));
    if (settings_.autoApplyDefaultLayout) applyLayout(0);
}

void CTandemoraApp::placeNewBoards(CGame& game) {
    auto* a = static_cast<CBoardFrame*>(game.boardA.get());
    auto* b = static_cast<CBoardFrame*>(game.boardB.get());
    if (settings_.autoApplyDefaultLayout) {
        // The default layout places them once the game is listed.
        for (CBoardFrame* frame : {a, b})
            if (frame) frame->placeWindow(frame->subWindow()->x(), frame->subWindow()->y(), 0, 0);
        return;
    }
    a->placeWindow(0, 0, 0, 0);
    if (b) b->placeWindow(481, 0, 0, 0);
    a->bringToTop();
}

bool CTandemoraApp::closeGame(CGame& game, bool removeFromList) {
    switch (askYesNoCancel(mainFrame_.get(), "Save New Game " + std::to_string(game.gameNumber) + "?")) {
    case Answer::kCancel: return false;
    case Answer::kYes:
        if (!saveNewGame(game)) return false;
        break;
    case Answer::kNo: break;
    }
    if (removeFromList) removePtrFromGameList(&game);
    return true;
}

bool CTandemoraApp::saveNewGame(CGame& game) {
    if (game.manager) return false;
    QFileDialog dialog(mainFrame_.get());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("BPGN Files (*.bpgn)"));
    dialog.setDefaultSuffix(QStringLiteral("bpgn"));
    // Without a file the game is not saved, so it must not be dropped either.
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    const std::string path = dialog.selectedFiles().front().toLatin1().toStdString();

    // The file is replaced only by a complete copy, so a failed save loses nothing.
    std::ostringstream details;
    const Replacement result =
        replaceFile(path, [&](std::ostream& out) { return game.storeGameToStream(out); }, details);
    if (result == Replacement::kCannotOpen) {
        showMessage("Could not open " + path + " for saving.");
        return false;
    }
    if (result == Replacement::kCannotWrite) {
        showMessage("Could not save the game.");
        return false;
    }
    return true;
}

bool CTandemoraApp::closeAll() {
    std::vector<CGame*> closed;
    bool cancelled = false;
    for (const auto& game : newGameList_) {
        if (!closeGame(*game, false)) {
            cancelled = true;
            break;
        }
        closed.push_back(game.get());
    }
    for (CGame* game : closed) removePtrFromGameList(game);
    return !cancelled && newGameList_.empty();
}

void CTandemoraApp::removePtrFromGameList(CGame* game) {
    const auto found =
        std::find_if(newGameList_.begin(), newGameList_.end(), [game](const auto& listed) { return listed.get() == game; });
    if (found == newGameList_.end()) {
        showMessage("Error in CTandemoraApp::removePtrFromGameList()");
        return;
    }
    newGameList_.erase(found);
}

void CTandemoraApp::repaintBoards() {
    for (const auto& game : newGameList_) {
        if (!game->displayOn) continue;
        for (BoardWindow* window : {game->boardA.get(), game->boardB.get()})
            if (window) window->relayout();
    }
}

void CTandemoraApp::importSettings(const std::filesystem::path& path) {
    loadSettings(settings_, path);
    createDrawingResources();
    mainFrame_->updateOptionChecks();
    repaintBoards();
}

void CTandemoraApp::saveSettings() { tandemora::saveSettings(settings_, layouts_, files_); }

void CTandemoraApp::playEventSound(int) {
    // The sound player arrives with the event sounds; until then the events pass silently.
}

void CTandemoraApp::positionShown(CGame&) { playEventSound(kMoveSound); }

void CTandemoraApp::replayReachedEnd(CGame&) { playEventSound(kGameOverSound); }

std::unique_ptr<MoveInfoView> CTandemoraApp::createMoveInfoDialog(CGame& game) {
    auto dialog = std::make_unique<MoveInfoDialog>(game);
    dialog->show();
    if (auto* board = static_cast<CBoardFrame*>(game.boardA.get())) dialog->placeBelow(board->subWindow());
    return dialog;
}

void CTandemoraApp::showMessage(const std::string& text) { showMessageBox(mainFrame_.get(), text); }

}  // namespace tandemora
