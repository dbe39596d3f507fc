// How much `tandemora-cli analyse` adds to the engine's own thinking time: the wall time of the
// whole command over the first GAMES games of a file, against positions x movetime.
//
//   tandemora-analysebench FILE [GAMES] [MOVETIME_MS]     (defaults 100 games, 100 ms)
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "game/game_file.h"

namespace fs = std::filesystem;
using namespace tandemora;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: tandemora-analysebench FILE [GAMES] [MOVETIME_MS]\n";
        return 2;
    }
    const int wanted = argc > 2 ? std::atoi(argv[2]) : 100;
    const int movetimeMs = argc > 3 ? std::atoi(argv[3]) : 100;
    auto text = readFileText(argv[1]);
    if (!text || wanted < 1 || movetimeMs < 1) {
        std::cerr << argv[1] << ": cannot open, or a wrong number\n";
        return 2;
    }
    // The first games that replay, written as the program writes them.
    const fs::path games = fs::temp_directory_path() / ("tandemora-analysebench-" + std::to_string(::getpid()) + ".bpgn");
    int taken = 0;
    {
        std::ofstream out(games, std::ios::binary);
        GameFileReader reader(std::move(*text));
        while (taken < wanted) {
            auto game = reader.next();
            if (!game) break;
            if (!game->replayGame()) continue;
            game->storeGameToStream(out);
            ++taken;
        }
    }
    const fs::path cli = fs::path(argv[0]).parent_path() / "tandemora-cli";
    const std::string command = "'" + cli.string() + "' analyse '" + games.string() + "' --movetime " +
                                std::to_string(movetimeMs);
    const auto start = std::chrono::steady_clock::now();
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char buffer[4096];
    for (size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    const int status = pipe ? pclose(pipe) : -1;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    fs::remove(games);

    // The last line: "<games> games, <failed> failed, <positions> positions, <mistakes> mistakes".
    const size_t lastLine = output.rfind('\n', output.size() > 1 ? output.size() - 2 : 0);
    std::istringstream summary(output.substr(lastLine == std::string::npos ? 0 : lastLine + 1));
    int analysed = 0, failed = 0, positions = 0;
    std::string word;
    summary >> analysed >> word >> failed >> word >> positions;
    if (status != 0 || positions == 0) {
        std::cerr << "analyse failed (status " << status << "):\n" << output;
        return 1;
    }
    const double engine = positions * movetimeMs / 1000.0;
    std::printf("%d games, %d positions searched at %d ms each\n", analysed, positions, movetimeMs);
    std::printf("wall time %.2f s, positions x movetime %.2f s, ratio %.3f (goal <= 1.1)\n", wall, engine,
                wall / engine);
    return 0;
}
