// The database and index dialogs driven as a user would: fields typed, Create pressed, the
// messages of the build answered.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <QLineEdit>
#include <QPushButton>

#include "app/databases/database_dialog.h"
#include "app/databases/index_creation_dialog.h"
#include "tests/app/app_fixture.h"
#include "tests/app/databases/message_boxes.h"

namespace {

using namespace tandemora;
using namespace dialog_test;
using database_dialog_test::BoxAnswerer;
namespace fs = std::filesystem;

std::string game(const std::string& player) {
    return "[Event \"Crazyhouse game\"]\n[WhiteA \"" + player + "\"]\n\n1A. e4 {179} 1a. e5 {178}\n\n{" + player +
           " resigns} 0-1\n\n";
}

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The game count at the head of a database, and the number of whole records behind it.
std::pair<int32_t, int32_t> countAndRecords(const fs::path& database) {
    const std::string bytes = bytesOf(database);
    auto int32At = [&](size_t at) {
        int32_t value = 0;
        std::memcpy(&value, bytes.data() + at, 4);
        return value;
    };
    int32_t records = 0;
    for (size_t at = 4; at + 4 <= bytes.size(); ++records) at += 8 + static_cast<size_t>(int32At(at));
    return {bytes.size() >= 4 ? int32At(0) : -1, records};
}

// A file this process cannot read while the object lives. Root reads any file, so the process
// then acts as nobody; its folder must be open to everyone.
class Unreadable {
public:
    explicit Unreadable(const fs::path& file) : file_(file) {
        chmod(file.c_str(), 0);
        if (geteuid() == 0) {
            EXPECT_EQ(seteuid(kNobody), 0);
        }
    }
    ~Unreadable() {
        if (geteuid() == kNobody) {
            EXPECT_EQ(seteuid(0), 0);
        }
        chmod(file_.c_str(), 0644);
    }

private:
    static constexpr uid_t kNobody = 65534;
    fs::path file_;
};

class DatabaseDialogs : public app_test::AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        fs::permissions(folder, fs::perms::all);
        games = folder / "games";
        fs::create_directory(games);
        fs::permissions(games, fs::perms::all);
        std::ofstream(games / "a.bpgn") << game("Ann");
        std::ofstream(games / "b.bpgn") << game("Bob");
        std::ofstream(games / "c.bpgn") << game("Cy");
        database = folder / "games.db";
    }
    // Fills the database dialog's fields and presses Create, twice.
    void create(const fs::path& bpgnFolder, const std::function<void(QDialog&)>& whileBuilding = {}) {
        whenModal(QStringLiteral("Create New BPGN Database"), [=, this](QDialog& dialog) {
            control<QLineEdit>(dialog, "databaseName").setText(QString::fromStdString(database.string()));
            control<QLineEdit>(dialog, "bpgnFolder").setText(QString::fromStdString(bpgnFolder.string()));
            click(dialog, "Create");
            EXPECT_TRUE(static_cast<BuildDialog&>(dialog).building());
            click(dialog, "Create");  // disabled: nothing more starts
            if (whileBuilding) whileBuilding(dialog);
        });
        app->mainFrame().runCommand(kCreateDatabase);
    }

    fs::path games, database;
};

TEST_F(DatabaseDialogs, AnUnreadableFileIsReportedAndTheBuildGoesOn) {
    BoxAnswerer boxes;
    {
        Unreadable unreadable(games / "b.bpgn");
        create(games);
    }
    EXPECT_EQ(boxes.texts, (std::vector<std::string>{"Could not add file b.bpgn to the database.",
                                                     "Database successfully updated, 2 games added, now contains 2 games."}));
    EXPECT_EQ(countAndRecords(database), std::pair(2, 2));
}

TEST_F(DatabaseDialogs, ClosingTheProgramStopsTheBuildAndWaitsForIt) {
    for (int i = 0; i < 20; ++i) {
        std::string many;
        for (int g = 0; g < 500; ++g) many += game(std::to_string(g));
        std::ofstream(games / ("many" + std::to_string(i) + ".bpgn")) << many;
    }
    BoxAnswerer boxes;
    create(games, [this](QDialog&) { app->mainFrame().close(); });
    EXPECT_FALSE(app->mainFrame().isVisible());
    EXPECT_EQ(boxes.texts, std::vector<std::string>{"Stop building the database?"});
    // Stopped at the next game, or finished before the question was answered: whole either way.
    const auto [count, records] = countAndRecords(database);
    EXPECT_EQ(count, records);
}

TEST_F(DatabaseDialogs, IndexDialogRefusalsKeepItOpen) {
    const std::string indexDialog = "Index Creation Dialog";
    {
        BoxAnswerer boxes;
        create(games);
    }
    std::ofstream(folder / "notes.ind") << "my notes\n";
    const std::string noPlayer = "You must specify at least one player for this index.";
    const struct {
        std::string index, players, rating;
        std::string refusal;
        bool asked;  // whether to write over a file that is no index (answered No)
    } cases[] = {
        {"x.ind", "", "0", noPlayer, false},
        {"x.ind", " , ", "0", noPlayer, false},
        {"x.ind", "*", "", "Please enter an integer.", false},
        {"games.db", "*", "0", (folder / "games.db").string() + " is the database itself; choose another index file name.", false},
        {"games", "*", "0", (folder / "games").string() + " is not a regular file; choose another index file name.", false},
        {"notes.ind", "*", "0", (folder / "notes.ind").string() + "\nis not an index file. Write the index over it?", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.refusal);
        std::string message;
        bool stillOpen = false;
        whenModal(QString::fromStdString(indexDialog), [&](QDialog& dialog) {
            control<QLineEdit>(dialog, "indexName").setText(QString::fromStdString((folder / c.index).string()));
            control<QLineEdit>(dialog, "databaseName").setText(QString::fromStdString(database.string()));
            control<QLineEdit>(dialog, "players").setText(QString::fromStdString(c.players));
            control<QLineEdit>(dialog, "playerRating").setText(QString::fromStdString(c.rating));
            whenRefused(message, QString::fromStdString(indexDialog), [&](QDialog& open) {
                stillOpen = true;
                click(open, "Cancel");
            });
            click(dialog, "Create");
        });
        app->mainFrame().runCommand(kCreateIndex);
        EXPECT_EQ(message, c.refusal);
        EXPECT_TRUE(stillOpen);
        EXPECT_FALSE(fs::exists(folder / "x.ind"));
    }
    EXPECT_EQ(bytesOf(folder / "notes.ind"), "my notes\n");
}

}  // namespace
