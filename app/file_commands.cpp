// The file commands: open a BPGN file, or pasted text, as a game list (importing what the reader
// cannot read), save, save as, save all, close; and the list of open game lists.
#include <algorithm>
#include <filesystem>
#include <sstream>
#include <system_error>
#include <thread>

#include <QEventLoop>
#include <QFileDialog>
#include <QProgressDialog>

#include "app/dialogs/message_box.h"
#include "app/file_names.h"
#include "app/game_list/bpgn_manager.h"
#include "app/main_frame.h"
#include "app/tandemora_app.h"
#include "board/board_frame.h"
#include "game/compressed_source.h"
#include "game/file_replacement.h"
#include "game/game_export.h"
#include "game/game_file.h"
#include "game/importer.h"

namespace tandemora {

namespace {

const QString kBpgnFilter = QStringLiteral("BPGN Files (*.bpgn)");
const QString kPgnFilter = QStringLiteral("PGN (crazyhouse) (*.pgn)");

// Where the games being opened come from: the file at `path`, or text pasted from the
// clipboard when there is no path.
struct GameSource {
    std::string path;
    std::string pastedText;

    QString name() const { return path.empty() ? QStringLiteral("the pasted text") : fileNameText(path); }
    // The text for the importer; the file is read again only when it comes to importing.
    std::optional<std::string> text() const {
        std::string problem;
        return path.empty() ? pastedText : readSourceText(path, problem);
    }
};

// The games the importer takes from the source, counting those it skips; none when it cannot
// read the source.
std::vector<std::unique_ptr<CGame>> importedGames(const GameSource& source, ImportCounts& counts) {
    std::vector<std::unique_ptr<CGame>> games;
    std::optional<std::string> text = source.text();
    if (!text) return games;
    std::istringstream in(std::move(*text));
    GameImporter importer(in);
    for (ImportedGame imported; importer.next(imported);) {
        counts.add(imported);
        if (imported.game) games.push_back(std::move(imported.game));
    }
    return games;
}

// Offers to import a source the reader could not read whole into a new list; true when it was
// imported. When no game can be, `skipped` says why the importer skipped the games it found.
bool offerImport(CTandemoraApp& app, const GameSource& source, std::string& skipped) {
    ImportCounts counts;
    std::vector<std::unique_ptr<CGame>> games = importedGames(source, counts);
    skipped = describeSkipped(counts);
    if (games.empty()) return false;
    const QString question = "Not every game of " + source.name() +
                             QString::fromLatin1(" is in the form this program writes, but " +
                                                 (games.size() == 1 ? "1 game" : std::to_string(games.size()) + " games") +
                                                 " can be imported" + (skipped.empty() ? "" : "; " + skipped) +
                                                 ". Import into a new game list?" +
                                                 (source.path.empty() ? "" : " The file itself stays as it is."));
    if (askYesNoCancel(&app.mainFrameWidget(), question) != Answer::kYes) return false;
    // An unsaved list: saving it asks for a new file, so the original is never overwritten.
    auto* list = new CBPGNManager(app, app.mainFrame().mdiArea());
    list->addGames(std::move(games));
    if (!source.path.empty()) list->markImportedFrom(source.path);
    else list->markPasted();
    app.addToManagerList(list);
    return true;
}

// A new list after the reader went through the source: kept with what it read, or given up for
// the importer's games, or closed when nothing could be read (reported). False when no games
// were taken.
bool keepReadGames(CTandemoraApp& app, CBPGNManager& list, CBPGNManager::Reading reading, const GameSource& source) {
    std::string skipped;
    switch (reading) {
    case CBPGNManager::Reading::kAllGames:
        if (source.path.empty()) list.markPasted();
        app.addToManagerList(&list);
        return true;
    case CBPGNManager::Reading::kStoppedEarly:
        // What was read stays listed unless the importer does better.
        if (offerImport(app, source, skipped)) {
            list.closeWithPrompt(false);
        } else {
            if (source.path.empty()) list.markPasted();
            app.addToManagerList(&list);
        }
        return true;
    case CBPGNManager::Reading::kNoGames:
        list.closeWithPrompt(false);
        if (offerImport(app, source, skipped)) return true;
        showMessageBox(&app.mainFrameWidget(),
                       "Could not parse any games in " + source.name() +
                           QString::fromLatin1(skipped.empty() ? "" : "; of the games found, " + skipped));
        return false;
    case CBPGNManager::Reading::kCannotOpen: break;
    }
    list.closeWithPrompt(false);
    return false;
}

bool holdsOnlyCrazyhouse(const CBPGNManager& list) {
    const auto& games = list.games();
    return !games.empty() && std::none_of(games.begin(), games.end(), [](const auto& game) { return game->isBughouse(); });
}

// Writes the list's games as PGN for other programs, on a worker thread while a busy dialog
// keeps the window alive; the list keeps its own file and its changes.
void exportAsPgn(QWidget* parent, const CBPGNManager& list, const std::string& path) {
    std::ostringstream games;
    for (const auto& game : list.games()) game->storeGameToStream(games);
    ExportTally tally;
    std::ostringstream report, details;
    Replacement result = Replacement::kCannotWrite;
    QProgressDialog busy(QStringLiteral("Exporting games..."), QString(), 0, 0, parent);
    busy.setWindowModality(Qt::WindowModal);
    busy.setMinimumDuration(500);
    QEventLoop loop;
    std::thread worker([&, text = games.str()]() mutable {
        result = replaceFile(
            path,
            [&](std::ostream& out) { return exportGames(std::move(text), out, report, tally) && tally.exported > 0; },
            details);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    busy.reset();
    if (result != Replacement::kDone) {
        showMessageBox(parent, "Could not export games to " + fileNameText(path));
    } else if (tally.exported < tally.games) {
        // The report's first "<n> skipped <why>" line says which and why.
        const std::string lines = report.str();
        const size_t skipped = lines.find(" skipped ");
        const size_t start = lines.rfind('\n', skipped) + 1;  // npos + 1 is 0
        showMessageBox(parent, std::to_string(tally.games - tally.exported) + " of " + std::to_string(tally.games) +
                                   " games could not be exported; game " +
                                   lines.substr(start, lines.find('\n', skipped) - start) + ".");
    }
}

}  // namespace

std::optional<std::string> CTandemoraApp::askSaveFileName(const CBPGNManager* saving, bool* asPgn) {
    QFileDialog dialog(mainFrame_.get());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(kBpgnFilter);
    dialog.setDefaultSuffix(QStringLiteral("bpgn"));
    if (asPgn) {
        dialog.setNameFilters({kBpgnFilter, kPgnFilter});
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
            dialog.setDefaultSuffix(filter == kPgnFilter ? QStringLiteral("pgn") : QStringLiteral("bpgn"));
        });
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    if (asPgn) *asPgn = dialog.selectedNameFilter() == kPgnFilter;
    std::string path = fileNameBytes(dialog.selectedFiles().front());
    if (const CBPGNManager* open = listOfFile(path); open && open != saving) {
        showMessageBox(mainFrame_.get(), fileNameText(path) + " is open in another game list; close that list first.");
        return std::nullopt;
    }
    return path;
}

CBPGNManager* CTandemoraApp::listOfFile(const std::string& path) const {
    for (CBPGNManager* list : managerList_) {
        std::error_code error;
        if (list->path() != "Unsaved" && std::filesystem::equivalent(list->path(), path, error)) return list;
    }
    return nullptr;
}

void CTandemoraApp::addToManagerList(CBPGNManager* list) {
    managerList_.push_back(list);
    if (settings_.autoApplyDefaultLayout) applyLayout(0);
}

void CTandemoraApp::removePtrFromManagerList(CBPGNManager* list) {
    const auto found = std::find(managerList_.begin(), managerList_.end(), list);
    if (found == managerList_.end()) {
        showMessage("Error in CTandemoraApp::removePtrFromManagerList()");
        return;
    }
    managerList_.erase(found);
}

void CTandemoraApp::openFile() {
    QFileDialog dialog(mainFrame_.get());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Other files too: the importer takes downloaded crazyhouse PGN, also compressed as archives ship it.
    dialog.setNameFilters({QStringLiteral("BPGN Files (*.bpgn *.bpgn.bz2 *.bpgn.gz)"),
                           QStringLiteral("PGN (crazyhouse) (*.pgn *.pgn.bz2 *.pgn.gz)"), QStringLiteral("All Files (*)")});
    dialog.setDefaultSuffix(QStringLiteral("bpgn"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    openFile(fileNameBytes(dialog.selectedFiles().front()));
}

bool CTandemoraApp::openFile(const std::string& path) {
    const bool opened = openAsGameList(path);
    if (opened) rememberRecentFile(path);
    return opened;
}

bool CTandemoraApp::openAsGameList(const std::string& path) {
    // A second list on the same file would overwrite the first one's changes when saved.
    if (CBPGNManager* open = listOfFile(path)) {
        open->bringToFront();
        return true;
    }
    auto* list = new CBPGNManager(*this, mainFrame_->mdiArea());
    return keepReadGames(*this, *list, list->openFile(path), GameSource{path, {}});
}

bool CTandemoraApp::openPastedText(std::string text) {
    auto* list = new CBPGNManager(*this, mainFrame_->mdiArea());
    const CBPGNManager::Reading reading = list->readGames(text);
    return keepReadGames(*this, *list, reading, GameSource{{}, std::move(text)});
}

void CTandemoraApp::save(CBoardFrame* board, CBPGNManager* list, bool saveAs) {
    if (!board && !list) {
        const ActiveChild active = activeChild();
        board = active.board;
        list = active.list;
    }
    if (board && board->game().manager) list = managerOf(board->game());
    if (list) {
        std::string path;
        if (saveAs || list->path() == "Unsaved") {
            // Save As can also hand crazyhouse games to other programs, as PGN.
            bool asPgn = false;
            const std::optional<std::string> chosen =
                askSaveFileName(list, saveAs && holdsOnlyCrazyhouse(*list) ? &asPgn : nullptr);
            if (!chosen) return;
            if (asPgn) {
                exportAsPgn(mainFrame_.get(), *list, *chosen);
                return;
            }
            path = *chosen;
        }
        list->saveGames(path);
    } else if (board) {
        saveNewGame(board->game(), true);
    } else {
        showMessage("You must select a game to be saved");
    }
}

void CTandemoraApp::saveAll() {
    // Saving a new game moves it into a list of its own, so walk a copy.
    std::vector<CGame*> newGames;
    for (const auto& game : newGameList_) newGames.push_back(game.get());
    for (CGame* game : newGames) save(static_cast<CBoardFrame*>(game->boardA.get()), nullptr, false);
    for (CBPGNManager* list : managerList_) save(nullptr, list, false);
}

void CTandemoraApp::rememberRecentFile(const std::string& path) {
    recentFiles_.add(path);
    saveRecentFiles(recentFiles_, files_.settingsFile);
}

void CTandemoraApp::openRecentFile(std::size_t index) {
    if (index >= recentFiles_.files().size()) return;
    const std::string path = recentFiles_.files()[index];
    std::error_code error;
    if (std::filesystem::exists(path, error)) {
        openFile(path);
        return;
    }
    recentFiles_.remove(path);
    saveRecentFiles(recentFiles_, files_.settingsFile);
    showMessageBox(mainFrame_.get(), fileNameText(path) + " no longer exists; it has been taken off the list of recent files.");
}

void CTandemoraApp::closeActive() {
    const ActiveChild active = activeChild();
    CBPGNManager* list = active.list;
    if (active.board && active.board->game().manager) list = managerOf(active.board->game());
    if (list) list->closeWithPrompt(true);
    else if (active.board) closeGame(active.board->game(), true);
}

}  // namespace tandemora
