#include "engine/blocking_engine.h"

#include <chrono>

namespace tandemora {

namespace {

// How long the engine may take to start, or beyond a search's time to answer it.
constexpr int kAnswerMs = 10000;

}  // namespace

EngineStart BlockingEngine::start(const std::string& path, const EngineOptions& options, std::string& error) {
    if (!process_.start(path, error)) return EngineStart::kCannotRun;
    error.clear();
    session_ = UciSession(options);
    session_.start();
    // A program that ends at once may be gone before the handshake is even written.
    if (!flush()) error = "the engine stopped";
    if (!error.empty() || !waitFor(EngineEvent::kReady, 0, kAnswerMs, error)) {
        error = path + " does not speak UCI: " + error;
        return EngineStart::kNoAnswer;
    }
    return EngineStart::kStarted;
}

bool BlockingEngine::flush() {
    for (const std::string& line : session_.takeOutgoing())
        if (!process_.writeLine(line)) return false;
    return true;
}

std::optional<EngineEvent> BlockingEngine::waitFor(EngineEvent::Kind kind, unsigned position, int timeoutMs,
                                                   std::string& error, std::optional<Score>* lastScore) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string line;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        switch (process_.readLine(line, static_cast<int>(left > 0 ? left : 0))) {
        case EngineProcess::Read::kTimeout:
            error = "the engine did not answer in time";
            return std::nullopt;
        case EngineProcess::Read::kClosed:
            error = "the engine stopped";
            return std::nullopt;
        case EngineProcess::Read::kLine:
            break;
        }
        for (EngineEvent& event : session_.receive(line)) {
            if (lastScore && event.kind == EngineEvent::kAnalysis && !event.lines.empty())
                *lastScore = event.lines.front().score;
            if (event.kind == kind && (position == 0 || event.position == position)) {
                flush();
                return std::move(event);
            }
        }
        if (!flush()) {
            error = "the engine stopped";
            return std::nullopt;
        }
    }
}

std::optional<Evaluation> BlockingEngine::evaluate(const std::string& fen, EngineVariant variant, int ms,
                                                   std::string& error) {
    const unsigned position = session_.goMovetime(fen, variant, ms);
    if (!flush()) {
        error = "the engine stopped";
        return std::nullopt;
    }
    std::optional<Score> score;
    auto best = waitFor(EngineEvent::kBestMove, position, ms + kAnswerMs, error, &score);
    if (!best) return std::nullopt;
    if (!score) {
        error = "the engine gave no score";
        return std::nullopt;
    }
    return Evaluation{*score, best->bestMove};
}

}  // namespace tandemora
