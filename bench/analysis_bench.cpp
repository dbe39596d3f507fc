// tandemora-analysisbench FILE [STEPS]: how long the Analysis panel takes to follow a step,
// against the engine's own time to answer. Board A of FILE's first game is stepped through
// STEPS moves (30 by default) with the panel on, the engine searching each position 100 ms
// before the next step, in the program itself (headless):
//   engine   from "position" and "go infinite" written to the engine's first "info" line,
//            the engine driven directly over its pipes, for the same positions (the baseline),
//   panel    from the step to the panel showing the first "info" of the new position: the
//            wait for the earlier search to stop, the coalescing of changes and the display,
//   added    the panel's median less the engine's (the goal: 50 ms at most).
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_timing.h"
#include "app/analysis/analysis_panel.h"
#include "app/game_list/bpgn_manager.h"
#include "app/main_frame.h"
#include "app/tandemora_app.h"
#include "board/board_frame.h"
#include "engine/engine_fen.h"
#include "engine/engine_path.h"
#include "engine/engine_process.h"
#include "engine/uci_session.h"

using namespace tandemora;
using tandemora_bench::median;
namespace fs = std::filesystem;

namespace {

constexpr int kSearchMs = 100;  // a user looking at the lines before the next step
constexpr int kTimeoutMs = 10000;

void runEvents(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

// Reads the engine's lines into the session until `done` says so; false when it fell silent.
bool readUntil(EngineProcess& engine, UciSession& session, const std::function<bool(const std::string&, const std::vector<EngineEvent>&)>& done) {
    for (std::string line;;) {
        if (engine.readLine(line, kTimeoutMs) != EngineProcess::Read::kLine) return false;
        const std::vector<EngineEvent> events = session.receive(line);
        for (const std::string& out : session.takeOutgoing()) engine.writeLine(out);
        if (done(line, events)) return true;
    }
}

// The engine's own time to its first line for each position, in milliseconds.
std::vector<double> engineTimes(const std::string& path, const std::vector<std::string>& fens, EngineVariant variant, const Settings& settings) {
    EngineProcess engine;
    std::string error;
    UciSession session({settings.engineThreads, settings.engineHashMb, 1});
    if (!engine.start(path, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return {};
    }
    session.start();
    for (const std::string& out : session.takeOutgoing()) engine.writeLine(out);
    auto kind = [](EngineEvent::Kind wanted) {
        return [wanted](const std::string&, const std::vector<EngineEvent>& events) {
            return std::any_of(events.begin(), events.end(), [wanted](const EngineEvent& e) { return e.kind == wanted; });
        };
    };
    if (!readUntil(engine, session, kind(EngineEvent::kReady))) return {};
    std::vector<double> times;
    for (const std::string& fen : fens) {
        session.analyse(fen, variant, settings.engineLines);
        QElapsedTimer clock;
        clock.start();
        for (const std::string& out : session.takeOutgoing()) engine.writeLine(out);
        if (!readUntil(engine, session, kind(EngineEvent::kAnalysis))) return {};
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        // Searched as long as in the program, then stopped before the next position is sent.
        usleep(kSearchMs * 1000);
        session.stop();
        for (const std::string& out : session.takeOutgoing()) engine.writeLine(out);
        if (!readUntil(engine, session, [](const std::string& line, const auto&) { return line.rfind("bestmove", 0) == 0; }))
            return {};
    }
    return times;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tandemora-analysisbench FILE [STEPS]\n");
        return 2;
    }
    const std::string enginePath = resolveEnginePath();
    if (enginePath.empty()) {
        std::fprintf(stderr, "no engine: sudo apt-get install fairy-stockfish\n");
        return 2;
    }
    const int steps = argc > 2 ? std::max(1, std::atoi(argv[2])) : 30;
    const fs::path folder = fs::temp_directory_path() / ("tandemora-analysisbench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::ofstream(folder / "Tandemora.INI") << "[Event sound]\nEvent sound=0\n";
    std::ofstream(folder / "Tandemora.WL", std::ios::binary) << std::string(1632, '\0');
    struct RemovedAtExit {
        fs::path path;
        ~RemovedAtExit() { fs::remove_all(path); }
    } removed{folder};

    std::vector<std::string> fens;
    std::vector<double> panelTimes;
    EngineVariant variant = EngineVariant::kCrazyhouse;
    Settings settings;
    {
        CTandemoraApp app({folder / "Tandemora.INI", folder / "Tandemora.WL"});
        app.start();
        settings = app.settings();
        if (!app.openFile(fs::absolute(argv[1]).string()) || app.managerList().empty()) return 1;
        CBPGNManager& list = *app.managerList().front();
        list.selectItem(0);
        CGame& game = *list.games().front();
        game.toStart();
        auto& board = static_cast<CBoardFrame&>(*game.boardA);
        board.bringToTop();
        variant = game.isBughouse() ? EngineVariant::kBughouse : EngineVariant::kCrazyhouse;
        AnalysisPanel& panel = app.mainFrame().analysisPanel();
        panel.show();
        panel.findChild<QPushButton*>(QStringLiteral("onOff"))->setChecked(true);
        // Until the panel shows the analysis of a position other than `before`.
        auto waitForLines = [&panel](unsigned before) {
            QElapsedTimer clock;
            clock.start();
            auto shown = [&] { return panel.shownPosition() != 0 && panel.shownPosition() != before; };
            while (!shown() && clock.elapsed() < kTimeoutMs) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 1);
            return shown();
        };
        if (!waitForLines(0)) {
            std::fprintf(stderr, "the panel showed no analysis\n");
            return 1;
        }
        for (int step = 0; step < steps && game.findNextOnBoard(board); ++step) {
            runEvents(kSearchMs);
            const unsigned before = panel.shownPosition();
            QElapsedTimer clock;
            clock.start();
            game.forwardOnBoard(board);
            if (!waitForLines(before)) return 1;
            panelTimes.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
            fens.push_back(engineFen(board.position()));
        }
        panel.findChild<QPushButton*>(QStringLiteral("onOff"))->setChecked(false);
    }
    const std::vector<double> ownTimes = engineTimes(enginePath, fens, variant, settings);
    if (fens.empty() || ownTimes.size() != fens.size()) {
        std::fprintf(stderr, "the engine did not answer\n");
        return 1;
    }
    const double engine = median(ownTimes), panel = median(panelTimes);
    std::printf("%zu steps on board A, %s, %d lines\n", fens.size(), variant == EngineVariant::kBughouse ? "bughouse" : "crazyhouse",
                settings.engineLines);
    std::printf("engine  first info after position+go  median %7.2f ms  (max %.2f)\n", engine,
                *std::max_element(ownTimes.begin(), ownTimes.end()));
    std::printf("panel   first info after a step       median %7.2f ms  (max %.2f)\n", panel,
                *std::max_element(panelTimes.begin(), panelTimes.end()));
    std::printf("added   %.2f ms (goal: 50 ms at most)\n", panel - engine);
    return 0;
}
