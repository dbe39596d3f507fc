#include "app/index/index1_frame.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <QVBoxLayout>

#include "app/file_names.h"
#include "app/index/index1_dialog.h"
#include "app/tandemora_app.h"
#include "board/board_frame.h"

namespace tandemora {

CIndex1Frame::CIndex1Frame(CTandemoraApp& app, QMdiArea& area)
    : app_(app), sheet_(new CIndex1Dialog(app, *this)), active_(area.currentSubWindow()) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(sheet_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(&area, &QMdiArea::subWindowActivated, this, &CIndex1Frame::activationChanged);

    subWindow_ = area.addSubWindow(this, Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                             Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    subWindow_->installEventFilter(this);
    subWindow_->show();
    subWindow_->adjustSize();
    subWindow_->setFixedSize(subWindow_->size());  // no sizing border; minimized, it still shrinks
    sheet_->setFocus();
}

void CIndex1Frame::loadIndexFile(const std::string& path) {
    sheet_->loadIndexFile(path, [this](bool loaded, const std::string& title) {
        if (!loaded) return closeWindow();
        showTitle(title);
    });
}

void CIndex1Frame::showTitle(const std::string& title) {
    setWindowTitle(QString::fromLatin1(title));
    subWindow_->setWindowTitle(windowTitle());
}

void CIndex1Frame::showProgress(const std::string& text) {
    // The text names an index file, spelt as the file system does.
    subWindow_->setWindowTitle(text.empty() ? windowTitle() : fileNameText(text));
}

CBoardFrame* CIndex1Frame::searchedBoard() const {
    if (CBoardFrame* active = app_.activeChild().board) return active;
    return previousBoard_;
}

void CIndex1Frame::activationChanged(QMdiSubWindow* window) {
    if (!window) return;  // the program went to the background: the area keeps its window
    if (window == subWindow_ && active_ != subWindow_)
        previousBoard_ = active_ ? qobject_cast<CBoardFrame*>(active_->widget()) : nullptr;
    else if (window != subWindow_)
        previousBoard_ = nullptr;
    active_ = window;
    // A board window brought to the front, as a game opened from a list is, shows the position
    // to search from now on.
    if (qobject_cast<CBoardFrame*>(window->widget())) sheet_->autoSearch();
}

void CIndex1Frame::closeWindow() {
    if (closing_) return;
    closing_ = true;
    app_.removePtrFromIndexList(this);
    subWindow_->removeEventFilter(this);
    subWindow_->hide();
    subWindow_->deleteLater();
}

bool CIndex1Frame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == subWindow_ && event->type() == QEvent::Close) {
        // The window goes later, once the close event is over.
        event->ignore();
        QTimer::singleShot(0, this, &CIndex1Frame::closeWindow);
        return true;
    }
    // The window keeps its size, also when the area maximizes its windows.
    if (watched == subWindow_ && event->type() == QEvent::WindowStateChange && subWindow_->isMaximized())
        QTimer::singleShot(0, subWindow_, &QMdiSubWindow::showNormal);
    return QWidget::eventFilter(watched, event);
}

}  // namespace tandemora
