#include "core/notation.h"

#include <cstring>
#include <initializer_list>

#include "core/attacks.h"

namespace tandemora {

namespace {

bool isFileLetter(char c) { return c >= 'a' && c <= 'h'; }
bool isRankDigit(char c) { return c >= '1' && c <= '8'; }

// A short text built in place: notation never needs more than a few characters.
struct Notation {
    char text[12];
    int length = 0;
    void add(char c) { text[length++] = c; }
    void add(std::initializer_list<char> cs) {
        for (char c : cs) add(c);
    }
};

// Adds the file or rank a notation writer may need to tell apart pieces that reach one square.
void addDisambiguation(Notation& out, const Board& before, char piece, int fromFile, int fromRank, int toFile,
                       int toRank, Disambiguation which) {
    int count = 0, onFile = 0, onRank = 0;
    // Whether the piece on a square other than the origin may go to the destination without
    // leaving its king attacked.
    auto movesLegally = [&](int i) {
        char trial[64];
        std::memcpy(trial, before.squares, 64);
        trial[squareIndex(toFile, toRank)] = piece;
        trial[i] = ' ';
        return !kingInCheck(trial, isWhitePiece(piece));
    };
    for (const char* p = static_cast<const char*>(std::memchr(before.squares, piece, 64)); p;
         p = static_cast<const char*>(std::memchr(p + 1, piece, static_cast<size_t>(before.squares + 63 - p)))) {
        const int i = static_cast<int>(p - before.squares), f = i / 8, r = i % 8;
        if (!pieceReaches(before.squares, piece, f, r, toFile, toRank)) continue;
        if (which == Disambiguation::kLegal && !(f == fromFile && r == fromRank) && !movesLegally(i)) continue;
        ++count;
        onFile += f == fromFile;
        onRank += r == fromRank;
    }
    if (count <= 1) return;
    if (onFile > 1) {
        if (onRank > 1) out.add(static_cast<char>('a' + fromFile));
        out.add(static_cast<char>('1' + fromRank));
        return;
    }
    out.add(static_cast<char>('a' + fromFile));
}

}  // namespace

bool parseMove(const Board& board, std::string_view text, bool whiteMoves, Move& move) {
    move = Move{};
    if (text.find("O-O") != std::string_view::npos) {
        const int rank = whiteMoves ? 0 : 7;
        move.fromFile = 4;
        move.fromRank = rank;
        move.toFile = text.find("O-O-O") != std::string_view::npos ? 2 : 6;
        move.toRank = rank;
        move.piece = whiteMoves ? 'K' : 'k';
        return true;
    }
    if (text.size() < 2) return false;
    if (text[1] == '@') {
        if (text.size() < 4 || !isFileLetter(text[2]) || !isRankDigit(text[3])) return false;
        if (std::strchr("PNBRQ", text[0]) == nullptr || text[0] == '\0') return false;
        move.toFile = text[2] - 'a';
        move.toRank = text[3] - '1';
        move.piece = whiteMoves ? text[0] : asciiLower(text[0]);
        return true;
    }
    if (isFileLetter(text[0])) return findPawnOrigin(board, text, whiteMoves, move);

    size_t dest = 0;  // index of the destination's rank digit
    for (size_t i = text.size() - 1; i >= 1; --i) {
        if (isRankDigit(text[i]) && isFileLetter(text[i - 1])) {
            dest = i;
            break;
        }
    }
    if (dest < 2) return false;
    std::string_view between = text.substr(1, dest - 2);
    if (!between.empty() && between.back() == 'x') between.remove_suffix(1);
    if (std::strchr("BKNQR", text[0]) == nullptr || text[0] == '\0') return false;
    move.piece = whiteMoves ? text[0] : asciiLower(text[0]);
    move.toFile = text[dest - 1] - 'a';
    move.toRank = text[dest] - '1';
    int origin = findPieceOrigin(board, move.toFile, move.toRank, between, move.piece, whiteMoves);
    if (origin < 0) return false;
    move.fromFile = origin / 8;
    move.fromRank = origin % 8;
    return true;
}

bool findPawnOrigin(const Board& board, std::string_view text, bool whiteMoves, Move& move) {
    move.piece = whiteMoves ? 'P' : 'p';
    if (text.size() < 2) return false;
    const size_t equals = text.find('=');
    if (equals != std::string_view::npos) {
        if (equals + 1 >= text.size()) return false;
        char p = asciiUpper(text[equals + 1]);
        if (std::strchr("BNQR", p) == nullptr || p == '\0') return false;
        move.promotion = static_cast<uint8_t>(whiteMoves ? p : asciiLower(p));
    }
    const size_t x = text.find('x');
    if (x == std::string_view::npos) {
        if (!isFileLetter(text[0]) || !isRankDigit(text[1])) return false;
        move.toFile = text[0] - 'a';
        move.toRank = text[1] - '1';
        move.fromFile = move.toFile;
        const char pawn = move.piece;
        const int step = whiteMoves ? -1 : 1, last = whiteMoves ? 1 : 6;
        for (int r = move.toRank;; r += step) {
            if (board.at(move.toFile, r) == pawn) {
                move.fromRank = r;
                break;
            }
            if (r == last || !onBoard(move.toFile, r + step)) return false;
        }
    } else {
        if (x + 2 >= text.size() || !isFileLetter(text[x + 1]) || !isRankDigit(text[x + 2])) return false;
        move.toFile = text[x + 1] - 'a';
        move.toRank = text[x + 2] - '1';
        move.fromFile = text[0] - 'a';
        move.fromRank = move.toRank + (whiteMoves ? -1 : 1);
        if (!onBoard(move.fromFile, move.fromRank)) return false;
    }
    const int lastRank = whiteMoves ? 7 : 0;
    if (equals != std::string_view::npos && move.toRank != lastRank) return false;
    // "e8Q", "exf8n": the piece letter right after the last rank names the promotion as '=' would.
    const size_t after = x == std::string_view::npos ? 2 : x + 3;
    if (equals == std::string_view::npos && move.toRank == lastRank && after < text.size()) {
        const char p = asciiUpper(text[after]);
        if (p != '\0' && std::strchr("BNQR", p) != nullptr) {
            move.promotion = static_cast<uint8_t>(whiteMoves ? p : asciiLower(p));
            return true;
        }
    }
    move.promotionOpen = (move.toRank == 0 || move.toRank == 7) && equals == std::string_view::npos;
    return true;
}

int findPieceOrigin(const Board& board, int toFile, int toRank, std::string_view dis, char piece,
                    bool whiteMoves) {
    int fileFilter = -1, rankFilter = -1;
    if (dis.size() == 1) {
        if (isRankDigit(dis[0])) rankFilter = dis[0] - '1';
        else fileFilter = dis[0] - 'a';
    } else if (dis.size() >= 2) {
        fileFilter = dis[0] - 'a';
        rankFilter = dis[1] - '1';
    }
    // Only squares holding the piece are looked at, found with memchr.
    auto next = [&](int from) {
        const void* found = from < 64 ? std::memchr(board.squares + from, piece, 64 - from) : nullptr;
        return found ? static_cast<int>(static_cast<const char*>(found) - board.squares) : 64;
    };
    auto fits = [&](int i) {
        const int f = i / 8, r = i % 8;
        if ((fileFilter >= 0 && f != fileFilter) || (rankFilter >= 0 && r != rankFilter)) return false;
        return piece == 'K' || piece == 'k' || pieceReaches(board.squares, piece, f, r, toFile, toRank);
    };
    int first = -1, fitting = 0;
    for (int i = next(0); i < 64 && fitting < 2; i = next(i + 1))
        if (fits(i)) {
            if (first < 0) first = i;
            ++fitting;
        }
    // A lone piece needs no pin test here: making the move tests its king.
    if (fitting < 2) return first;
    for (int i = first; i < 64; i = next(i + 1)) {
        if (!fits(i)) continue;
        char trial[64];
        std::memcpy(trial, board.squares, 64);
        trial[squareIndex(toFile, toRank)] = piece;
        trial[i] = ' ';
        if (!kingInCheck(trial, whiteMoves)) return i;
    }
    return -1;
}

std::string formatMove(const Board& before, char piece, int fromFile, int fromRank, int toFile,
                       int toRank, uint8_t promotion, char captured, Disambiguation disambiguation) {
    const char p = asciiUpper(piece);
    const char promo = promotion == kNoPromotion ? 0 : asciiUpper(static_cast<char>(promotion));
    const char toF = static_cast<char>('a' + toFile), toR = static_cast<char>('1' + toRank);
    const char fromF = static_cast<char>('a' + fromFile), fromR = static_cast<char>('1' + fromRank);
    const bool capture = captured != ' ';
    Notation out;

    if (fromFile < 0) {
        out.add({p, '@', toF, toR});
    } else if (p == 'K') {
        const bool homeRank = fromFile == 4 && ((fromRank == 0 && toRank == 0) || (fromRank == 7 && toRank == 7));
        if (homeRank && toFile == 6) return "O-O";
        if (homeRank && toFile == 2) return "O-O-O";
        out.add(p);
        if (capture) out.add('x');
        out.add({toF, toR});
    } else if (p == 'N' || p == 'B' || p == 'R' || p == 'Q') {
        out.add(p);
        // Only a second piece of the same kind can make the move ambiguous.
        const char* first = static_cast<const char*>(std::memchr(before.squares, piece, 64));
        if (first && std::memchr(first + 1, piece, static_cast<size_t>(before.squares + 63 - first)))
            addDisambiguation(out, before, piece, fromFile, fromRank, toFile, toRank, disambiguation);
        if (capture) out.add('x');
        out.add({toF, toR});
    } else if (p == 'P') {
        const bool white = piece == 'P';
        const bool adjacent = fromFile - toFile == 1 || toFile - fromFile == 1;
        if (!promo) {
            const bool forward = toRank - fromRank == (white ? 1 : -1);
            const bool enPassant = before.at(toFile, fromRank) == (white ? 'p' : 'P');
            if (fromFile == toFile)
                out.add({toF, toR});
            else if (forward && adjacent && (capture || enPassant))
                out.add({fromF, 'x', toF, toR});
            else
                out.add({fromF, fromR, toF, toR});
        } else if (fromFile == toFile) {
            out.add({toF, toR, '=', promo});
        } else if (!adjacent) {
            out.add({fromF, fromR, toF, toR});  // this form leaves the promotion piece out
        } else if (capture) {
            out.add({fromF, 'x', toF, toR, '=', promo});
        } else {
            out.add({fromF, fromR, toF, toR, '=', promo});
        }
    } else {
        return "?";
    }
    return std::string(out.text, static_cast<size_t>(out.length));
}

}  // namespace tandemora
