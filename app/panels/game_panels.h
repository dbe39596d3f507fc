// The dock beside the board windows that holds the views of the active game, one above the
// other, so the moves and the clock lead are seen together.
#pragma once

#include <QDockWidget>

#include "app/panels/active_game.h"
#include "app/panels/game_view.h"

class QSplitter;

namespace tandemora {

class GamePanels : public QDockWidget {
public:
    // Docked on the right of `window` and shown, until a saved state says otherwise.
    GamePanels(ActiveGame& activeGame, QMainWindow& window);

    // Adds a view of the active game below the others, taking `stretch` shares of the height;
    // the dock owns it from now on.
    template <typename View>
    View& addView(View* view, int stretch) {
        addPane(*view, *view, stretch);
        return *view;
    }

private:
    void addPane(QWidget& widget, GameView& view, int stretch);

    ActiveGame& activeGame_;
    QSplitter* panes_;
};

}  // namespace tandemora
