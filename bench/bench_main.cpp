// tandemora-bench FILE: how fast the games of a BPGN file are read, and read and replayed into
// move trees, measured against reading the file's bytes alone.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "game/game.h"

namespace {

using tandemora::CGame;
using tandemora::GameNode;

// An input stream's buffer over bytes already in memory, so no pass copies the file.
class MemoryBuffer : public std::streambuf {
public:
    explicit MemoryBuffer(std::string& bytes) { setg(bytes.data(), bytes.data(), bytes.data() + bytes.size()); }
};

std::optional<std::string> readFile(const char* path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return std::nullopt;
    std::string bytes(static_cast<size_t>(in.tellg()), '\0');
    in.seekg(0);
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return std::nullopt;
    return bytes;
}

// Moves in the tree, variations included.
long countMoves(const GameNode& root) {
    long moves = 0;
    std::vector<const GameNode*> pending{&root};
    while (!pending.empty()) {
        const GameNode* node = pending.back();
        pending.pop_back();
        moves += static_cast<long>(node->children.size());
        for (const auto& child : node->children) pending.push_back(child.get());
    }
    return moves;
}

// Reads the games one after another, as the game list does, until one fails; with `replay`
// each game's moves are also replayed into its tree. Returns the games that passed.
long readGames(std::string& bytes, bool replay, long* moves = nullptr) {
    MemoryBuffer buffer(bytes);
    std::istream in(&buffer);
    long passed = 0;
    for (;;) {
        CGame game;
        if (!game.readGame(in)) return passed;
        if (replay && !game.replayGame()) continue;
        if (moves) *moves += countMoves(*game.root);
        ++passed;
    }
}

double bestOfThree(const std::function<void()>& work) {
    double best = 1e300;
    for (int run = 0; run < 3; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tandemora-bench FILE.bpgn\n");
        return 2;
    }
    const char* path = argv[1];
    std::optional<std::string> bytes = readFile(path);
    if (!bytes) {
        std::fprintf(stderr, "tandemora-bench: cannot read %s\n", path);
        return 1;
    }

    // An untimed pass counts the games and the moves the others are measured by.
    const long games = readGames(*bytes, false);
    long moves = 0;
    const long replayed = readGames(*bytes, true, &moves);
    if (replayed != games)
        std::fprintf(stderr, "tandemora-bench: %ld of %ld games do not replay\n", games - replayed, games);

    volatile long sink = 0;  // keeps the measured work observable
    const double readBytes = bestOfThree([&] { sink = static_cast<long>(readFile(path)->size()); });
    const double readOnly = bestOfThree([&] { sink = readGames(*bytes, false); });
    const double readReplay = bestOfThree([&] { sink = readGames(*bytes, true); });

    std::printf("%s: %.1f MB, %ld games, %ld moves; best of 3 runs\n", path, bytes->size() / 1e6, games, moves);
    std::printf("%-28s %10s %12s %14s %10s\n", "", "seconds", "games/s", "moves/s", "time/(a)");
    auto row = [&](const char* name, double seconds) {
        std::printf("%-28s %10.4f %12.0f %14.0f %10.1f\n", name, seconds, games / seconds, moves / seconds,
                    seconds / readBytes);
    };
    row("(a) read the bytes", readBytes);
    row("(b) readGame", readOnly);
    row("(c) readGame + replayGame", readReplay);
    return replayed == games ? 0 : 1;
}
