// One crazyhouse or bughouse game: header tags, BPGN move text, and while open its move tree
// over both boards in the order of play.
#pragma once

#include <array>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "game/board_window.h"
#include "game/game_node.h"
#include "game/move_info.h"

namespace tandemora {

// The game list a game belongs to, as its titles need it.
class GameList {
public:
    virtual ~GameList() = default;
    virtual const std::string& path() const = 0;
    virtual int gameCount() const = 0;
};

// What happens around a game when its current node changes; the program's windows listen.
class GameEvents {
public:
    virtual ~GameEvents() = default;
    // The shown position changed: play the move sound, let the index windows search again.
    virtual void positionShown(CGame&) {}
    // Replay played the last move of its line.
    virtual void replayReachedEnd(CGame&) {}
    // Makes the game's move-information dialog; null when there is none to make.
    virtual std::unique_ptr<MoveInfoView> createMoveInfoDialog(CGame&) { return nullptr; }
};

enum Variant { kBughouse = 0, kCrazyhouse = 1 };

// How replay runs through the recorded time; the default is the recorded pace.
struct ReplayPace {
    int speed = 1;                // how many times the recorded pace
    bool skipLongThinks = false;  // a wait of more than 10 s of recorded time lasts 1 s
};

// Limits of the BPGN reader; the writer keeps within them.
constexpr int kMaxTagText = 1999;
constexpr int kMaxMoveList = 999999;
constexpr int kMaxClosingLine = 1998;
constexpr int kMaxGroupText = 99998;
constexpr int kMaxMoveText = 9;
constexpr int kMaxVariationDepth = 500;
// Clocks are kept in milliseconds in an int: no time may pass this many seconds.
constexpr int kMaxClockSeconds = 2147483;

// The variant an Event names: kBughouse, kCrazyhouse, or -1 when it names neither.
int variantOfEvent(const std::string& event);

// Whether `line`, the rest of a line that opens with '{' right after a game's tags, is the
// closing line of a game without moves rather than the start of its move list.
bool isClosingLine(std::string_view line);

// A tag the program has no field for ("Round", "Lag", an archive's game number): kept with its
// game and written after the program's own tag lines, as it was read.
struct OtherTag {
    std::string name, value;
    std::string text;  // the whole tag as it stood in the file, from '[' to ']'
};

// A tag written as the program writes its own: [Name "value"].
OtherTag makeOtherTag(std::string name, std::string value);

// A game keeps this many other tags at most: a file of endless tag lines cannot fill the memory.
constexpr size_t kMaxOtherTags = 100;

// A place in a text: line and column, both counted from 1.
struct TextPosition {
    int line = 1;
    int column = 1;
};

class CGame {
public:
    CGame();
    ~CGame();
    CGame(const CGame&) = delete;
    CGame& operator=(const CGame&) = delete;

    int variant = kCrazyhouse;
    std::unique_ptr<GameNode> root;
    GameNode* current = nullptr;
    bool modified = false;
    // Bumped by every change of the move tree (a move added or deleted, a comment, annotation or
    // clock edited, a new tree), so views of the tree know when to build themselves again.
    unsigned treeRevision = 0;

    std::string Event;
    std::string Site = "somewhere in the universe";
    std::string Date = "15'th century";
    std::string WhiteA = "WHITE", WhiteB = "WHITE", BlackA = "BLACK", BlackB = "BLACK";
    int WhiteAElo = 0, WhiteBElo = 0, BlackAElo = 0, BlackBElo = 0;
    int baseSeconds = 180;
    int incrementSeconds = 0;
    std::string Result = "*";
    std::string resultDescription = "*";
    std::vector<OtherTag> otherTags;

    std::unique_ptr<BoardWindow> boardA, boardB;
    std::optional<std::string> moveBuffer;
    bool displayOn = true;
    const GameList* manager = nullptr;
    GameEvents* events = nullptr;
    int gameNumber = -1;
    int databaseOffset = -1;
    std::string databaseFileName;
    std::unique_ptr<MoveInfoView> moveInfoDialog;
    int tickMs = 0, lastMoveAtMs = 0, elapsedMs = 0;
    // Why the last parseMoveText failed, naming the move or text where it stopped.
    std::string parseError;
    // Where the move text began in the stream the game was read from; -1 when unknown.
    std::streamoff moveTextOffset = -1;
    // Where reading the move text into the tree stopped before the text's end (a stray ')',
    // a "{R:...}" group), or none when the whole text was read. Writing the tree would drop
    // what follows: an unedited game keeps its text as read, and an edited one keeps this
    // mark until it is saved.
    std::optional<TextPosition> movesReadUpTo;

    bool isBughouse() const { return variant == kBughouse; }

    // Reading and writing BPGN.
    bool readGame(std::istream& in);
    bool parseMoveText(std::string_view text, bool reportErrors);
    bool storeGameToStream(std::ostream& out);
    // The game was written to its file: its edits are saved, and nothing of that text is unread.
    void markSaved();
    // Appends the move list from `node` on; `lineLength` runs across the whole list.
    static void writeMoveList(const GameNode* node, std::string& out, int& lineLength);
    static std::string eloText(int rating);
    // WhiteA, BlackA, WhiteB, BlackB.
    std::array<std::string, 4> eloTexts() const;

    // Opening and closing.
    void createCrazyhouseBoards(BoardFactory& factory);
    void createBughouseBoards(BoardFactory& factory);
    void updateTitles();
    bool showGame(BoardFactory& factory);
    bool replayGame();
    void closeBoards();

    // The move tree.
    void storeMoveIntoTree(BoardWindow& window, const std::string& notation, bool whiteMoved, int capturedIndex);
    GameNode* findPreviousOnBoard(const BoardWindow& window) const;
    GameNode* findNextOnBoard(const BoardWindow& window, char letter = 0) const;
    void recomputeClocks(GameNode* from);
    void synchronizeBoardsWithCurrentNode();
    void updateNavigationState();
    const Board* previousBoardPosition(const BoardWindow& window) const;

    // Navigation: each moves `current`, then synchronises and updates the navigation state.
    void backOnBoard(const BoardWindow& window);
    void forwardOnBoard(const BoardWindow& window);
    void forwardToBoardTurn(const BoardWindow& window);
    void toBoardEnd(const BoardWindow& window);
    void toStart();
    void backOne();
    void forwardOne();
    void toEnd();
    void selectAlternative(int n);
    void selectChild(int n);
    void deleteCurrentMove();
    // Goes to any node of the tree, as a click in a move list does; nothing for null.
    void moveTo(GameNode* node);

    // Replay at the recorded pace: true when replay cannot start / has ended.
    bool beginReplay(int stepMs);
    bool replayStep(int minimumDelayMs, ReplayPace pace = {});

    // The move-information dialog: shown or closed, filled from the current move, edits stored.
    void toggleMoveInfo();
    void fillMoveInfo();
    void applyMoveInfoEdits(const MoveInfoEdits& edits);

    // The last node of the main line, or the root.
    GameNode* mainLineEnd() const;

private:
    void createBoards(BoardFactory& factory, int newVariant);
    // Builds the tree from the move text inside fresh boards, silently; keeps nothing on failure.
    bool buildTree(BoardFactory& factory, bool reportErrors);
    void makeRoot();
    void destroyTree();
    const Board& positionOf(const GameNode& node, const BoardWindow& window) const;
};

}  // namespace tandemora
