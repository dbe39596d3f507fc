// Foreign bughouse and crazyhouse records (modern BPGN, crazyhouse PGN) read into games whose
// move text is in the program's own dialect.
#pragma once

#include <istream>
#include <memory>
#include <string>

#include "game/game.h"

namespace tandemora {

class RecordLexer;

// Why a game of a foreign record is not imported.
enum class SkipReason { kNone, kNoTags, kSetUpPosition, kOtherVariant, kMovesDoNotReplay, kTooLong };
constexpr int kSkipReasons = 6;

struct ImportedGame {
    std::unique_ptr<CGame> game;  // null when the game was skipped
    SkipReason reason = SkipReason::kNone;
    std::string skipReason;  // why it was skipped, naming the move where it was a move
};

// How many games of a record can be imported, and how many are skipped for each reason.
struct ImportCounts {
    int imported = 0;
    std::array<int, kSkipReasons> skipped{};
    void add(const ImportedGame& game);
};

// The skipped games in words, as "1 starts from a set-up position and is skipped" or
// "3 are skipped: 1 starts from a set-up position, 2 have moves that do not replay"; empty
// when none is.
std::string describeSkipped(const ImportCounts& counts);

class GameImporter {
public:
    explicit GameImporter(std::istream& in);
    ~GameImporter();

    // The next game of the stream, imported or skipped with its reason; false at the end.
    bool next(ImportedGame& result);

private:
    std::unique_ptr<RecordLexer> lexer_;
};

}  // namespace tandemora
