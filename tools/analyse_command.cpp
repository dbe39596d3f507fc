// tandemora-cli analyse: the engine's evaluation before and after every main-line move, and
// the moves that lose two pawns or more.
#include <map>
#include <ostream>
#include <sstream>

#include "engine/blocking_engine.h"
#include "engine/engine_fen.h"
#include "engine/engine_moves.h"
#include "engine/engine_path.h"
#include "game/file_replacement.h"
#include "game/game_file.h"
#include "tools/commands.h"
#include "tools/number_argument.h"

namespace tandemora {

namespace {

// A move that loses this much for its mover, in centipawns, is a mistake.
constexpr int kMistakeCentipawns = 200;

struct AnalyseOptions {
    std::string inPath;
    std::string outPath;  // empty: nothing is written
    std::string enginePath;
    int movetimeMs = 100;
    int gameNumber = 0;  // 0: every game
};

bool readOptions(const std::vector<std::string>& args, AnalyseOptions& options) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--movetime" && hasValue) {
            if (!readInt(args[++i], options.movetimeMs) || options.movetimeMs < 1) return false;
        } else if (arg == "--game" && hasValue) {
            if (!readInt(args[++i], options.gameNumber) || options.gameNumber < 1) return false;
        } else if (arg == "-o" && hasValue) {
            options.outPath = args[++i];
        } else if (arg == "--engine" && hasValue) {
            options.enginePath = args[++i];
        } else if (options.inPath.empty() && !arg.empty() && arg[0] != '-') {
            options.inPath = arg;
        } else {
            return false;
        }
    }
    return !options.inPath.empty();
}

struct Tally {
    int games = 0;
    int failed = 0;
    int positions = 0;  // searched by the engine; a position met again is not searched again
    int mistakes = 0;
};

// The engine over one game's positions, each searched once.
class PositionEvaluator {
public:
    PositionEvaluator(BlockingEngine& engine, int movetimeMs, Tally& tally)
        : engine_(engine), movetimeMs_(movetimeMs), tally_(tally) {}

    void newGame(EngineVariant variant) {
        variant_ = variant;
        known_.clear();
    }
    EngineVariant variant() const { return variant_; }

    // The evaluation of `position` with its side to move; nothing when the engine failed.
    const Evaluation* evaluate(const Board& position, int fullMoveNumber, std::string& error) {
        // The pocket is part of the text, so a position whose pocket the other board changed
        // is searched again.
        const std::string fen = engineFen(position, fullMoveNumber);
        auto known = known_.find(fen);
        if (known != known_.end()) return &known->second;
        auto evaluation = engine_.evaluate(fen, variant_, movetimeMs_, error);
        if (!evaluation) return nullptr;
        ++tally_.positions;
        return &known_.emplace(fen, std::move(*evaluation)).first->second;
    }

private:
    BlockingEngine& engine_;
    int movetimeMs_;
    Tally& tally_;
    EngineVariant variant_ = EngineVariant::kCrazyhouse;
    std::map<std::string, Evaluation> known_;
};

// Prints one line per main-line move and comments the mistakes when `comment`; false when the
// engine failed.
bool analyseGame(CGame& game, PositionEvaluator& evaluator, bool comment, std::ostream& out, std::string& error,
                 Tally& tally) {
    evaluator.newGame(game.isBughouse() ? EngineVariant::kBughouse : EngineVariant::kCrazyhouse);
    for (GameNode* node = game.root->firstChild(); node; node = node->firstChild()) {
        if (std::string_view(node->moveText) == "Analysis") continue;  // fills the reserves; no move
        const bool white = node->whiteMoved();
        const GameNode& parent = *node->parent;
        Board before = node->onBoardB() ? *parent.positionB : parent.positionA;
        // A bughouse record need not alternate on a board: the mover is the side to move.
        before.sideToMove = white ? 1 : 0;
        Board after = node->positionOfMover();
        after.sideToMove = white ? 0 : 1;
        const Evaluation* was = evaluator.evaluate(before, node->moveNumber, error);
        if (!was) return false;
        const Score beforeScore = whiteView(was->score, white);
        std::string best = "-";
        if (auto notation = playEngineMove(before, was->bestMove, evaluator.variant())) best = *notation;
        const Evaluation* is = evaluator.evaluate(after, node->moveNumber + (white ? 0 : 1), error);
        if (!is) return false;
        const Score afterScore = whiteView(is->score, !white);

        // Seen from the mover, a mate it had and lost drops by more than any material.
        const int drop = white ? beforeScore.order() - afterScore.order() : afterScore.order() - beforeScore.order();
        const bool mistake = drop >= kMistakeCentipawns && best != node->moveText;
        std::string line;
        appendMoveNumber(*node, line);
        out << line << ' ' << node->moveText << ' ' << formatScore(beforeScore) << ' ' << formatScore(afterScore)
            << ' ' << best << (mistake ? " mistake\n" : "\n");
        if (!mistake) continue;
        ++tally.mistakes;
        if (comment) {
            const std::string better = "Better: " + best + " (" + formatScore(beforeScore) + ')';
            node->comment = node->comment && !node->comment->empty() ? *node->comment + ' ' + better : better;
            game.modified = true;
        }
    }
    return true;
}

// Analyses the games of `text` (only game `options.gameNumber` when given), writing every game to
// `written` when there is one; false when the engine failed or writing stopped.
bool analyseGames(std::string text, const AnalyseOptions& options, PositionEvaluator& evaluator, std::ostream* written,
                  std::ostream& out, std::ostream& err, Tally& tally) {
    GameFileReader reader(std::move(text));
    while (auto game = reader.next()) {
        const bool chosen = options.gameNumber == 0 || game->gameNumber == options.gameNumber;
        if (chosen) {
            ++tally.games;
            out << "game " << game->gameNumber << (game->isBughouse() ? " bughouse\n" : " crazyhouse\n");
        }
        if (!game->replayGame()) {
            if (chosen) {
                ++tally.failed;
                out << "game " << game->gameNumber << " error " << replayFailure(*game) << '\n';
            }
        } else if (chosen) {
            // A game read only in part would lose its unread moves if its tree were written.
            const bool comment = written && !game->movesReadUpTo;
            if (written && game->movesReadUpTo)
                err << "game " << game->gameNumber << ": moves read only in part; written without comments\n";
            std::string error;
            if (!analyseGame(*game, evaluator, comment, out, error, tally)) {
                err << "game " << game->gameNumber << ": " << error << '\n';
                return false;
            }
        }
        if (written && !game->storeGameToStream(*written)) return false;
    }
    if (reader.stopLine()) {
        ++tally.failed;
        err << options.inPath << ": reading stopped at line " << reader.stopLine() << ": game "
            << reader.gamesRead() + 1 << " is not readable\n";
    }
    return true;
}

}  // namespace

int analyseCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    AnalyseOptions options;
    if (!readOptions(args, options)) {
        err << "usage: tandemora-cli analyse FILE [--movetime MS] [--game N] [-o OUT] [--engine PATH]\n";
        return kExitUsage;
    }
    const std::string enginePath = resolveEnginePath(options.enginePath);
    BlockingEngine engine;
    std::string problem;
    const EngineStart started = enginePath.empty() ? EngineStart::kCannotRun : engine.start(enginePath, {}, problem);
    if (started != EngineStart::kStarted) {
        if (!problem.empty()) err << problem << '\n';
        // A program that runs but does not answer is there: installing it again would not help.
        if (started == EngineStart::kCannotRun) err << engineMissingMessage() << '\n';
        return kExitUsage;
    }
    auto text = readFileText(options.inPath, problem);
    if (!text) {
        err << options.inPath << ": cannot open: " << problem << '\n';
        return kExitFailed;
    }
    Tally tally;
    PositionEvaluator evaluator(engine, options.movetimeMs, tally);
    bool finished;
    if (options.outPath.empty()) {
        finished = analyseGames(std::move(*text), options, evaluator, nullptr, out, err, tally);
    } else {
        finished = replaceFile(
                       options.outPath,
                       [&](std::ostream& written) {
                           return analyseGames(std::move(*text), options, evaluator, &written, out, err, tally);
                       },
                       err) == Replacement::kDone;
    }
    if (options.gameNumber && !tally.games) {
        err << options.inPath << ": there is no game " << options.gameNumber << '\n';
        ++tally.failed;
    }
    out << tally.games << " games, " << tally.failed << " failed, " << tally.positions << " positions, "
        << tally.mistakes << " mistakes\n";
    return finished && !tally.failed ? kExitOk : kExitFailed;
}

}  // namespace tandemora
