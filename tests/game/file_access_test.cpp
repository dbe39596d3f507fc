// Reading whole game files and replacing files through a temporary one, in a folder of its own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

#include "game/file_replacement.h"
#include "game/game_file.h"

namespace tandemora {
namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

class FileAccessTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tandemora-files-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }

    // Every name in the folder with what it holds: a file's bytes, or where a link points.
    std::map<std::string, std::string> contents() const {
        std::map<std::string, std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names[entry.path().filename().string()] =
                entry.is_symlink() ? "-> " + fs::read_symlink(entry.path()).string() : readBytes(entry.path());
        return names;
    }

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

TEST_F(FileAccessTest, ReplacingNeverTouchesAnotherFileAndLeavesNoTemporaryOne) {
    const auto writeNew = [](std::ostream& out) { return static_cast<bool>(out << "new\n"); };
    const auto refuse = [](std::ostream& out) {
        out << "half";
        return false;
    };
    const struct {
        const char* name;
        std::map<std::string, std::string> before;
        bool (*write)(std::ostream&);
        Replacement result;
        std::map<std::string, std::string> after;
    } cases[] = {
        {"a file named like the old temporary one", {{"out.bpgn", "old\n"}, {"out.bpgn.tmp", "precious\n"}},
         writeNew, Replacement::kDone, {{"out.bpgn", "new\n"}, {"out.bpgn.tmp", "precious\n"}}},
        {"a link named like the old temporary one",
         {{"out.bpgn", "old\n"}, {"other.bpgn", "precious\n"}, {"out.bpgn.tmp", "-> other.bpgn"}},
         writeNew, Replacement::kDone,
         {{"out.bpgn", "new\n"}, {"other.bpgn", "precious\n"}, {"out.bpgn.tmp", "-> other.bpgn"}}},
        {"the target through a link", {{"real.bpgn", "old\n"}, {"out.bpgn", "-> real.bpgn"}}, writeNew,
         Replacement::kDone, {{"real.bpgn", "new\n"}, {"out.bpgn", "-> real.bpgn"}}},
        {"a writer that gives up", {{"out.bpgn", "old\n"}}, refuse, Replacement::kCannotWrite, {{"out.bpgn", "old\n"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir);
        fs::create_directory(dir);
        for (const auto& [name, bytes] : c.before) {
            if (bytes.rfind("-> ", 0) == 0) fs::create_symlink(bytes.substr(3), dir / name);
            else writeBytes(dir / name, bytes);
        }
        std::ostringstream err;
        EXPECT_EQ(replaceFile((dir / "out.bpgn").string(), c.write, err), c.result);
        EXPECT_EQ(contents(), c.after);
    }
}

}  // namespace
}  // namespace tandemora
