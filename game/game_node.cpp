#include "game/game_node.h"

#include <new>

namespace tandemora {

namespace {

// Freed nodes wait here for the next tree of this thread. Blocks are never returned, so the
// memory held is that of the largest trees open at once.
struct FreeNode {
    FreeNode* next;
};
thread_local FreeNode* freeNodes = nullptr;

constexpr size_t kNodesPerBlock = 256;

}  // namespace

void* GameNode::operator new(size_t size) {
    if (size != sizeof(GameNode)) return ::operator new(size);
    if (!freeNodes) {
        auto* block = static_cast<char*>(::operator new(sizeof(GameNode) * kNodesPerBlock));
        for (size_t i = 0; i < kNodesPerBlock; ++i) {
            auto* node = reinterpret_cast<FreeNode*>(block + i * sizeof(GameNode));
            node->next = freeNodes;
            freeNodes = node;
        }
    }
    FreeNode* node = freeNodes;
    freeNodes = node->next;
    return node;
}

void GameNode::operator delete(void* node) noexcept {
    auto* free = static_cast<FreeNode*>(node);
    free->next = freeNodes;
    freeNodes = free;
}

GameNode::~GameNode() {
    // Unlink the main line first so a long game is freed in a loop, not one call per move;
    // only alternatives recurse, as deep as variations nest.
    std::unique_ptr<GameNode> next = children.empty() ? nullptr : std::move(children.front());
    while (next) {
        std::unique_ptr<GameNode> after = next->children.empty() ? nullptr : std::move(next->children.front());
        next = std::move(after);
    }
}

}  // namespace tandemora
