// The active game: the game of the active board window, or the one a game list shows for its
// selected line. The views beside the boards are told when it changes and when its position
// does; a game whose boards close is let go before its move tree goes.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QObject>

namespace tandemora {

class CGame;
class GameView;

class ActiveGame : public QObject {
public:
    // The game the active window shows: null when it shows none, nothing when the active window
    // is no game's at all (an index window), which leaves the active game as it is.
    using Finder = std::function<std::optional<CGame*>()>;

    explicit ActiveGame(Finder find, QObject* parent = nullptr);

    CGame* game() const { return game_; }
    // Tells `view` of the active game now and of every change until `lifetime` goes.
    void addView(GameView& view, QObject& lifetime);
    // The active window changed. Looked at once the events at hand are done, so that a game
    // being opened is complete by then.
    void activeWindowChanged();
    // Looks at the active window now.
    void update();
    // A game showed another position, or its moves changed.
    void positionShown(CGame& game);

private:
    void setGame(CGame* game);

    Finder find_;
    CGame* game_ = nullptr;
    QMetaObject::Connection closingWatch_;
    std::vector<GameView*> views_;
    bool updatePending_ = false;
};

}  // namespace tandemora
