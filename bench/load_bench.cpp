// tandemora-loadbench DIR [PLAYERS]: how long Load Index takes to bring the main, white and
// black index files into a window, against reading the same files' bytes with read() in the
// same run, in two ways: into a buffer already in the program's memory (the copy alone), and
// into a new buffer, as a program that reads a file whole does. Each is run five times with the
// page cache warm; the best counts.
//
// The games are DIR/bpgn/games.bpgn, as tandemora-dbbench or tandemora-generate leave them. The
// database and the index for PLAYERS ("*" when not given) are built into DIR/load/ the first
// time and reused afterwards.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_timing.h"
#include "database/database_file.h"
#include "database/index_header.h"
#include "database/index_search.h"
#include "database/index_writer.h"

namespace fs = std::filesystem;
using namespace tandemora;
using namespace tandemora_bench;

namespace {

constexpr int kRounds = 5;

bool indexComplete(const std::string& path) {
    return isIndexFile(path, true) && isIndexFile(path + "WP", false) && isIndexFile(path + "BP", false);
}

// Builds the database and the index once; false when either could not be built.
bool buildIndex(const fs::path& games, const fs::path& folder, const IndexSettings& settings) {
    fs::create_directories(folder);
    fs::remove(settings.databasePath);
    Quiet quiet;
    const double buildTime = seconds([&] { buildDatabase(games.string() + "/", settings.databasePath, quiet); });
    std::printf("built the database in %.1f s: %s\n", buildTime, quiet.last.c_str());
    bool created = false;
    const double indexTime = seconds([&] { created = createIndexFiles(settings, quiet); });
    std::printf("built the index in %.1f s: %s\n", indexTime, quiet.last.c_str());
    return created;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: tandemora-loadbench DIR [PLAYERS]\n");
        return 2;
    }
    const fs::path dir = argv[1];
    std::string refusal;
    const std::vector<std::string> players = splitPlayerList(argc > 2 ? argv[2] : "*", refusal);
    if (players.empty()) {
        std::fprintf(stderr, "tandemora-loadbench: %s\n", refusal.c_str());
        return 2;
    }
    std::string name;
    for (const std::string& player : players) name += (name.empty() ? "" : "-") + (player == "*" ? "all" : player);
    const fs::path folder = dir / "load";
    IndexSettings settings;
    settings.indexPath = (folder / (name + ".ind")).string();
    settings.databaseName = "games.db";
    settings.databasePath = (folder / "games.db").string();
    settings.players = players;
    if (!indexComplete(settings.indexPath) && !buildIndex(dir / "bpgn", folder, settings)) {
        std::fprintf(stderr, "tandemora-loadbench: could not build the index %s\n", settings.indexPath.c_str());
        return 1;
    }

    const std::string paths[3] = {settings.indexPath, settings.indexPath + "WP", settings.indexPath + "BP"};
    size_t sizes[3];
    std::unique_ptr<char[]> kept[3];
    for (int kind = 0; kind < 3; ++kind) {
        sizes[kind] = static_cast<size_t>(fs::file_size(paths[kind]));
        kept[kind] = std::make_unique_for_overwrite<char[]>(sizes[kind]);
    }
    double loadBest[3], copyBest[3], newBest[3];
    std::fill_n(loadBest, 3, 1e9), std::fill_n(copyBest, 3, 1e9), std::fill_n(newBest, 3, 1e9);
    const auto best = [](double& least, const std::function<void()>& work) { least = std::min(least, seconds(work)); };
    for (int round = 0; round < kRounds; ++round) {
        for (int kind = 0; kind < 3; ++kind) {
            best(copyBest[kind], [&] { readInto(paths[kind], kept[kind].get(), sizes[kind]); });
            // The new buffer is let go outside the timing, as the index is.
            std::unique_ptr<char[]> buffer;
            best(newBest[kind], [&] {
                buffer = std::make_unique_for_overwrite<char[]>(sizes[kind]);
                readInto(paths[kind], buffer.get(), sizes[kind]);
            });
        }
        Quiet quiet;
        IndexSearch search(quiet, ".");
        const std::function<bool()> loads[3] = {[&] { return search.loadIndexFile(kMainIndexFile, paths[0]); },
                                                [&] { return search.toggleSideIndex(0); },
                                                [&] { return search.toggleSideIndex(1); }};
        for (int kind = 0; kind < 3; ++kind) {
            bool loaded = false;
            best(loadBest[kind], [&] { loaded = loads[kind](); });
            if (!loaded) {
                std::fprintf(stderr, "tandemora-loadbench: %s: %s\n", paths[kind].c_str(), quiet.last.c_str());
                return 1;
            }
        }
    }

    std::printf("Load Index of %s, best of %d; read: into a buffer in memory | into a new buffer\n",
                settings.indexPath.c_str(), kRounds);
    const auto row = [](const char* name, double bytes, double load, double copy, double fresh) {
        std::printf("%-12s %9.1f MB  load %7.3f s  read %7.3f s | %7.3f s  ratio %6.2f | %5.2f\n", name, bytes / 1e6,
                    load, copy, fresh, load / copy, load / fresh);
    };
    const char* names[3] = {"main", "white", "black"};
    double totalBytes = 0, totalLoad = 0, totalCopy = 0, totalNew = 0;
    for (int kind = 0; kind < 3; ++kind) {
        row(names[kind], static_cast<double>(sizes[kind]), loadBest[kind], copyBest[kind], newBest[kind]);
        totalBytes += static_cast<double>(sizes[kind]);
        totalLoad += loadBest[kind];
        totalCopy += copyBest[kind];
        totalNew += newBest[kind];
    }
    row("three files", totalBytes, totalLoad, totalCopy, totalNew);
    return 0;
}
