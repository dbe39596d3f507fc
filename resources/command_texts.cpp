#include "resources/command_texts.h"

#include <algorithm>
#include <iterator>

namespace tandemora {
namespace {

const CommandText kTexts[] = {
    {kRewindBoard, "Go back to the first move on this board", "Rewind board"},
    {kBackOnBoard, "Go back one move on this board", "Back on board"},
    {kForwardOnBoard, "Go forward one move on this board", "Forward on board"},
    {kForwardOnBoardWithSkip, "Go forward one move on this board and stop before next move on this board",
     "Forward on board with skip"},
    {kFastForwardBoard, "Go to the last move on this board", "Fast forward board"},
    {kRewindGame, "Go back to the first move in this game", "Rewind game"},
    {kBackInGame, "Go back one move in this game", "Back in game"},
    {kForwardInGame, "Go forward one move in this game", "Forward in game"},
    {kFastForwardGame, "Go to the last move in this game", "Fast forward game"},
    {kFlipBoards, "Flip game boards", "Flip game boards"},
    {kStartReplay, "Start playback mode", "Start replay"},
    {kStopReplay, "Stop playback mode", "Stop replay"},
    {kToggleMoveInfo, "Display or hide move information dialog", "Display/hide move information"},
    {kCloseDocument, "Close the active document", "Close"},

    {kNewCrazyhouseGame, "Examine a Crazyhouse game from scratch", "New crazyhouse game"},
    {kNewBughouseGame, "Examine a Bughouse game from scratch", "New Bughouse game"},
    {kOpenFile, "Open all games in a BPGN file", "Open BPGN File"},
    {kCloseGame, "Close currently selected game", "Close current game"},
    {kCloseAll, "Close all opened games", "Close all games"},
    {kSave, "Save game(s) into the current BPGN file", "Save current game"},
    {kSaveAs, "Save current game into a new file", "Save game into a new file"},
    {kSaveAll, "Save all opened games", "Save all games"},
    {kExit, "Quit the application; prompts to save documents", "Exit"},
    {kToggleToolbar, "Show or hide the toolbar", "Toggle ToolBar"},
    {kToggleStatusBar, "Show or hide the status bar", "Toggle StatusBar"},
    {kModifyParameters, "Modify parameters of the current game", "Modify current game's parameters"},
    {kDeleteLastMove, "Delete most recent move from current game", "Delete move recent move"},
    {kAnalysisMode, "Puts 16 pieces of every type into the game buffer.",
     "Puts 16 pieces of every type into the game buffer."},
    {kCreateDatabase, "Create or update BPGN database from specified BPGN files", "Create/update BPGN database"},
    {kCreateIndex, "Create new BPGN index for specified players", "Create new index"},
    {kLoadIndex, "Load existing BPGN index", "Load existing index"},
    {kRetrieveNearbyGames, "Retreive games located near current game in the database",
     "Retreive nearby games from database"},
    {kEventSounds, "Configure sounds for various events", "Configure event sounds"},
    {kHighResolutionClocks, "Determines whether tens of seconds are displayed in clocks",
     "Enable/disable tens of seconds in clocks"},
    {kMinimumMoveDelay, "Set minimum delay between two consequtive moves during replay mode",
     "Set minimum delay between moves"},
    {kAutoClosePreviousGame, "Automatically close previous game when opening new one",
     "Automatically close previous game"},
    {kImportThiefSettings, "Specifiy THIEF.INI file from which to import settings",
     "Import color configuration from THIEF.INI"},
    {kSaveSettingsNow, "Save all settings into Tandemora.INI", "Save settings into Tandemora.INI"},
    {kSaveSettingsOnExit, "Save current settings into Tandemora.ini upon exit from Tandemora",
     "Save settings when exiting Tandemora"},
    {kAutoApplyDefaultLayout, "Automatically apply default layout when windows are created",
     "Automatically apply default layout"},
    {kCascadeWindows, "Arrange windows so they overlap", "Cascade Windows"},
    {kTileWindows, "Arrange windows as non-overlapping tiles", "Tile Windows"},
    {kArrangeIcons, "Arrange icons at the bottom of the window", "Arrange Icons"},
    {kHelpTopics, "List Help topics", "Help Topics"},
    {kAbout, "Display program information, version number and copyright", "About"},

    {kReplaySpeed1, "Replay at the pace recorded in the game", "Replay at the recorded pace"},
    {kReplaySpeed2, "Replay twice as fast as recorded", "Replay twice as fast"},
    {kReplaySpeed4, "Replay four times as fast as recorded", "Replay four times as fast"},
    {kReplaySpeed8, "Replay eight times as fast as recorded", "Replay eight times as fast"},
    {kSkipLongThinks, "During replay, shorten every wait of more than 10 seconds to 1 second", "Skip long thinks"},
    {kToggleGamePanels, "Show or hide the panels of the active game: its moves and clock lead", "Toggle Game Panels"},
    {kMarkLastMove, "Tint the squares of the last move on each board", "Mark last move"},
    {kShowCoordinates, "Show the files and ranks along the edges of each board", "Show coordinates"},
    {kLargeReserveCounts, "Write the reserve counts in the name font", "Large reserve counts"},
    {kToggleAnalysisPanel, "Show or hide the engine's analysis of the active board", "Toggle Analysis Panel"},
    {kEngineOptions, "Choose the analysis engine's program, threads, hash and number of lines", "Engine Options"},

    {kCopyPosition, "Copy the position of the active game as FEN text, both boards of a bughouse game",
     "Copy position"},
    {kCopyGame, "Copy the active game as BPGN text", "Copy game"},
    {kPasteGame, "Open the BPGN or PGN text on the clipboard as a new game list", "Paste game"},
    {kExportDiagram, "Save a picture of the active game's boards as a PNG or SVG file", "Export diagram"},
};

const CommandText kNoTexts{0, "", ""};

}  // namespace

const CommandText& commandText(int id) {
    const auto found = std::find_if(std::begin(kTexts), std::end(kTexts), [id](const CommandText& t) { return t.id == id; });
    return found == std::end(kTexts) ? kNoTexts : *found;
}

}  // namespace tandemora
