// The application with databases and indexes made from the example games, and index windows
// opened on them as a user opens them.
#pragma once

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

#include "app/index/index1_dialog.h"
#include "app/index/index1_frame.h"
#include "app/index/search_pages.h"
#include "database/database_file.h"
#include "database/index_search.h"
#include "database/index_writer.h"
#include "tests/app/app_fixture.h"

namespace index_test {

using namespace tandemora;
using namespace app_test;

class Quiet : public ProgressReporter {
public:
    void message(const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

// The games of an example file, each with its text.
inline std::vector<std::string> exampleGames(const char* name) {
    std::istringstream in(fileText(fs::path(TANDEMORA_SOURCE_DIR) / "examples" / name));
    std::vector<std::string> games;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("[Event ")) games.emplace_back();
        if (!games.empty()) games.back() += line + '\n';
    }
    return games;
}

// Keeps the text of every message box that shows, and closes it: a question is answered No.
class MessageBoxWatch : public QObject {
public:
    MessageBoxWatch() { qApp->installEventFilter(this); }
    ~MessageBoxWatch() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (auto* box = qobject_cast<QMessageBox*>(watched); box && event->type() == QEvent::Show) {
            texts.push_back(box->text().toStdString());
            QTimer::singleShot(0, box, &QDialog::reject);
        }
        return false;
    }
    std::vector<std::string> texts;
};

class IndexTest : public AppTest {
protected:
    // The games written into a database in the database folder, indexed for every player;
    // the main index's path.
    std::string buildIndex(const std::string& name, const std::string& games) {
        const fs::path databases = folder / "Databases", source = folder / ("bpgn-" + name);
        fs::create_directories(source);
        fs::create_directories(databases);
        std::ofstream(source / "games.bpgn", std::ios::binary) << games;
        Quiet quiet;
        EXPECT_TRUE(buildDatabase(source.string() + "/", (databases / (name + ".db")).string(), quiet));
        IndexSettings settings;
        settings.indexPath = (databases / (name + ".ind")).string();
        settings.databaseName = name + ".db";
        settings.databasePath = (databases / settings.databaseName).string();
        settings.players = {"*"};
        EXPECT_TRUE(createIndexFiles(settings, quiet));
        return settings.indexPath;
    }
    // Load Index with the file chosen; the new window once its index is loaded, or null when
    // it closed.
    CIndex1Frame* loadIndex(const std::string& path) {
        const size_t before = app->indexList().size();
        chooseFile(path);
        app->mainFrame().runCommand(kLoadIndex);
        if (app->indexList().size() != before + 1) return nullptr;
        const QPointer<CIndex1Frame> window = app->indexList().back();
        const auto listed = [&] { return window && app->indexList().size() == before + 1; };
        waitUntil([&] { return !listed() || window->sheet().idle(); });
        return listed() ? window.data() : nullptr;
    }
    static void waitUntilIdle(const CIndex1Frame& window) {
        waitUntil([&] { return window.sheet().idle(); });
    }
    static void waitUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!done() && std::chrono::steady_clock::now() < deadline)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        ASSERT_TRUE(done()) << "the index window's work did not end";
        QCoreApplication::processEvents();
    }
    template <class Control>
    static Control& control(const CIndex1Frame& window, int page, const char* id) {
        return dialog_test::control<Control>(*window.sheet().widget(page), id);
    }
    static std::vector<std::string> lines(const CIndex1Frame& window) {
        const QListWidget& list = window.sheet().searchPage().resultList();
        std::vector<std::string> texts;
        for (int row = 0; row < list.count(); ++row) texts.push_back(list.item(row)->text().toStdString());
        return texts;
    }
    // Search pressed, with whatever it shows closed; the texts it showed.
    std::vector<std::string> search(CIndex1Frame& window) {
        const MessageBoxWatch watch;
        window.sheet().setCurrentWidget(&window.sheet().searchPage());
        window.sheet().searchPage().searchButton().click();
        waitUntilIdle(window);
        return watch.texts;
    }
    // What the search engine of the command line finds for the same values and position.
    struct Found {
        std::vector<std::string> lines;
        std::map<std::string, MoveStats, std::less<>> stats;
    };
    Found engineSearch(const std::string& indexPath, const SearchPageValues& values, const Board* position) {
        Quiet quiet;
        IndexSearch search(quiet, (folder / "Databases").string());
        search.loadIndexFile(kMainIndexFile, indexPath);
        if (position) search.toggleSideIndex(position->sideToMove == 1 ? 0 : 1);
        if (!search.prepareSearch(values, position, [](const std::string&) { return true; })) return {};
        search.runSearch();
        return {search.resultList(), search.results()};
    }
};

}  // namespace index_test
