#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "settings/recent_files.h"

using namespace tandemora;
namespace fs = std::filesystem;

namespace {

using Names = std::vector<std::string>;

TEST(RecentFiles, OrderLimitAndDuplicates) {
    const std::string cwd = fs::current_path().string();
    const struct {
        const char* what;
        std::function<void(RecentFiles&)> steps;
        Names expected;
    } cases[] = {
        {"most recent first", [](RecentFiles& r) { r.add("/a"); r.add("/b"); }, {"/b", "/a"}},
        {"a listed file moves to the front",
         [](RecentFiles& r) { for (const char* f : {"/a", "/b", "/c", "/a"}) r.add(f); }, {"/a", "/c", "/b"}},
        {"the oldest falls off past eight",
         [](RecentFiles& r) { for (char c = 'a'; c <= 'j'; ++c) r.add(std::string("/") + c); },
         {"/j", "/i", "/h", "/g", "/f", "/e", "/d", "/c"}},
        {"one file however it was named", [](RecentFiles& r) { r.add("x.bpgn"); r.add(fs::current_path() / "./x.bpgn"); },
         {cwd + "/x.bpgn"}},
        {"names compared as bytes", [](RecentFiles& r) { r.add("/g\xe9.bpgn"); r.add("/G\xe9.bpgn"); r.add("/g\xc3\xa9.bpgn"); },
         {"/g\xc3\xa9.bpgn", "/G\xe9.bpgn", "/g\xe9.bpgn"}},
        {"a name with a line break is not kept", [](RecentFiles& r) { r.add("/a"); r.add("/b\nc"); }, {"/a"}},
        {"a missing file is removed",
         [](RecentFiles& r) { r.add("/a"); r.add("/b"); EXPECT_TRUE(r.remove("/a")); EXPECT_FALSE(r.remove("/z")); }, {"/b"}},
    };
    for (const auto& c : cases) {
        RecentFiles recent;
        c.steps(recent);
        EXPECT_EQ(recent.files(), c.expected) << c.what;
    }
}

TEST(RecentFiles, TheSettingsFileKeepsTheListInItsOwnSection) {
    const fs::path folder = fs::path(TANDEMORA_BINARY_DIR) / "recent_files_test";
    fs::create_directories(folder);
    const fs::path ini = folder / "Tandemora.INI";
    const std::string others = "[Board]\r\nAuto queen=1\r\n; a comment\r\n[Main]\r\nSave settings on exit=0\r\n";
    std::ofstream(ini, std::ios::binary) << others << "[Recent Files]\r\nFile1=/old\r\nFile2=/older\r\n";

    RecentFiles recent = loadRecentFiles(ini);
    EXPECT_EQ(recent.files(), (Names{"/old", "/older"}));
    recent.add("/trailing blank ");
    recent.remove("/older");
    ASSERT_TRUE(saveRecentFiles(recent, ini));

    std::ifstream in(ini, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::string expected = others + "[Recent Files]\r\nFile1=\"/trailing blank \"\r\nFile2=/old\r\n";
    for (int i = 3; i <= 8; ++i) expected += "File" + std::to_string(i) + "=\r\n";
    EXPECT_EQ(text, expected);
    EXPECT_EQ(loadRecentFiles(ini).files(), (Names{"/trailing blank ", "/old"}));

    // The settings file is the user's to make: a missing one is not created.
    EXPECT_FALSE(saveRecentFiles(recent, folder / "missing.INI"));
    EXPECT_FALSE(fs::exists(folder / "missing.INI"));
    fs::remove_all(folder);
}

}  // namespace
