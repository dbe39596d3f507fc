#include "app/panels/game_panels.h"

#include <QMainWindow>
#include <QSplitter>

namespace tandemora {

GamePanels::GamePanels(ActiveGame& activeGame, QMainWindow& window)
    : QDockWidget(QStringLiteral("Game Panels"), &window), activeGame_(activeGame), panes_(new QSplitter(Qt::Vertical, this)) {
    setObjectName(QStringLiteral("gamePanels"));  // how the saved window state knows it
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    panes_->setChildrenCollapsible(false);
    setWidget(panes_);
    window.addDockWidget(Qt::RightDockWidgetArea, this);
}

void GamePanels::addPane(QWidget& widget, GameView& view, int stretch) {
    panes_->addWidget(&widget);
    panes_->setStretchFactor(panes_->count() - 1, stretch);
    activeGame_.addView(view, widget);
}

}  // namespace tandemora
