#include "game/move_list_items.h"

#include <cstdio>
#include <cstdlib>

namespace tandemora {

namespace {

using Kind = MoveListItem::Kind;

// One line of play from `node` on; recursion goes only as deep as variations nest.
void appendLine(GameNode* node, int depth, std::vector<MoveListItem>& items) {
    for (; node; node = node->firstChild()) {
        items.push_back({Kind::kMove, node, depth});
        if (node->comment) items.push_back({Kind::kComment, node, depth});
        if (!node->isFirstChild()) continue;
        const auto& siblings = node->parent->children;
        for (size_t i = 1; i < siblings.size(); ++i) {
            GameNode* first = siblings[i].get();
            items.push_back({Kind::kVariationStart, first, depth + 1});
            appendLine(first, depth + 1, items);
            items.push_back({Kind::kVariationEnd, first, depth + 1});
        }
    }
}

}  // namespace

std::vector<MoveListItem> moveListItems(GameNode& root) {
    std::vector<MoveListItem> items;
    if (root.comment) items.push_back({Kind::kComment, &root, 0});
    appendLine(root.firstChild(), 0, items);
    return items;
}

std::string clockText(int seconds) {
    const long long magnitude = std::llabs(static_cast<long long>(seconds));
    char text[32];
    std::snprintf(text, sizeof text, "%s%lld:%02lld", seconds < 0 ? "-" : "", magnitude / 60, magnitude % 60);
    return text;
}

}  // namespace tandemora
