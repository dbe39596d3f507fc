// The application: settings and the drawing resources made from them, the games made with the
// new-game commands, the window layouts, and the answers the model and the board windows need
// from the program (messages, questions, closing a game).
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "app/settings/settings.h"
#include "app/window_layout.h"
#include "board/board_environment.h"
#include "board/painting/drawing_resources.h"
#include "game/game.h"
#include "game/messages.h"

namespace tandemora {

class CBoardFrame;
class CMainFrame;

class CTandemoraApp : public BoardEnvironment, public BoardFactory, public GameEvents, public MessageSink {
public:
    explicit CTandemoraApp(SettingsFiles files);
    ~CTandemoraApp() override;

    // Start-up: the main window, the settings and layout files, default layout, option checks.
    void start();
    CMainFrame& mainFrame() const { return *mainFrame_; }

    Settings& mutableSettings() { return settings_; }
    const std::vector<std::unique_ptr<CGame>>& newGameList() const { return newGameList_; }

    int nextGameNumber(bool bughouse);
    void newGame(bool bughouse);
    // Closes a new game, asking whether to save it; false when the user cancelled.
    bool closeGame(CGame& game, bool removeFromList);
    // Saves a game that belongs to no file into a file the user names; false when the user chose
    // none or it could not be written.
    bool saveNewGame(CGame& game);
    // Closes every game with its questions; false when the user cancelled one.
    bool closeAll();
    void removePtrFromGameList(CGame* game);

    void saveLayout(int n);
    void applyLayout(int n);
    // Lays out and repaints every shown board, as after a change of the clock setting.
    void repaintBoards();
    void importSettings(const std::filesystem::path& path);
    void saveSettings();
    void playEventSound(int index);

    // BoardEnvironment.
    const Settings& settings() const override { return settings_; }
    const DrawingResources& drawingResources() const override { return resources_; }
    bool closeGame(CGame& game) override { return closeGame(game, true); }
    // BoardFactory: the boards of shown games are windows in the main window.
    std::unique_ptr<BoardWindow> createBoard(CGame& game, bool boardB) override;
    // GameEvents.
    void positionShown(CGame& game) override;
    void replayReachedEnd(CGame& game) override;
    std::unique_ptr<MoveInfoView> createMoveInfoDialog(CGame& game) override;
    // MessageSink.
    void showMessage(const std::string& text) override;

private:
    void createDrawingResources();
    // The board windows in the order layouts store them.
    std::vector<CBoardFrame*> layoutBoards() const;
    // Brings up the windows of a game that was just given its boards.
    void placeNewBoards(CGame& game);

    SettingsFiles files_;
    Settings settings_;
    DrawingResources resources_;
    LayoutBytes layouts_{};  // the four saved layouts, as the layout file holds them
    std::unique_ptr<CMainFrame> mainFrame_;
    std::vector<std::unique_ptr<CGame>> newGameList_;
    int nextCrazyhouseNumber_ = 1;
    int nextBughouseNumber_ = 1;
};

}  // namespace tandemora
