// What the benchmarks share: a stopwatch, the median of timings, reading a file the plain way,
// and a reporter that keeps quiet.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "database/progress.h"

namespace tandemora_bench {

// The wall-clock seconds `work` takes.
inline double seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The middle one of `values` (the upper middle of an even count); 0 for none.
inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Reads the whole file at `path` into `buffer`, which holds its size: the baseline of loads.
inline void readInto(const std::string& path, char* buffer, size_t size) {
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    for (size_t done = 0; done < size;) {
        const ssize_t n = ::read(file, buffer + done, size - done);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    ::close(file);
}

// Keeps the last message instead of printing it, so timings are not spent on output.
class Quiet : public tandemora::ProgressReporter {
public:
    void message(const std::string& text) override { last = text; }
    std::string last;
};

}  // namespace tandemora_bench
