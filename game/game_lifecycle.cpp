// Opening a game into boards, replaying it silently, and folding it back into move text.
#include <sstream>

#include "game/game.h"
#include "game/messages.h"
#include "game/silent_board.h"

namespace tandemora {

CGame::CGame() = default;

CGame::~CGame() {
    // Boards first: their rules may still point into the tree's positions.
    boardA.reset();
    boardB.reset();
}

void CGame::createCrazyhouseBoards(BoardFactory& factory) { createBoards(factory, kCrazyhouse); }

void CGame::createBughouseBoards(BoardFactory& factory) { createBoards(factory, kBughouse); }

void CGame::createBoards(BoardFactory& factory, int newVariant) {
    variant = newVariant;
    if (Event.empty()) Event = isBughouse() ? "Bughouse game" : "Crazyhouse game";
    const auto elo = eloTexts();
    boardA = factory.createBoard(*this, false);
    boardA->whiteLabel = WhiteA + " (" + elo[0] + ")";
    boardA->blackLabel = BlackA + " (" + elo[1] + ")";
    if (isBughouse()) {
        boardB = factory.createBoard(*this, true);
        boardB->whiteLabel = WhiteB + " (" + elo[2] + ")";
        boardB->blackLabel = BlackB + " (" + elo[3] + ")";
        boardB->flipped = true;
    }
    updateTitles();
    const Board start = Board::initial(baseSeconds * 1000);
    boardA->loadPosition(start);
    if (boardB) boardB->loadPosition(start);
    makeRoot();
}

void CGame::makeRoot() {
    root = std::make_unique<GameNode>();
    root->clockSeconds = baseSeconds;
    root->complete = true;
    boardA->storePosition(root->positionA);
    if (boardB) boardB->storePosition(root->positionB.emplace());
    current = root.get();
    ++treeRevision;
}

void CGame::updateTitles() {
    std::string base = isBughouse() ? "Bughouse" : "Crazyhouse";
    if (manager) {
        const std::string& path = manager->path();
        const size_t slash = path.find_last_of('/');
        base += ": " + (slash == std::string::npos ? path : path.substr(slash + 1)) + " (" +
                std::to_string(gameNumber) + "/" + std::to_string(manager->gameCount()) + ")";
    } else {
        base += ": New Game " + std::to_string(gameNumber);
    }
    if (boardA) {
        boardA->setBaseTitle(isBughouse() ? base + " (B1)" : base);
        boardA->setTitle(boardA->baseTitle());
    }
    if (boardB) {
        boardB->setBaseTitle(base + " (B2)");
        boardB->setTitle(boardB->baseTitle());
    }
}

void CGame::destroyTree() {
    current = nullptr;
    root.reset();
    ++treeRevision;
}

bool CGame::buildTree(BoardFactory& factory, bool reportErrors) {
    const bool wasModified = modified;
    const std::optional<TextPosition> readUpTo = movesReadUpTo;
    displayOn = false;
    createBoards(factory, variant);
    root->clockSeconds = baseSeconds;
    const bool parsed = parseMoveText(moveBuffer ? *moveBuffer : std::string_view(), reportErrors);
    // Edits written since the text was read in part lost its unread moves: that stays true until saved.
    if (wasModified && !movesReadUpTo) movesReadUpTo = readUpTo;
    if (parsed) {
        current = root.get();
        recomputeClocks(root.get());
        synchronizeBoardsWithCurrentNode();
    } else {
        boardA.reset();
        boardB.reset();
        destroyTree();
    }
    // Reading stored the moves anew; that is no edit of the user's.
    modified = wasModified;
    return parsed;
}

bool CGame::showGame(BoardFactory& factory) {
    if (boardA) {
        boardA->bringToTop();
        if (boardB) boardB->bringToTop();
        return true;
    }
    const bool built = buildTree(factory, true);
    displayOn = true;
    if (!built) {
        showMessage("Error occured, could not show boards.");
        return false;
    }
    updateNavigationState();
    boardA->repaint();
    if (boardB) boardB->repaint();
    GameNode* last = mainLineEnd();
    if (last != root.get()) (last->onBoardB() ? *last->positionB : last->positionA).endText = resultDescription;
    if (movesReadUpTo)
        showMessage("The moves of this game could be read only up to line " + std::to_string(movesReadUpTo->line) +
                    ", column " + std::to_string(movesReadUpTo->column) +
                    " of its move text. The game keeps its text as it is unless you edit it; saving it edited "
                    "drops the moves after that point.");
    return true;
}

bool CGame::replayGame() {
    SilentBoardFactory factory;
    const bool built = buildTree(factory, false);
    boardA.reset();
    boardB.reset();
    return built;
}

void CGame::markSaved() {
    if (modified) movesReadUpTo.reset();  // the file now holds the text of the edited tree
    modified = false;
}

void CGame::closeBoards() {
    moveInfoDialog.reset();
    boardA.reset();
    boardB.reset();
    // An unedited game keeps its move text byte for byte.
    if (modified && root) {
        std::ostringstream discard;
        storeGameToStream(discard);
    }
    destroyTree();
}

}  // namespace tandemora
