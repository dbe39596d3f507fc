#include "app/window_layout.h"

#include <algorithm>
#include <stdexcept>

namespace tandemora {

static_assert(std::tuple_size_v<LayoutBytes> == kLayoutCount * kLayoutSize);

namespace {

// Where the parts of a layout record lie.
constexpr std::size_t kBoardsOffset = 44;
constexpr std::size_t kBoardCountOffset = 220;
constexpr std::size_t kListsOffset = 224;
constexpr std::size_t kListCountOffset = 312;
constexpr std::size_t kIndexesOffset = 316;
constexpr std::size_t kIndexCountOffset = 404;

std::uint32_t readU32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void writeU32(unsigned char* p, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(value >> (8 * i));
}

std::int32_t readI32(const unsigned char* p) { return static_cast<std::int32_t>(readU32(p)); }
void writeI32(unsigned char* p, std::int32_t value) { writeU32(p, static_cast<std::uint32_t>(value)); }

// Counts are stored as signed bytes; a negative or oversized one is clamped.
int readCount(unsigned char byte, int capacity) {
    return std::clamp(static_cast<int>(static_cast<signed char>(byte)), 0, capacity);
}

unsigned char countByte(int count, int capacity) { return static_cast<unsigned char>(std::clamp(count, 0, capacity)); }

template <std::size_t N>
void decodeSlots(std::span<const unsigned char, kLayoutSize> bytes, std::size_t offset,
                 std::array<WindowPlacement, N>& slots) {
    for (std::size_t i = 0; i < N; ++i)
        slots[i] = decodePlacement(bytes.subspan(offset + i * kPlacementSize).template first<kPlacementSize>());
}

template <std::size_t N>
void encodeSlots(const std::array<WindowPlacement, N>& slots, std::span<unsigned char, kLayoutSize> bytes,
                 std::size_t offset) {
    for (std::size_t i = 0; i < N; ++i)
        encodePlacement(slots[i], bytes.subspan(offset + i * kPlacementSize).template first<kPlacementSize>());
}

std::size_t recordOffset(int index) {
    if (index < 0 || index >= kLayoutCount) throw std::out_of_range("window layout number");
    return static_cast<std::size_t>(index) * kLayoutSize;
}

}  // namespace

WindowPlacement WindowPlacement::of(std::uint32_t showCmd, std::int32_t left, std::int32_t top, std::int32_t right,
                                    std::int32_t bottom) {
    return {kPlacementSize, 0, showCmd, -1, -1, -1, -1, left, top, right, bottom};
}

WindowPlacement decodePlacement(std::span<const unsigned char, kPlacementSize> bytes) {
    const unsigned char* p = bytes.data();
    return {readU32(p),      readU32(p + 4),  readU32(p + 8),  readI32(p + 12), readI32(p + 16), readI32(p + 20),
            readI32(p + 24), readI32(p + 28), readI32(p + 32), readI32(p + 36), readI32(p + 40)};
}

void encodePlacement(const WindowPlacement& placement, std::span<unsigned char, kPlacementSize> bytes) {
    unsigned char* p = bytes.data();
    writeU32(p, placement.length);
    writeU32(p + 4, placement.flags);
    writeU32(p + 8, placement.showCmd);
    writeI32(p + 12, placement.minX);
    writeI32(p + 16, placement.minY);
    writeI32(p + 20, placement.maxX);
    writeI32(p + 24, placement.maxY);
    writeI32(p + 28, placement.left);
    writeI32(p + 32, placement.top);
    writeI32(p + 36, placement.right);
    writeI32(p + 40, placement.bottom);
}

WindowLayout decodeLayout(std::span<const unsigned char, kLayoutSize> bytes) {
    WindowLayout layout;
    layout.mainWindow = decodePlacement(bytes.first<kPlacementSize>());
    decodeSlots(bytes, kBoardsOffset, layout.boards);
    layout.boardCount = readCount(bytes[kBoardCountOffset], static_cast<int>(layout.boards.size()));
    decodeSlots(bytes, kListsOffset, layout.lists);
    layout.listCount = readCount(bytes[kListCountOffset], static_cast<int>(layout.lists.size()));
    decodeSlots(bytes, kIndexesOffset, layout.indexes);
    layout.indexCount = readCount(bytes[kIndexCountOffset], static_cast<int>(layout.indexes.size()));
    return layout;
}

void encodeLayout(const WindowLayout& layout, std::span<unsigned char, kLayoutSize> bytes) {
    std::fill(bytes.begin(), bytes.end(), 0);
    encodePlacement(layout.mainWindow, bytes.first<kPlacementSize>());
    encodeSlots(layout.boards, bytes, kBoardsOffset);
    bytes[kBoardCountOffset] = countByte(layout.boardCount, static_cast<int>(layout.boards.size()));
    encodeSlots(layout.lists, bytes, kListsOffset);
    bytes[kListCountOffset] = countByte(layout.listCount, static_cast<int>(layout.lists.size()));
    encodeSlots(layout.indexes, bytes, kIndexesOffset);
    bytes[kIndexCountOffset] = countByte(layout.indexCount, static_cast<int>(layout.indexes.size()));
}

WindowLayout readLayout(const LayoutBytes& layouts, int index) {
    return decodeLayout(std::span<const unsigned char, kLayoutSize>(layouts.data() + recordOffset(index), kLayoutSize));
}

void writeLayout(LayoutBytes& layouts, int index, const WindowLayout& layout) {
    encodeLayout(layout, std::span<unsigned char, kLayoutSize>(layouts.data() + recordOffset(index), kLayoutSize));
}

}  // namespace tandemora
