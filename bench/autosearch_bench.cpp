// tandemora-autosearchbench INDEX [STEP_MS]: whether positional auto-search keeps stepping
// through a game smooth with a large index loaded. The longest bughouse game among the first
// thousand of the index's database is stepped through, one move every STEP_MS (50 by default)
// as a held step key or a fast replay does, with the white and black indexes loaded, while a
// 1 ms heartbeat on the window's thread measures how long that thread is kept from its events;
// once with auto-search on and once off. Measured against the search itself in the same run:
//   search        one positional search, from the step to its lines shown (the baseline),
//   ran           the longest time the window's thread ran between two beats during a step:
//                 the longest step and the median one,
//   gap           the same on the wall clock, which includes the time the system gave others,
//   last result   from the last step to the lines of its position shown, also against that
//                 position's own search.
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "bench/bench_timing.h"
#include "app/game_list/bpgn_manager.h"
#include "app/index/index1_dialog.h"
#include "app/index/index1_frame.h"
#include "app/index/search_pages.h"
#include "app/main_frame.h"
#include "app/tandemora_app.h"
#include "board/board_frame.h"
#include "database/database_file.h"
#include "database/index_header.h"

using namespace tandemora;
using tandemora_bench::median;
namespace fs = std::filesystem;

namespace {

double milliseconds(qint64 nanoseconds) { return static_cast<double>(nanoseconds) / 1e6; }

void waitUntilIdle(const CIndex1Frame& window) {
    while (!window.sheet().idle()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    QCoreApplication::processEvents();
}

// The time this thread has run, in nanoseconds.
qint64 threadCpuTime() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64{now.tv_sec} * 1000000000 + now.tv_nsec;
}

struct Stepping {
    // Per step, in milliseconds: the longest gap between two beats, and the longest time this
    // thread ran between two beats. The first includes the time the system gave other programs.
    std::vector<double> stalls, busy;
    double lastResult = 0;  // from the last step until the index window had nothing left to do
};

// Steps through the game from its start, one move every `stepMs`, with a 1 ms heartbeat on this
// thread: a step's stall is the longest gap between two beats while it lasted, less the beat's
// own millisecond.
Stepping stepThrough(CGame& game, int stepMs, bool autoSearchOn, QCheckBox& autoSearch, const CIndex1Frame& window) {
    autoSearch.setChecked(false);
    game.toStart();
    autoSearch.setChecked(autoSearchOn);
    waitUntilIdle(window);
    Stepping stepping;
    QElapsedTimer clock;
    clock.start();
    qint64 lastBeat = 0, longestGap = 0, lastStep = 0;
    qint64 lastCpu = threadCpuTime(), longestBusy = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.setInterval(1);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed(), cpu = threadCpuTime();
        longestGap = std::max(longestGap, now - lastBeat);
        longestBusy = std::max(longestBusy, cpu - lastCpu);
        lastBeat = now;
        lastCpu = cpu;
    });
    QTimer stepper;
    stepper.setInterval(stepMs);
    QObject::connect(&stepper, &QTimer::timeout, [&] {
        if (lastStep) {
            stepping.stalls.push_back(std::max(0.0, milliseconds(longestGap) - 1));
            stepping.busy.push_back(milliseconds(longestBusy));
        }
        longestGap = longestBusy = 0;
        game.forwardOne();
        lastStep = clock.nsecsElapsed();
        if (!game.current->firstChild()) stepper.stop();
    });
    heartbeat.start();
    stepper.start();
    while (stepper.isActive()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    waitUntilIdle(window);
    stepping.stalls.push_back(std::max(0.0, milliseconds(longestGap) - 1));
    stepping.busy.push_back(milliseconds(longestBusy));
    stepping.lastResult = milliseconds(clock.nsecsElapsed() - lastStep);
    return stepping;
}

// The bughouse game with the most moves among the first `count` of the database.
std::unique_ptr<CGame> longBughouseGame(const std::string& databasePath, int count) {
    std::unique_ptr<CGame> longest;
    size_t mostMoves = 0;
    const std::unique_ptr<std::istream> database = openDatabaseForReading(databasePath);
    if (!database) return nullptr;
    int32_t offset = 4;  // past the game count
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<CGame> game = readDatabaseGameAt(*database, offset);
        if (!game) break;
        offset = static_cast<int32_t>(database->tellg());
        const size_t moves = game->moveBuffer ? std::count(game->moveBuffer->begin(), game->moveBuffer->end(), '{') : 0;
        if (game->Event.find("ughouse") != std::string::npos && moves > mostMoves) {
            mostMoves = moves;
            longest = std::move(game);
        }
    }
    return longest;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tandemora-autosearchbench INDEX [STEP_MS]\n");
        return 2;
    }
    const fs::path index = fs::absolute(argv[1]);
    const int stepMs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 50;
    std::ifstream header(index, std::ios::binary);
    IndexHeader names;
    if (!readIndexHeader(header, true, names)) {
        std::fprintf(stderr, "%s is no main index\n", argv[1]);
        return 1;
    }

    const fs::path folder = fs::temp_directory_path() / ("tandemora-autosearchbench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::ofstream(folder / "Tandemora.INI") << "[Directories]\nDatabase directory=" << index.parent_path().string()
                                            << "\n[Event sound]\nEvent sound=0\n";
    std::ofstream(folder / "Tandemora.WL", std::ios::binary) << std::string(1632, '\0');
    // The folder goes last, after the application that keeps its files there.
    struct RemovedAtExit {
        fs::path path;
        ~RemovedAtExit() { fs::remove_all(path); }
    } removed{folder};
    {
        CTandemoraApp app({folder / "Tandemora.INI", folder / "Tandemora.WL"});
        app.start();

        QElapsedTimer clock;
        clock.start();
        auto* window = new CIndex1Frame(app, app.mainFrame().mdiArea());
        app.addToIndexList(window);
        window->loadIndexFile(index.string());
        waitUntilIdle(*window);
        const double mainLoad = milliseconds(clock.nsecsElapsed());
        if (app.indexList().empty()) {
            std::fprintf(stderr, "the index could not be loaded\n");
            return 1;
        }
        clock.restart();
        for (const char* button : {"1109", "1110"})
            window->sheet().widget(1)->findChild<QPushButton*>(QString::fromLatin1(button))->click();
        waitUntilIdle(*window);
        const double sideLoads = milliseconds(clock.nsecsElapsed());

        std::unique_ptr<CGame> game = longBughouseGame((index.parent_path() / names.databaseName).string(), 1000);
        if (!game) {
            std::fprintf(stderr, "no bughouse game in the database\n");
            return 1;
        }
        auto* list = new CBPGNManager(app, app.mainFrame().mdiArea());
        std::vector<std::unique_ptr<CGame>> games;
        games.push_back(std::move(game));
        list->addGames(std::move(games));
        app.addToManagerList(list);
        list->selectItem(0);
        CGame& shown = *list->games().front();
        static_cast<CBoardFrame&>(*shown.boardA).bringToTop();
        QCheckBox& autoSearch = window->sheet().searchPage().autoSearch();
        autoSearch.setChecked(true);
        waitUntilIdle(*window);

        // The baseline: single searches, each from its step to its lines, with nothing else to do.
        std::vector<double> searches;
        for (int i = 0; i < 9 && shown.current->firstChild(); ++i) {
            clock.restart();
            shown.forwardOne();
            waitUntilIdle(*window);
            searches.push_back(milliseconds(clock.nsecsElapsed()));
        }
        const double search = median(searches);

        const Stepping alone = stepThrough(shown, stepMs, false, autoSearch, *window);
        const Stepping searching = stepThrough(shown, stepMs, true, autoSearch, *window);
        // The last position's own search, with nothing else to do: checking auto-search asks for it.
        autoSearch.setChecked(false);
        clock.restart();
        autoSearch.setChecked(true);
        waitUntilIdle(*window);
        const double lastSearch = milliseconds(clock.nsecsElapsed());

        const auto longestOf = [](const std::vector<double>& values) {
            return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
        };
        const double longest = longestOf(searching.busy);
        std::printf("index %s: %s\n", index.filename().c_str(),
                    window->subWindow()->windowTitle().toLatin1().constData());
        std::printf("loaded in %.0f ms, white and black indexes in %.0f ms\n", mainLoad, sideLoads);
        std::printf("%zu steps of a bughouse game, one every %d ms\n", searching.busy.size(), stepMs);
        std::printf("baseline: one positional search, step to lines   %8.1f ms  (median of %zu)\n", search,
                    searches.size());
        std::printf("                                  auto-search:      on       off   (on / search)\n");
        std::printf("longest time the GUI thread ran in a step    %8.1f ms %6.1f ms  %5.3f  %s 16 ms\n", longest,
                    longestOf(alone.busy), longest / search, longest < 16 ? "under" : "OVER");
        std::printf("median of the same                           %8.1f ms %6.1f ms  %5.3f\n", median(searching.busy),
                    median(alone.busy), median(searching.busy) / search);
        std::printf("longest heartbeat gap in a step (wall clock) %8.1f ms %6.1f ms  %5.3f\n",
                    longestOf(searching.stalls), longestOf(alone.stalls), longestOf(searching.stalls) / search);
        std::printf("median of the same                           %8.1f ms %6.1f ms  %5.3f\n",
                    median(searching.stalls), median(alone.stalls), median(searching.stalls) / search);
        std::printf("last step to its position's lines shown      %8.1f ms            %5.3f  (%.3f x that position's"
                    " own search, %.1f ms)\n",
                    searching.lastResult, searching.lastResult / search, searching.lastResult / lastSearch, lastSearch);
        return longest < 16 ? 0 : 1;
    }
}
