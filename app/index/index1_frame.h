// An index window: the indexes it searches, with their search pages, in a window of the main
// window's area with a caption, a system menu and a minimize box, of a fixed size.
#pragma once

#include <string>

#include <QPointer>
#include <QWidget>

class QMdiArea;
class QMdiSubWindow;

namespace tandemora {

class CBoardFrame;
class CIndex1Dialog;
class CTandemoraApp;

class CIndex1Frame : public QWidget {
    Q_OBJECT
public:
    CIndex1Frame(CTandemoraApp& app, QMdiArea& area);

    // Loads the main index, which names the window; a window whose index cannot be loaded
    // closes again.
    void loadIndexFile(const std::string& path);
    // The window's caption, as the indexes word it.
    void showTitle(const std::string& title);
    // Long work on the indexes in the caption for as long as it lasts; empty restores the title.
    void showProgress(const std::string& text);
    // The board window whose position is searched: the active one, else the one that was
    // active just before this window was activated.
    CBoardFrame* searchedBoard() const;
    // Leaves the application's list of index windows and goes; any search still running is
    // dropped.
    void closeWindow();

    CIndex1Dialog& sheet() const { return *sheet_; }
    QMdiSubWindow* subWindow() const { return subWindow_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void activationChanged(QMdiSubWindow* window);

    CTandemoraApp& app_;
    CIndex1Dialog* sheet_;
    QMdiSubWindow* subWindow_ = nullptr;
    QPointer<QMdiSubWindow> active_;         // the area's active window as last reported
    QPointer<CBoardFrame> previousBoard_;    // active before this window, while this one is
    bool closing_ = false;
};

}  // namespace tandemora
