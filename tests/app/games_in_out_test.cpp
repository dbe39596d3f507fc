// Games in and out of the program: the Edit menu's clipboard commands and the diagrams of
// File > Export Diagram.
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QXmlStreamReader>

#include "app/diagram/diagram.h"
#include "tests/app/app_fixture.h"

namespace {

using namespace tandemora;
using namespace app_test;

// A bughouse game with a rated player whose name is Latin-1, an annotation, a comment and a
// variation; and a crazyhouse game whose pockets hold a pawn each.
const char* const kGames =
    "[Event \"Bughouse club night\"]\n[Site \"Caf\xe9 Nord\"]\n[Date \"2024.05.01\"]\n"
    "[WhiteA \"M\xfcller\"][WhiteAElo \"1850\"]\n[BlackA \"bob\"][BlackAElo \"++++\"]\n"
    "[WhiteB \"cy\"][WhiteBElo \"1700\"]\n[BlackB \"di\"][BlackBElo \"1650\"]\n"
    "[TimeControl \"120+0\"]\n[Result \"1-0\"]\n\n"
    "1A. e4 {119} {A:!} 1B. d4 {118} 1a. d5 {117} {C:the centre} 1b. e5 {116} (1b. Nf6 {115}) 2A. exd5 {114}\n\n"
    "{bob resigns} 1-0\n\n"
    "[Event \"Crazyhouse game\"]\n\n1A. e4 {180} 1a. d5 {179} 2A. exd5 {178} 2a. Qxd5 {177}\n\n{*} *\n";

class GamesInOutTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        std::ofstream(folder / "club.bpgn", std::ios::binary) << kGames;
        ASSERT_TRUE(app->openFile((folder / "club.bpgn").string()));
        list = app->managerList().front();
    }
    // Shows game `index` of the list at the end of its main line, its board A the active window.
    CGame& show(int index) {
        if (list->currentGame()) answer("Yes");  // to closing the game shown before
        list->selectItem(index);
        CGame& game = *list->games()[static_cast<size_t>(index)];
        game.toEnd();
        static_cast<CBoardFrame&>(*game.boardA).bringToTop();
        return game;
    }
    std::string clipboard() { return QGuiApplication::clipboard()->text().toLatin1().toStdString(); }
    void run(int id) { app->mainFrame().runCommand(id); }

    CBPGNManager* list = nullptr;
};

TEST_F(GamesInOutTest, ACopiedGameIsWhatSaveWritesAndPastesBackAsANewUnsavedList) {
    CGame& game = show(0);
    run(kCopyGame);
    ASSERT_TRUE(list->saveGames((folder / "saved.bpgn").string()));
    const std::string saved = fileText(folder / "saved.bpgn");
    EXPECT_EQ(clipboard(), saved.substr(0, saved.find("[Event \"Crazyhouse game\"]")));

    run(kPasteGame);
    ASSERT_EQ(app->managerList().size(), 2u);
    CBPGNManager* pasted = app->managerList().back();
    EXPECT_EQ(pasted->path(), "Unsaved");
    ASSERT_EQ(pasted->gameCount(), 1);
    CGame& copy = *pasted->games()[0];
    EXPECT_EQ(copy.WhiteA, "M\xfcller");
    EXPECT_EQ(copy.WhiteAElo, game.WhiteAElo);
    EXPECT_EQ(copy.baseSeconds, 120);
    pasted->selectItem(0);
    std::ostringstream again;
    ASSERT_TRUE(copy.storeGameToStream(again));
    EXPECT_EQ(again.str(), clipboard()) << "the same tags, moves, clocks, annotations and variations";

    // Save asks for a name: the paste came from no file.
    chooseFile({});
    app->save(nullptr, pasted, false);
    EXPECT_EQ(pasted->path(), "Unsaved");

    // The pasted game lives nowhere else: closing its list unsaved asks first.
    std::string question;
    dialog_test::whenModal(QStringLiteral("Tandemora"), [&question](QDialog& box) {
        question = static_cast<QMessageBox&>(box).text().toStdString();
        dialog_test::click(box, "Cancel");
    });
    EXPECT_FALSE(pasted->closeWithPrompt(true));
    EXPECT_EQ(question, "Save game changes to Unsaved?");
}

TEST_F(GamesInOutTest, CopyPositionGivesEachBoardsFenWithPocketAndCounters) {
    const struct {
        int game;
        bool fromBoardB;
        const char* text;
    } cases[] = {
        {1, false, "rnb1kbnr/ppp1pppp/8/3q4/8/8/PPPP1PPP/RNBQKBNR[Pp] w KQkq - 0 3"},
        // The pawn White took on board A went to Black's partner on board B.
        {0, true,
         "rnbqkbnr/ppp1pppp/8/3P4/8/8/PPPP1PPP/RNBQKBNR[] b KQkq - 0 2 | "
         "rnbqkbnr/pppp1ppp/8/4p3/3P4/8/PPP1PPPP/RNBQKBNR[p] w KQkq e6 0 2"},
    };
    for (const auto& c : cases) {
        CGame& game = show(c.game);
        if (c.fromBoardB) static_cast<CBoardFrame&>(*game.boardB).bringToTop();
        run(kCopyPosition);
        EXPECT_EQ(clipboard(), c.text) << c.game;
    }
}

TEST_F(GamesInOutTest, PastedForeignPgnGoesThroughTheImporterAsTheClipboardGivesIt) {
    // A byte order mark, and a name beyond Latin-1 whose letter becomes '?'.
    QGuiApplication::clipboard()->setText(QString::fromUtf8(
        "\xef\xbb\xbf[Event \"Rated crazyhouse game\"]\n[Variant \"Crazyhouse\"]\n[White \"\xc5\x81ukasz\"]\n"
        "[Black \"eve\"]\n[Result \"1-0\"]\n\n1. e4 e5 2. Nf3 Nc6 1-0\n"));
    std::string question;
    dialog_test::whenModal(QStringLiteral("Tandemora"), [&question](QDialog& box) {
        question = static_cast<QMessageBox&>(box).text().toStdString();
        dialog_test::click(box, "Yes");
    });
    run(kPasteGame);
    EXPECT_EQ(question, "Not every game of the pasted text is in the form this program writes, but 1 game can be "
                        "imported. Import into a new game list?");
    ASSERT_EQ(app->managerList().size(), 2u);
    CBPGNManager* imported = app->managerList().back();
    EXPECT_EQ(imported->path(), "Unsaved");
    ASSERT_EQ(imported->gameCount(), 1);
    EXPECT_EQ(imported->games()[0]->WhiteA, "?ukasz");
}

TEST_F(GamesInOutTest, AClipboardWithoutGamesSaysSoAndOpensNothing) {
    const struct {
        QString text;
        std::string message;
    } cases[] = {
        {QString(), "The clipboard holds no text to read games from."},
        {QStringLiteral(" \n"), "The clipboard holds no text to read games from."},
        {QStringLiteral("hello"),
         "Could not parse any games in the pasted text; of the games found, 1 has moves without tags and is skipped"},
    };
    for (const auto& c : cases) {
        QGuiApplication::clipboard()->setText(c.text);
        std::string message;
        keepMessage(message);
        run(kPasteGame);
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(app->managerList().size(), 1u);
    }
}

TEST_F(GamesInOutTest, TheMoveEntryBoxKeepsCtrlVForItsOwnText) {
    CGame& game = show(1);
    auto& frame = static_cast<CBoardFrame&>(*game.boardA);
    app->mainFrame().show();
    app->mainFrame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&app->mainFrame()));
    frame.moveEntryBox()->setFocus();
    QGuiApplication::clipboard()->setText(QStringLiteral("Nf3"));
    // Were the key to paste a game, its message would not hold the test up.
    QTimer closer;
    closer.setSingleShot(true);
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget* box = QApplication::activeModalWidget()) box->close();
    });
    closer.start(100);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(frame.moveEntryBox()->text(), "Nf3");
    EXPECT_EQ(app->managerList().size(), 1u);
}

// Whether two images agree in every pixel of the top-left `size`.
bool samePixels(const QImage& a, const QImage& b, QSize size) {
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) return false;
    return true;
}

TEST_F(GamesInOutTest, ADiagramIsTheWindowsOwnDrawingAtTheChosenScale) {
    CGame& game = show(0);
    const auto& a = static_cast<const CBoardFrame&>(*game.boardA);
    ASSERT_EQ(a.backBuffer().devicePixelRatio(), 1);
    const QImage shown = diagramImage(game, 1);
    const QImage drawnA = a.drawingAt(1);
    EXPECT_TRUE(samePixels(shown, a.backBuffer(), drawnA.size())) << "board A as its window shows it";
    EXPECT_GT(shown.width(), 2 * drawnA.width()) << "board B beside it";

    const QImage twice = diagramImage(game, 2);
    EXPECT_EQ(twice.size(), shown.size() * 2);
    // Every square of board A, at its centre, has the colour the window shows there.
    const BoardLayout& l = a.boardLayout();
    const int s = l.squareSize;
    for (int row = 0; row < 8; ++row)
        for (int column = 0; column < 8; ++column) {
            const QPoint centre(l.boardLeft + 1 + column * s + s / 2, l.boardTop + 1 + row * s + s / 2);
            if (a.position().at(column, 7 - row) != ' ') continue;
            EXPECT_EQ(twice.pixel(centre * 2), shown.pixel(centre)) << row << ' ' << column;
        }
}

TEST_F(GamesInOutTest, ExportDiagramWritesPngOrSvgAtTheChosenSizeAndNothingWhenItCannot) {
    CGame& game = show(1);
    const QSize shown = diagramImage(game, 1).size();
    const struct {
        const char* name;
        const char* percent;
        QSize size;
    } cases[] = {
        {"diagram.png", "200", shown * 2},
        {"diagram.SVG", "150", shown * 1.5},
    };
    for (const auto& c : cases) {
        chooseFile((folder / c.name).string());
        dialog_test::whenModal(QStringLiteral("Enter Numeric Value"), [&c](QDialog& dialog) {
            dialog_test::control<QLineEdit>(dialog, "value").setText(QString::fromLatin1(c.percent));
            dialog_test::click(dialog, "OK");
        });
        run(kExportDiagram);
    }
    const QImage png(QString::fromStdString((folder / "diagram.png").string()), "PNG");
    EXPECT_EQ(png.size(), shown * 2);
    EXPECT_GT(png.convertToFormat(QImage::Format_Indexed8).colorCount(), 4) << "not blank";

    QXmlStreamReader svg(QByteArray::fromStdString(fileText(folder / "diagram.SVG")));
    ASSERT_TRUE(svg.readNextStartElement());
    EXPECT_EQ(svg.name(), QStringLiteral("svg"));
    EXPECT_EQ(svg.attributes().value("viewBox"),
              QStringLiteral("0 0 %1 %2").arg(cases[1].size.width()).arg(cases[1].size.height()));

    std::string problem;
    const std::string nowhere = (folder / "missing" / "diagram.png").string();
    EXPECT_FALSE(writeDiagram(diagramImage(game, 1), nowhere, DiagramFormat::kPng, problem));
    EXPECT_NE(problem.find("missing/diagram.png"), std::string::npos) << problem;
    EXPECT_FALSE(fs::exists(folder / "missing"));
}

}  // namespace
