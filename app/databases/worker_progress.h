// The progress of database work on a worker thread, kept for the GUI thread to read. Steps are
// only counted: a signal for each of a million games would flood the event queue, so the dialog
// reads the counters on a short timer. Messages wait in order until the GUI thread shows them.
#pragma once

#include <atomic>
#include <deque>
#include <mutex>
#include <optional>
#include <string>

#include "database/progress.h"

namespace tandemora {

class WorkerProgress : public ProgressReporter {
public:
    // The worker's side.
    void message(const std::string& text) override;
    void setRange(int maximum) override;
    void step() override { position_.fetch_add(1, std::memory_order_relaxed); }
    void setPosition(int position) override { position_.store(position, std::memory_order_relaxed); }
    void status(const std::string& text) override;
    bool stopRequested() const override { return stop_.load(std::memory_order_relaxed); }

    // The GUI thread's side.
    void requestStop() { stop_.store(true, std::memory_order_relaxed); }
    int position() const { return position_.load(std::memory_order_relaxed); }
    int maximum() const { return maximum_.load(std::memory_order_relaxed); }
    // The status set since the last call, if any.
    std::optional<std::string> takeStatus();
    // The oldest message not yet taken, if any.
    std::optional<std::string> takeMessage();

private:
    std::atomic<int> maximum_{0}, position_{0};
    std::atomic<bool> stop_{false};
    std::mutex mutex_;  // for the two below
    std::optional<std::string> status_;
    std::deque<std::string> messages_;
};

}  // namespace tandemora
