// The live position of one board and the rules by which moves and drops change it.
#pragma once

#include <string>
#include <string_view>

#include "core/board.h"

namespace tandemora {

// What the rules need from the board's owner: the game record and the user.
class RulesHost {
public:
    virtual ~RulesHost() = default;
    // Squares of this board before its last move, for en passant; null when unknown.
    virtual const char* previousBoardSquares() = 0;
    // The piece a pawn becomes on the last rank when the move named none ('Q', 'R', 'B' or
    // 'N'), or 0 when the user cancelled the choice.
    virtual char choosePromotionPiece(int file, int rank, bool white) = 0;
    // A move or the analysis step was committed; `capturedIndex` is -1 or the piece index
    // that goes to a reserve.
    virtual void moveMade(const std::string& notation, bool whiteMoved, int capturedIndex) = 0;
    virtual void reportIllegalMove(const std::string& text) = 0;
};

// The move being tried: kept while a piece is in hand, cleared when the attempt ends.
struct MoveInProgress {
    bool active = false;
    char piece = ' ';
    int pieceIndex = -1;
    bool boardMove = true;  // false for a drop
    bool white = true;
    int from = -1;  // origin square, -1 for a drop
    int capturedIndex = -1;
    char destinationPiece = ' ';
};

class BoardRules {
public:
    explicit BoardRules(RulesHost& host) : host_(host) {}

    Board position;
    MoveInProgress inProgress;

    // Reports an illegal move when asked; a promotion choice the user cancelled is no illegal move.
    bool makeMoveFromText(std::string_view text, bool whiteMoves, bool reportErrors);
    bool makeMove(int fromFile, int fromRank, int toFile, int toRank, char piece, bool whiteMoves,
                  uint8_t promotion, uint8_t promotionOpen);
    // Fills every reserve with 16 of each piece and records the pseudo-move "Analysis".
    void enterAnalysis();
    // On the working copy of the move being tried.
    bool isSquareAttacked(int colour, int file, int rank) const;

private:
    // The squares a move fills and empties besides its own origin and destination; -1 for none.
    struct ChangedSquares {
        int from, to;
        int rookFrom = -1, rookTo = -1;  // castling
        int enPassant = -1;              // the pawn taken en passant
        bool kingMoved = false;
    };

    bool validatePieceRule(int fromFile, int fromRank, int toFile, int toRank, char piece, bool white,
                           int& capturedIndex, int (&castling)[4]);
    bool validateCastling(int rank, int toFile, bool white);
    // Whether the mover's king, or the opponent's, stands attacked on the working copy after the
    // move. A king known to have stood unattacked before it (`safeBefore`) needs only a look at
    // what the move changed; any other, a full scan.
    // `king` is that side's first king on the working copy, -1 when it has none.
    bool leavesOwnKingAttacked(const ChangedSquares& move, int king, bool white, bool safeBefore) const;
    bool givesCheck(const ChangedSquares& move, int king, bool white, bool safeBefore) const;

    RulesHost& host_;
    char work_[64] = {};
    bool promotionCancelled_ = false;  // the last makeMove ended because the user cancelled the choice
    // The squares the last move made here left, each side's first king on them and whether it
    // stood attacked; white's first.
    struct KnownChecks {
        bool valid = false;
        char squares[64] = {};
        int king[2] = {-1, -1};
        bool inCheck[2] = {};
    } known_;
};

}  // namespace tandemora
