// What the move-information dialog shows of a game's current move, and the edits it applies.
#pragma once

#include <string>
#include <vector>

namespace tandemora {

class CGame;

// The game's move-information dialog as the model sees it.
class MoveInfoView {
public:
    virtual ~MoveInfoView() = default;
    // Shows the game's current move again.
    virtual void fill() = 0;
};

struct MoveInfoContent {
    std::string move;        // "12A. Nf3!?"; empty at the start position
    std::string time;        // the move's clock in seconds; empty at the start
    std::string annotation;  // empty at the start
    std::string comment;
    bool moveFieldsEnabled = false;  // "Time:" and "Annotation:"; off at the start
    // The list lines, and for each line the number to give selectChild / selectAlternative:
    // lines of continuations without a move are left out.
    std::vector<std::string> nextMoves;
    std::vector<int> nextMoveChildren;
    std::vector<std::string> alternatives;
    std::vector<int> alternativeIndexes;
};

// The dialog's fields for the game's current move.
MoveInfoContent moveInfoContent(const CGame& game);

struct MoveInfoEdits {
    std::string time;
    std::string annotation;
    std::string comment;
};

}  // namespace tandemora
