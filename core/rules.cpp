#include "core/rules.h"

#include <cstdlib>
#include <cstring>

#include "core/attacks.h"
#include "core/notation.h"

namespace tandemora {

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    return true;
}

char withColour(char letter, bool white) {
    return white ? asciiUpper(letter) : asciiLower(letter);
}

void copyNotation(char (&target)[20], const std::string& text) {
    size_t n = text.copy(target, sizeof target - 1);
    target[n] = '\0';
}

}  // namespace

bool BoardRules::isSquareAttacked(int colour, int file, int rank) const {
    return tandemora::isSquareAttacked(work_, colour, file, rank);
}

bool BoardRules::makeMoveFromText(std::string_view original, bool whiteMoves, bool reportErrors) {
    if (equalsIgnoringCase(original, "analysis")) {
        enterAnalysis();
        return true;
    }
    std::string text(original);
    if (!text.empty() && std::strchr("knqr", text[0]) != nullptr)
        text[0] = asciiUpper(text[0]);
    if (text.find('@') != std::string::npos && !text.empty() && (text[0] == 'b' || text[0] == 'p'))
        text[0] = asciiUpper(text[0]);

    Move move;
    bool ok = parseMove(position, text, whiteMoves, move);
    if (ok) {
        inProgress = MoveInProgress{true, move.piece, pieceIndex(move.piece), !move.isDrop(), whiteMoves,
                                    move.isDrop() ? -1 : squareIndex(move.fromFile, move.fromRank), -1,
                                    move.piece};
        if (move.isDrop()) {
            int index = pieceIndex(move.piece);
            ok = index >= 0 && position.holdings[index + (whiteMoves ? 0 : 5)] >= 1;
        }
    }
    if (ok && makeMove(move.fromFile, move.fromRank, move.toFile, move.toRank, move.piece, whiteMoves,
                       move.promotion, move.promotionOpen))
        return true;
    inProgress = MoveInProgress{};
    if (reportErrors && !(ok && promotionCancelled_)) host_.reportIllegalMove(text);
    return false;
}

bool BoardRules::validateCastling(int rank, int toFile, bool white) {
    const bool kingSide = toFile == 6;
    const int right = (kingSide ? 0 : 2) + (white ? 0 : 1);
    const char rook = white ? 'R' : 'r', king = white ? 'K' : 'k';
    const int colour = white ? 0 : 1;
    if (position.castling[right] != 1) return false;
    const int rookFile = kingSide ? 7 : 0;
    if (work_[squareIndex(rookFile, rank)] != rook) return false;
    // Squares that must be empty, and squares the king must not stand on or cross under attack.
    const int empty[3] = {kingSide ? 5 : 3, kingSide ? 6 : 2, kingSide ? -1 : 1};
    for (int f : empty)
        if (f >= 0 && work_[squareIndex(f, rank)] != ' ') return false;
    const int safe[3] = {4, kingSide ? 5 : 3, kingSide ? 6 : 2};
    for (int f : safe)
        if (isSquareAttacked(colour, f, rank)) return false;
    work_[squareIndex(4, rank)] = ' ';
    work_[squareIndex(rookFile, rank)] = ' ';
    work_[squareIndex(kingSide ? 6 : 2, rank)] = king;
    work_[squareIndex(kingSide ? 5 : 3, rank)] = rook;
    return true;
}

bool BoardRules::validatePieceRule(int ff, int fr, int tf, int tr, char piece, bool white, int& capturedIndex,
                                   int (&castling)[4]) {
    const int from = squareIndex(ff, fr), to = squareIndex(tf, tr);
    const int forward = white ? 1 : -1;
    switch (asciiUpper(piece)) {
    case 'P': {
        const int startRank = white ? 1 : 6;
        if (ff == tf) {
            if (work_[to] != ' ') return false;
            const bool single = tr - fr == forward;
            const bool twoSteps = fr == startRank && tr - fr == 2 * forward && work_[squareIndex(ff, fr + forward)] == ' ';
            if (!single && !twoSteps) return false;
        } else {
            if (std::abs(tf - ff) != 1 || tr - fr != forward) return false;
            if (work_[to] == ' ') {
                // En passant: the opponent's pawn went two steps with this board's last move.
                const int epRank = white ? 4 : 3, homeRank = white ? 6 : 1;
                const char enemyPawn = white ? 'p' : 'P';
                const int beside = squareIndex(tf, fr);
                if (fr != epRank || work_[beside] != enemyPawn || work_[squareIndex(tf, homeRank)] != ' ')
                    return false;
                const char* previous = host_.previousBoardSquares();
                if (previous == nullptr || previous[squareIndex(tf, epRank)] != ' ' ||
                    previous[squareIndex(tf, homeRank)] != enemyPawn)
                    return false;
                work_[beside] = ' ';
                capturedIndex = 0;
            }
        }
        break;
    }
    case 'N': case 'B': case 'Q':
        if (!pieceReaches(work_, piece, ff, fr, tf, tr)) return false;
        break;
    case 'R':
        if (!pieceReaches(work_, piece, ff, fr, tf, tr)) return false;
        if (fr == (white ? 0 : 7) && ff == 7) castling[white ? 0 : 1] = 0;
        if (fr == (white ? 0 : 7) && ff == 0) castling[white ? 2 : 3] = 0;
        break;
    case 'K': {
        const int homeRank = white ? 0 : 7;
        if (std::abs(tf - ff) <= 1 && std::abs(tr - fr) <= 1) {
            // Adjacent: the check on the king's own square after the move covers safety.
        } else if (ff == 4 && fr == homeRank && tr == homeRank && (tf == 6 || tf == 2)) {
            if (!validateCastling(homeRank, tf, white)) return false;
            castling[white ? 0 : 1] = castling[white ? 2 : 3] = 0;
            return true;
        } else {
            return false;
        }
        castling[white ? 0 : 1] = castling[white ? 2 : 3] = 0;
        break;
    }
    default:
        return false;
    }
    work_[to] = piece;
    work_[from] = ' ';
    return true;
}

bool BoardRules::leavesOwnKingAttacked(const ChangedSquares& move, int king, bool white, bool safeBefore) const {
    if (king < 0) return false;
    if (!safeBefore || move.kingMoved) return isSquareAttacked(white ? 0 : 1, king / 8, king % 8);
    // Only a line through an emptied square can reach the king now; a drop empties none.
    for (int opened : {move.from, move.enPassant})
        if (opened >= 0 && lineAttacksThrough(work_, king, opened, !white)) return true;
    return false;
}

bool BoardRules::givesCheck(const ChangedSquares& move, int king, bool white, bool safeBefore) const {
    if (king < 0) return false;
    if (!safeBefore) return isSquareAttacked(white ? 1 : 0, king / 8, king % 8);
    for (int placed : {move.to, move.rookTo})
        if (placed >= 0 && pieceAttacks(work_, placed, king)) return true;
    // A rook's corner ends every line through it, so castling opens lines only through the king's square.
    for (int opened : {move.from, move.enPassant})
        if (opened >= 0 && lineAttacksThrough(work_, king, opened, white)) return true;
    return false;
}

bool BoardRules::makeMove(int ff, int fr, int tf, int tr, char piece, bool whiteMoves, uint8_t promotion,
                          uint8_t promotionOpen) {
    const bool drop = ff < 0;
    promotionCancelled_ = false;
    if (!onBoard(tf, tr) || (!drop && !onBoard(ff, fr))) return false;
    if ((whiteMoves && !isWhitePiece(piece)) || (!whiteMoves && !isBlackPiece(piece))) return false;
    const int to = squareIndex(tf, tr), from = drop ? -1 : squareIndex(ff, fr);
    const int dropIndex = pieceIndex(piece);
    if (drop) {
        if (dropIndex < 0 || position.holdings[dropIndex + (whiteMoves ? 0 : 5)] < 1) return false;
    } else if (position.squares[from] != piece) {
        return false;
    }

    const char captured = position.promoted[to] ? (whiteMoves ? 'p' : 'P') : position.squares[to];
    int capturedIndex = pieceIndex(captured);
    std::memcpy(work_, position.squares, 64);

    int castling[4];
    std::memcpy(castling, position.castling, sizeof castling);
    if (drop) {
        if (position.squares[to] != ' ') return false;
        if (dropIndex == 0 && (tr == 0 || tr == 7)) return false;
        work_[to] = piece;
    } else {
        const char target = position.squares[to];
        if (target != ' ' && isWhitePiece(target) == whiteMoves) return false;
        if (!validatePieceRule(ff, fr, tf, tr, piece, whiteMoves, capturedIndex, castling)) return false;
    }
    // Whose kings stood attacked before the move is known when this board's last move left the
    // position as it is; a side may move twice in a row, so it is never inferred from the turn.
    const bool known = known_.valid && std::memcmp(known_.squares, position.squares, 64) == 0;
    const int mover = whiteMoves ? 0 : 1;
    const bool castled = !drop && asciiUpper(piece) == 'K' && std::abs(tf - ff) == 2;
    ChangedSquares changed{from, to};
    changed.kingMoved = !drop && asciiUpper(piece) == 'K';
    if (castled) {
        changed.rookFrom = squareIndex(tf == 6 ? 7 : 0, tr);
        changed.rookTo = squareIndex(tf == 6 ? 5 : 3, tr);
    }
    if (!drop && dropIndex == 0 && ff != tf && position.squares[to] == ' ') changed.enPassant = squareIndex(tf, fr);
    // A move changes the first kings only by moving one or by taking one (which a position
    // with that king unattacked never allows).
    const char ownKing = whiteMoves ? 'K' : 'k', enemyKing = whiteMoves ? 'k' : 'K';
    int kings[2];
    kings[mover] = known && !changed.kingMoved ? known_.king[mover] : findKing(work_, ownKing);
    kings[1 - mover] = known && position.squares[to] != enemyKing ? known_.king[1 - mover] : findKing(work_, enemyKing);
    if (leavesOwnKingAttacked(changed, kings[mover], whiteMoves, known && !known_.inCheck[mover])) return false;

    // A promotion is only for a pawn that reaches the last rank.
    const bool pawnReachesLastRank = !drop && dropIndex == 0 && tr == (whiteMoves ? 7 : 0);
    char destination = piece;
    uint8_t promotionArgument = kNoPromotion;
    if (promotionOpen == 0 && promotion != kNoPromotion) {
        const char named = asciiUpper(static_cast<char>(promotion));
        if (!pawnReachesLastRank || named == '\0' || std::strchr("NBRQ", named) == nullptr) return false;
        destination = withColour(static_cast<char>(promotion), whiteMoves);
        promotionArgument = static_cast<uint8_t>(destination);
    } else if (promotionOpen == 1) {
        if (!pawnReachesLastRank) return false;
        char chosen = host_.choosePromotionPiece(tf, tr, whiteMoves);
        promotionCancelled_ = chosen == 0;
        if (chosen == 0) return false;
        destination = withColour(chosen, whiteMoves);
        promotionArgument = static_cast<uint8_t>(destination);
    } else if (pawnReachesLastRank) {
        return false;  // a pawn cannot stay a pawn on the last rank
    }
    work_[to] = destination;

    std::string notation = formatMove(position, piece, ff, fr, tf, tr, promotionArgument, captured);
    const bool check = givesCheck(changed, kings[1 - mover], whiteMoves,
                                  known && !known_.inCheck[1 - mover] && position.squares[to] != enemyKing);
    if (check) notation += '+';

    // Commit.
    if (drop) {
        position.holdings[dropIndex + (whiteMoves ? 0 : 5)]--;
        position.promoted[to] = 0;
    } else {
        if (castled) {  // the rook keeps its promotion mark as it moves
            position.promoted[changed.rookTo] = position.promoted[changed.rookFrom];
            position.promoted[changed.rookFrom] = 0;
        }
        position.promoted[to] = position.promoted[from];
        position.promoted[from] = 0;
        if (notation.find('=') != std::string::npos) position.promoted[to] = 1;
        // En passant removed the beside pawn, which is never a promoted piece.
    }
    // A rook taken on its corner takes its castling right with it, so a rook dropped there
    // later cannot castle.
    if (captured != ' ') {
        const int corners[4] = {squareIndex(7, 0), squareIndex(7, 7), squareIndex(0, 0), squareIndex(0, 7)};
        for (int right = 0; right < 4; ++right)
            if (to == corners[right]) castling[right] = 0;
    }
    std::memcpy(position.squares, work_, 64);
    std::memcpy(position.castling, castling, sizeof castling);
    std::memcpy(known_.squares, work_, 64);
    std::memcpy(known_.king, kings, sizeof kings);
    known_.inCheck[mover] = false;
    known_.inCheck[1 - mover] = check;
    known_.valid = true;
    position.sideToMove = whiteMoves ? 0 : 1;
    copyNotation(position.lastMove, notation);
    position.lastFrom = static_cast<int8_t>(from);
    position.lastTo = static_cast<int8_t>(to);
    inProgress = MoveInProgress{};
    host_.moveMade(notation, whiteMoves, capturedIndex);
    return true;
}

void BoardRules::enterAnalysis() {
    for (int& h : position.holdings) h = 16;
    copyNotation(position.lastMove, "Analysis");
    position.lastFrom = position.lastTo = -1;
    inProgress = MoveInProgress{};
    host_.moveMade("Analysis", position.sideToMove == 1, -1);
}

}  // namespace tandemora
