#include "app/window_list.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

namespace tandemora {

namespace {

void activate(QMdiArea& area, QMdiSubWindow* window) {
    if (window->isMinimized()) window->showNormal();
    area.setActiveSubWindow(window);
}

}  // namespace

QString numberedEntryText(int number, QString title) {
    title.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return number <= 9 ? QStringLiteral("&%1 %2").arg(number).arg(title) : title;
}

void attachWindowList(QMenu& menu, QMdiArea& area) {
    // Owns the entries of the last opening; deleting an action takes it out of the menu.
    auto* entries = new QObject(&menu);
    QObject::connect(&menu, &QMenu::aboutToShow, entries, [&menu, &area, entries] {
        qDeleteAll(entries->children());
        int number = 0;
        for (QMdiSubWindow* window : area.subWindowList()) {
            if (window->isHidden()) continue;  // a board not placed yet, a list closed
            if (number == 0) menu.addSeparator()->setParent(entries);
            auto* entry = new QAction(numberedEntryText(++number, window->windowTitle()), entries);
            entry->setCheckable(true);
            entry->setChecked(window == area.activeSubWindow());
            QObject::connect(entry, &QAction::triggered, &area, [&area, window = QPointer<QMdiSubWindow>(window)] {
                if (window) activate(area, window);
            });
            menu.addAction(entry);
        }
    });
}

}  // namespace tandemora
