// The UCI conversation with the engine, over lines in and lines out, with no input or output of
// its own: the command line drives it through a blocking process, the program's windows
// through an asynchronous one.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine_variant.h"
#include "engine/uci_parser.h"

namespace tandemora {

struct EngineOptions {
    int threads = 1;
    int hashMb = 16;
    int multiPv = 1;
};

// One line of the analysis: the latest the engine gave for its multipv number.
struct AnalysisLine {
    int depth = 0;
    Score score;                  // from the side to move
    std::vector<std::string> pv;  // coordinate moves
};

// What the conversation tells its caller. Every report names the position it belongs to;
// output the engine still gives for an earlier position is never reported.
struct EngineEvent {
    enum Kind {
        kReady,     // the handshake is done
        kAnalysis,  // new lines for the position
        kBestMove,  // the search of the position ended
    };
    Kind kind = kReady;
    unsigned position = 0;  // the id analyse() or goMovetime() gave
    // kAnalysis: the line's depth, the search's figures, and the lines so far by multipv
    // (index 0 for the best; an entry the engine has not given yet has an empty pv).
    int depth = 0;
    long long nodes = 0;
    long long nps = 0;
    long long timeMs = 0;
    std::vector<AnalysisLine> lines;
    // kBestMove: the move in coordinates, "(none)" when there is none.
    std::string bestMove;
};

class UciSession {
public:
    explicit UciSession(EngineOptions options = {}) : options_(options) {}

    // Opens the conversation with a freshly started engine ("uci"), or again after it
    // crashed: the search that ran or was waiting is asked again once the engine is ready.
    void start();
    // Searches a position until stopped or until the next request, showing `multiPv` lines.
    // A running search is stopped first. The id names the position in the events.
    unsigned analyse(const std::string& fen, EngineVariant variant, int multiPv);
    // Searches a position for `ms` milliseconds; kBestMove ends it.
    unsigned goMovetime(const std::string& fen, EngineVariant variant, int ms);
    // Stops the search; nothing more is reported for it.
    void stop();
    // Ends the conversation; the engine exits.
    void quit();

    // Takes one line from the engine; what it means to the caller, if anything.
    std::vector<EngineEvent> receive(std::string_view line);
    // The lines to send to the engine since the last call, without line ends.
    std::vector<std::string> takeOutgoing();

    bool ready() const { return state_ != State::kStarting && state_ != State::kNotStarted; }
    // A search runs whose output is reported (not one being stopped).
    bool searching() const { return state_ == State::kSearching; }
    // The position whose output is reported, or 0.
    unsigned currentPosition() const { return state_ == State::kSearching ? running_.id : 0; }

private:
    struct Request {
        unsigned id = 0;
        std::string fen;
        EngineVariant variant = EngineVariant::kCrazyhouse;
        int multiPv = 1;
        int movetimeMs = 0;  // 0: infinite
    };
    enum class State {
        kNotStarted,
        kStarting,   // "uci" or "isready" sent, waiting for the answer
        kIdle,
        kSearching,
        kStopping,   // "stop" sent; what comes before its "bestmove" belongs to the old position
        kQuit,
    };

    unsigned request(Request request);
    void send(std::string line) { outgoing_.push_back(std::move(line)); }
    void begin(const Request& request);
    void setOption(const char* name, const std::string& value);

    EngineOptions options_;
    State state_ = State::kNotStarted;
    unsigned lastId_ = 0;
    Request running_;
    std::optional<Request> waiting_;
    std::vector<AnalysisLine> lines_;
    // What the engine was last told, so that only changes are sent; cleared on a restart.
    std::optional<EngineVariant> variantSent_;
    int multiPvSent_ = 0;
    std::vector<std::string> outgoing_;
};

}  // namespace tandemora
