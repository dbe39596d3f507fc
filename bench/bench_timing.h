// What the database benchmarks share: a stopwatch and a reporter that keeps quiet.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "database/progress.h"

namespace tandemora_bench {

// The wall-clock seconds `work` takes.
inline double seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Keeps the last message instead of printing it, so timings are not spent on output.
class Quiet : public tandemora::ProgressReporter {
public:
    void message(const std::string& text) override { last = text; }
    std::string last;
};

}  // namespace tandemora_bench
