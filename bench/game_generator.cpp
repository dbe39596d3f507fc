#include "bench/game_generator.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iterator>
#include <random>
#include <sstream>
#include <vector>

#include "core/attacks.h"
#include "game/game.h"
#include "game/silent_board.h"

namespace tandemora {

namespace {

// The engine's sequence is fixed by the language standard; the mappings below are our own,
// so a seed gives the same games whatever library the program is built with.
class Random {
public:
    explicit Random(uint64_t seed) : engine_(seed) {}

    uint64_t next() { return engine_(); }
    // 0 .. n-1; the modulo bias is far below anything a test could notice.
    size_t below(size_t n) { return static_cast<size_t>(engine_() % n); }
    int between(int low, int high) { return low + static_cast<int>(below(static_cast<size_t>(high - low + 1))); }
    // Uniform in [0, 1), from the top 53 bits.
    double unit() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }
    bool chance(double p) { return unit() < p; }
    template <typename T, size_t N>
    const T& pick(const T (&items)[N]) { return items[below(N)]; }

private:
    std::mt19937_64 engine_;
};

// How often the player prefers each kind of move, and how often it decorates the record.
constexpr double kPreferCaptures = 0.45;
constexpr double kPreferDrops = 0.35;
constexpr double kAnnotationShare = 0.04;
constexpr double kCommentShare = 0.02;
constexpr double kVariationShare = 0.01;

const char* const kPlayers[] = {"Amber",  "Boris", "Chiara", "Dmitri", "Elif",  "Fatima", "Goran", "Hana",
                                "Ivo",    "Jasper", "Kenji", "Lena",   "Mateo", "Nadia",  "Oskar", "Priya"};
const char* const kAnnotations[] = {"!", "?", "!!", "??", "!?", "?!"};
const char* const kComments[] = {"the only move",          "a drop decides this",   "time trouble",
                                 "sitting would be better", "partner needs a knight", "quiet but strong"};
const int kBaseTimes[] = {60, 120, 180, 300};
const int kIncrements[] = {0, 0, 0, 2};
const char kPromotions[] = {'Q', 'Q', 'Q', 'R', 'B', 'N'};

const int kKnightSteps[8][2] = {{1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};
const int kKingSteps[8][2] = {{0, 1}, {1, 1}, {1, 0}, {1, -1}, {0, -1}, {-1, -1}, {-1, 0}, {-1, 1}};
// Straight lines first, then diagonals: a rook uses 0..3, a bishop 4..7, a queen all.
const int kRays[8][2] = {{0, 1}, {1, 0}, {0, -1}, {-1, 0}, {1, 1}, {1, -1}, {-1, -1}, {-1, 1}};

struct Candidate {
    int fromFile, fromRank, toFile, toRank;  // origin -1, -1 for a drop
    char piece;
    uint8_t promotion;
};

// Moves that follow the pieces' movement without regard to check; the rules pick the legal ones.
struct Candidates {
    std::vector<Candidate> captures, drops, quiet;

    void collect(const Board& board, bool white, Random& random);

private:
    void add(const Board& board, bool white, int ff, int fr, int tf, int tr, uint8_t promotion = kNoPromotion);
    void addPawnMoves(const Board& board, bool white, int file, int rank, Random& random);
    void addSteps(const Board& board, bool white, int file, int rank, const int (&steps)[8][2]);
    void addRays(const Board& board, bool white, int file, int rank, int firstRay, int lastRay);
    void addCastling(const Board& board, bool white);
    void addDrops(const Board& board, bool white);
};

bool isOwn(char c, bool white) { return c != ' ' && isWhitePiece(c) == white; }

// Whether the side to move on the board stands in check.
bool inCheck(const BoardWindow& board) {
    return kingInCheck(board.position().squares, board.position().sideToMove == 1);
}

void Candidates::add(const Board& board, bool white, int ff, int fr, int tf, int tr, uint8_t promotion) {
    if (!onBoard(tf, tr)) return;
    const char target = board.at(tf, tr);
    if (isOwn(target, white)) return;
    (target == ' ' ? quiet : captures).push_back({ff, fr, tf, tr, board.at(ff, fr), promotion});
}

void Candidates::addPawnMoves(const Board& board, bool white, int file, int rank, Random& random) {
    const int forward = white ? 1 : -1, next = rank + forward;
    if (next < 0 || next > 7) return;
    const uint8_t promotion = next == (white ? 7 : 0) ? random.pick(kPromotions) : kNoPromotion;
    if (board.at(file, next) == ' ') {
        add(board, white, file, rank, file, next, promotion);
        if (rank == (white ? 1 : 6) && board.at(file, next + forward) == ' ')
            add(board, white, file, rank, file, next + forward);
    }
    for (int toFile : {file - 1, file + 1}) {
        if (toFile < 0 || toFile > 7) continue;
        const char target = board.at(toFile, next);
        if (target != ' ' && !isOwn(target, white))
            add(board, white, file, rank, toFile, next, promotion);
        else if (target == ' ' && rank == (white ? 4 : 3))  // en passant, if the last move allows it
            captures.push_back({file, rank, toFile, next, board.at(file, rank), kNoPromotion});
    }
}

void Candidates::addSteps(const Board& board, bool white, int file, int rank, const int (&steps)[8][2]) {
    for (const auto& s : steps) add(board, white, file, rank, file + s[0], rank + s[1]);
}

void Candidates::addRays(const Board& board, bool white, int file, int rank, int firstRay, int lastRay) {
    for (int d = firstRay; d <= lastRay; ++d) {
        for (int f = file + kRays[d][0], r = rank + kRays[d][1]; onBoard(f, r); f += kRays[d][0], r += kRays[d][1]) {
            add(board, white, file, rank, f, r);
            if (board.at(f, r) != ' ') break;
        }
    }
}

void Candidates::addCastling(const Board& board, bool white) {
    const int home = white ? 0 : 7;
    if (board.at(4, home) != (white ? 'K' : 'k')) return;
    if (board.castling[white ? 0 : 1]) add(board, white, 4, home, 6, home);
    if (board.castling[white ? 2 : 3]) add(board, white, 4, home, 2, home);
}

void Candidates::addDrops(const Board& board, bool white) {
    for (int index = 0; index < 5; ++index) {
        if (board.holdings[index + (white ? 0 : 5)] == 0) continue;
        const char upper = pieceLetterOfIndex(index);
        const char piece = white ? upper : static_cast<char>(std::tolower(static_cast<unsigned char>(upper)));
        for (int square = 0; square < 64; ++square) {
            const int rank = square % 8;
            if (board.squares[square] != ' ' || (index == 0 && (rank == 0 || rank == 7))) continue;
            drops.push_back({-1, -1, square / 8, rank, piece, kNoPromotion});
        }
    }
}

void Candidates::collect(const Board& board, bool white, Random& random) {
    captures.clear();
    drops.clear();
    quiet.clear();
    for (int file = 0; file < 8; ++file) {
        for (int rank = 0; rank < 8; ++rank) {
            const char piece = board.at(file, rank);
            if (!isOwn(piece, white)) continue;
            switch (std::toupper(static_cast<unsigned char>(piece))) {
            case 'P': addPawnMoves(board, white, file, rank, random); break;
            case 'N': addSteps(board, white, file, rank, kKnightSteps); break;
            case 'K': addSteps(board, white, file, rank, kKingSteps); break;
            case 'R': addRays(board, white, file, rank, 0, 3); break;
            case 'B': addRays(board, white, file, rank, 4, 7); break;
            case 'Q': addRays(board, white, file, rank, 0, 7); break;
            }
        }
    }
    addCastling(board, white);
    addDrops(board, white);
}

// Plays one random game on silent boards and writes it out through the model.
class RandomGamePlayer {
public:
    RandomGamePlayer(uint64_t seed, bool bughouse, int length) : random_(seed), bughouse_(bughouse), length_(length) {}

    std::string play();

private:
    void setTags();
    BoardWindow& pickBoard();
    bool playNewMove(BoardWindow& board);
    bool tryInRandomOrder(std::vector<Candidate>& list, BoardRules& rules, bool white);
    void decorate(double annotationShare, double commentShare);
    void addVariation();
    void setResult(const BoardWindow* stuck);
    const std::string& player(const BoardWindow& board, bool white) const;

    CGame game_;
    Random random_;
    bool bughouse_;
    int length_;  // main-line moves to play; 0 for a random number
    Candidates candidates_;
    int clocks_[2][2] = {};  // remaining seconds by board (A, B) and colour (black, white)
};

void RandomGamePlayer::setTags() {
    // Four different players.
    std::vector<const char*> names(std::begin(kPlayers), std::end(kPlayers));
    for (size_t i = 0; i < 4; ++i) std::swap(names[i], names[i + random_.below(names.size() - i)]);
    game_.WhiteA = names[0];
    game_.BlackA = names[1];
    game_.WhiteB = names[2];
    game_.BlackB = names[3];
    for (int* rating : {&game_.WhiteAElo, &game_.BlackAElo, &game_.WhiteBElo, &game_.BlackBElo})
        *rating = random_.chance(0.1) ? 0 : random_.between(900, 2600);
    game_.Site = "Tandemora random games";
    char date[16];
    std::snprintf(date, sizeof date, "%04d.%02d.%02d", random_.between(2000, 2024), random_.between(1, 12),
                  random_.between(1, 28));
    game_.Date = date;
    game_.baseSeconds = random_.pick(kBaseTimes);
    game_.incrementSeconds = random_.pick(kIncrements);
    for (auto& board : clocks_) board[0] = board[1] = game_.baseSeconds;
}

BoardWindow& RandomGamePlayer::pickBoard() {
    return bughouse_ && random_.chance(0.5) ? *game_.boardB : *game_.boardA;
}

bool RandomGamePlayer::tryInRandomOrder(std::vector<Candidate>& list, BoardRules& rules, bool white) {
    // Drawing without replacement; most positions accept the first draw, so this rarely shuffles much.
    for (size_t left = list.size(); left > 0; --left) {
        std::swap(list[random_.below(left)], list[left - 1]);
        const Candidate& c = list[left - 1];
        if (rules.makeMove(c.fromFile, c.fromRank, c.toFile, c.toRank, c.piece, white, c.promotion, 0)) return true;
    }
    return false;
}

// Makes a random legal move on the board as a new node with its clock; false when the board
// has no legal move, or the move drawn is one the tree already held (inside a variation).
bool RandomGamePlayer::playNewMove(BoardWindow& board) {
    const bool white = board.position().sideToMove == 1;
    candidates_.collect(board.position(), white, random_);
    // The preferred kind first, then all the others together.
    const double roll = random_.unit();
    std::vector<Candidate>* kinds[3] = {&candidates_.captures, &candidates_.drops, &candidates_.quiet};
    if (roll >= kPreferCaptures) std::swap(kinds[0], kinds[roll < kPreferCaptures + kPreferDrops ? 1 : 2]);
    GameNode* from = game_.current;
    const size_t childrenBefore = from->children.size();
    if (!tryInRandomOrder(*kinds[0], board.rules(), white)) {
        kinds[1]->insert(kinds[1]->end(), kinds[2]->begin(), kinds[2]->end());
        if (!tryInRandomOrder(*kinds[1], board.rules(), white)) return false;
    }
    if (from->children.size() == childrenBefore) return false;
    int& clock = clocks_[board.isBoardB()][white];
    clock = std::max(0, clock - random_.between(0, 3));
    game_.current->clockSeconds = clock;
    return true;
}

void RandomGamePlayer::decorate(double annotationShare, double commentShare) {
    if (random_.chance(annotationShare)) game_.current->annotation = random_.pick(kAnnotations);
    if (random_.chance(commentShare)) game_.current->comment = random_.pick(kComments);
}

// An alternative to the last main-line move, a few moves long, then back to the main line.
void RandomGamePlayer::addVariation() {
    GameNode* mainMove = game_.current;
    game_.backOne();
    BoardWindow& board = mainMove->onBoardB() ? *game_.boardB : *game_.boardA;
    if (playNewMove(board)) {
        decorate(0.3, 0.2);
        for (int n = random_.between(0, 5); n > 0 && playNewMove(pickBoard()); --n) decorate(0.1, 0.05);
    }
    game_.current = mainMove;
    game_.synchronizeBoardsWithCurrentNode();
}

const std::string& RandomGamePlayer::player(const BoardWindow& board, bool white) const {
    if (board.isBoardB()) return white ? game_.WhiteB : game_.BlackB;
    return white ? game_.WhiteA : game_.BlackA;
}

// `stuck` is the board that could not move, or null when the game reached its length.
void RandomGamePlayer::setResult(const BoardWindow* stuck) {
    const BoardWindow* loserBoard = stuck ? stuck : &pickBoard();
    const bool loserWhite = stuck ? stuck->position().sideToMove == 1 : random_.chance(0.5);
    // Board A's white and board B's black play together; 1-0 is their win.
    const bool firstTeamLost = loserBoard->isBoardB() != loserWhite;
    const std::string& loser = player(*loserBoard, loserWhite);
    std::string description;
    if (stuck) {
        if (inCheck(*stuck)) description = loser + " checkmated";
    } else {
        const int ending = random_.between(0, 9);
        if (ending < 5) description = loser + " resigns";
        else if (ending < 8) description = loser + " forfeits on time";
    }
    if (description.empty()) {
        game_.resultDescription = stuck ? "Game drawn by stalemate" : "Game drawn by mutual agreement";
        game_.Result = "1/2-1/2";
    } else {
        game_.resultDescription = description;
        game_.Result = firstTeamLost ? "0-1" : "1-0";
    }
}

std::string RandomGamePlayer::play() {
    setTags();
    SilentBoardFactory factory;
    if (bughouse_) game_.createBughouseBoards(factory);
    else game_.createCrazyhouseBoards(factory);
    game_.displayOn = false;
    if (random_.chance(0.05)) game_.current->comment = random_.pick(kComments);

    const BoardWindow* stuck = nullptr;
    // The length is drawn either way, so a seed plays the same moves whatever length is asked.
    const int drawnLength = random_.between(60, 160);
    for (int played = 0, length = length_ > 0 ? length_ : drawnLength; played < length; ++played) {
        BoardWindow& board = pickBoard();
        // In bughouse a board without a move waits for pieces from the other board.
        if (!playNewMove(board)) {
            BoardWindow* other = bughouse_ ? (board.isBoardB() ? game_.boardA.get() : game_.boardB.get()) : nullptr;
            if (!other || !playNewMove(*other)) {
                stuck = other && !inCheck(board) && inCheck(*other) ? other : &board;
                break;
            }
        }
        decorate(kAnnotationShare, kCommentShare);
        if (random_.chance(kVariationShare)) addVariation();
    }
    game_.recomputeClocks(game_.root.get());
    setResult(stuck);

    std::ostringstream out;
    game_.storeGameToStream(out);
    return out.str();
}

}  // namespace

std::string randomGameText(uint64_t seed, bool bughouse, int length) {
    return RandomGamePlayer(seed, bughouse, length).play();
}

void writeRandomGames(std::ostream& out, int count, uint64_t seed, double bughouseShare) {
    Random random(seed);
    for (int i = 0; i < count; ++i) {
        const bool bughouse = random.chance(bughouseShare);
        out << randomGameText(random.next(), bughouse);
    }
}

}  // namespace tandemora
