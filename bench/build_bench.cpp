// tandemora-buildbench FOLDER OUT [ROUNDS]: building a database from the BPGN files of FOLDER and
// then its main, white and black indexes for "*", written into OUT, once as the command line does
// it (one thread, its console reporter) and once as the dialogs do it (a worker thread behind a
// dialog whose timer reads the progress and shows the messages), in alternating rounds of the
// same run. Prints the best wall-clock and processor times of each and their ratios; processor
// time (of all threads) is the steadier figure on a machine shared with other work.
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>

#include "app/databases/build_runner.h"
#include "database/database_file.h"
#include "database/index_writer.h"
#include "tools/console_progress.h"

using namespace tandemora;
namespace fs = std::filesystem;

namespace {

struct Times {
    double wall = 1e9, processor = 1e9;
};

double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto secondsOf = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return secondsOf(usage.ru_utime) + secondsOf(usage.ru_stime);
}

Times measure(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    const double processorStart = processorSeconds();
    work();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            processorSeconds() - processorStart};
}

struct Paths {
    std::string folder, database;
    IndexSettings index;
};

Paths pathsIn(const std::string& folder, const fs::path& out, const char* name) {
    Paths paths{folder, (out / (std::string(name) + ".db")).string(), {}};
    paths.index.indexPath = (out / (std::string(name) + ".ind")).string();
    paths.index.databasePath = paths.database;
    paths.index.databaseName = fs::path(paths.database).filename().string();
    paths.index.players = {"*"};
    return paths;
}

void commandLine(const Paths& paths) {
    std::ostringstream messages, errors;
    ConsoleProgress progress(messages, errors, false);
    buildDatabase(paths.folder, paths.database, progress);
    createIndexFiles(paths.index, progress);
}

// The two builds one after the other, each as its dialog runs it; the message boxes that end
// them are answered at once.
void dialogs(const Paths& paths) {
    QDialog dialog;
    QProgressBar bar(&dialog);
    QTimer answerer;
    answerer.callOnTimeout([] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
    });
    answerer.start(1);
    const BuildRunner::Work works[] = {
        [&paths](ProgressReporter& progress) { buildDatabase(paths.folder, paths.database, progress); },
        [&paths](ProgressReporter& progress) { createIndexFiles(paths.index, progress); },
    };
    for (const BuildRunner::Work& work : works) {
        BuildRunner runner(dialog, bar, "Stop?");
        QSignalSpy finished(&runner, &BuildRunner::finished);
        runner.start(work);
        while (finished.isEmpty()) finished.wait(1000);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: tandemora-buildbench FOLDER OUT [ROUNDS]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const fs::path out = argv[2];
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 2;
    fs::create_directories(out);
    const Paths cli = pathsIn(argv[1], out, "cli"), dialog = pathsIn(argv[1], out, "dialog");

    Times best[2];
    for (int round = 0; round < rounds; ++round) {
        for (const Paths* paths : {&cli, &dialog}) {
            fs::remove(paths->database);  // a build adds to an existing database
            const Times time = measure([&] { paths == &cli ? commandLine(*paths) : dialogs(*paths); });
            Times& kept = best[paths == &cli ? 0 : 1];
            kept = {std::min(kept.wall, time.wall), std::min(kept.processor, time.processor)};
            std::printf("round %d  %-13s %8.3f s  processor %8.3f s\n", round + 1,
                        paths == &cli ? "command line" : "dialogs", time.wall, time.processor);
        }
    }
    const auto size = [](const Paths& paths) { return fs::file_size(paths.database); };
    std::printf("database and three indexes, best of %d (%s):\n", rounds,
                size(cli) == size(dialog) ? "the same database" : "DATABASES DIFFER");
    std::printf("  wall clock  command line %8.3f s  dialogs %8.3f s  ratio %.3f\n", best[0].wall, best[1].wall,
                best[1].wall / best[0].wall);
    std::printf("  processor   command line %8.3f s  dialogs %8.3f s  ratio %.3f\n", best[0].processor,
                best[1].processor, best[1].processor / best[0].processor);
    return 0;
}
