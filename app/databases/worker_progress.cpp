#include "app/databases/worker_progress.h"

#include <utility>

namespace tandemora {

void WorkerProgress::message(const std::string& text) {
    std::lock_guard lock(mutex_);
    messages_.push_back(text);
}

void WorkerProgress::setRange(int maximum) {
    maximum_.store(maximum, std::memory_order_relaxed);
    position_.store(0, std::memory_order_relaxed);
}

void WorkerProgress::status(const std::string& text) {
    std::lock_guard lock(mutex_);
    status_ = text;
}

std::optional<std::string> WorkerProgress::takeStatus() {
    std::lock_guard lock(mutex_);
    return std::exchange(status_, std::nullopt);
}

std::optional<std::string> WorkerProgress::takeMessage() {
    std::lock_guard lock(mutex_);
    if (messages_.empty()) return std::nullopt;
    std::string text = std::move(messages_.front());
    messages_.pop_front();
    return text;
}

}  // namespace tandemora
