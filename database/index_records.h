// The records of a loaded index file, read in place: their head and players, and for a white or
// black index the positions of the indexed seat.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "database/index_search.h"

namespace tandemora {

// Record head: length (4), crazyhouse flag (1), database offset (4), minutes (1),
// increment (1), result (1), date (4); then the players.
constexpr size_t kRecordHeadSize = 16;
constexpr size_t kPackedBoardSize = 32;
// Packed board, five reserve counts, clock difference.
constexpr size_t kEntryFixedSize = kPackedBoardSize + 5 + 2;

inline int32_t int32At(const uint8_t* p) {
    return static_cast<int32_t>(uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24);
}

inline int16_t int16At(const uint8_t* p) { return static_cast<int16_t>(p[0] | p[1] << 8); }

// The head and players of one record.
struct RecordView {
    bool crazyhouse = false;
    int32_t databaseOffset = 0;
    uint8_t minutes = 0;
    uint8_t increment = 0;
    uint8_t result = 0;
    int32_t date = 0;
    SeatPlayers players;
    const uint8_t* afterPlayers = nullptr;
    const uint8_t* end = nullptr;  // the next record
};

// Reads the record at `p`; false when it does not lie whole before `dataEnd`.
bool readRecord(const uint8_t* p, const uint8_t* dataEnd, RecordView& record);

// One position of a seat record.
struct PositionEntry {
    const uint8_t* board = nullptr;
    const uint8_t* reserve = nullptr;  // pawns, rooks, knights, bishops, queens
    int clockMs = 0;
    std::string_view move;
};

// The first zero byte from `p` on, or `end`. A move is a few letters, so eight bytes at a
// time usually find it in one step, without the mispredicted branches of a byte loop.
inline const uint8_t* firstZero(const uint8_t* p, const uint8_t* end) {
    if constexpr (std::endian::native == std::endian::little) {
        for (; end - p >= 8; p += 8) {
            uint64_t word;
            std::memcpy(&word, p, 8);
            const uint64_t zeros = (word - 0x0101010101010101u) & ~word & 0x8080808080808080u;
            if (zeros) return p + std::countr_zero(zeros) / 8;
        }
    }
    while (p < end && *p) ++p;
    return p;
}

// Reads the entry at `p` into `entry`; the next entry, or null when it does not end before `end`.
inline const uint8_t* readEntry(const uint8_t* p, const uint8_t* end, PositionEntry& entry) {
    if (static_cast<size_t>(end - p) <= kEntryFixedSize) return nullptr;
    entry.board = p;
    entry.reserve = p + kPackedBoardSize;
    entry.clockMs = int16At(p + kPackedBoardSize + 5);
    const uint8_t* move = p + kEntryFixedSize;
    const uint8_t* zero = firstZero(move, end);
    if (zero == end) return nullptr;
    entry.move = std::string_view(reinterpret_cast<const char*>(move), zero - move);
    return zero + 1;
}

// The position count of a seat record, or -1 when it is missing or negative.
inline int positionCount(const RecordView& record) {
    if (record.end - record.afterPlayers < 2) return -1;
    const int count = int16At(record.afterPlayers);
    return count >= 0 ? count : -1;
}

}  // namespace tandemora
