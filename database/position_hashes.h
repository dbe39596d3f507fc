// The position file beside a white or black index (the index's name + ".pos"): for each
// position entry of the index the 64-bit hash of its packed board and the offset of its record,
// sorted by hash and then offset. A positional search looks the position's hash up in it and
// reads only the records that may hold the position, in the order a full scan meets them.
//
// Layout, little-endian: "TDMPOSH\n", version (4), zero (4), then the index file it was made
// for: its size (8), its modification time in nanoseconds (8), its record count (4) and data
// size (4); the entry count (8), a checksum of the entries (8), eight zero bytes; then the
// hashes (8 bytes each) and the record offsets (4 bytes each, from the start of the records).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "database/file_bytes.h"
#include "database/progress.h"

namespace tandemora {

// Hashes the 32 bytes of a packed board.
using PositionHash = uint64_t (*)(const uint8_t* packedBoard);
uint64_t hashPackedBoard(const uint8_t* packedBoard);

std::string positionFilePath(const std::string& indexPath);

// The records of a loaded white or black index, and what identifies the file they came from.
struct IndexRecords {
    const uint8_t* data = nullptr;
    size_t size = 0;
    int32_t recordCount = 0;
    uint64_t fileSize = 0;
    int64_t modified = 0;  // nanoseconds since the epoch
};

// The size and modification time of the file at `path`; false when it cannot be seen.
bool fileStamp(const std::string& path, uint64_t& size, int64_t& modified);

class PositionHashes {
public:
    // The record offsets of the entries whose board has the hash of `packedBoard`, ascending; a
    // record appears once for each such entry.
    std::span<const uint32_t> recordsWith(const uint8_t* packedBoard) const;
    size_t entryCount() const { return count_; }

    // Opens the position file of the index at `indexPath` for `records`; makes it (under the
    // reporter's progress) when it is missing or older than its index, and keeps what it made in
    // memory when it cannot be written. Nothing, with a message, when the file is damaged or
    // made for another index; nothing when the reporter asked to stop.
    static std::optional<PositionHashes> open(const std::string& indexPath, const IndexRecords& records,
                                              PositionHash hash, ProgressReporter& progress);
    // Makes and writes the position file of the index at `indexPath`; false when it was stopped
    // or could not be written (the reporter is told why).
    static bool write(const std::string& indexPath, const IndexRecords& records, PositionHash hash,
                      ProgressReporter& progress);

private:
    enum class Made { stopped, inMemory, written };
    static Made make(const std::string& indexPath, const IndexRecords& records, PositionHash hash,
                     ProgressReporter& progress, PositionHashes& made);
    enum class Fault { none, damaged, mismatched };
    // Takes the bytes of a position file when they are whole and made for `records`.
    Fault attach(FileBytes bytes, const IndexRecords& records);

    FileBytes bytes_;
    const uint64_t* hashes_ = nullptr;
    const uint32_t* offsets_ = nullptr;
    size_t count_ = 0;
    PositionHash hash_ = hashPackedBoard;
};

}  // namespace tandemora
