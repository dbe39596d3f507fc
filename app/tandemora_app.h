// The application: settings and the drawing resources made from them, the games made with the
// new-game commands, the window layouts, and the answers the model and the board windows need
// from the program (messages, questions, closing a game).
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/recent_files.h"
#include "settings/settings.h"
#include "app/sounds/event_sounds.h"
#include "app/window_layout.h"
#include "board/board_environment.h"
#include "board/painting/drawing_resources.h"
#include "game/game.h"
#include "game/messages.h"

class QWidget;

namespace tandemora {

class CBPGNManager;
class CBoardFrame;
class CIndex1Frame;
class CMainFrame;

class CTandemoraApp : public BoardEnvironment, public BoardFactory, public GameEvents, public MessageSink {
public:
    explicit CTandemoraApp(SettingsFiles files);
    ~CTandemoraApp() override;

    // Start-up: the main window, the settings and layout files, default layout, option checks.
    void start();
    CMainFrame& mainFrame() const { return *mainFrame_; }
    QWidget& mainFrameWidget() const;

    Settings& mutableSettings() { return settings_; }
    EventSounds& eventSounds() { return sounds_; }
    const std::vector<std::unique_ptr<CGame>>& newGameList() const { return newGameList_; }
    const std::vector<CBPGNManager*>& managerList() const { return managerList_; }
    const std::vector<CIndex1Frame*>& indexList() const { return indexList_; }

    // The active child window: a board window or a game list, or neither.
    struct ActiveChild {
        CBoardFrame* board = nullptr;
        CBPGNManager* list = nullptr;
    };
    ActiveChild activeChild() const;

    int nextGameNumber(bool bughouse);
    void newGame(bool bughouse);
    // Places the windows of a game that was just given its boards, and shows them.
    void placeBoards(CGame& game);
    // Closes a shown game: a new game asks whether to save it, a list's game closes its boards.
    // False when the user cancelled.
    bool closeGame(CGame& game, bool removeFromList);
    // Saves a game that belongs to no file into a file the user names: as the first game of a
    // new game list, or (when closing) into that file alone. False when nothing was saved.
    bool saveNewGame(CGame& game, bool asNewFile);
    // Closes every new game and game list with their questions; false when the user cancelled.
    bool closeAll();
    void addToManagerList(CBPGNManager* list);
    void removePtrFromManagerList(CBPGNManager* list);
    void removePtrFromGameList(CGame* game);

    // The index windows: Load Index opens the main index the user picks in a new one.
    void loadIndex();
    void addToIndexList(CIndex1Frame* window);
    void removePtrFromIndexList(CIndex1Frame* window);
    // A game shows another position: every index window with auto-search searches again.
    void notifyIndexWindows();
    // Where indexes find their databases: the "Database directory" setting, a relative one
    // taken from the settings file's folder.
    std::string databaseDirectory() const;

    // The file commands.
    void openFile();
    // Opens a file as a game list; false when it yielded none (reported).
    bool openFile(const std::string& path);
    void save(CBoardFrame* board, CBPGNManager* list, bool saveAs);
    void saveAll();
    void closeActive();
    // Opens BPGN or foreign text, as pasted from the clipboard, as a new unsaved game list, as
    // openFile does a file; false when it yielded none (reported).
    bool openPastedText(std::string text);
    // A file name for saving, from the save dialog; none when cancelled, or when the file is
    // open in a game list other than `saving` (reported): two lists must not share a file.
    // With `asPgn` the dialog also offers PGN for crazyhouse games and tells whether it was chosen.
    std::optional<std::string> askSaveFileName(const CBPGNManager* saving = nullptr, bool* asPgn = nullptr);

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

    // The files last opened or saved, at the bottom of the File menu.
    const RecentFiles& recentFiles() const { return recentFiles_; }
    // Puts a file just opened or saved first in the list and writes the list to the settings
    // file at once, whether or not the other settings are saved on exit.
    void rememberRecentFile(const std::string& path);
    // Opens the listed file at that place as File > Open would; one no longer there leaves the
    // list, with a message naming it.
    void openRecentFile(std::size_t index);

private:
    void createDrawingResources();
    // Every shown game: the games of the lists in order, then the new games.
    std::vector<CGame*> shownGames() const;
    // The board windows in the order layouts store them, and whether each is board A of a
    // list's game.
    std::vector<std::pair<CBoardFrame*, bool>> layoutBoards() const;
    CBPGNManager* managerOf(const CGame& game) const;
    // The game list open on that file, under whatever name.
    CBPGNManager* listOfFile(const std::string& path) const;
    // openFile without the recent files.
    bool openAsGameList(const std::string& path);

    SettingsFiles files_;
    Settings settings_;
    DrawingResources resources_;
    EventSounds sounds_;
    LayoutBytes layouts_{};  // the four saved layouts, as the layout file holds them
    std::unique_ptr<CMainFrame> mainFrame_;
    std::vector<std::unique_ptr<CGame>> newGameList_;
    std::vector<CBPGNManager*> managerList_;  // the windows own themselves
    std::vector<CIndex1Frame*> indexList_;    // as do these
    int nextCrazyhouseNumber_ = 1;
    int nextBughouseNumber_ = 1;
    RecentFiles recentFiles_;
};

}  // namespace tandemora
