// Foreign bughouse and crazyhouse records (modern BPGN, crazyhouse PGN) read into games whose
// move text is in the program's own dialect.
#pragma once

#include <istream>
#include <memory>
#include <string>

#include "game/game.h"

namespace tandemora {

class RecordLexer;

struct ImportedGame {
    std::unique_ptr<CGame> game;  // null when the game was skipped
    std::string skipReason;       // why it was skipped
};

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
