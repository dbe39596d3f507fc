#include "app/panels/game_panels.h"

#include <QMainWindow>
#include <QTabWidget>

namespace tandemora {

GamePanels::GamePanels(ActiveGame& activeGame, QMainWindow& window)
    : QDockWidget(QStringLiteral("Game Panels"), &window), activeGame_(activeGame), tabs_(new QTabWidget(this)) {
    setObjectName(QStringLiteral("gamePanels"));  // how the saved window state knows it
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    tabs_->setDocumentMode(true);
    tabs_->setTabBarAutoHide(true);  // one view needs no tab
    setWidget(tabs_);
    window.addDockWidget(Qt::RightDockWidgetArea, this);
}

void GamePanels::addTab(QWidget& widget, GameView& view, const QString& title) {
    tabs_->addTab(&widget, title);
    activeGame_.addView(view, widget);
}

}  // namespace tandemora
