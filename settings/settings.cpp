#include "settings/settings.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <system_error>

#include "game/messages.h"

namespace tandemora {

namespace {

constexpr const char* board = "Board";
constexpr const char* eventSound = "Event sound";
constexpr const char* directories = "Directories";
constexpr const char* window = "Window";
constexpr const char* panels = "Panels";
constexpr const char* engine = "Engine";

constexpr std::size_t colourChars = 39;
constexpr std::size_t fontNameChars = 49;
constexpr std::size_t soundPathChars = 254;
constexpr std::size_t directoryChars = 255;
constexpr std::size_t windowStateChars = 8192;
constexpr std::size_t programPathChars = 4096;

struct ColourKey {
    const char* key;
    std::uint32_t Settings::*field;
};

// In the order they are read and written.
constexpr ColourKey colourKeys[] = {
    {"Board outline color", &Settings::boardOutlineColor},
    {"Buffer outline color", &Settings::bufferOutlineColor},
    {"Buffer fill color", &Settings::bufferFillColor},
    {"White square outline color", &Settings::whiteSquareOutlineColor},
    {"White square fill color", &Settings::whiteSquareFillColor},
    {"Black square outline color", &Settings::blackSquareOutlineColor},
    {"Black square fill color", &Settings::blackSquareFillColor},
    {"Piece number color", &Settings::pieceNumberColor},
    {"White piece outline color", &Settings::whitePieceOutlineColor},
    {"White piece fill color", &Settings::whitePieceFillColor},
    {"Black piece outline color", &Settings::blackPieceOutlineColor},
    {"Black piece fill color", &Settings::blackPieceFillColor},
    {"Handle color", &Settings::handleColor},
    {"Clock on color", &Settings::clockOnColor},
    {"Clock on background color", &Settings::clockOnBackgroundColor},
    {"Clock off color", &Settings::clockOffColor},
};

struct FlagKey {
    const char* key;
    int Settings::*field;
};

constexpr FlagKey readableBoardKeys[] = {
    {"Mark last move", &Settings::markLastMove},
    {"Show coordinates", &Settings::showCoordinates},
    {"Large reserve counts", &Settings::largeReserveCounts},
};

struct FontSection {
    const char* section;
    FontSettings Settings::*field;
};

constexpr FontSection fontSections[] = {{"Handle font", &Settings::handleFont}, {"Clock font", &Settings::clockFont}};

std::string hex(std::uint32_t value, const char* format) {
    char text[16];
    std::snprintf(text, sizeof text, format, static_cast<unsigned long>(value));
    return text;
}

// The leading hexadecimal digits of the text; the colour stays as it was when there are none.
void parseColour(const std::string& text, std::uint32_t& colour) {
    char* end = nullptr;
    unsigned long value = std::strtoul(text.c_str(), &end, 16);
    if (end != text.c_str()) colour = static_cast<std::uint32_t>(value);
}

void writeInt(IniFile& file, const char* section, const char* key, int value) {
    file.writeString(section, key, std::to_string(value));
}

void writeFlag(IniFile& file, const char* section, const char* key, int value) {
    writeInt(file, section, key, value != 0 ? 1 : 0);
}

// The folder with the platform's separator; files written elsewhere may use backslashes.
std::string readDatabaseDirectory(const IniFile& file, const std::string& current) {
    std::string directory = file.readString(directories, "Database directory", current, directoryChars);
    std::replace(directory.begin(), directory.end(), '\\', '/');
    return directory;
}

void reportNotOpened(const std::string& name, const char* purpose, const std::string& problem = {}) {
    showMessage(name + " could not be opened for " + purpose + (problem.empty() ? "" : ": " + problem) + ".");
}

// Takes over the settings a file holds; one that is no settings file at all is reported and
// leaves every setting as it was.
void readSettingsFile(const std::filesystem::path& path, Settings& settings) {
    std::string problem;
    if (const std::optional<IniFile> file = IniFile::load(path, problem)) readSettings(*file, settings);
    else reportNotOpened(path.string(), "reading", problem);
}

}  // namespace

void readSettings(const IniFile& file, Settings& settings) {
    for (const auto& [key, field] : colourKeys)
        parseColour(file.readString(board, key, hex(settings.*field, "%lx"), colourChars), settings.*field);
    settings.autoQueen = file.readInt(board, "Auto queen", 0);

    const FontSettings defaults;
    for (const auto& [section, field] : fontSections) {
        FontSettings& font = settings.*field;
        font.name = file.readString(section, "Name", defaults.name, fontNameChars);
        font.size = file.readInt(section, "Size", defaults.size);
        font.bold = file.readInt(section, "Bold", 0);
        font.italic = file.readInt(section, "Italic", 0);
        font.underline = file.readInt(section, "Underline", 0);
        font.strikeout = file.readInt(section, "Strikeout", 0);
    }

    settings.highPrecisionClocks = file.readInt(board, "High precision clocks", settings.highPrecisionClocks);
    settings.minimumMoveDelayMs = file.readInt(board, "Minimum delay between moves (ms)", settings.minimumMoveDelayMs);
    settings.saveSettingsOnExit = file.readInt("Main", "Save settings on exit", settings.saveSettingsOnExit);
    settings.autoClosePreviousGame =
        file.readInt(board, "Automatically close previous game", settings.autoClosePreviousGame);
    settings.eventSoundsEnabled = file.readInt(eventSound, "Event sound", settings.eventSoundsEnabled);

    for (std::size_t event = 0; event < eventSoundNames.size(); ++event) {
        std::string path = file.readString(eventSound, eventSoundNames[event], "", soundPathChars);
        if (!path.empty()) settings.eventSoundPaths[event] = path;
    }

    settings.databaseDirectory = readDatabaseDirectory(file, settings.databaseDirectory);
    settings.autoApplyDefaultLayout = file.readInt(window, "Auto-apply default layout", settings.autoApplyDefaultLayout);

    // A speed the menu does not offer is taken as the recorded pace.
    const int speed = file.readInt(board, "Replay speed", settings.replaySpeed);
    settings.replaySpeed = std::ranges::find(replaySpeeds, speed) != replaySpeeds.end() ? speed : 1;
    settings.skipLongThinks = file.readInt(board, "Skip long thinks", settings.skipLongThinks);
    settings.mainWindowState = file.readString(panels, "Main window state", settings.mainWindowState, windowStateChars);
    for (const auto& [key, field] : readableBoardKeys) settings.*field = file.readInt(board, key, settings.*field);

    settings.engineProgram = file.readString(engine, "Program", settings.engineProgram, programPathChars);
    settings.engineThreads = std::clamp(file.readInt(engine, "Threads", settings.engineThreads), 1, kMaxEngineThreads);
    settings.engineHashMb = std::clamp(file.readInt(engine, "Hash (MB)", settings.engineHashMb), 1, kMaxEngineHashMb);
    settings.engineLines = std::clamp(file.readInt(engine, "Lines", settings.engineLines), 1, kMaxEngineLines);
}

void writeSettings(IniFile& file, Settings& settings) {
    for (const auto& [key, field] : colourKeys) file.writeString(board, key, hex(settings.*field, "%06lx"));
    writeFlag(file, board, "Auto queen", settings.autoQueen);

    for (const auto& [section, field] : fontSections) {
        const FontSettings& font = settings.*field;
        file.writeString(section, "Name", font.name);
        writeInt(file, section, "Size", font.size);
        writeFlag(file, section, "Bold", font.bold);
        writeFlag(file, section, "Italic", font.italic);
        writeFlag(file, section, "Underline", font.underline);
        writeFlag(file, section, "Strikeout", font.strikeout);
    }

    writeInt(file, "Main", "Save settings on exit", settings.saveSettingsOnExit);
    writeInt(file, board, "High precision clocks", settings.highPrecisionClocks);
    writeInt(file, board, "Minimum delay between moves (ms)", settings.minimumMoveDelayMs);
    writeInt(file, board, "Automatically close previous game", settings.autoClosePreviousGame);
    writeInt(file, eventSound, "Event sound", settings.eventSoundsEnabled);

    for (std::size_t event = 0; event < eventSoundNames.size(); ++event)
        if (!settings.eventSoundPaths[event].empty())
            file.writeString(eventSound, eventSoundNames[event], settings.eventSoundPaths[event]);

    // A folder edited by hand while the program runs wins over the one in memory.
    settings.databaseDirectory = readDatabaseDirectory(file, settings.databaseDirectory);
    file.writeString(directories, "Database directory", settings.databaseDirectory);

    writeInt(file, window, "Auto-apply default layout", settings.autoApplyDefaultLayout);

    writeInt(file, board, "Replay speed", settings.replaySpeed);
    writeFlag(file, board, "Skip long thinks", settings.skipLongThinks);
    if (!settings.mainWindowState.empty()) file.writeString(panels, "Main window state", settings.mainWindowState);
    for (const auto& [key, field] : readableBoardKeys) writeFlag(file, board, key, settings.*field);

    file.writeString(engine, "Program", settings.engineProgram);
    writeInt(file, engine, "Threads", settings.engineThreads);
    writeInt(file, engine, "Hash (MB)", settings.engineHashMb);
    writeInt(file, engine, "Lines", settings.engineLines);
}

void loadSettings(Settings& settings, LayoutBytes& layouts, const SettingsFiles& files) {
    std::error_code error;
    std::ifstream layoutFile;
    if (std::filesystem::is_regular_file(files.layoutFile, error)) layoutFile.open(files.layoutFile, std::ios::binary);
    if (!layoutFile.is_open()) {
        reportNotOpened(files.layoutFile.string(), "reading");
        return;
    }
    // A short file fills only what it holds.
    layoutFile.read(reinterpret_cast<char*>(layouts.data()), static_cast<std::streamsize>(layouts.size()));
    readSettingsFile(files.settingsFile, settings);
}

void loadSettings(Settings& settings, const std::filesystem::path& otherFile) { readSettingsFile(otherFile, settings); }

bool saveSettings(Settings& settings, const LayoutBytes& layouts, const SettingsFiles& files) {
    // Opened without truncating, so bytes past the layouts stay; created when missing.
    std::fstream layoutFile(files.layoutFile, std::ios::binary | std::ios::in | std::ios::out);
    if (!layoutFile.is_open()) layoutFile.open(files.layoutFile, std::ios::binary | std::ios::out);
    if (!layoutFile.is_open()) {
        reportNotOpened(files.layoutFile.string(), "writing");
        return false;
    }
    layoutFile.write(reinterpret_cast<const char*>(layouts.data()), static_cast<std::streamsize>(layouts.size()));
    layoutFile.close();
    if (!layoutFile) {
        reportNotOpened(files.layoutFile.string(), "writing");
        return false;
    }

    // The settings file is never created: a missing one is an error.
    const std::string settingsName = "Tandemora.INI";
    std::string problem;
    std::optional<IniFile> file;
    if (std::fstream(files.settingsFile, std::ios::binary | std::ios::in | std::ios::out).is_open())
        file = IniFile::load(files.settingsFile, problem);
    if (!file) {
        reportNotOpened(settingsName, "writing", problem);
        return false;
    }
    writeSettings(*file, settings);
    if (!file->save(files.settingsFile)) {
        reportNotOpened(settingsName, "writing");
        return false;
    }
    return true;
}

bool isThiefIni(const std::filesystem::path& path) {
    std::string name = path.filename().string();
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name == "thief.ini";
}

}  // namespace tandemora
