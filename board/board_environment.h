// What a board window needs from the application: the settings, the drawing resources made
// from them, and the closing of its game.
#pragma once

namespace tandemora {

class CGame;
struct DrawingResources;
struct Settings;

class BoardEnvironment {
public:
    virtual ~BoardEnvironment() = default;
    virtual const Settings& settings() const = 0;
    virtual const DrawingResources& drawingResources() const = 0;
    // The user closes a window of the game: closes the game with its questions. False when
    // the user cancelled.
    virtual bool closeGame(CGame& game) = 0;
};

}  // namespace tandemora
