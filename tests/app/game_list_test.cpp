// Game-list windows: reading a file into lines, opening games by selecting them, saving, and
// the questions that guard unsaved changes.

#include <QListView>
#include <QTest>

#include "tests/app/app_fixture.h"
#include "tests/compressed_text.h"
#include "tests/file_size_limit.h"

namespace {

using namespace tandemora;
using namespace app_test;

const char* const kFile =
    "[Event \"BUGHOUSE night\"]\n\n1A. e4 {179} 1B. d4 {179}\n\n{White resigns} 0-1\n\n"
    "[Event \"Crazyhouse blitz\"][WhiteA \"ann\"][BlackA \"bob\"][BlackAElo \"1500\"]\n"
    "[TimeControl \"120+5\"][Result \"1-0\"]\n\n1A. e4 {119} 1a. e5 {118}\n\n{bob resigns} 1-0\n\n"
    "[Event \"Blitz\"]\n\n1A. e4 {179}\n\n{*} *\n\n"
    "[Event \"Crazyhouse game\"]\n\n1A. d4 {179}\n\n{*} *\n";

// The one game of kFile that a list reads without stopping: no question about importing.
std::string readableGame() {
    const std::string file = kFile;
    const size_t start = file.find("[Event \"Crazyhouse blitz\"]");
    return file.substr(start, file.find("[Event \"Blitz\"]") - start);
}

class GameListTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        path = folder / "club.bpgn";
        std::ofstream(path, std::ios::binary) << kFile;
        answer("No");  // the importer could take three of the four games; keep the two read
        ASSERT_TRUE(app->openFile(path.string()));
        list = app->managerList().front();
    }
    QString line(int row) {
        auto* view = list->findChild<QListView*>();
        return view->model()->data(view->model()->index(row, 0)).toString();
    }
    void select(int row) {
        auto* view = list->findChild<QListView*>();
        view->setCurrentIndex(view->model()->index(row, 0));
    }
    QString title() { return list->subWindow()->windowTitle(); }

    fs::path path;
    CBPGNManager* list = nullptr;
};

TEST_F(GameListTest, ReadsUpToTheFirstUnreadableGameAndListsEachInItsForm) {
    ASSERT_EQ(list->gameCount(), 2);
    EXPECT_EQ(line(0), "Unknown event: WHITE(++++)/BLACK(++++) vs WHITE(++++)/BLACK(++++) 3 0 *");
    EXPECT_EQ(line(1), "Crazyhouse: ann(++++) vs bob(1500) 2 5 1-0");
    EXPECT_EQ(title().toStdString(), path.string() + " Game List.");
}

TEST_F(GameListTest, SelectingOpensTheGameAndAsksBeforeLeavingThePreviousOne) {
    select(0);
    CGame& first = *list->games()[0];
    ASSERT_TRUE(first.boardA);
    EXPECT_EQ(title().toStdString(), path.string() + " Game List (1/2)");
    EXPECT_EQ(static_cast<CBoardFrame&>(*first.boardA).subWindow()->windowTitle(), "Bughouse: club.bpgn (1/2) (B1)");
    select(0);  // the same game again: no question (a question would stay unanswered and fail)

    answer("No");
    select(1);
    EXPECT_TRUE(first.boardA);  // No keeps the old boards open
    EXPECT_EQ(list->currentGame(), list->games()[1].get());

    answer("Cancel");
    select(0);
    EXPECT_EQ(list->currentGame(), list->games()[1].get());
    EXPECT_EQ(list->findChild<QListView*>()->currentIndex().row(), 1);

    // Closing a board window of the current game clears the selection.
    app->closeGame(*list->games()[1], true);
    EXPECT_EQ(list->currentIndex(), -1);
    EXPECT_FALSE(list->games()[1]->boardA);
}

TEST_F(GameListTest, BrowsingWithTheKeyboardKeepsTheFocusInTheList) {
    auto* view = list->findChild<QListView*>();
    QApplication::setActiveWindow(&app->mainFrame());
    view->setFocus();  // puts the cursor on the first line without choosing it: Down chooses it
    for (const auto& [key, game] : {std::pair(Qt::Key_Down, 0), std::pair(Qt::Key_Down, 1), std::pair(Qt::Key_Home, 0)}) {
        if (list->currentGame()) answer("Yes");
        QTest::keyClick(view, key);
        EXPECT_EQ(list->currentGame(), list->games()[static_cast<size_t>(game)].get()) << key;
        QApplication::setActiveWindow(&app->mainFrame());  // offscreen, a closed question leaves none active
        EXPECT_TRUE(view->hasFocus()) << key;
    }
}

TEST_F(GameListTest, CascadedWindowsKeepTheSizeTheyOpenWith) {
    select(0);  // a bughouse game: two boards
    app->mainFrame().runCommand(kCascadeWindows);
    for (const QMdiSubWindow* window : app->mainFrame().mdiArea().subWindowList()) {
        const QSize opening = window == list->subWindow() ? QSize(720, 180) : QSize(480, 480);
        EXPECT_EQ(window->size().expandedTo(opening), window->size()) << window->windowTitle().toStdString();
    }
}

TEST_F(GameListTest, SavingWritesEveryGameAndAFailedSaveKeepsTheOldFile) {
    select(1);
    list->games()[1]->Site = "the club";
    list->games()[1]->modified = true;
    const fs::path copy = folder / "copy.bpgn";
    ASSERT_TRUE(list->saveGames(copy.string()));
    EXPECT_EQ(title().toStdString(), copy.string() + " Game List (2/2)");
    EXPECT_FALSE(list->games()[1]->modified);
    EXPECT_NE(fileText(copy).find("[Site \"the club\"]"), std::string::npos);
    EXPECT_EQ(static_cast<CBoardFrame&>(*list->games()[1]->boardA).subWindow()->windowTitle(),
              "Crazyhouse: copy.bpgn (2/2)");

    // The new file cannot be written whole: the old one stays as it was.
    const std::string before = fileText(copy);
    std::string message;
    keepMessage(message);
    list->games()[0]->modified = true;
    const bool savedGames = underFileSizeLimit(10, [&] { return list->saveGames({}); });
    EXPECT_FALSE(savedGames);
    EXPECT_EQ(message, "Could not save games to " + copy.string());
    EXPECT_EQ(fileText(copy), before);
    EXPECT_TRUE(list->games()[0]->modified);
}

TEST_F(GameListTest, UnsavedChangesAreAskedAboutAndCancelKeepsTheProgramRunning) {
    list->games()[0]->modified = true;
    answer("Cancel");
    EXPECT_FALSE(app->closeAll());
    EXPECT_EQ(app->managerList().size(), 1u);

    answer("Yes");
    EXPECT_TRUE(app->closeAll());
    EXPECT_TRUE(app->managerList().empty());
    EXPECT_EQ(fileText(path).find("[Event \"Blitz\"]"), std::string::npos);  // rewritten: two games
}

TEST_F(GameListTest, AFileAlreadyOpenIsBroughtToTheFrontAndNoOtherListSavesOverIt) {
    const fs::path readable = folder / "readable.bpgn", link = folder / "link.bpgn";
    std::ofstream(readable, std::ios::binary) << readableGame();
    fs::create_symlink(readable, link);
    ASSERT_TRUE(app->openFile(readable.string()));
    app->mainFrame().runCommand(kNewCrazyhouseGame);
    chooseFile(link.string());
    app->mainFrame().runCommand(kOpenFile);
    EXPECT_EQ(app->managerList().size(), 2u);
    EXPECT_EQ(app->activeChild().list, app->managerList().back());

    std::string message;
    keepMessage(message);
    chooseFile(link.string());
    confirmReplacing();
    app->save(&board(0), nullptr, false);
    EXPECT_EQ(message, link.string() + " is open in another game list; close that list first.");
    EXPECT_EQ(fileText(readable), readableGame());
}

TEST_F(GameListTest, FileNamesAreTheFileSystemsBytes) {
    const fs::path cyrillic = folder / "Партия é.bpgn", copy = folder / "копия é.bpgn";
    std::ofstream(cyrillic, std::ios::binary) << readableGame();
    chooseFile(cyrillic.string());
    app->mainFrame().runCommand(kOpenFile);
    ASSERT_EQ(app->managerList().size(), 2u);
    list = app->managerList().back();
    EXPECT_EQ(list->subWindow()->windowTitle(), QString::fromStdString(cyrillic.string()) + " Game List.");
    select(0);
    EXPECT_EQ(static_cast<CBoardFrame&>(*list->games()[0]->boardA).subWindow()->windowTitle(),
              QStringLiteral("Crazyhouse: Партия é.bpgn (1/1)"));

    chooseFile(copy.string());
    app->mainFrame().runCommand(kSaveAs);
    EXPECT_NE(fileText(copy).find("[WhiteA \"ann\"]"), std::string::npos);
    EXPECT_EQ(list->path(), copy.string());

    std::string message;
    keepMessage(message);
    EXPECT_FALSE(app->openFile((folder / "нет.bpgn").string()));
    EXPECT_EQ(message, "Could not open " + (folder / "нет.bpgn").string());
}

// Save As hands a crazyhouse list to other programs as PGN; the list stays with its own file.
TEST_F(GameListTest, SaveAsWritesCrazyhouseListsAsPgnForOtherPrograms) {
    const fs::path file = folder / "blitz.bpgn", pgn = folder / "blitz.pgn";
    std::ofstream(file, std::ios::binary) << readableGame();
    chooseFile(file.string());
    app->mainFrame().runCommand(kOpenFile);
    list = app->managerList().back();
    chooseFile(pgn.string(), QStringLiteral("PGN (crazyhouse) (*.pgn)"));
    app->mainFrame().runCommand(kSaveAs);
    const std::string written = fileText(pgn);
    EXPECT_NE(written.find("[Variant \"Crazyhouse\"]\n"), std::string::npos) << written;
    EXPECT_NE(written.find("1. "), std::string::npos) << written;
    EXPECT_EQ(list->path(), file.string());
    EXPECT_EQ(fileText(file), readableGame());
}

TEST_F(GameListTest, ANewGameSavedAsAFileBecomesTheFirstGameOfItsOwnList) {
    app->mainFrame().runCommand(kNewCrazyhouseGame);
    CGame* game = app->newGameList().front().get();
    chooseFile((folder / "new.bpgn").string());
    app->save(static_cast<CBoardFrame*>(game->boardA.get()), nullptr, false);
    EXPECT_TRUE(app->newGameList().empty());
    ASSERT_EQ(app->managerList().size(), 2u);
    EXPECT_EQ(game->manager, app->managerList().back());
    EXPECT_EQ(static_cast<CBoardFrame&>(*game->boardA).subWindow()->windowTitle(), "Crazyhouse: new.bpgn (1/1)");
    EXPECT_NE(fileText(folder / "new.bpgn").find("[Event \"Crazyhouse game\"]"), std::string::npos);
}

TEST_F(GameListTest, AFileTheReaderCannotReadIsOfferedForImport) {
    const fs::path foreign = folder / "foreign.pgn";
    std::ofstream(foreign) << "[Event \"Rated crazyhouse game\"]\n[Variant \"Crazyhouse\"]\n[Result \"1-0\"]\n\n"
                              "1. e4 e5 2. Nf3 Nc6 1-0\n\n"
                              "[Event \"Rated crazyhouse game\"]\n[FEN \"4k3/8/8/8/8/8/8/4K3 w - - 0 1\"]\n\n1. Kd2 *\n";
    std::string question;
    dialog_test::whenModal(QStringLiteral("Tandemora"), [&question](QDialog& box) {
        question = static_cast<QMessageBox&>(box).text().toStdString();
        dialog_test::click(box, "Yes");
    });
    EXPECT_TRUE(app->openFile(foreign.string()));
    EXPECT_EQ(question, "Not every game of " + foreign.string() +
                            " is in the form this program writes, but 1 game can be imported; 1 starts from a "
                            "set-up position and is skipped. Import into a new game list? The file itself stays "
                            "as it is.");
    ASSERT_EQ(app->managerList().size(), 2u);
    CBPGNManager* imported = app->managerList().back();
    EXPECT_EQ(imported->path(), "Unsaved");
    EXPECT_EQ(imported->gameCount(), 1);
    EXPECT_EQ(imported->subWindow()->windowTitle(), "Unsaved Game List (imported from foreign.pgn).");
    imported->selectItem(0);
    EXPECT_EQ(imported->subWindow()->windowTitle(), "Unsaved Game List (imported from foreign.pgn) (1/1)");
}

// Saving writes plain BPGN: it never takes a compressed file's place.
TEST_F(GameListTest, ACompressedFileOpensAsAnUnsavedListAndSaveAsksForAName) {
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {{"blitz.bpgn.gz", gzipOf(readableGame())}, {"blitz.bpgn.bz2", bzip2Of(readableGame())}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = folder / c.name, saved = folder / (std::string("saved-") + c.name + ".bpgn");
        std::ofstream(file, std::ios::binary) << c.bytes;
        ASSERT_TRUE(app->openFile(file.string()));
        list = app->managerList().back();
        EXPECT_EQ(list->path(), "Unsaved");
        EXPECT_EQ(list->gameCount(), 1);
        EXPECT_EQ(title().toStdString(), std::string("Unsaved Game List (imported from ") + c.name + ").");
        chooseFile(saved.string());
        app->save(nullptr, list, false);
        EXPECT_NE(fileText(saved).find("1A. e4 {119} 1a. e5 {118}"), std::string::npos);
        EXPECT_EQ(fileText(file), c.bytes);
        list->closeWithPrompt(true);

        std::string message;
        keepMessage(message);
        std::ofstream(file, std::ios::binary) << c.bytes.substr(0, c.bytes.size() / 2);
        EXPECT_FALSE(app->openFile(file.string()));
        EXPECT_EQ(message, file.string() + " is damaged: the compressed data ends early");
    }
}

TEST_F(GameListTest, AFileWhoseGamesAreAllSkippedSaysWhy) {
    const fs::path foreign = folder / "set-up.pgn";
    std::ofstream(foreign) << "[Event \"crazyhouse\"]\n[FEN \"4k3/8/8/8/8/8/8/4K3 w - - 0 1\"]\n\n1. Kd2 *\n";
    std::string message;
    keepMessage(message);
    EXPECT_FALSE(app->openFile(foreign.string()));
    EXPECT_EQ(message, "Could not parse any games in " + foreign.string() +
                           "; of the games found, 1 starts from a set-up position and is skipped");
}

TEST_F(GameListTest, OpeningAGameReadInPartSaysSoAndSavingItEditedAsksFirst) {
    const fs::path file = folder / "in-part.bpgn";
    const std::string text = "[Event \"Crazyhouse game\"]\n\n1A. e4 {180} ) 1a. e5 {179}\n\n{*} *\n";
    std::ofstream(file, std::ios::binary) << text;
    ASSERT_TRUE(app->openFile(file.string()));
    list = app->managerList().back();
    std::string message;
    dialog_test::whenModal(QStringLiteral("Tandemora"), [&message](QDialog& box) {
        message = static_cast<QMessageBox&>(box).text().toStdString();
        box.accept();
    });
    select(0);
    EXPECT_EQ(message.rfind("The moves of this game could be read only up to line 1, column 14", 0), 0u) << message;

    CGame& game = *list->games()[0];
    ASSERT_TRUE(list->saveGames({}));  // unedited: no question, the text stays whole
    EXPECT_EQ(fileText(file).substr(fileText(file).find("\n\n") + 2), "1A. e4 {180} ) 1a. e5 {179}\n\n{*} *\n");
    game.toEnd();
    ASSERT_TRUE(game.boardA->rules().makeMoveFromText("c5", false, false));
    const std::string before = fileText(file);
    answer("No");
    EXPECT_FALSE(list->saveGames({}));
    EXPECT_EQ(fileText(file), before);
    EXPECT_TRUE(game.modified);
    answer("Yes");
    EXPECT_TRUE(list->saveGames({}));
    EXPECT_NE(fileText(file).find("\n1A. e4 {180} 1a. c5 {180}\n"), std::string::npos);
    EXPECT_FALSE(game.movesReadUpTo);
}

}  // namespace
