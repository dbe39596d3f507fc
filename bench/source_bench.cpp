// tandemora-sourcebench OUT FOLDER... [--rounds N]: building a database from each FOLDER in
// alternating rounds of the same run, written into OUT; the first FOLDER is the baseline. Meant
// for the same games stored plain, as .bpgn.bz2 and as .bpgn.gz: prints the best wall-clock and
// processor times of each, their ratios to the baseline, and whether the databases are the same.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "database/database_file.h"

using namespace tandemora;
namespace fs = std::filesystem;

namespace {

double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto secondsOf = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return secondsOf(usage.ru_utime) + secondsOf(usage.ru_stime);
}

class QuietReporter : public ProgressReporter {
public:
    void message(const std::string& text) override { last = text; }
    std::string last;
};

bool sameBytes(const fs::path& a, const fs::path& b) {
    std::ifstream first(a, std::ios::binary), second(b, std::ios::binary);
    return std::equal(std::istreambuf_iterator<char>(first), std::istreambuf_iterator<char>(),
                      std::istreambuf_iterator<char>(second), std::istreambuf_iterator<char>());
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> folders;
    int rounds = 3;
    for (int i = 2; i < argc; ++i) {
        if (std::string(argv[i]) == "--rounds" && i + 1 < argc) rounds = std::max(1, std::atoi(argv[++i]));
        else folders.push_back(argv[i]);
    }
    if (argc < 3 || folders.empty()) {
        std::fprintf(stderr, "usage: tandemora-sourcebench OUT FOLDER... [--rounds N]\n");
        return 2;
    }
    const fs::path out = argv[1];
    fs::create_directories(out);
    struct Best {
        double wall = 1e9, processor = 1e9;
    };
    std::vector<Best> best(folders.size());
    const auto databaseOf = [&](size_t i) { return out / ("source" + std::to_string(i) + ".db"); };
    for (int round = 0; round < rounds; ++round) {
        for (size_t i = 0; i < folders.size(); ++i) {
            fs::remove(databaseOf(i));  // a build adds to an existing database
            QuietReporter reporter;
            const auto start = std::chrono::steady_clock::now();
            const double processorStart = processorSeconds();
            const bool built = buildDatabase(folders[i], databaseOf(i).string(), reporter);
            const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            const double processor = processorSeconds() - processorStart;
            if (!built) {
                std::fprintf(stderr, "%s: %s\n", folders[i].c_str(), reporter.last.c_str());
                return 1;
            }
            best[i] = {std::min(best[i].wall, wall), std::min(best[i].processor, processor)};
            std::printf("round %d  %-40s %8.3f s  processor %8.3f s\n", round + 1, folders[i].c_str(), wall, processor);
        }
    }
    std::printf("best of %d rounds, ratio to %s:\n", rounds, folders[0].c_str());
    for (size_t i = 0; i < folders.size(); ++i) {
        std::printf("  %-40s wall %8.3f s (%.2f)  processor %8.3f s (%.2f)  %s\n", folders[i].c_str(), best[i].wall,
                    best[i].wall / best[0].wall, best[i].processor, best[i].processor / best[0].processor,
                    sameBytes(databaseOf(i), databaseOf(0)) ? "same database" : "DATABASE DIFFERS");
    }
    return 0;
}
