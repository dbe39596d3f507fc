// The move-information dialog's view of the current move, and its edits stored into the tree.
#include "game/move_info.h"

#include <algorithm>
#include <optional>

#include "game/game.h"
#include "game/text_fields.h"

namespace tandemora {
namespace {

// "12A. Nf3!?"
std::string moveLabel(const GameNode& node) {
    std::string label;
    appendMoveNumber(node, label);
    return label + ' ' + node.moveText + node.annotation.value_or("");
}

}  // namespace

MoveInfoContent moveInfoContent(const CGame& game) {
    MoveInfoContent content;
    const GameNode* node = game.current;
    if (!node) return content;
    content.comment = node->comment.value_or("");
    if (node->parent) {
        content.move = moveLabel(*node);
        content.time = std::to_string(node->clockSeconds);
        content.annotation = node->annotation.value_or("");
        content.moveFieldsEnabled = true;
        int index = 0;
        for (const auto& sibling : node->parent->children) {
            if (sibling.get() == node) continue;
            if (sibling->moveText[0] != '\0') {
                content.alternatives.push_back(moveLabel(*sibling));
                content.alternativeIndexes.push_back(index);
            }
            ++index;
        }
    }
    for (size_t i = 0; i < node->children.size(); ++i) {
        if (node->children[i]->moveText[0] == '\0') continue;
        content.nextMoves.push_back(moveLabel(*node->children[i]));
        content.nextMoveChildren.push_back(static_cast<int>(i));
    }
    return content;
}

void CGame::toggleMoveInfo() {
    if (moveInfoDialog) {
        moveInfoDialog.reset();
        return;
    }
    if (events) moveInfoDialog = events->createMoveInfoDialog(*this);
    fillMoveInfo();
}

void CGame::fillMoveInfo() {
    if (moveInfoDialog) moveInfoDialog->fill();
}

void CGame::applyMoveInfoEdits(const MoveInfoEdits& edits) {
    if (!current) return;
    modified = true;
    ++treeRevision;
    auto optionalText = [](const std::string& text) -> std::optional<std::string> {
        std::string clean = writableText(text, kMaxGroupText, false);
        if (clean.empty()) return std::nullopt;
        return clean;
    };
    current->comment = optionalText(edits.comment);
    // The start position has no move: its time is the game's base time and it has no annotation.
    if (current->parent) {
        current->annotation = optionalText(edits.annotation);
        current->clockSeconds = std::min(leadingNumber(edits.time), kMaxClockSeconds);
    }
    recomputeClocks(root.get());
    synchronizeBoardsWithCurrentNode();
    updateNavigationState();
}

}  // namespace tandemora
