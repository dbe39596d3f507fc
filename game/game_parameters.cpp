// The Game Parameters dialog's fields: filled from the game, checked, and stored back.
#include "game/game_parameters.h"

#include <algorithm>

#include "game/game.h"
#include "game/text_fields.h"

namespace tandemora {
namespace {

bool isUnsignedNumber(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

std::string tagText(const std::string& text) { return writableText(text, kMaxTagText, true); }

void relabel(BoardWindow* window, const std::string& white, int whiteElo, const std::string& black, int blackElo) {
    if (!window) return;
    window->whiteLabel = white + " (" + CGame::eloText(whiteElo) + ")";
    window->blackLabel = black + " (" + CGame::eloText(blackElo) + ")";
}

}  // namespace

GameParameters gameParameters(const CGame& game) {
    GameParameters p;
    p.event = game.Event;
    p.site = game.Site;
    p.date = game.Date;
    p.whiteA = game.WhiteA;
    p.whiteAElo = std::to_string(game.WhiteAElo);
    p.blackA = game.BlackA;
    p.blackAElo = std::to_string(game.BlackAElo);
    if (game.isBughouse()) {
        p.whiteB = game.WhiteB;
        p.whiteBElo = std::to_string(game.WhiteBElo);
        p.blackB = game.BlackB;
        p.blackBElo = std::to_string(game.BlackBElo);
    }
    p.baseSeconds = std::to_string(game.baseSeconds);
    p.incrementSeconds = std::to_string(game.incrementSeconds);
    p.result = game.Result;
    p.resultDescription = game.resultDescription;
    return p;
}

std::string checkGameParameters(const CGame& game, const GameParameters& p) {
    if (!isUnsignedNumber(p.baseSeconds) || !isUnsignedNumber(p.incrementSeconds))
        return "Please enter a positive integer.";
    // The reader tells the variant by this word; without it, or with the other variant's, the
    // saved game would not read back.
    if (variantOfEvent(tagText(p.event)) != game.variant)
        return game.isBughouse() ? "The event name must contain the word bughouse (or Bughouse, BUGHOUSE)."
                                 : "The event name must contain the word crazyhouse (or Crazyhouse, CRAZYHOUSE) "
                                   "and not the word bughouse.";
    return {};
}

void applyGameParameters(CGame& game, const GameParameters& p) {
    game.modified = true;
    game.Event = tagText(p.event);
    game.Site = tagText(p.site);
    game.Date = tagText(p.date);
    game.WhiteA = tagText(p.whiteA);
    game.BlackA = tagText(p.blackA);
    game.WhiteAElo = leadingNumber(p.whiteAElo);
    game.BlackAElo = leadingNumber(p.blackAElo);
    if (game.isBughouse()) {
        game.WhiteB = tagText(p.whiteB);
        game.BlackB = tagText(p.blackB);
        game.WhiteBElo = leadingNumber(p.whiteBElo);
        game.BlackBElo = leadingNumber(p.blackBElo);
    }
    game.baseSeconds = std::min(leadingNumber(p.baseSeconds), kMaxClockSeconds);
    game.incrementSeconds = std::min(leadingNumber(p.incrementSeconds), kMaxClockSeconds);
    game.Result = tagText(p.result);
    game.resultDescription = writableText(p.resultDescription, kMaxClosingLine - 12, false);

    relabel(game.boardA.get(), game.WhiteA, game.WhiteAElo, game.BlackA, game.BlackAElo);
    if (game.isBughouse()) relabel(game.boardB.get(), game.WhiteB, game.WhiteBElo, game.BlackB, game.BlackBElo);
    // A new base time changes every clock of the tree.
    if (game.root) {
        ++game.treeRevision;
        game.recomputeClocks(game.root.get());
        game.synchronizeBoardsWithCurrentNode();
        game.updateNavigationState();
    }
    for (BoardWindow* window : {game.boardA.get(), game.boardB.get()})
        if (window) window->relayout();
}

}  // namespace tandemora
