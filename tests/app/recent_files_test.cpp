// The recent files of the File menu: listed as files are opened and saved, opened from the
// menu, and taken off it when gone.

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "tests/app/app_fixture.h"

namespace {

using namespace tandemora;
using namespace app_test;

class RecentFilesTest : public AppTest {
protected:
    // The recent entries of the File menu as it opens: the only ones that are no command.
    std::vector<QAction*> recentEntries() {
        QMenu* file = app->mainFrame().menuBar()->actions().front()->menu();
        emit file->aboutToShow();
        std::vector<QAction*> entries;
        for (QAction* action : file->actions())
            if (!action->isSeparator() && action->data().isNull()) entries.push_back(action);
        return entries;
    }
    std::vector<std::pair<std::string, std::string>> textsAndTips() {
        std::vector<std::pair<std::string, std::string>> texts;
        for (QAction* entry : recentEntries()) texts.emplace_back(entry->text().toStdString(), entry->statusTip().toStdString());
        return texts;
    }
};

TEST_F(RecentFilesTest, OpenedAndSavedFilesAreListedAndAMissingOneLeavesTheList) {
    const fs::path a = folder / "a&b.bpgn", b = folder / "b.bpgn";
    for (const fs::path& path : {a, b}) std::ofstream(path) << "[Event \"Crazyhouse blitz\"][TimeControl \"120+5\"]\n\n1A. e4 {119} 1a. e5 {118}\n\n{*} *\n";
    ASSERT_TRUE(app->openFile(a.string()));
    ASSERT_TRUE(app->openFile(b.string()));
    app->save(nullptr, app->managerList().front(), false);  // a.bpgn, saved again
    EXPECT_EQ(textsAndTips(), (std::vector<std::pair<std::string, std::string>>{{"&1 a&&b.bpgn", a.string()},
                                                                           {"&2 b.bpgn", b.string()}}));
    EXPECT_NE(fileText(folder / "Tandemora.INI").find("File1=" + a.string() + "\nFile2=" + b.string() + "\n"),
              std::string::npos);

    fs::remove(b);
    std::string message;
    keepMessage(message);
    recentEntries().at(1)->trigger();
    EXPECT_EQ(message, b.string() + " no longer exists; it has been taken off the list of recent files.");
    EXPECT_EQ(recentEntries().size(), 1u);
    EXPECT_NE(fileText(folder / "Tandemora.INI").find("File2=\n"), std::string::npos);
}

}  // namespace
