#include "app/main_frame.h"

#include <algorithm>

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QFileDialog>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>

#include "app/analysis/analysis_panel.h"
#include "app/analysis/engine_options_dialog.h"
#include "app/databases/database_dialog.h"
#include "app/databases/index_creation_dialog.h"
#include "app/diagram/diagram_export.h"
#include "app/dialogs/about_dialog.h"
#include "app/dialogs/game_parameters_dialog.h"
#include "app/dialogs/help_window.h"
#include "app/dialogs/numeric_value_dialog.h"
#include "app/edit/clipboard_commands.h"
#include "app/file_names.h"
#include "app/game_list/bpgn_manager.h"
#include "app/index/database_games.h"
#include "app/panels/clock_lead_view.h"
#include "app/panels/game_panels.h"
#include "app/panels/moves_panel.h"
#include "app/recent_files_menu.h"
#include "app/sounds/event_sound_dialog.h"
#include "app/tandemora_app.h"
#include "app/window_list.h"
#include "app/window_placement.h"
#include "board/board_frame.h"
#include "resources/command_texts.h"

namespace tandemora {

namespace {

// A minute between two moves is already no replay any more.
constexpr int kLongestMoveDelayMs = 60000;
// Of the state QMainWindow saves: another number makes an older saved state be ignored.
constexpr int kDockStateVersion = 1;

// The game the active window shows: a board's, or a list's selected game while it has boards.
std::optional<CGame*> gameOfActiveWindow(const CTandemoraApp& app) {
    const CTandemoraApp::ActiveChild active = app.activeChild();
    if (active.board) return &active.board->game();
    if (!active.list) return std::nullopt;
    CGame* selected = active.list->selectedGame();
    return selected && selected->boardA ? selected : nullptr;
}

// The shown game the commands on a whole game work on; null when there is none.
CGame* shownActiveGame(const CTandemoraApp& app) { return gameOfActiveWindow(app).value_or(nullptr); }

constexpr std::pair<int, int> kReplaySpeedCommands[] = {
    {kReplaySpeed1, 1}, {kReplaySpeed2, 2}, {kReplaySpeed4, 4}, {kReplaySpeed8, 8}};

// The setting behind each of the View menu's options for readable boards.
int Settings::*readableBoardOption(int id) {
    switch (id) {
    case kMarkLastMove: return &Settings::markLastMove;
    case kShowCoordinates: return &Settings::showCoordinates;
    default: return &Settings::largeReserveCounts;
    }
}

}  // namespace

CMainFrame::CMainFrame(CTandemoraApp& app)
    : app_(app), area_(new QMdiArea(this)), activeGame_([&app] { return gameOfActiveWindow(app); }) {
    setWindowTitle(QStringLiteral("Tandemora"));
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(area_);
    setAcceptDrops(true);
    trackNormalGeometries(area_);
    commands_ = buildMainMenus(*this, [this](int id) { runCommand(id); });
    for (QMenu* menu : menuBar()->findChildren<QMenu*>())
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);
    connect(area_, &QMdiArea::subWindowActivated, this, &CMainFrame::updateCommandStates);
    attachWindowList(*commands_.windowMenu, *area_);
    attachRecentFiles(
        *commands_.fileMenu, *command(kExit), [&app]() -> const auto& { return app.recentFiles().files(); },
        [&app](std::size_t index) { app.openRecentFile(index); });
    panels_ = new GamePanels(activeGame_, *this);
    panels_->addView(new MovesPanel, 3);
    panels_->addView(new ClockLeadView, 1);
    connect(area_, &QMdiArea::subWindowActivated, &activeGame_, &ActiveGame::activeWindowChanged);
    QAction* panelsToggle = command(kToggleGamePanels);
    panelsToggle->setChecked(true);
    connect(panels_->toggleViewAction(), &QAction::toggled, panelsToggle, &QAction::setChecked);
    analysis_ = new AnalysisPanel(app.settings(), *this);
    activeGame_.addView(*analysis_, *analysis_);
    connect(area_, &QMdiArea::subWindowActivated, analysis_, [this] {
        // With a game list active, the board last active stays the one analysed.
        if (CBoardFrame* board = activeBoard()) analysis_->boardActivated(board);
    });
    connect(analysis_->toggleViewAction(), &QAction::toggled, command(kToggleAnalysisPanel), &QAction::setChecked);
    resize(1024, 768);
    updateCommandStates();
}

CMainFrame::~CMainFrame() {
    // The area's windows close with it and report it as they go, to a frame no longer there
    // and to panels that ask it for the active board.
    area_->disconnect();
}

QAction* CMainFrame::command(int id) const {
    const auto found = commands_.actions.find(id);
    return found == commands_.actions.end() ? nullptr : found->second;
}

CBoardFrame* CMainFrame::activeBoard() const { return app_.activeChild().board; }

void CMainFrame::updateCommandStates() {
    const CTandemoraApp::ActiveChild active = app_.activeChild();
    CBoardFrame* board = active.board;
    const bool listOrBoard = board || active.list;
    const std::pair<int, bool> states[] = {
        {kCloseGame, listOrBoard},
        {kCloseAll, listOrBoard},
        {kSave, listOrBoard},
        {kSaveAs, listOrBoard},
        {kSaveAll, listOrBoard},
        {kModifyParameters, board != nullptr},
        {kDeleteLastMove, board && board->game().current && board->game().current->parent},
        {kAnalysisMode, board != nullptr},
        {kRetrieveNearbyGames, databaseGameOfActive(app_) != nullptr}};
    for (const auto& [id, enabled] : states)
        if (QAction* action = command(id)) action->setEnabled(enabled);
    // Copying and pictures need a shown game; pasting makes a new list and always works.
    const bool gameShown = shownActiveGame(app_) != nullptr;
    for (int id : {kCopyPosition, kCopyGame, kExportDiagram})
        if (QAction* action = command(id)) action->setEnabled(gameShown);
}

void CMainFrame::updateOptionChecks() {
    const Settings& s = app_.settings();
    const std::pair<int, int> checks[] = {{kHighResolutionClocks, s.highPrecisionClocks},
                                          {kSaveSettingsOnExit, s.saveSettingsOnExit},
                                          {kEnableEventSounds, s.eventSoundsEnabled},
                                          {kAutoClosePreviousGame, s.autoClosePreviousGame},
                                          {kAutoApplyDefaultLayout, s.autoApplyDefaultLayout},
                                          {kSkipLongThinks, s.skipLongThinks},
                                          {kMarkLastMove, s.markLastMove},
                                          {kShowCoordinates, s.showCoordinates},
                                          {kLargeReserveCounts, s.largeReserveCounts}};
    for (const auto& [id, flag] : checks)
        if (QAction* action = command(id)) action->setChecked(flag != 0);
    for (const auto& [id, speed] : kReplaySpeedCommands)
        if (QAction* action = command(id)) action->setChecked(s.replaySpeed == speed);
}

std::string CMainFrame::dockState() const { return saveState(kDockStateVersion).toHex().toStdString(); }

void CMainFrame::restoreDockState(const std::string& hex) {
    if (!hex.empty()) restoreState(QByteArray::fromHex(QByteArray::fromStdString(hex)), kDockStateVersion);
    makeRoomForPanels();
}

// The board layouts were made for the area at its first size: panels docked beside it widen
// the window instead of narrowing the area, as far as the screen allows.
void CMainFrame::makeRoomForPanels() {
    const Qt::DockWidgetArea side = dockWidgetArea(panels_);
    if (panels_->isHidden() || panels_->isFloating() || (side != Qt::LeftDockWidgetArea && side != Qt::RightDockWidgetArea))
        return;
    layout()->activate();
    int wider = width() + panels_->width();
    if (const QScreen* shownOn = screen()) wider = std::min(wider, shownOn->availableGeometry().width());
    resize(wider, height());
}

void CMainFrame::toggleSetting(int& flag) {
    flag = !flag;
    updateOptionChecks();
}

void CMainFrame::runCommand(int id) {
    Settings& settings = app_.mutableSettings();
    CBoardFrame* board = activeBoard();
    switch (id) {
    case kNewCrazyhouseGame: app_.newGame(false); break;
    case kNewBughouseGame: app_.newGame(true); break;
    case kOpenFile: app_.openFile(); break;
    case kCloseGame: app_.closeActive(); break;
    case kCloseAll: app_.closeAll(); break;
    case kSave: app_.save(nullptr, nullptr, false); break;
    case kSaveAs: app_.save(nullptr, nullptr, true); break;
    case kSaveAll: app_.saveAll(); break;
    case kExit: close(); break;
    case kModifyParameters:
        if (board) editGameParameters(board->game(), this);
        break;
    case kDeleteLastMove:
        if (board) board->game().deleteCurrentMove();
        break;
    case kAnalysisMode:
        if (board) board->rules().enterAnalysis();
        break;
    case kLoadIndex: app_.loadIndex(); break;
    case kRetrieveNearbyGames: openNearbyGames(app_); break;
    case kCreateDatabase: CDatabaseDialog(this).exec(); break;
    case kCreateIndex: CIndexCreationDialog(this).exec(); break;
    case kEventSounds: configureEventSounds(this, settings, app_.eventSounds()); break;
    case kEnableEventSounds: toggleSetting(settings.eventSoundsEnabled); break;
    case kHighResolutionClocks:
        toggleSetting(settings.highPrecisionClocks);
        app_.repaintBoards();
        break;
    case kMinimumMoveDelay: setMinimumMoveDelay(); break;
    case kAutoClosePreviousGame: toggleSetting(settings.autoClosePreviousGame); break;
    case kImportThiefSettings: importThiefSettings(); break;
    case kSaveSettingsNow: app_.saveSettings(); break;
    case kSaveSettingsOnExit: toggleSetting(settings.saveSettingsOnExit); break;
    case kRestoreDefaultLayout: app_.applyLayout(0); break;
    case kRestoreLayout1: app_.applyLayout(1); break;
    case kRestoreLayout2: app_.applyLayout(2); break;
    case kRestoreLayout3: app_.applyLayout(3); break;
    case kSaveDefaultLayout: app_.saveLayout(0); break;
    case kSaveLayout1: app_.saveLayout(1); break;
    case kSaveLayout2: app_.saveLayout(2); break;
    case kSaveLayout3: app_.saveLayout(3); break;
    case kAutoApplyDefaultLayout: toggleSetting(settings.autoApplyDefaultLayout); break;
    case kReplaySpeed1:
    case kReplaySpeed2:
    case kReplaySpeed4:
    case kReplaySpeed8: chooseReplaySpeed(id); break;
    case kSkipLongThinks: toggleSetting(settings.skipLongThinks); break;
    case kMarkLastMove:
    case kShowCoordinates:
    case kLargeReserveCounts:
        toggleSetting(settings.*readableBoardOption(id));
        app_.repaintBoards();
        break;
    case kCascadeWindows: area_->cascadeSubWindows(); break;
    case kTileWindows: area_->tileSubWindows(); break;
    case kArrangeIcons: arrangeIcons(); break;
    case kAbout: showAbout(this); break;
    case kHelpTopics: showHelpTopics(this); break;
    case kToggleGamePanels: panels_->setVisible(command(kToggleGamePanels)->isChecked()); break;
    case kToggleAnalysisPanel: analysis_->setVisible(command(kToggleAnalysisPanel)->isChecked()); break;
    case kEngineOptions:
        if (editEngineOptions(this, settings)) analysis_->optionsChanged();
        break;
    case kCopyPosition:
        if (const CGame* game = shownActiveGame(app_)) copyPosition(*game);
        break;
    case kCopyGame:
        if (CGame* game = shownActiveGame(app_)) copyGame(*game);
        break;
    case kPasteGame: pasteGame(app_); break;
    case kExportDiagram:
        if (const CGame* game = shownActiveGame(app_)) exportDiagram(this, *game);
        break;
    default: break;
    }
    updateCommandStates();
}

void CMainFrame::setMinimumMoveDelay() {
    Settings& settings = app_.mutableSettings();
    if (const auto value = enterNumericValue(this, QStringLiteral("Minimum delay between moves during replay (ms):"),
                                             settings.minimumMoveDelayMs, 0, kLongestMoveDelayMs))
        settings.minimumMoveDelayMs = *value;
}

void CMainFrame::chooseReplaySpeed(int id) {
    for (const auto& [command, speed] : kReplaySpeedCommands)
        if (command == id) app_.mutableSettings().replaySpeed = speed;
    updateOptionChecks();
}

void CMainFrame::importThiefSettings() {
    QFileDialog dialog(this);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("INI Files (*.ini)"));
    dialog.setDefaultSuffix(QStringLiteral("ini"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const std::filesystem::path path = fileNameBytes(dialog.selectedFiles().front());
    if (!isThiefIni(path)) {
        app_.showMessage("Specify location of THIEF.INI");
        return;
    }
    app_.importSettings(path);
}

void CMainFrame::arrangeIcons() {
    // Minimised windows line up along the bottom of the area, left to right.
    int x = 0;
    for (QMdiSubWindow* window : area_->subWindowList()) {
        if (!window->isMinimized()) continue;
        window->move(x, area_->viewport()->height() - window->height());
        x += window->width();
    }
}

namespace {

// The local files a drag carries; none when it carries anything else as well.
std::vector<std::string> droppedFiles(const QMimeData* data) {
    std::vector<std::string> files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) return {};
        files.push_back(fileNameBytes(url.toLocalFile()));
    }
    return files;
}

}  // namespace

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFiles(event->mimeData()).empty()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const std::vector<std::string> files = droppedFiles(event->mimeData());
    if (files.empty()) return;
    event->acceptProposedAction();
    // Opening may ask about importing: not while the dragging program waits for the drop's end.
    QTimer::singleShot(0, this, [this, files] {
        for (const std::string& file : files) app_.openFile(file);
    });
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // A database build running behind its dialog is stopped, and waited for, first.
    if (BuildRunner::stopAllForClosing(this) && app_.closeAll()) event->accept();
    else event->ignore();
}

}  // namespace tandemora
