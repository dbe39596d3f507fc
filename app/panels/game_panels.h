// The dock beside the board windows that holds the views of the active game, one tab each.
#pragma once

#include <QDockWidget>

#include "app/panels/active_game.h"
#include "app/panels/game_view.h"

class QTabWidget;

namespace tandemora {

class GamePanels : public QDockWidget {
public:
    // Docked on the right of `window` and shown, until a saved state says otherwise.
    GamePanels(ActiveGame& activeGame, QMainWindow& window);

    // Adds a view of the active game as a tab; the dock owns it from now on.
    template <typename View>
    View& addView(View* view, const QString& title) {
        addTab(*view, *view, title);
        return *view;
    }
    QTabWidget& tabs() const { return *tabs_; }

private:
    void addTab(QWidget& widget, GameView& view, const QString& title);

    ActiveGame& activeGame_;
    QTabWidget* tabs_;
};

}  // namespace tandemora
