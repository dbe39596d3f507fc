// tandemora-generate OUT.bpgn COUNT [SEED]: writes COUNT random legal games as BPGN.
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "bench/game_generator.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::cerr << "usage: tandemora-generate OUT.bpgn COUNT [SEED]\n";
        return 2;
    }
    char* end = nullptr;
    const long count = std::strtol(argv[2], &end, 10);
    if (*end != '\0' || count < 0 || count > INT_MAX) {
        std::cerr << "tandemora-generate: COUNT must be a number of games, not '" << argv[2] << "'\n";
        return 2;
    }
    uint64_t seed = 1;
    if (argc == 4) {
        seed = std::strtoull(argv[3], &end, 10);
        if (*end != '\0') {
            std::cerr << "tandemora-generate: SEED must be a number, not '" << argv[3] << "'\n";
            return 2;
        }
    }
    std::ofstream out(argv[1], std::ios::binary);
    if (!out) {
        std::cerr << "tandemora-generate: cannot write " << argv[1] << "\n";
        return 1;
    }
    tandemora::writeRandomGames(out, static_cast<int>(count), seed);
    out.flush();
    if (!out) {
        std::cerr << "tandemora-generate: writing " << argv[1] << " failed\n";
        return 1;
    }
    return 0;
}
