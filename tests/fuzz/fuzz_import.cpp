// Feeds arbitrary bytes to the importer of foreign records and checks that every game it
// imports reads back with the program's own reader and replays.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "game/importer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    tandemora::GameImporter importer(in);
    tandemora::ImportedGame imported;
    for (int games = 0; games < 8 && importer.next(imported); ++games) {
        if (!imported.game) continue;
        std::ostringstream out;
        if (!imported.game->storeGameToStream(out)) std::abort();
        std::istringstream written(out.str());
        tandemora::CGame native;
        if (!native.readGame(written) || !native.replayGame()) std::abort();
    }
    return 0;
}
