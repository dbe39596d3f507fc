// Reading whole game files, in a folder of its own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "game/game_file.h"

namespace tandemora {
namespace {

namespace fs = std::filesystem;

void writeBytes(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

class FileAccessTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tandemora-files-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path dir;
};

TEST_F(FileAccessTest, ReadingRefusesWhatIsNoRegularFileOrTooLarge) {
    writeBytes(dir / "game.bpgn", "[Event \"Crazyhouse game\"]\n");
    const struct {
        std::string path;
        uint64_t limit;
        std::string problem;  // empty: read
    } cases[] = {
        {(dir / "game.bpgn").string(), 26, ""},
        {(dir / "game.bpgn").string(), 25, "larger than 25 bytes"},
        {dir.string(), kMaxGameFileBytes, "not a regular file"},
        {"/dev/null", kMaxGameFileBytes, "not a regular file"},
        {"/dev/zero", kMaxGameFileBytes, "not a regular file"},
        {(dir / "missing.bpgn").string(), kMaxGameFileBytes, "No such file or directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path + " " + std::to_string(c.limit));
        std::string problem;
        const auto text = readFileText(c.path, problem, c.limit);
        EXPECT_EQ(text.has_value(), c.problem.empty());
        if (text) EXPECT_EQ(*text, "[Event \"Crazyhouse game\"]\n");
        else EXPECT_EQ(problem, c.problem);
    }
}

}  // namespace
}  // namespace tandemora
