// Loads arbitrary bytes as a main, white and black index and searches them with filter
// settings taken from the input; a damaged index must be refused, never read out of bounds,
// and every search must add up.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "core/board.h"
#include "database/index_search.h"

namespace {

class SilentReporter : public tandemora::ProgressReporter {
public:
    void message(const std::string&) override {}
};

// Input: a settings byte, two 16-bit sizes of the main and white parts, then the main, white
// and black index bytes.
struct Parts {
    uint8_t settings = 0;
    std::string main, white, black;
};

Parts split(const uint8_t* data, size_t size) {
    Parts parts;
    if (size < 5) return parts;
    parts.settings = data[0];
    size_t mainSize = data[1] | data[2] << 8;
    size_t whiteSize = data[3] | data[4] << 8;
    const char* rest = reinterpret_cast<const char*>(data + 5);
    size -= 5;
    mainSize = std::min(mainSize, size);
    whiteSize = std::min(whiteSize, size - mainSize);
    parts.main.assign(rest, mainSize);
    parts.white.assign(rest + mainSize, whiteSize);
    parts.black.assign(rest + mainSize + whiteSize, size - mainSize - whiteSize);
    return parts;
}

void load(tandemora::IndexSearch& search, tandemora::IndexFileKind kind, const std::string& bytes) {
    std::istringstream in(bytes);
    search.loadIndex(kind, in, "fuzz.ind");
}

tandemora::SearchPageValues valuesFrom(uint8_t settings, bool positional) {
    tandemora::SearchPageValues values;
    values.positional = positional;
    if (settings & 1) values.materialText = "P N";
    if (settings & 2) values.clockSeconds = 1 + (settings >> 6), values.upDown = settings >> 7;
    if (settings & 4) values.handles[0] = "alice", values.player1Positional = true;
    if (settings & 8) values.ratings[1] = 1500, values.handles[2] = "BOB", values.opponents = true;
    if (settings & 16) values.wonOnly = true, values.dateText = "1/1/00";
    if (settings & 32) values.averageRating = 1200, values.minimumRating = 1000, values.timeLimit = 1;
    return values;
}

// Every counted game is in exactly one line, and no line wins more games than it has.
void checkResults(const tandemora::IndexSearch& search) {
    int games = 0;
    for (const auto& [key, stats] : search.results()) {
        if (stats.games <= 0 || stats.won < 0 || stats.won > stats.games ||
            stats.offsets.size() != static_cast<size_t>(stats.games))
            std::abort();
        games += stats.games;
    }
    if (games != search.counted() || search.resultList().size() != search.results().size()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static SilentReporter reporter;
    const Parts parts = split(data, size);
    tandemora::IndexSearch search(reporter, "fuzz");
    load(search, tandemora::kMainIndexFile, parts.main);
    load(search, tandemora::kWhiteIndexFile, parts.white);
    load(search, tandemora::kBlackIndexFile, parts.black);
    const auto never = [](const std::string&) { return false; };
    tandemora::Board board = tandemora::Board::initial();
    for (int side = 0; side < 2; ++side) {
        board.sideToMove = side;
        for (bool positional : {false, true}) {
            if (!search.prepareSearch(valuesFrom(parts.settings, positional), &board, never)) continue;
            search.runSearch();
            checkResults(search);
        }
    }
    return 0;
}
