// tandemora-dbbench DIR GAMES [SEED]: how fast a database of random games is built, indexed and
// searched, each measured against a plain baseline in the same run:
//   building the database      against copying the same bytes,
//   creating the three indexes against one readGame + replayGame pass over the games,
//   a positional search        against memcmp over the same loaded position entries,
//   loading an index           peak memory against the files' size.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_timing.h"
#include "bench/game_generator.h"
#include "database/database_file.h"
#include "database/index_search.h"
#include "database/index_writer.h"

namespace fs = std::filesystem;
using namespace tandemora;
using namespace tandemora_bench;

namespace {

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The offsets of every position entry of a seat index file's records, read as the format lays
// them out; the bench trusts files it has just written.
std::vector<size_t> positionOffsets(const std::string& file) {
    std::vector<size_t> offsets;
    size_t at = file.find('\0') + 1 + 8;  // the database name, the record count and the data size
    while (at + 4 <= file.size()) {
        int32_t length;
        std::memcpy(&length, file.data() + at, 4);
        const bool crazyhouse = file[at + 4] == 1;
        size_t p = at + 4 + 1 + 4 + 1 + 1 + 1 + 4;
        for (int player = 0; player < (crazyhouse ? 2 : 4); ++player) p = file.find('\0', p) + 1 + 2;
        int16_t count;
        std::memcpy(&count, file.data() + p, 2);
        p += 2;
        for (int i = 0; i < count; ++i) {
            offsets.push_back(p);
            p = file.find('\0', p + 32 + 5 + 2) + 1;
        }
        at += static_cast<size_t>(length);
    }
    return offsets;
}

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Loads the index in a child process, so the peak memory is that of loading alone.
long loadPeakKilobytes(const std::string& indexPath) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        const long before = peakKilobytes();
        Quiet quiet;
        IndexSearch search(quiet, ".");
        search.loadIndexFile(kMainIndexFile, indexPath);
        search.toggleSideIndex(0);
        search.toggleSideIndex(1);
        const long grown = peakKilobytes() - before;
        if (write(pipeEnds[1], &grown, sizeof grown) != sizeof grown) _exit(1);
        _exit(0);
    }
    long grown = -1;
    if (read(pipeEnds[0], &grown, sizeof grown) != sizeof grown) grown = -1;
    waitpid(child, nullptr, 0);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    return grown;
}

// Times a positional search for a position, and a memcmp scan of the same loaded entries;
// prints both and their ratio.
void searchRow(const char* name, const std::string& indexPath, const Board& position) {
    Quiet quiet;
    IndexSearch search(quiet, ".");
    search.loadIndexFile(kMainIndexFile, indexPath);
    search.toggleSideIndex(position.sideToMove ? 0 : 1);
    SearchPageValues values;
    const double time = seconds([&] {
        search.prepareSearch(values, &position, [](const std::string&) { return true; });
        search.runSearch();
    });
    const std::string file = readAll(indexFilePath(indexPath, kSeatRecords, position.sideToMove ? 0 : 1));
    const std::vector<size_t> offsets = positionOffsets(file);
    const PackedBoard key = packBoard(position);
    volatile size_t found = 0;
    const double baseline = seconds([&] {
        size_t hits = 0;
        for (size_t offset : offsets) hits += std::memcmp(file.data() + offset, key.data(), key.size()) == 0;
        found = hits;
    });
    std::printf("%-34s %9.4f s  %12.0f positions/s  memcmp %9.4f s  ratio %.2f  (%d games, %zu positions)\n", name,
                time, offsets.size() / time, baseline, baseline / time, search.counted(), offsets.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: tandemora-dbbench DIR GAMES [SEED]\n");
        return 2;
    }
    const fs::path dir = argv[1];
    const int games = std::atoi(argv[2]);
    const uint64_t seed = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 1;
    const fs::path source = dir / "bpgn", db = dir / "games.db", copy = dir / "copy.bpgn";
    fs::create_directories(source);
    const fs::path gamesFile = source / "games.bpgn";
    if (!fs::exists(gamesFile)) {
        std::ofstream out(gamesFile, std::ios::binary);
        writeRandomGames(out, games, seed);
    }
    const double bytes = static_cast<double>(fs::file_size(gamesFile));
    std::printf("%d random games, %.1f MB of BPGN\n", games, bytes / 1e6);

    // Two plain copies: the kernel's (as cp does it) and one through 64 KiB of user memory.
    fs::remove(copy);
    const double kernelCopy = seconds([&] { fs::copy_file(gamesFile, copy); });
    fs::remove(copy);
    const double streamCopy = seconds([&] {
        std::ifstream in(gamesFile, std::ios::binary);
        std::ofstream out(copy, std::ios::binary);
        std::vector<char> block(1 << 16);
        while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0)
            out.write(block.data(), in.gcount());
    });
    fs::remove(copy);
    fs::remove(db);
    Quiet quiet;
    const double buildTime = seconds([&] { buildDatabase(source.string() + "/", db.string(), quiet); });
    std::printf("%-34s %9.3f s  %8.1f MB/s   kernel copy %.3f s ratio %.2f, stream copy %.3f s ratio %.2f\n",
                "build the database", buildTime, bytes / buildTime / 1e6, kernelCopy, kernelCopy / buildTime,
                streamCopy, streamCopy / buildTime);

    int replayed = 0;
    const double replayTime = seconds([&] {
        auto in = openDatabaseForReading(db.string());
        in->seekg(4);  // past the game count
        while (!in->fail())
            if (readNextDatabaseGame(*in, nullptr)) ++replayed;
    });
    IndexSettings all;
    all.indexPath = (dir / "all.ind").string();
    all.databaseName = db.filename().string();
    all.databasePath = db.string();
    all.players = {"*"};
    const double indexTime = seconds([&] { createIndexFiles(all, quiet); });
    std::printf("%-34s %9.3f s  %8.0f games/s  replay %6.3f s  ratio %.2f  (%s)\n", "create the indexes for *",
                indexTime, replayed / indexTime, replayTime, indexTime / replayTime, quiet.last.c_str());

    IndexSettings two = all;
    two.indexPath = (dir / "two.ind").string();
    two.players = {"Amber", "Boris"};
    const double twoTime = seconds([&] { createIndexFiles(two, quiet); });
    std::printf("%-34s %9.3f s  %8.0f games/s  (%s)\n", "create the indexes for 2 players", twoTime,
                replayed / twoTime, quiet.last.c_str());

    double indexBytes = 0;
    for (const char* suffix : {"", "WP", "BP"}) indexBytes += static_cast<double>(fs::file_size(all.indexPath + suffix));
    const long peak = loadPeakKilobytes(all.indexPath);
    std::printf("%-34s %9.1f MB  files %.1f MB  ratio %.2f\n", "peak memory of loading the index", peak / 1024.0,
                indexBytes / 1e6, peak * 1024.0 / indexBytes);

    // A common position: the start, White to move. A rare one: the position before White's
    // 20th move of the first game that has one.
    const Board start = Board::initial();
    searchRow("search the start position (*)", all.indexPath, start);
    searchRow("search the start position (2)", two.indexPath, start);
    auto in = openDatabaseForReading(db.string());
    in->seekg(4);
    for (std::unique_ptr<CGame> game; !in->fail();) {
        game = readNextDatabaseGame(*in, nullptr);
        if (!game) continue;
        const GameNode* node = game->root->firstChild();
        for (int white = 0; node && white < 20; node = node->firstChild())
            if (node->boardLetter == 'A' && ++white == 20) break;
        if (!node) continue;
        searchRow("search a rare position (*)", all.indexPath, node->parent->positionA);
        break;
    }
    return 0;
}
