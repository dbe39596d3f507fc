// The string table of the commands: each command's numeric id, its status-bar prompt and its
// tooltip.
#pragma once

namespace tandemora {

// Command ids of the board windows and the main window.
enum CommandId : int {
    kSubmitMoveEntry = 102,
    kRewindBoard = 32773,
    kBackOnBoard = 32774,
    kForwardOnBoard = 32775,
    kFastForwardBoard = 32776,
    kForwardOnBoardWithSkip = 32797,
    kRewindGame = 32784,
    kBackInGame = 32785,
    kForwardInGame = 32786,
    kFastForwardGame = 32787,
    kFlipBoards = 32792,
    kStartReplay = 32793,
    kStopReplay = 32794,
    kToggleMoveInfo = 32802,
    kCloseDocument = 57602,

    kNewCrazyhouseGame = 32771,
    kNewBughouseGame = 32772,
    kOpenFile = 32782,
    kCloseGame = 32805,
    kCloseAll = 32806,
    kSave = 32799,
    kSaveAs = 32800,
    kSaveAll = 32830,
    kExit = 57665,
    kToggleToolbar = 59392,
    kToggleStatusBar = 59393,
    kModifyParameters = 32803,
    kDeleteLastMove = 32833,
    kAnalysisMode = 32844,
    kCreateDatabase = 32808,
    kCreateIndex = 32809,
    kLoadIndex = 32810,
    kRetrieveNearbyGames = 32822,
    kEventSounds = 32817,
    kEnableEventSounds = 32821,
    kHighResolutionClocks = 32819,
    kMinimumMoveDelay = 32820,
    kAutoClosePreviousGame = 32824,
    kImportThiefSettings = 32818,
    kSaveSettingsNow = 32816,
    kSaveSettingsOnExit = 32815,
    kRestoreDefaultLayout = 32839,
    kRestoreLayout1 = 32838,
    kRestoreLayout2 = 32840,
    kRestoreLayout3 = 32841,
    kSaveDefaultLayout = 32834,
    kSaveLayout1 = 32835,
    kSaveLayout2 = 32836,
    kSaveLayout3 = 32837,
    kAutoApplyDefaultLayout = 32842,
    kCascadeWindows = 57650,
    kTileWindows = 57651,
    kArrangeIcons = 57649,
    kHelpTopics = 57667,
    kAbout = 57664,

    // The replay's pace (Options menu).
    kReplaySpeed1 = 32880,
    kReplaySpeed2 = 32881,
    kReplaySpeed4 = 32882,
    kReplaySpeed8 = 32883,
    kSkipLongThinks = 32884,
    // The dock of the active game's panels.
    kToggleGamePanels = 33120,
    // View options that make the boards easier to read.
    kMarkLastMove = 33201,
    kShowCoordinates = 33202,
    kLargeReserveCounts = 33203,
    // Engine analysis: the Analysis panel (View menu) and the engine's options (Options menu).
    kToggleAnalysisPanel = 33301,
    kEngineOptions = 33302,
    // Games in and out: the Edit menu's clipboard commands, and pictures of the boards (File menu).
    kCopyPosition = 33441,
    kCopyGame = 33442,
    kPasteGame = 33443,
    kExportDiagram = 33444,
};

struct CommandText {
    int id;
    const char* prompt;   // status bar; empty when the command has none
    const char* tooltip;  // empty when the command has none
};

// The texts of a command; a command without texts gets two empty ones.
const CommandText& commandText(int id);

}  // namespace tandemora
