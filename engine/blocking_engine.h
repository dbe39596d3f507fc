// The engine for work that may wait for it: one search at a time, answered when it ends.
#pragma once

#include <optional>
#include <string>

#include "engine/engine_process.h"
#include "engine/uci_session.h"

namespace tandemora {

// What a timed search found, from the side to move.
struct Evaluation {
    Score score;
    std::string bestMove;  // coordinates; "(none)" when the side to move has no move
};

enum class EngineStart { kStarted, kCannotRun, kNoAnswer };

class BlockingEngine {
public:
    // Starts the engine and finishes the handshake. On failure the reason is in `error`, and the
    // result tells a program that cannot run from one that runs but does not speak UCI.
    EngineStart start(const std::string& path, const EngineOptions& options, std::string& error);
    // Searches the position for `ms` milliseconds. Nothing, with the reason in `error`, when the
    // engine exits or does not answer in time.
    std::optional<Evaluation> evaluate(const std::string& fen, EngineVariant variant, int ms, std::string& error);

private:
    bool flush();
    // Takes the engine's lines until an event of `kind` arrives for `position` (0: any).
    std::optional<EngineEvent> waitFor(EngineEvent::Kind kind, unsigned position, int timeoutMs, std::string& error,
                                       std::optional<Score>* lastScore = nullptr);

    EngineProcess process_;
    UciSession session_;
};

}  // namespace tandemora
