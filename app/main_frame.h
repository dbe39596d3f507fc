// The main window: the menu bar, toolbar and status bar, and the area where the board windows
// lie; it carries out every command no board window handles.
#pragma once

#include <QMainWindow>

#include <string>

#include "app/main_menus.h"
#include "app/panels/active_game.h"

class QMdiArea;

namespace tandemora {

class AnalysisPanel;
class CBoardFrame;
class GamePanels;
class CTandemoraApp;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(CTandemoraApp& app);
    ~CMainFrame() override;

    QMdiArea& mdiArea() const { return *area_; }
    // The active child window when it is a board window.
    CBoardFrame* activeBoard() const;
    QAction* command(int id) const;
    void updateOptionChecks();
    void updateCommandStates();
    void runCommand(int id);

    // The game the panels show, and the dock that holds them.
    ActiveGame& activeGame() { return activeGame_; }
    GamePanels& gamePanels() const { return *panels_; }
    AnalysisPanel& analysisPanel() const { return *analysis_; }
    // Where the docks and the toolbar lie, as hexadecimal text for the settings file; an empty
    // or unreadable text restores nothing.
    std::string dockState() const;
    void restoreDockState(const std::string& hex);

protected:
    void closeEvent(QCloseEvent* event) override;
    // Files dropped on the window open as if chosen in File > Open.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void toggleSetting(int& flag);
    void setMinimumMoveDelay();
    void chooseReplaySpeed(int id);
    void importThiefSettings();
    void arrangeIcons();
    void makeRoomForPanels();

    CTandemoraApp& app_;
    QMdiArea* area_;
    MainCommands commands_;
    ActiveGame activeGame_;
    GamePanels* panels_;
    AnalysisPanel* analysis_;
};

}  // namespace tandemora
