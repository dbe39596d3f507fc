#include "game/game_node.h"

#include <mutex>
#include <new>
#include <utility>
#include <vector>

namespace tandemora {

namespace {

// Freed nodes wait in a list of their thread for the next tree. Blocks of nodes are never
// returned; a thread that ends hands its list on, so no node is lost.
struct FreeNode {
    FreeNode* next;
};

constexpr size_t kNodesPerBlock = 256;

// Under AddressSanitizer every node is a heap object of its own, so a use after free is caught.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPooled = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kPooled = false;
#else
constexpr bool kPooled = true;
#endif
#else
constexpr bool kPooled = true;
#endif

std::mutex poolMutex;
FreeNode* orphanedNodes = nullptr;  // the lists of threads that ended
// Blocks are held for good (never freed, not even at exit) so no node can outlive its block.
std::vector<char*>& blocks() {
    static auto* const held = new std::vector<char*>;
    return *held;
}

struct ThreadFreeList {
    FreeNode* head = nullptr;

    ~ThreadFreeList() {
        if (!head) return;
        FreeNode* tail = head;
        while (tail->next) tail = tail->next;
        std::lock_guard lock(poolMutex);
        tail->next = orphanedNodes;
        orphanedNodes = head;
    }

    void refill() {
        std::lock_guard lock(poolMutex);
        if (orphanedNodes) {
            head = std::exchange(orphanedNodes, nullptr);
            return;
        }
        char* block = blocks().emplace_back(new char[sizeof(GameNode) * kNodesPerBlock]);
        for (size_t i = 0; i < kNodesPerBlock; ++i)
            head = new (block + i * sizeof(GameNode)) FreeNode{head};
    }
};

thread_local ThreadFreeList freeNodes;

}  // namespace

void* GameNode::operator new(size_t size) {
    if (!kPooled || size != sizeof(GameNode)) return ::operator new(size);
    if (!freeNodes.head) freeNodes.refill();
    FreeNode* node = freeNodes.head;
    freeNodes.head = node->next;
    return node;
}

void GameNode::operator delete(void* node, size_t size) noexcept {
    if (!kPooled || size != sizeof(GameNode)) return ::operator delete(node);
    freeNodes.head = new (node) FreeNode{freeNodes.head};
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

void appendMoveNumber(const GameNode& node, std::string& out) {
    out += std::to_string(node.moveNumber);
    out += node.boardLetter;
    out += '.';
}

}  // namespace tandemora
