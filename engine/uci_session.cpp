#include "engine/uci_session.h"

#include <algorithm>

namespace tandemora {

namespace {

// The engine shows at most this many lines; more would only be noise.
constexpr int kMaxLines = 16;

std::string_view firstWord(std::string_view line) {
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    const size_t end = line.find_first_of(" \t\r\n", start);
    return line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

EngineEvent eventOf(EngineEvent::Kind kind, unsigned position = 0) {
    EngineEvent event;
    event.kind = kind;
    event.position = position;
    return event;
}

}  // namespace

void UciSession::start() {
    // After a crash the search that ran is asked again, unless a newer one waits.
    if (!waiting_ && state_ == State::kSearching) waiting_ = running_;
    state_ = State::kStarting;
    variantSent_.reset();
    multiPvSent_ = 0;
    outgoing_.clear();
    send("uci");
}

unsigned UciSession::analyse(const std::string& fen, EngineVariant variant, int multiPv) {
    return request({0, fen, variant, std::clamp(multiPv, 1, kMaxLines), 0});
}

unsigned UciSession::goMovetime(const std::string& fen, EngineVariant variant, int ms) {
    return request({0, fen, variant, 1, std::max(ms, 1)});
}

unsigned UciSession::request(Request request) {
    request.id = ++lastId_;
    waiting_ = request;
    if (state_ == State::kSearching) {
        send("stop");
        state_ = State::kStopping;
    } else if (state_ == State::kIdle) {
        begin(*waiting_);
    }
    return request.id;
}

void UciSession::stop() {
    waiting_.reset();
    if (state_ == State::kSearching) {
        send("stop");
        state_ = State::kStopping;
    }
}

void UciSession::quit() {
    if (state_ == State::kSearching) send("stop");
    send("quit");
    waiting_.reset();
    state_ = State::kQuit;
}

void UciSession::setOption(const char* name, const std::string& value) {
    send(std::string("setoption name ") + name + " value " + value);
}

void UciSession::begin(const Request& request) {
    if (variantSent_ != request.variant) {
        setOption("UCI_Variant", engineVariantName(request.variant));
        variantSent_ = request.variant;
    }
    if (multiPvSent_ != request.multiPv) {
        setOption("MultiPV", std::to_string(request.multiPv));
        multiPvSent_ = request.multiPv;
    }
    send("position fen " + request.fen);
    send(request.movetimeMs ? "go movetime " + std::to_string(request.movetimeMs) : "go infinite");
    running_ = request;
    waiting_.reset();
    lines_.assign(static_cast<size_t>(request.multiPv), AnalysisLine{});
    state_ = State::kSearching;
}

std::vector<EngineEvent> UciSession::receive(std::string_view line) {
    std::vector<EngineEvent> events;
    const std::string_view word = firstWord(line);
    if (state_ == State::kStarting) {
        if (word == "uciok") {
            setOption("Threads", std::to_string(std::max(options_.threads, 1)));
            setOption("Hash", std::to_string(std::max(options_.hashMb, 1)));
            send("isready");
        } else if (word == "readyok") {
            state_ = State::kIdle;
            events.push_back(eventOf(EngineEvent::kReady));
            if (waiting_) begin(*waiting_);
        }
        return events;
    }
    if (word == "bestmove") {
        const bool reported = state_ == State::kSearching;
        if (state_ != State::kSearching && state_ != State::kStopping) return events;
        state_ = State::kIdle;
        if (reported) {
            EngineEvent event = eventOf(EngineEvent::kBestMove, running_.id);
            if (auto best = parseBestMove(line)) event.bestMove = best->move;
            events.push_back(std::move(event));
        }
        if (waiting_) begin(*waiting_);
        return events;
    }
    if (state_ != State::kSearching || word != "info") return events;
    auto info = parseInfo(line);
    if (!info || !info->score || info->multipv > static_cast<int>(lines_.size())) return events;
    AnalysisLine& target = lines_[static_cast<size_t>(info->multipv - 1)];
    target.depth = info->depth;
    target.score = *info->score;
    // A line with a score but no moves (a bound, or a mated side) keeps the moves it had.
    if (!info->pv.empty() || info->depth == 0) target.pv = std::move(info->pv);
    EngineEvent event = eventOf(EngineEvent::kAnalysis, running_.id);
    event.depth = info->depth;
    event.nodes = info->nodes;
    event.nps = info->nps;
    event.timeMs = info->timeMs;
    event.lines = lines_;
    events.push_back(std::move(event));
    return events;
}

std::vector<std::string> UciSession::takeOutgoing() {
    std::vector<std::string> lines;
    lines.swap(outgoing_);
    return lines;
}

}  // namespace tandemora
