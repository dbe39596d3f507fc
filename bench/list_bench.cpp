// tandemora-listbench [GAMES]: how long opening a large BPGN file as a game list takes, measured
// against reading the file's bytes in the same run:
//   games read     (every game's tags and move text, as the list keeps them),
//   list opened    (the same through the game-list window, its lines ready and first painted),
//   scrolled       (jumping to the last line and painting it).
#include <unistd.h>

#include <QApplication>
#include <QListView>
#include <QScrollBar>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/game_list/bpgn_manager.h"
#include "app/main_frame.h"
#include "app/tandemora_app.h"
#include "bench/game_generator.h"
#include "game/game_file.h"

using namespace tandemora;
namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;

    const fs::path folder = fs::temp_directory_path() / ("tandemora-listbench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path file = folder / "games.bpgn";
    {
        std::ofstream out(file, std::ios::binary);
        writeRandomGames(out, count, 1);
    }
    std::ofstream(folder / "Tandemora.INI") << "[Main]\n";
    std::ofstream(folder / "Tandemora.WL", std::ios::binary) << std::string(1632, '\0');

    auto start = Clock::now();
    const std::size_t bytes = readFileText(file.string())->size();
    const double readBytes = secondsSince(start);

    start = Clock::now();
    GameFileReader reader(*readFileText(file.string()));
    int games = 0;
    while (reader.next()) ++games;
    const double readGames = secondsSince(start);

    double opened = 0, scrolled = 0;
    {
        CTandemoraApp app({folder / "Tandemora.INI", folder / "Tandemora.WL"});
        app.start();
        QApplication::processEvents();
        start = Clock::now();
        app.openFile(file.string());
        QApplication::processEvents();
        opened = secondsSince(start);

        auto* view = app.managerList().front()->findChild<QListView*>();
        start = Clock::now();
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
        QApplication::processEvents();
        scrolled = secondsSince(start);
        app.closeAll();
    }
    fs::remove_all(folder);

    std::printf("%d games, %.1f MB\n", games, static_cast<double>(bytes) / 1e6);
    std::printf("baseline: file bytes read   %7.3f s\n", readBytes);
    std::printf("games read                  %7.3f s  %6.1f x baseline\n", readGames, readGames / readBytes);
    std::printf("list opened and shown       %7.3f s  %6.1f x baseline\n", opened, opened / readBytes);
    std::printf("scrolled to the last line   %7.3f s\n", scrolled);
    return 0;
}
