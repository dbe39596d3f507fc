#include "app/window_placement.h"

#include <algorithm>
#include <cstdint>

#include <QChildEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace tandemora {
namespace {

const char kTrackerName[] = "normalGeometryTracker";

bool inNormalState(const QWidget* window) {
    return !(window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
}

// Remembers the rectangle a sub-window last had while it was neither minimized nor maximized;
// the sub-window itself keeps that only privately.
class NormalGeometryTracker : public QObject {
public:
    explicit NormalGeometryTracker(QMdiSubWindow* window) : QObject(window), normal_(window->geometry()) {
        setObjectName(kTrackerName);
        window->installEventFilter(this);
    }

    QRect normalGeometry() const { return normal_; }

    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto* window = static_cast<const QWidget*>(watched);
        if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) && inNormalState(window))
            normal_ = window->geometry();
        return false;
    }

private:
    QRect normal_;
};

NormalGeometryTracker* trackerOf(const QWidget* window) {
    return dynamic_cast<NormalGeometryTracker*>(window->findChild<QObject*>(kTrackerName, Qt::FindDirectChildrenOnly));
}

void ensureTracked(QMdiSubWindow* window) {
    if (!trackerOf(window)) new NormalGeometryTracker(window);
}

// Starts tracking each sub-window that joins an MDI area's viewport. A sub-window made with the
// viewport as parent is not yet one when it is added, so it is caught when it is polished.
class SubWindowWatcher : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildPolished)
            if (auto* window = qobject_cast<QMdiSubWindow*>(static_cast<QChildEvent*>(event)->child()))
                ensureTracked(window);
        return false;
    }
};

// How far the window manager's frame reaches beyond the window's client rectangle.
QMargins frameMargins(const QWidget* window) {
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

// The normal rectangle of the main window with its frame, or of a child in its parent.
QRect normalRect(const QWidget* window) {
    if (window->isWindow()) {
        const QRect normal = window->normalGeometry();
        return (normal.isNull() ? window->geometry() : normal).marginsAdded(frameMargins(window));
    }
    if (!inNormalState(window))
        if (const NormalGeometryTracker* tracker = trackerOf(window)) return tracker->normalGeometry();
    return window->geometry();
}

// Without a screen or an area: anywhere a window can lie.
constexpr QRect kAnywhere(-(1 << 29), -(1 << 29), 1 << 30, 1 << 30);

// Where the window must stay reachable: the screen's free area for the main window, the
// area's viewport for a child.
QRect reachableBounds(const QWidget* window, const WindowPlacement& placement) {
    if (!window->isWindow()) return window->parentWidget() ? window->parentWidget()->rect() : kAnywhere;
    const QScreen* screen = QGuiApplication::screenAt(QPoint(placement.left, placement.top));
    if (!screen) screen = window->screen();
    return screen ? screen->availableGeometry() : kAnywhere;
}

// The placement's normal rectangle, shrunk to the bounds and moved so that the window's
// caption lies inside them: whatever a layout file holds, the window can be reached.
QRect reachableRect(const QWidget* window, const WindowPlacement& placement) {
    const QRect bounds = reachableBounds(window, placement);
    const int caption = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    // At least the caption with room for its buttons.
    const QSize least = window->minimumSizeHint().expandedTo(QSize(4 * caption, caption));
    const auto side = [](std::int64_t wanted, int low, int high) {
        return static_cast<int>(std::clamp<std::int64_t>(wanted, low, std::max(low, high)));
    };
    const int width = side(std::int64_t{placement.right} - placement.left, least.width(), bounds.width());
    const int height = side(std::int64_t{placement.bottom} - placement.top, least.height(), bounds.height());
    const int left = std::clamp(placement.left, bounds.left(), std::max(bounds.left(), bounds.right() + 1 - width));
    const int top = std::clamp(placement.top, bounds.top(), std::max(bounds.top(), bounds.bottom() + 1 - caption));
    return {left, top, width, height};
}

}  // namespace

WindowPlacement placementOf(const QWidget* window) {
    const std::uint32_t showCmd = window->isMinimized()   ? kShowMinimized
                                  : window->isMaximized() ? kShowMaximized
                                                          : kShowNormal;
    const QRect rect = normalRect(window);
    return WindowPlacement::of(showCmd, rect.left(), rect.top(), rect.left() + rect.width(),
                               rect.top() + rect.height());
}

void applyPlacement(QWidget* window, const WindowPlacement& placement) {
    if (!placement.present()) return;
    if (auto* subWindow = qobject_cast<QMdiSubWindow*>(window)) ensureTracked(subWindow);

    // The normal rectangle is set in the normal state; the show state follows.
    if (!inNormalState(window)) window->showNormal();
    QRect rect = reachableRect(window, placement);
    if (window->isWindow()) rect = rect.marginsRemoved(frameMargins(window));
    window->setGeometry(rect);

    switch (placement.showCmd) {
    case kShowMinimized: window->showMinimized(); break;
    case kShowMaximized: window->showMaximized(); break;
    default: window->showNormal(); break;  // also for show states that would hide the window
    }
}

void trackNormalGeometries(QMdiArea* area) {
    area->viewport()->installEventFilter(new SubWindowWatcher(area));
    for (QMdiSubWindow* window : area->subWindowList()) ensureTracked(window);
}

}  // namespace tandemora
