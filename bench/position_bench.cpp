// tandemora-posbench INDEX [DATABASE]: positional search through the position files against the
// full scan, over the index INDEX, its white and black companions and their position files (made
// beside them when missing, so INDEX's folder must be writable). Each timing is the best of five
// in one run, with the page cache warm:
// - loading the three index files with the position files, against reading the same five files'
//   bytes with read() into buffers the program already holds;
// - searching the start position, a position after six moves and a rare position (taken from the
//   first long record of the white index) through the position file, against the full scan of
//   the same index; the result lists must agree;
// - with DATABASE: creating an index for "*" over it (into INDEX's folder / "creation"): the time
//   its two position files take after the index files, against the index files' own time.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench/bench_timing.h"
#include "database/file_bytes.h"
#include "database/index_header.h"
#include "database/index_records.h"
#include "database/index_search.h"
#include "database/index_writer.h"
#include "database/position_hashes.h"

namespace fs = std::filesystem;
using namespace tandemora;
using namespace tandemora_bench;

namespace {

constexpr int kRounds = 5;

double best(const std::function<void()>& work) {
    double least = 1e9;
    for (int round = 0; round < kRounds; ++round) least = std::min(least, seconds(work));
    return least;
}

// The board a packed board was made from, white to move.
Board unpacked(const uint8_t* packed) {
    const char letters[] = " PRNBQKprnbqk   ";
    Board board;
    board.sideToMove = 1;
    for (int rank = 0; rank < 8; ++rank)
        for (int k = 0; k < 4; ++k) {
            board.squares[squareIndex(2 * k, rank)] = letters[packed[4 * rank + k] >> 4];
            board.squares[squareIndex(2 * k + 1, rank)] = letters[packed[4 * rank + k] & 15];
        }
    return board;
}

// The start position, the position after six moves (three of each side) and the last position of the first record
// of the white index that has at least 40.
bool pickPositions(const std::string& whitePath, Board (&positions)[3]) {
    FileBytes::Problem problem;
    const FileBytes file = FileBytes::ofFile(whitePath, problem);
    IndexHeader header;
    const size_t headerLength = readIndexHeader(file.data(), file.size(), false, header);
    if (problem != FileBytes::Problem::none || headerLength == 0) return false;
    const uint8_t* p = file.data() + headerLength;
    const uint8_t* end = file.data() + file.size();
    RecordView record;
    bool found[3] = {};
    for (int32_t i = 0; i < header.recordCount && readRecord(p, end, record) && !found[2]; ++i, p = record.end) {
        const int count = positionCount(record);
        const uint8_t* at = record.afterPlayers + 2;
        PositionEntry entry;
        for (int n = 0; n < count && (at = readEntry(at, record.end, entry)); ++n) {
            const int which = n == 0 ? 0 : n == 3 ? 1 : n == count - 1 && count >= 40 ? 2 : -1;
            if (which >= 0 && !found[which]) {
                positions[which] = unpacked(entry.board);
                found[which] = true;
            }
        }
    }
    return found[0] && found[1] && found[2];
}

void measureLoad(const std::string& indexPath) {
    const std::vector<std::string> paths = {indexPath, indexPath + "WP", indexPath + "BP",
                                            positionFilePath(indexPath + "WP"), positionFilePath(indexPath + "BP")};
    std::vector<std::unique_ptr<char[]>> buffers;
    double bytes = 0;
    for (const std::string& path : paths) {
        bytes += static_cast<double>(fs::file_size(path));
        buffers.push_back(std::make_unique_for_overwrite<char[]>(fs::file_size(path)));
    }
    const double read = best([&] {
        for (size_t i = 0; i < paths.size(); ++i) readInto(paths[i], buffers[i].get(), fs::file_size(paths[i]));
    });
    Quiet quiet;
    double load = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        // Made and let go outside the timing, as a window is.
        auto search = std::make_unique<IndexSearch>(quiet, ".");
        load = std::min(load, seconds([&] {
            if (!search->loadIndexFile(kMainIndexFile, indexPath) || !search->toggleSideIndex(0) ||
                !search->toggleSideIndex(1) || !search->hasPositionFile(kWhiteIndexFile) ||
                !search->hasPositionFile(kBlackIndexFile))
                std::fprintf(stderr, "tandemora-posbench: loading failed: %s\n", quiet.last.c_str());
        }));
    }
    std::printf("load of the 3 index files and 2 position files (%.1f MB): %.3f s; read(): %.3f s; ratio %.2f\n",
                bytes / 1e6, load, read, load / read);
}

void measureSearches(const std::string& indexPath) {
    Board positions[3];
    if (!pickPositions(indexPath + "WP", positions)) {
        std::fprintf(stderr, "tandemora-posbench: no long record in %sWP\n", indexPath.c_str());
        return;
    }
    Quiet quiet;
    IndexSearch search(quiet, ".");
    if (!search.loadIndexFile(kMainIndexFile, indexPath) || !search.toggleSideIndex(0)) {
        std::fprintf(stderr, "tandemora-posbench: loading failed: %s\n", quiet.last.c_str());
        return;
    }
    const char* names[3] = {"start position", "after six moves", "rare position"};
    const SearchPageValues values;
    for (int which = 0; which < 3; ++which) {
        std::vector<std::string> lists[2];
        double times[2];
        for (int scan = 0; scan < 2; ++scan) {
            search.setFullScan(scan == 1);
            times[scan] = best([&] {
                search.prepareSearch(values, &positions[which], [](const std::string&) { return true; });
                search.runSearch();
            });
            lists[scan] = search.resultList();
        }
        std::printf("%-16s %7d games: lookup %9.3f ms, full scan %9.3f ms, scan/lookup %9.1f%s\n", names[which],
                    search.counted(), times[0] * 1e3, times[1] * 1e3, times[1] / times[0],
                    lists[0] == lists[1] ? "" : "  RESULTS DIFFER");
    }
}

// Notes when index creation turns from the index files to their position files.
class StageClock : public Quiet {
public:
    void status(const std::string& text) override {
        if (text.starts_with("Making the position file") && !positionFilesBegun)
            positionFilesBegun = std::chrono::steady_clock::now();
    }
    std::optional<std::chrono::steady_clock::time_point> positionFilesBegun;
};

void measureCreation(const std::string& indexPath, const std::string& databasePath) {
    const fs::path folder = fs::path(indexPath).parent_path() / "creation";
    fs::create_directories(folder);
    IndexSettings settings;
    settings.indexPath = (folder / "all.ind").string();
    settings.databasePath = databasePath;
    settings.databaseName = fs::path(databasePath).filename().string();
    settings.players = {"*"};
    StageClock clock;
    const auto start = std::chrono::steady_clock::now();
    createIndexFiles(settings, clock);
    const auto end = std::chrono::steady_clock::now();
    if (!clock.positionFilesBegun) {
        std::fprintf(stderr, "tandemora-posbench: index creation made no position files: %s\n", clock.last.c_str());
        return;
    }
    const double indexFiles = std::chrono::duration<double>(*clock.positionFilesBegun - start).count();
    const double positionFiles = std::chrono::duration<double>(end - *clock.positionFilesBegun).count();
    std::printf("index creation over %s: index files %.1f s, then both position files %.1f s; ratio %.3f\n",
                databasePath.c_str(), indexFiles, positionFiles, positionFiles / indexFiles);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: tandemora-posbench INDEX [DATABASE]\n");
        return 2;
    }
    const std::string indexPath = argv[1];
    {
        Quiet quiet;
        IndexSearch search(quiet, ".");  // makes missing position files
        const double made = seconds([&] {
            search.loadIndexFile(kMainIndexFile, indexPath);
            search.toggleSideIndex(0);
            search.toggleSideIndex(1);
        });
        std::printf("first load (makes missing position files): %.3f s\n", made);
    }
    measureLoad(indexPath);
    measureSearches(indexPath);
    if (argc == 3) measureCreation(indexPath, argv[2]);
    return 0;
}
