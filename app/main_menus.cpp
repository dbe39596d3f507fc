#include "app/main_menus.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QWhatsThis>

#include <string>

#include "resources/command_texts.h"
#include "resources/toolbar_icons.h"

namespace tandemora {
namespace {

// One line of the menu bar. The text after a tab is what the menu shows as the key; the key
// that works is the shortcut, absent where the menu only names one (Ctrl+C belongs to the
// board windows' own Close).
struct MenuItem {
    const char* menu;  // top-level menu, or "menu/submenu"
    int id;            // 0 for a separator
    const char* text = nullptr;
    const char* shortcut = nullptr;
    bool checkable = false;
};

constexpr bool kToggle = true;

const MenuItem kMenuBar[] = {
    {"&File", kNewCrazyhouseGame, "New &ZH Game\tCtrl+Z", "Ctrl+Z"},
    {"&File", kNewBughouseGame, "New &Bug Game\tCtrl+B", "Ctrl+B"},
    {"&File", 0},
    {"&File", kOpenFile, "&Open\tCtrl+O", "Ctrl+O"},
    {"&File", kCloseGame, "&Close\tCtrl+C"},
    {"&File", kCloseAll, "Close All"},
    {"&File", 0},
    {"&File", kSave, "&Save\tCtrl+S", "Ctrl+S"},
    {"&File", kSaveAs, "Save &As\tCtrl+A", "Ctrl+A"},
    {"&File", kSaveAll, "Save A&ll"},
    {"&File", kExportDiagram, "Export &Diagram..."},
    {"&File", 0},
    {"&File", kExit, "E&xit"},

    {"&Edit", kCopyPosition, "Copy &Position\tCtrl+Shift+C", "Ctrl+Shift+C"},
    {"&Edit", kCopyGame, "Copy &Game\tCtrl+Shift+G", "Ctrl+Shift+G"},
    {"&Edit", kPasteGame, "&Paste Game\tCtrl+V", "Ctrl+V"},

    {"&View", kToggleToolbar, "&Toolbar", nullptr, kToggle},
    {"&View", kToggleStatusBar, "&Status Bar", nullptr, kToggle},
    {"&View", kToggleGamePanels, "Game &Panels", nullptr, kToggle},
    {"&View", kToggleAnalysisPanel, "&Analysis Panel", nullptr, kToggle},
    {"&View", 0},
    {"&View", kMarkLastMove, "Mark &Last Move", nullptr, kToggle},
    {"&View", kShowCoordinates, "Show &Coordinates", nullptr, kToggle},
    {"&View", kLargeReserveCounts, "Large &Reserve Counts", nullptr, kToggle},

    {"&Game", kModifyParameters, "Modify &Parameters"},
    {"&Game", kDeleteLastMove, "&Delete Last Move"},
    {"&Game", kAnalysisMode, "Analysis Mode"},

    {"&Databases", kCreateDatabase, "Create/Update &Database"},
    {"&Databases", kCreateIndex, "Create &Index"},
    {"&Databases", kLoadIndex, "&Load Index"},
    {"&Databases", kRetrieveNearbyGames, "&Retreive Nearby Games"},

    {"&Options/Sounds", kEventSounds, "&Event Sounds"},
    {"&Options/Sounds", kEnableEventSounds, "Enable Event Sounds", nullptr, kToggle},
    {"&Options/Clocks/Timings", kHighResolutionClocks, "High Resolution Clocks", nullptr, kToggle},
    {"&Options/Clocks/Timings", kMinimumMoveDelay, "Minimum Move Delay"},
    {"&Options/Replay", kReplaySpeed1, "\xd7&1 (Recorded Pace)", nullptr, kToggle},
    {"&Options/Replay", kReplaySpeed2, "\xd7&2", nullptr, kToggle},
    {"&Options/Replay", kReplaySpeed4, "\xd7&4", nullptr, kToggle},
    {"&Options/Replay", kReplaySpeed8, "\xd7&8", nullptr, kToggle},
    {"&Options/Replay", 0},
    {"&Options/Replay", kSkipLongThinks, "&Skip Long Thinks", nullptr, kToggle},
    {"&Options/Games", kAutoClosePreviousGame, "Auto-Close Previous Game", nullptr, kToggle},
    {"&Options", 0},
    {"&Options", kEngineOptions, "E&ngine..."},
    {"&Options", 0},
    {"&Options", kImportThiefSettings, "Import Thief Settings"},
    {"&Options", kSaveSettingsNow, "Save Settings Now"},
    {"&Options", kSaveSettingsOnExit, "Save Settings on Exit", nullptr, kToggle},

    {"&Window/Restore Window Layout", kRestoreDefaultLayout, "Restore Default Layout\tCtrl-0", "Ctrl+0"},
    {"&Window/Restore Window Layout", kRestoreLayout1, "Restore Layout 1\tCtrl-1", "Ctrl+1"},
    {"&Window/Restore Window Layout", kRestoreLayout2, "Restore Layout 2\tCtrl-2", "Ctrl+2"},
    {"&Window/Restore Window Layout", kRestoreLayout3, "Restore Layout 3\tCtrl-3", "Ctrl+3"},
    {"&Window/Save Window Layout", kSaveDefaultLayout, "Save as Default Layout"},
    {"&Window/Save Window Layout", kSaveLayout1, "Save as Layout 1"},
    {"&Window/Save Window Layout", kSaveLayout2, "Save as Layout 2"},
    {"&Window/Save Window Layout", kSaveLayout3, "Save as Layout 3"},
    {"&Window", kAutoApplyDefaultLayout, "&Auto-Apply Default Layout", nullptr, kToggle},
    {"&Window", 0},
    {"&Window", kCascadeWindows, "&Cascade"},
    {"&Window", kTileWindows, "&Tile"},
    {"&Window", kArrangeIcons, "&Arrange Icons"},

    {"&Help", kHelpTopics, "&Help Topics\tF1", "F1"},
    {"&Help", 0},
    {"&Help", kAbout, "&About Tandemora..."},
};

// The toolbar's buttons, left to right; 0 for a gap. Context help follows.
constexpr int kToolbarButtons[] = {kNewCrazyhouseGame, kNewBughouseGame, 0, kOpenFile, kSave, kSaveAll, 0, kAbout};

// The menu of a path, made on first use, so menus appear in the order of the table. The top
// level is the text before the first '/'; a submenu's title may itself hold a '/'.
QMenu* menuAt(QMenuBar* bar, std::map<std::string, QMenu*>& menus, const std::string& path) {
    if (QMenu* existing = menus[path]) return existing;
    const auto slash = path.find('/');
    QMenu* made = slash == std::string::npos
                      ? bar->addMenu(QString::fromLatin1(path))
                      : menuAt(bar, menus, path.substr(0, slash))->addMenu(QString::fromLatin1(path.substr(slash + 1)));
    menus[path] = made;
    return made;
}

QAction* makeAction(QMainWindow& window, const MenuItem& item) {
    const CommandText& texts = commandText(item.id);
    auto* action = new QAction(QString::fromLatin1(item.text), &window);
    action->setData(item.id);
    action->setStatusTip(QString::fromLatin1(texts.prompt));
    action->setToolTip(QString::fromLatin1(texts.tooltip));
    action->setCheckable(item.checkable);
    if (item.shortcut) action->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut), QKeySequence::PortableText));
    return action;
}

// The message pane and the greyed lock-key indicators.
void buildStatusBar(QMainWindow& window) {
    QStatusBar* bar = window.statusBar();
    for (const char* indicator : {"CAP", "NUM", "SCRL"}) {
        auto* label = new QLabel(QString::fromLatin1(indicator), bar);
        label->setEnabled(false);
        bar->addPermanentWidget(label);
    }
}

QToolBar* buildToolbar(QMainWindow& window, MainCommands& commands) {
    auto* toolbar = new QToolBar(QStringLiteral("Toolbar"), &window);
    toolbar->setObjectName(QStringLiteral("mainToolbar"));
    toolbar->setIconSize(kMainButtonSize);
    toolbar->setMovable(true);
    toolbar->setFloatable(true);
    window.addToolBar(Qt::TopToolBarArea, toolbar);
    for (int id : kToolbarButtons) {
        if (id == 0) {
            toolbar->addSeparator();
            continue;
        }
        QAction* action = commands.actions.at(id);
        action->setIcon(toolbarIcon(id));
        action->setIconVisibleInMenu(false);
        toolbar->addAction(action);
    }
    commands.contextHelp = QWhatsThis::createAction(&window);
    commands.contextHelp->setIcon(toolbarIcon(kContextHelpPicture));
    toolbar->addAction(commands.contextHelp);
    window.addAction(commands.contextHelp);  // Shift+F1 also with the toolbar hidden
    return toolbar;
}

// "&Toolbar" and "&Status Bar" show and hide their bars and follow them when hidden otherwise.
void connectBarToggles(QMainWindow& window, const MainCommands& commands) {
    QAction* toolbarToggle = commands.actions.at(kToggleToolbar);
    toolbarToggle->setChecked(true);
    QObject::connect(toolbarToggle, &QAction::triggered, commands.toolbar, &QToolBar::setVisible);
    QObject::connect(commands.toolbar, &QToolBar::visibilityChanged, toolbarToggle, &QAction::setChecked);

    QAction* statusBarToggle = commands.actions.at(kToggleStatusBar);
    statusBarToggle->setChecked(true);
    QObject::connect(statusBarToggle, &QAction::triggered, window.statusBar(), &QStatusBar::setVisible);
}

}  // namespace

MainCommands buildMainMenus(QMainWindow& window, std::function<void(int id)> onCommand) {
    MainCommands commands;
    std::map<std::string, QMenu*> menus;
    for (const MenuItem& item : kMenuBar) {
        QMenu* menu = menuAt(window.menuBar(), menus, item.menu);
        if (item.id == 0) {
            menu->addSeparator();
            continue;
        }
        QAction* action = makeAction(window, item);
        menu->addAction(action);
        commands.actions[item.id] = action;
        if (item.id != kToggleToolbar && item.id != kToggleStatusBar)
            QObject::connect(action, &QAction::triggered, action, [onCommand, id = item.id] { onCommand(id); });
    }
    // One replay speed is chosen at a time.
    auto* speeds = new QActionGroup(&window);
    for (int id : {kReplaySpeed1, kReplaySpeed2, kReplaySpeed4, kReplaySpeed8})
        speeds->addAction(commands.actions.at(id));
    commands.windowMenu = menus.at("&Window");
    commands.fileMenu = menus.at("&File");
    buildStatusBar(window);
    commands.toolbar = buildToolbar(window, commands);
    connectBarToggles(window, commands);
    return commands;
}

}  // namespace tandemora
