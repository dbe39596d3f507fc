// The main window's commands: its menu bar, its toolbar and its status bar.
#pragma once

#include <functional>
#include <map>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

namespace tandemora {

struct MainCommands {
    std::map<int, QAction*> actions;  // every command of the menu bar by its id (also QAction::data)
    QToolBar* toolbar = nullptr;
    QAction* contextHelp = nullptr;  // Shift+F1 and the last toolbar button
    QMenu* windowMenu = nullptr;     // "&Window", which ends with the list of open windows
    QMenu* fileMenu = nullptr;       // "&File", whose recent files lie just above Exit
};

// Builds the menu bar, the toolbar (docked at the top) and the status bar of the window. Every
// command calls onCommand with its id, except "&Toolbar" and "&Status Bar", which show and hide
// the two bars themselves and stay checked while they are shown. The replay speeds are one
// exclusive group. Enabled and checked states of the other commands are the caller's to keep.
MainCommands buildMainMenus(QMainWindow& window, std::function<void(int id)> onCommand);

}  // namespace tandemora
