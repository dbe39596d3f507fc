#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "settings/settings_folder.h"

using namespace tandemora;
namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeAll(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(SettingsFolder, BesideTheProgramOrInTheUsersConfigurationFolder) {
    const fs::path root = fs::path(TANDEMORA_BINARY_DIR) / "settings_folder_test";
    const fs::path program = root / "prefix" / "bin";
    const fs::path shipped = root / "prefix" / "share" / "tandemora";
    const fs::path config = root / "config";
    const std::string zeros(1632, '\0');
    const auto readOnly = [](const fs::path& file) { fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write, fs::perm_options::remove); };

    const struct {
        const char* what;
        std::function<void()> prepare;
        SettingsSurroundings surroundings;
        fs::path expectedFolder;
        std::string expectedSettings, expectedLayouts;
    } cases[] = {
        {"a build or portable copy keeps its own files",
         [&] { writeAll(program / "Tandemora.INI", "portable"); writeAll(program / "Tandemora.WL", "wl"); },
         {program, config.string(), "/home/x"}, program, "portable", "wl"},
        {"installed: the configuration folder, filled from the shipped defaults",
         [&] { writeAll(shipped / "Tandemora.INI", "shipped"); writeAll(shipped / "Tandemora.WL", "swl"); },
         {program, config.string(), "/home/x"}, config / "Tandemora", "shipped", "swl"},
        {"read-only files beside the program are the defaults",
         [&] {
             writeAll(program / "Tandemora.INI", "on a disc"); writeAll(program / "Tandemora.WL", "wl");
             readOnly(program / "Tandemora.INI");
         },
         {program, config.string(), "/home/x"}, config / "Tandemora", "on a disc", "wl"},
        {"no XDG_CONFIG_HOME: ~/.config, with the built-in defaults", [] {},
         {program, "", (root / "home").string()}, root / "home" / ".config" / "Tandemora", "", zeros},
        {"a relative XDG_CONFIG_HOME is ignored", [] {},
         {program, "relative", (root / "home").string()}, root / "home" / ".config" / "Tandemora", "", zeros},
        {"files already there are kept",
         [&] {
             writeAll(config / "Tandemora" / "Tandemora.INI", "mine");
             writeAll(shipped / "Tandemora.INI", "shipped"); writeAll(shipped / "Tandemora.WL", "swl");
         },
         {program, config.string(), ""}, config / "Tandemora", "mine", "swl"},
        {"no configuration folder at all: beside the program", [] {}, {program, "", ""}, program, "", ""},
    };
    for (const auto& c : cases) {
        fs::remove_all(root);
        fs::create_directories(program);
        c.prepare();
        const SettingsFiles files = chooseSettingsFiles(c.surroundings);
        EXPECT_EQ(files.settingsFile, c.expectedFolder / "Tandemora.INI") << c.what;
        EXPECT_EQ(files.layoutFile, c.expectedFolder / "Tandemora.WL") << c.what;
        EXPECT_EQ(readAll(files.settingsFile), c.expectedSettings) << c.what;
        EXPECT_EQ(readAll(files.layoutFile), c.expectedLayouts) << c.what;
        if (c.expectedFolder != program) {
            EXPECT_TRUE((fs::status(files.settingsFile).permissions() & fs::perms::owner_write) != fs::perms::none) << c.what;
        }
    }
    fs::remove_all(root);
}

}  // namespace
