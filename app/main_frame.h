// The main window: the menu bar, toolbar and status bar, and the area where the board windows
// lie; it carries out every command no board window handles.
#pragma once

#include <QMainWindow>

#include "app/main_menus.h"

class QMdiArea;

namespace tandemora {

class CBoardFrame;
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

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void toggleSetting(int& flag);
    void setMinimumMoveDelay();
    void chooseReplaySpeed(int id);
    void importThiefSettings();
    void arrangeIcons();

    CTandemoraApp& app_;
    QMdiArea* area_;
    MainCommands commands_;
};

}  // namespace tandemora
