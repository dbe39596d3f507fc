#include "app/panels/active_game.h"

#include <algorithm>
#include <utility>

#include <QTimer>

#include "app/panels/game_view.h"
#include "game/game.h"

namespace tandemora {

ActiveGame::ActiveGame(Finder find, QObject* parent) : QObject(parent), find_(std::move(find)) {}

void ActiveGame::addView(GameView& view, QObject& lifetime) {
    views_.push_back(&view);
    connect(&lifetime, &QObject::destroyed, this,
            [this, gone = &view] { views_.erase(std::remove(views_.begin(), views_.end(), gone), views_.end()); });
    view.showGame(game_);
}

void ActiveGame::activeWindowChanged() {
    if (std::exchange(updatePending_, true)) return;
    QTimer::singleShot(0, this, [this] {
        updatePending_ = false;
        update();
    });
}

void ActiveGame::update() {
    if (const std::optional<CGame*> found = find_()) setGame(*found);
}

void ActiveGame::positionShown(CGame& game) {
    if (&game != game_) update();
    if (&game != game_) return;  // a game in a window behind, replaying
    for (GameView* view : views_) view->positionChanged();
}

void ActiveGame::setGame(CGame* game) {
    // A game is held only while its board window can say that it closes: the boards close
    // before the tree goes, and a view must not read a tree that is gone.
    auto* board = game ? dynamic_cast<QObject*>(game->boardA.get()) : nullptr;
    if (!board) game = nullptr;
    if (game == game_) return;
    disconnect(closingWatch_);
    game_ = game;
    if (board)
        closingWatch_ = connect(board, &QObject::destroyed, this, [this] {
            setGame(nullptr);
            activeWindowChanged();
        });
    for (GameView* view : views_) view->showGame(game_);
}

}  // namespace tandemora
