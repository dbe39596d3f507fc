// The move tree: storing moves, clocks, synchronising the boards, navigation.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

#include "game/game.h"
#include "game/messages.h"

namespace tandemora {

namespace {

bool sameBoard(const GameNode* node, const BoardWindow& window) { return window.hasLetter(node->boardLetter); }

int clampToInt(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

int& moverClock(Board& board, bool white) { return white ? board.whiteClockMs : board.blackClockMs; }

}  // namespace

const Board& CGame::positionOf(const GameNode& node, const BoardWindow& window) const {
    return window.isBoardB() ? *node.positionB : node.positionA;
}

void CGame::storeMoveIntoTree(BoardWindow& window, const std::string& notation, bool whiteMoved,
                              int capturedIndex) {
    const char letter = window.boardLetter(whiteMoved);

    // A move the tree already has on this board's next turn is reused, not added.
    if (!current->children.empty()) {
        GameNode* next = current->firstChild();
        while (next && next->boardLetter != letter) next = next->firstChild();
        if (next) {
            for (const auto& sibling : next->parent->children) {
                if (notation == sibling->moveText) {
                    current = sibling.get();
                    synchronizeBoardsWithCurrentNode();
                    updateNavigationState();
                    return;
                }
            }
        }
    }

    modified = true;
    ++treeRevision;
    std::unique_ptr<GameNode> node(new GameNode);  // no zero fill: every position is copied in
    size_t n = notation.copy(node->moveText, sizeof node->moveText - 1);
    node->moveText[n] = '\0';
    node->boardLetter = letter;
    const Board& before = positionOf(*current, window);
    node->clockSeconds = (whiteMoved ? before.whiteClockMs : before.blackClockMs) / 1000;
    // The analysis step changes no turn, so the board's last mover stays as it was.
    const bool analysis = notation == "Analysis";
    node->lastWhiteA = window.isBoardB() || analysis ? current->lastWhiteA : whiteMoved;
    node->lastWhiteB = !window.isBoardB() || analysis ? current->lastWhiteB : whiteMoved;
    node->complete = true;

    if (capturedIndex >= 0) {
        if (isBughouse()) {
            BoardWindow& partner = window.isBoardB() ? *boardA : *boardB;
            partner.rules().position.holdings[capturedIndex + (whiteMoved ? 5 : 0)]++;
            if (displayOn) partner.repaint();
        } else {
            window.rules().position.holdings[capturedIndex + (whiteMoved ? 0 : 5)]++;
        }
    }
    boardA->storePosition(node->positionA);
    if (isBughouse()) boardB->storePosition(node->positionB.emplace());

    node->parent = current;
    current->children.push_back(std::move(node));
    // Reading sets each move's clock after storing it and recomputes all clocks at the end.
    if (displayOn) recomputeClocks(current);
    current = current->children.back().get();

    const GameNode* previous = isBughouse() ? findPreviousOnBoard(window) : current->parent;
    current->moveNumber = previous->moveNumber + ((whiteMoved || previous->moveNumber == 0) ? 1 : 0);

    if (displayOn) {
        synchronizeBoardsWithCurrentNode();
        updateNavigationState();
    } else {
        // Silently the boards already hold the node's positions: its clocks were not recomputed.
        fillMoveInfo();
    }
}

GameNode* CGame::findPreviousOnBoard(const BoardWindow& window) const {
    if (!isBughouse()) return current->parent;
    GameNode* node = current;
    while (node->parent && !sameBoard(node, window)) node = node->parent;
    if (!node->parent) return node;
    node = node->parent;
    while (node->parent && !sameBoard(node, window)) node = node->parent;
    return node;
}

GameNode* CGame::findNextOnBoard(const BoardWindow& window, char letter) const {
    GameNode* node = current->firstChild();
    if (!isBughouse()) return node;
    while (node && !(letter ? node->boardLetter == letter : sameBoard(node, window))) node = node->firstChild();
    return node;
}

void CGame::recomputeClocks(GameNode* from) {
    for (GameNode* node = from; node; node = node->firstChild()) {
        if (!node->parent) {
            const int ms = baseSeconds * 1000;
            node->positionA.whiteClockMs = node->positionA.blackClockMs = ms;
            if (node->positionB) node->positionB->whiteClockMs = node->positionB->blackClockMs = ms;
        } else {
            const GameNode& parent = *node->parent;
            Board& a = node->positionA;
            a.whiteClockMs = parent.positionA.whiteClockMs;
            a.blackClockMs = parent.positionA.blackClockMs;
            if (node->positionB && parent.positionB) {
                node->positionB->whiteClockMs = parent.positionB->whiteClockMs;
                node->positionB->blackClockMs = parent.positionB->blackClockMs;
            }
            const bool onB = node->onBoardB();
            Board* moverBoard = onB ? (node->positionB ? &*node->positionB : nullptr) : &a;
            if (moverBoard) {
                int& clock = moverClock(*moverBoard, node->whiteMoved());
                const int64_t spent = int64_t(clock) - int64_t(node->clockSeconds) * 1000;
                clock = node->clockSeconds * 1000;
                // Time spent on one board runs on the other board's clock too.
                Board* other = onB ? &a : (node->positionB ? &*node->positionB : nullptr);
                if (isBughouse() && other && spent > 0) {
                    const bool blackToMove = (onB ? node->lastWhiteA : node->lastWhiteB) == 1;
                    int& running = blackToMove ? other->blackClockMs : other->whiteClockMs;
                    running = clampToInt(int64_t(running) - spent);
                }
            }
        }
        for (size_t i = 1; i < node->children.size(); ++i) recomputeClocks(node->children[i].get());
    }
}

void CGame::synchronizeBoardsWithCurrentNode() {
    if (!current->complete) internalError("Internal error 1 in CGame::synchronizeBoardsWithCurrentNode().");
    const std::string* endText = &current->positionA.endText;
    if (current->positionB && !current->positionB->endText.empty()) endText = &current->positionB->endText;

    auto show = [&](BoardWindow* window, const Board& position) {
        if (!window) return;
        window->loadPosition(position);
        if (!displayOn) return;
        if (endText->empty() && position.lastMove[0] == '\0')
            window->setTitle(window->baseTitle());
        else
            window->setTitle(window->baseTitle() + " (" + (endText->empty() ? position.lastMove : *endText) + ")");
        window->repaint();
    };
    show(boardA.get(), current->positionA);
    if (isBughouse() && current->positionB) show(boardB.get(), *current->positionB);

    fillMoveInfo();
    if (events && displayOn) events->positionShown(*this);
}

void CGame::updateNavigationState() {
    for (BoardWindow* window : {boardA.get(), boardB.get()}) {
        if (!window) continue;
        NavigationFlags flags;
        flags.canBackGame = current->parent != nullptr;
        flags.canForwardGame = !current->children.empty();
        for (const GameNode* n = current; n->parent && !flags.canBackBoard; n = n->parent)
            flags.canBackBoard = sameBoard(n, *window);
        for (const GameNode* n = current->firstChild(); n && !flags.canForwardBoard; n = n->firstChild())
            flags.canForwardBoard = sameBoard(n, *window);
        window->setNavigation(flags);
    }
}

const Board* CGame::previousBoardPosition(const BoardWindow& window) const {
    if (!current) return nullptr;
    const GameNode* node = findPreviousOnBoard(window);
    return node ? &positionOf(*node, window) : nullptr;
}

void CGame::moveTo(GameNode* node) {
    if (!node) return;
    current = node;
    synchronizeBoardsWithCurrentNode();
    updateNavigationState();
}

GameNode* CGame::mainLineEnd() const {
    GameNode* node = root.get();
    while (node && node->firstChild()) node = node->firstChild();
    return node;
}

void CGame::backOnBoard(const BoardWindow& window) { moveTo(findPreviousOnBoard(window)); }

void CGame::forwardOnBoard(const BoardWindow& window) { moveTo(findNextOnBoard(window)); }

void CGame::forwardToBoardTurn(const BoardWindow& window) {
    GameNode* next = findNextOnBoard(window);
    if (!next) return;
    if (!next->children.empty()) {
        GameNode* further = next->firstChild();
        while (further && !sameBoard(further, window)) further = further->firstChild();
        if (further) next = further->parent;
    }
    moveTo(next);
}

void CGame::toBoardEnd(const BoardWindow& window) {
    if (!isBughouse()) return toEnd();
    GameNode* last = root.get();
    for (GameNode* n = current; n; n = n->firstChild())
        if (n->parent && sameBoard(n, window)) last = n;
    moveTo(last);
}

void CGame::toStart() { moveTo(root.get()); }

void CGame::backOne() { moveTo(current->parent); }

void CGame::forwardOne() { moveTo(current->firstChild()); }

void CGame::toEnd() {
    GameNode* node = current;
    while (node->firstChild()) node = node->firstChild();
    moveTo(node);
}

void CGame::selectAlternative(int n) {
    if (!current->parent || n < 0) return;
    for (const auto& child : current->parent->children) {
        if (child.get() == current) continue;
        if (n-- == 0) return moveTo(child.get());
    }
}

void CGame::selectChild(int n) {
    if (n >= 0 && static_cast<size_t>(n) < current->children.size()) moveTo(current->children[n].get());
}

void CGame::deleteCurrentMove() {
    GameNode* parent = current->parent;
    if (!parent) return;
    auto& siblings = parent->children;
    GameNode* doomed = current;
    current = parent;
    siblings.erase(std::find_if(siblings.begin(), siblings.end(),
                                [doomed](const auto& child) { return child.get() == doomed; }));
    modified = true;
    ++treeRevision;
    synchronizeBoardsWithCurrentNode();
    updateNavigationState();
}

}  // namespace tandemora
