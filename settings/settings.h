// The user's settings: colours, fonts, options, sound files and the database folder, kept in
// the settings file beside the program; the saved window layouts travel with them in the
// layout file.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "settings/ini_file.h"

namespace tandemora {

struct FontSettings {
    std::string name = "Times New Roman";
    int size = 12;  // points
    int bold = 0;
    int italic = 0;
    int underline = 0;
    int strikeout = 0;
};

// Colours are 0x00BBGGRR: red in the low byte.
struct Settings {
    std::uint32_t boardOutlineColor = 0x000000;
    std::uint32_t bufferOutlineColor = 0x000000;
    std::uint32_t bufferFillColor = 0xccbda4;
    std::uint32_t whiteSquareOutlineColor = 0xccbda4;
    std::uint32_t whiteSquareFillColor = 0xccbda4;
    std::uint32_t blackSquareOutlineColor = 0x8f8964;
    std::uint32_t blackSquareFillColor = 0x8f8964;
    std::uint32_t pieceNumberColor = 0x000000;
    std::uint32_t whitePieceOutlineColor = 0x000000;
    std::uint32_t whitePieceFillColor = 0xffffff;
    std::uint32_t blackPieceOutlineColor = 0x7b7b7b;
    std::uint32_t blackPieceFillColor = 0x000000;
    std::uint32_t handleColor = 0x000000;
    std::uint32_t clockOnColor = 0xffffff;
    std::uint32_t clockOnBackgroundColor = 0x000000;
    std::uint32_t clockOffColor = 0x000000;

    int autoQueen = 0;
    int highPrecisionClocks = 0;
    int minimumMoveDelayMs = 200;
    int autoClosePreviousGame = 0;
    FontSettings handleFont;
    FontSettings clockFont;
    int saveSettingsOnExit = 0;
    int eventSoundsEnabled = 1;
    std::array<std::string, 2> eventSoundPaths;  // in the order of eventSoundNames
    std::string databaseDirectory = "./Databases";
    int autoApplyDefaultLayout = 0;

    // Replay: how many times the recorded pace (one of replaySpeeds), and whether a wait of
    // more than ten seconds of recorded time is cut to one.
    int replaySpeed = 1;
    int skipLongThinks = 0;
    // Where the main window's docks and toolbar lie, as the window saves them, in hexadecimal;
    // empty for where they first lie (the game panels shown on the right).
    std::string mainWindowState;
    // What makes a board easier to read; all off gives the plain drawing.
    int markLastMove = 1;
    int showCoordinates = 1;
    int largeReserveCounts = 1;

    // Engine analysis: the engine's program (empty: Debian's fairy-stockfish, or the one on
    // PATH), its threads and hash in MB, and how many lines the Analysis panel shows.
    std::string engineProgram;
    int engineThreads = 1;
    int engineHashMb = 64;
    int engineLines = 3;
};

inline constexpr std::array<int, 4> replaySpeeds = {1, 2, 4, 8};
// The ranges the engine options keep to.
inline constexpr int kMaxEngineThreads = 256;
inline constexpr int kMaxEngineHashMb = 32768;
inline constexpr int kMaxEngineLines = 5;

// The sound events, as named in the settings file and the event-sound dialog.
inline constexpr std::array<const char*, 2> eventSoundNames = {"Playing board move", "Playing board game over"};

// The four saved window layouts as they lie in the layout file.
using LayoutBytes = std::array<unsigned char, 1632>;

struct SettingsFiles {
    std::filesystem::path settingsFile;  // Tandemora.INI
    std::filesystem::path layoutFile;    // Tandemora.WL
};

// Takes over every setting the file holds; the fonts and "Auto queen" fall back to their
// defaults when missing, everything else keeps its current value.
void readSettings(const IniFile& file, Settings& settings);

// Writes the settings into the file; the database folder the file holds wins over the one in
// memory and is adopted.
void writeSettings(IniFile& file, Settings& settings);

// Start-up: reads the layouts and then the settings; when the layout file cannot be read the
// settings are not read either.
void loadSettings(Settings& settings, LayoutBytes& layouts, const SettingsFiles& files);

// Import: takes over the settings another file holds.
void loadSettings(Settings& settings, const std::filesystem::path& otherFile);

// Writes the layouts and then the settings; the settings file must exist already. False on
// failure, which has been reported.
bool saveSettings(Settings& settings, const LayoutBytes& layouts, const SettingsFiles& files);

// Whether the chosen file is the other program's settings file, by its name alone.
bool isThiefIni(const std::filesystem::path& path);

}  // namespace tandemora
