#include <gtest/gtest.h>

#include "settings/ini_file.h"

using tandemora::IniFile;

namespace {

const char* const sample =
    "; written by hand\n"
    "[Board]\n"
    "  Auto Queen = 1 \r\n"
    "auto queen=7\n"
    "Name=board\n"
    "\n"
    "[ handle font ]\n"
    "Name =  Arial Black\t\n"
    "Size=12pt\n"
    "Bold=\n"
    "Italic=x5\n"
    "\n"
    "[Board]\n"
    "Late=1\n"
    "[Quoted]\n"
    "Name = \"Courier New\" \n"
    "Size=\"14\"\n"
    "Half=\"open\n"
    "Inner=a \"b\" c\n";

TEST(IniFile, Reading) {
    const IniFile file(sample);
    const struct {
        const char *section, *key, *expected;
    } strings[] = {
        {"board", "AUTO QUEEN", "1"},            // case ignored, blanks and CR stripped
        {"Board", "name", "board"},              // same key in another section does not leak
        {"Handle Font", "Name", "Arial Black"},  // blanks inside the value kept
        {"Handle font", "Bold", ""},             // present but empty
        {"Board", "Late", "1"},                  // a repeated section is searched as well
        {"Board", "Missing", "default"},
        {"Missing", "Name", "default"},
        {"Quoted", "Name", "Courier New"},  // enclosing double quotes are not part of the value
        {"Quoted", "Half", "\"open"},
        {"Quoted", "Inner", "a \"b\" c"},
    };
    for (const auto& c : strings)
        EXPECT_EQ(file.readString(c.section, c.key, "default", 100), c.expected) << c.section << "/" << c.key;
    EXPECT_EQ(file.readString("Handle font", "Name", "", 5), "Arial");

    const struct {
        const char *section, *key;
        int expected;
    } numbers[] = {
        {"Board", "Auto queen", 1},     // the first key wins over "7"
        {"Handle font", "Size", 12},    // leading digits only
        {"Handle font", "Bold", 0},     // present without digits gives 0, not the default
        {"Handle font", "Italic", 0},
        {"Handle font", "Underline", -3},  // missing gives the default
        {"Quoted", "Size", 14},
    };
    for (const auto& c : numbers) EXPECT_EQ(file.readInt(c.section, c.key, -3), c.expected) << c.section << "/" << c.key;
}

TEST(IniFile, Writing) {
    const struct {
        const char *name, *before, *section, *key, *value, *after;
    } cases[] = {
        {"replace in place keeps other lines and the line's own end", "[a]\r\nx = 1 \r\ny=2\r\n[b]\r\nx=3\r\n", "A",
         "X", "9", "[a]\r\nX=9\r\ny=2\r\n[b]\r\nx=3\r\n"},
        {"only the first of two keys is replaced", "[a]\nx=1\nx=2\n", "a", "x", "9", "[a]\nx=9\nx=2\n"},
        {"append after the section's last key, before its blank lines", "[a]\nx=1\n\n[b]\ny=2\n", "a", "z", "3",
         "[a]\nx=1\nz=3\n\n[b]\ny=2\n"},
        {"append to the first of repeated sections", "[a]\nx=1\n[b]\n[a]\ny=2\n", "a", "z", "3",
         "[a]\nx=1\nz=3\n[b]\n[a]\ny=2\n"},
        {"missing section appended in the file's CR LF style", "; note\r\n[a]\r\nx=1", "b", "y", "2",
         "; note\r\n[a]\r\nx=1\r\n[b]\r\ny=2\r\n"},
        {"empty file", "", "Main", "k", "v", "[Main]\nk=v\n"},
        {"empty section header", "[a]\n[b]\n", "a", "k", "v", "[a]\nk=v\n[b]\n"},
        {"last line without line end is replaced without one", "[a]\nx=1", "a", "x", "2", "[a]\nx=2"},
    };
    for (const auto& c : cases) {
        IniFile file(c.before);
        file.writeString(c.section, c.key, c.value);
        EXPECT_EQ(file.text(), c.after) << c.name;
        EXPECT_EQ(file.readString(c.section, c.key, "", 100), c.value) << c.name;
    }
}

TEST(IniFile, LoadAndSaveKeepBytes) {
    const auto path = std::filesystem::path(TANDEMORA_BINARY_DIR) / "ini_file_test.ini";
    std::filesystem::remove(path);
    std::string problem;
    EXPECT_EQ(IniFile::load(path, problem)->text(), "");
    const std::string text = "[a]\r\nx=1\r\n\r\n;\tcomment \xe9\r\n";
    ASSERT_TRUE(IniFile(text).save(path));
    EXPECT_EQ(IniFile::load(path, problem)->text(), text);
    std::filesystem::remove(path);
    EXPECT_FALSE(IniFile(text).save(std::filesystem::path(TANDEMORA_BINARY_DIR) / "no such folder" / "x.ini"));
}

}  // namespace
