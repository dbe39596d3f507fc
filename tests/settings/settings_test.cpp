#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "settings/settings.h"
#include "game/messages.h"
#include "tests/file_size_limit.h"
#include "tests/message_log.h"

using namespace tandemora;
namespace fs = std::filesystem;
using tandemora_test::MessageLog;

namespace {

// Every setting as the settings file would hold it, to compare two sets at once.
std::string asText(Settings settings) {
    IniFile file;
    writeSettings(file, settings);
    return file.text();
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeAll(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

TEST(Settings, Reading) {
    const struct {
        const char* file;
        std::function<void(Settings&)> expected;  // changes from the defaults
    } cases[] = {
        {"[Board]\nBoard outline color=ff\n", [](Settings& s) { s.boardOutlineColor = 0x0000ff; }},
        {"[board]\nclock off color = 12abzz\r\n", [](Settings& s) { s.clockOffColor = 0x12ab; }},
        {"[Board]\nBuffer fill color=zz\nHandle color=\n", [](Settings&) {}},  // no hex digits: unchanged
        {"[Board]\nWhite piece fill color=1ffffffff\n", [](Settings& s) { s.whitePieceFillColor = 0xffffffff; }},
        {"[Board]\nAuto queen=1\nHigh precision clocks=1\nMinimum delay between moves (ms)=50ms\n"
         "Automatically close previous game=1\n[Main]\nSave settings on exit=1\n[Window]\nAuto-apply default layout=1\n",
         [](Settings& s) {
             s.autoQueen = s.highPrecisionClocks = s.autoClosePreviousGame = s.saveSettingsOnExit = 1;
             s.autoApplyDefaultLayout = 1;
             s.minimumMoveDelayMs = 50;
         }},
        {"[Board]\nMark last move=0\nShow coordinates=0\nLarge reserve counts=0\n",
         [](Settings& s) { s.markLastMove = s.showCoordinates = s.largeReserveCounts = 0; }},
        {"[Clock font]\nName=Courier New\nSize=20\nItalic=1\n",
         [](Settings& s) {
             s.clockFont.name = "Courier New";
             s.clockFont.size = 20;
             s.clockFont.italic = 1;
         }},
        {"[Event sound]\nEvent sound=0\nPlaying board game over=C:\\sounds\\end.wav\nPlaying board move=\n",
         [](Settings& s) {
             s.eventSoundsEnabled = 0;
             s.eventSoundPaths[1] = "C:\\sounds\\end.wav";
         }},
        {"[Directories]\nDatabase directory=..\\My Databases\n", [](Settings& s) { s.databaseDirectory = "../My Databases"; }},
        {"[Board]\nReplay speed=4\nSkip long thinks=1\n",
         [](Settings& s) {
             s.replaySpeed = 4;
             s.skipLongThinks = 1;
         }},
        {"[Board]\nReplay speed=3\n", [](Settings&) {}},  // no such speed: the recorded pace
    };
    for (const auto& c : cases) {
        Settings read;
        readSettings(IniFile(c.file), read);
        Settings expected;
        c.expected(expected);
        EXPECT_EQ(asText(read), asText(expected)) << c.file;
    }
}

TEST(Settings, WritingNormalisesValuesAndKeepsTheFile) {
    IniFile file("; mine\r\n[Board]\r\nBoard outline color=ff\r\n[Handle font]\r\nBold=5\r\n"
                 "[Event sound]\r\nPlaying board move=move.wav\r\n[Directories]\r\nDatabase directory=/data/games\r\n");
    Settings settings;
    readSettings(file, settings);
    settings.databaseDirectory = "./Databases";  // the file was edited after reading
    settings.eventSoundPaths[1] = "over.wav";
    writeSettings(file, settings);

    EXPECT_EQ(file.readString("Board", "Board outline color", "", 100), "0000ff");
    EXPECT_EQ(file.readString("Board", "Buffer fill color", "", 100), "ccbda4");
    EXPECT_EQ(file.readInt("Handle font", "Bold", 0), 1);
    EXPECT_EQ(file.readString("Event sound", "Playing board move", "", 100), "move.wav");  // empty path not written
    EXPECT_EQ(file.readString("Event sound", "Playing board game over", "", 100), "over.wav");
    EXPECT_EQ(settings.databaseDirectory, "/data/games");
    EXPECT_EQ(file.readString("Directories", "Database directory", "", 100), "/data/games");
    EXPECT_TRUE(file.text().starts_with("; mine\r\n[Board]\r\nBoard outline color=0000ff\r\n"));
    std::string text = file.text();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), std::count(text.begin(), text.end(), '\r'));  // CR LF kept
}

TEST(Settings, ImportResetsFontsAndAutoQueenOnly) {
    Settings settings;
    settings.handleFont = {"Arial", 20, 1, 1, 1, 1};
    settings.clockFont = settings.handleFont;
    settings.autoQueen = 1;
    settings.minimumMoveDelayMs = 500;
    settings.eventSoundPaths[0] = "move.wav";

    const fs::path thief = fs::path(TANDEMORA_BINARY_DIR) / "THIEF.INI";
    writeAll(thief, "[Board]\r\nBlack square fill color=123456\r\n");
    loadSettings(settings, thief);
    fs::remove(thief);

    Settings expected;
    expected.blackSquareFillColor = 0x123456;
    expected.minimumMoveDelayMs = 500;
    expected.eventSoundPaths[0] = "move.wav";
    EXPECT_EQ(asText(settings), asText(expected));
}

TEST(Settings, ThiefIniName) {
    const struct {
        const char* path;
        bool expected;
    } cases[] = {{"/games/thief.ini", true}, {"THIEF.INI", true}, {"/x/Thief.Ini", true},
                 {"/thief.ini/other.ini", false}, {"thief.ini.bak", false}, {"mythief.ini", false}};
    for (const auto& c : cases) EXPECT_EQ(isThiefIni(c.path), c.expected) << c.path;
}

class SettingsFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    // One folder per test, as the tests may run at the same time.
    const fs::path folder = fs::path(TANDEMORA_BINARY_DIR) / "settings_files_test" /
                            ::testing::UnitTest::GetInstance()->current_test_info()->name();
    const SettingsFiles files{folder / "Tandemora.INI", folder / "Tandemora.WL"};
    MessageLog log;
    Settings settings;
    LayoutBytes layouts{};
};

TEST_F(SettingsFilesTest, FirstStartWithoutFiles) {
    loadSettings(settings, layouts, files);
    EXPECT_EQ(log.messages, std::vector<std::string>{files.layoutFile.string() + " could not be opened for reading."});
    EXPECT_EQ(asText(settings), asText(Settings()));

    layouts[1631] = 7;
    EXPECT_FALSE(saveSettings(settings, layouts, files));
    EXPECT_EQ(log.messages.back(), "Tandemora.INI could not be opened for writing.");
    EXPECT_EQ(readAll(files.layoutFile), std::string(1631, '\0') + '\7');
    EXPECT_FALSE(fs::exists(files.settingsFile));
}

TEST_F(SettingsFilesTest, SettingsNotReadWithoutLayoutFile) {
    writeAll(files.settingsFile, "[Board]\nAuto queen=1\n");
    loadSettings(settings, layouts, files);
    EXPECT_EQ(log.messages.size(), 1u);
    EXPECT_EQ(settings.autoQueen, 0);
}

TEST_F(SettingsFilesTest, ShortLayoutFileAndUntruncatedWrite) {
    writeAll(files.layoutFile, "\1\2\3");
    writeAll(files.settingsFile, "[Board]\nBoard outline color=ff\n");
    layouts.fill(9);
    loadSettings(settings, layouts, files);
    EXPECT_TRUE(log.messages.empty());
    EXPECT_EQ(std::string(layouts.begin(), layouts.begin() + 4), "\1\2\3\x09");
    EXPECT_EQ(settings.boardOutlineColor, 0xffu);

    writeAll(files.layoutFile, std::string(2000, 'x'));
    ASSERT_TRUE(saveSettings(settings, layouts, files));
    EXPECT_EQ(readAll(files.layoutFile), std::string(layouts.begin(), layouts.end()) + std::string(368, 'x'));
    EXPECT_TRUE(readAll(files.settingsFile).starts_with("[Board]\nBoard outline color=0000ff\nBuffer outline color=000000\n"));
    EXPECT_TRUE(log.messages.empty());
}

TEST_F(SettingsFilesTest, UnwritableLayoutFileWritesNothing) {
    const SettingsFiles blocked{files.settingsFile, folder / "missing folder" / "Tandemora.WL"};
    writeAll(files.settingsFile, "");
    EXPECT_FALSE(saveSettings(settings, layouts, blocked));
    EXPECT_EQ(log.messages, std::vector<std::string>{blocked.layoutFile.string() + " could not be opened for writing."});
    EXPECT_EQ(readAll(files.settingsFile), "");
}

TEST_F(SettingsFilesTest, WhatIsNoSettingsFileIsReportedAndTheDefaultsStay) {
    writeAll(files.layoutFile, std::string(1632, '\0'));
    const fs::path large = folder / "large.ini";
    writeAll(large, std::string(2 << 20, ';'));
    fs::create_directory(files.settingsFile);
    const struct {
        fs::path path;
        const char* problem;
    } cases[] = {{files.settingsFile, "not a regular file"},  // a folder
                 {"/dev/zero", "not a regular file"},
                 {large, "larger than 1048576 bytes"}};
    for (const auto& c : cases) {
        loadSettings(settings, layouts, {c.path, files.layoutFile});
        EXPECT_EQ(log.messages.back(), c.path.string() + " could not be opened for reading: " + c.problem + ".");
        EXPECT_EQ(asText(settings), asText(Settings()));
    }
    EXPECT_FALSE(saveSettings(settings, layouts, files));
    EXPECT_EQ(log.messages.back(), "Tandemora.INI could not be opened for writing.");
}

TEST_F(SettingsFilesTest, AFailedWriteLeavesTheSettingsFileWhole) {
    const std::string before = "[Board]\nAuto queen=1\n; " + std::string(5000, 'x') + "\n";
    writeAll(files.layoutFile, std::string(1632, '\0'));
    writeAll(files.settingsFile, before);
    // A file-size limit makes the write fail half way, as a full disk would.
    const bool saved = underFileSizeLimit(4096, [&] { return saveSettings(settings, layouts, files); });
    EXPECT_FALSE(saved);
    EXPECT_EQ(readAll(files.settingsFile), before);
}

}  // namespace
