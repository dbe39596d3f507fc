// The saved window layouts: where the main window and the first child windows of each kind
// stood, as 408-byte little-endian records, four of them in the layout file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "settings/settings.h"

namespace tandemora {

inline constexpr std::size_t kPlacementSize = 44;
inline constexpr std::size_t kLayoutSize = 408;
inline constexpr int kLayoutCount = 4;

// Show states of a placement.
inline constexpr std::uint32_t kShowNormal = 1;
inline constexpr std::uint32_t kShowMinimized = 2;
inline constexpr std::uint32_t kShowMaximized = 3;

// A window's show state and its normal rectangle (right and bottom exclusive), field for field
// the platform record of the original file format.
struct WindowPlacement {
    std::uint32_t length = 0;  // kPlacementSize for a stored placement, 0 for a never-saved one
    std::uint32_t flags = 0;
    std::uint32_t showCmd = 0;
    std::int32_t minX = 0, minY = 0;  // minimized and maximized positions, unused: -1
    std::int32_t maxX = 0, maxY = 0;
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;

    // A placement as the program stores it: the given show state and normal rectangle.
    static WindowPlacement of(std::uint32_t showCmd, std::int32_t left, std::int32_t top, std::int32_t right,
                              std::int32_t bottom);

    // Only a placement with the right length is applied; anything else counts as absent.
    bool present() const { return length == kPlacementSize; }

    bool operator==(const WindowPlacement&) const = default;
};

struct WindowLayout {
    WindowPlacement mainWindow;
    std::array<WindowPlacement, 4> boards{};
    int boardCount = 0;  // 0..4
    std::array<WindowPlacement, 2> lists{};
    int listCount = 0;  // 0..2
    std::array<WindowPlacement, 2> indexes{};
    int indexCount = 0;  // 0..2

    bool operator==(const WindowLayout&) const = default;
};

WindowPlacement decodePlacement(std::span<const unsigned char, kPlacementSize> bytes);
void encodePlacement(const WindowPlacement& placement, std::span<unsigned char, kPlacementSize> bytes);

// Counts read from a record are clamped to what the record can hold.
WindowLayout decodeLayout(std::span<const unsigned char, kLayoutSize> bytes);
// Writes the whole record, padding zero; counts are clamped as on reading.
void encodeLayout(const WindowLayout& layout, std::span<unsigned char, kLayoutSize> bytes);

// Layout number index (0 the default, 1 to 3 the numbered ones) of the layout file's contents.
WindowLayout readLayout(const LayoutBytes& layouts, int index);
void writeLayout(LayoutBytes& layouts, int index, const WindowLayout& layout);

}  // namespace tandemora
