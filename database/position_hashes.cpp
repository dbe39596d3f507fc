#include "database/position_hashes.h"

#include <sys/stat.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <new>
#include <span>
#include <vector>

#include "database/formatted.h"
#include "database/index_records.h"
#include "game/temporary_file.h"

namespace tandemora {

// The hashes and offsets are used where they lie in the mapped file.
static_assert(std::endian::native == std::endian::little, "position files are little-endian");

namespace {

constexpr char kMagic[8] = {'T', 'D', 'M', 'P', 'O', 'S', 'H', '\n'};
constexpr uint32_t kVersion = 1;
constexpr size_t kHeaderSize = 64;
constexpr size_t kEntrySize = 8 + 4;

struct Header {
    char magic[8];
    uint32_t version;
    uint32_t zero;
    uint64_t indexSize;
    int64_t indexModified;
    int32_t recordCount;
    int32_t dataSize;
    uint64_t entryCount;
    uint64_t checksum;
    uint64_t padding;
};
static_assert(sizeof(Header) == kHeaderSize);

uint64_t mix(uint64_t x) {
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9u;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBu;
    return x ^ (x >> 31);
}

uint64_t word(const uint8_t* p) {
    uint64_t w;
    std::memcpy(&w, p, 8);
    return w;
}

// Four independent lanes keep the multiplier busy, so the check runs near memory speed.
uint64_t checksum(const uint8_t* p, size_t size) {
    uint64_t lanes[4] = {1, 2, 3, 4};
    size_t at = 0;
    for (; size - at >= 32; at += 32)
        for (int lane = 0; lane < 4; ++lane) lanes[lane] = (lanes[lane] ^ word(p + at + 8 * lane)) * 0x9E3779B97F4A7C15u;
    uint64_t tail = 0;
    for (; at < size; ++at) tail = tail << 8 | p[at];
    return mix(lanes[0] ^ mix(lanes[1] ^ mix(lanes[2] ^ mix(lanes[3] ^ tail))));
}

struct Entry {
    uint64_t hash;
    uint32_t offset;
    bool operator<(const Entry& other) const {
        return hash != other.hash ? hash < other.hash : offset < other.offset;
    }
};

// Copies `from` into `to` grouped by `digit` (0 to `digits` - 1), keeping the order within each
// group; `starts` receives where each group begins in `to`, and one past the last.
template <typename Digit>
void scatterBy(std::span<const Entry> from, Entry* to, size_t digits, Digit digit, std::vector<size_t>& starts) {
    starts.assign(digits + 1, 0);
    for (const Entry& entry : from) ++starts[digit(entry) + 1];
    for (size_t d = 1; d <= digits; ++d) starts[d] += starts[d - 1];
    std::vector<size_t> next(starts.begin(), starts.end() - 1);
    for (const Entry& entry : from) to[next[digit(entry)]++] = entry;
}

// Sorts by hash, then offset. Two rounds of spreading by the top bits of the hash, the second
// within buckets that fit in the cache, leave groups of one or two entries in a real archive,
// several times faster than comparison sorting all.
std::vector<Entry> sortedByHash(std::vector<Entry> entries) {
    constexpr int kBits = 12;
    constexpr size_t kDigits = size_t{1} << kBits;
    std::vector<Entry> sorted(entries.size());
    std::vector<size_t> buckets, groups;
    scatterBy(entries, sorted.data(), kDigits, [](const Entry& e) { return e.hash >> (64 - kBits); }, buckets);
    // `entries` now serves as the second round's space, bucket by bucket in the same place.
    for (size_t b = 0; b < kDigits; ++b) {
        const std::span<const Entry> bucket(sorted.data() + buckets[b], buckets[b + 1] - buckets[b]);
        Entry* grouped = entries.data() + buckets[b];
        scatterBy(bucket, grouped, kDigits, [](const Entry& e) { return (e.hash >> (64 - 2 * kBits)) & (kDigits - 1); },
                  groups);
        for (size_t g = 0; g < kDigits; ++g) std::sort(grouped + groups[g], grouped + groups[g + 1]);
    }
    return entries;
}

}  // namespace

uint64_t hashPackedBoard(const uint8_t* packedBoard) {
    // Four independent products, each word under its own odd constant and rotation, then one
    // full mix: every input bit reaches every output bit.
    const uint64_t a = word(packedBoard) * 0x9E3779B97F4A7C15u;
    const uint64_t b = word(packedBoard + 8) * 0xC2B2AE3D27D4EB4Fu;
    const uint64_t c = word(packedBoard + 16) * 0x165667B19E3779F9u;
    const uint64_t d = word(packedBoard + 24) * 0xD6E8FEB86659FD93u;
    return mix(a ^ std::rotl(b, 17) ^ std::rotl(c, 31) ^ std::rotl(d, 47));
}

std::string positionFilePath(const std::string& indexPath) { return indexPath + ".pos"; }

bool fileStamp(const std::string& path, uint64_t& size, int64_t& modified) {
    struct stat status;
    if (::stat(path.c_str(), &status) != 0) return false;
    size = static_cast<uint64_t>(status.st_size);
    modified = int64_t{status.st_mtim.tv_sec} * 1000000000 + status.st_mtim.tv_nsec;
    return true;
}

std::span<const uint32_t> PositionHashes::recordsWith(const uint8_t* packedBoard) const {
    const uint64_t hash = hash_(packedBoard);
    const uint64_t* first = std::lower_bound(hashes_, hashes_ + count_, hash);
    const uint64_t* last = std::upper_bound(first, hashes_ + count_, hash);
    return {offsets_ + (first - hashes_), offsets_ + (last - hashes_)};
}

PositionHashes::Fault PositionHashes::attach(FileBytes bytes, const IndexRecords& records) {
    Header header;
    if (bytes.size() < kHeaderSize) {
        return Fault::damaged;
    }
    std::memcpy(&header, bytes.data(), kHeaderSize);
    if (std::memcmp(header.magic, kMagic, 8) != 0 || header.version != kVersion ||
        header.entryCount > (bytes.size() - kHeaderSize) / kEntrySize ||
        bytes.size() != kHeaderSize + header.entryCount * kEntrySize) {
        return Fault::damaged;
    }
    if (header.indexSize != records.fileSize || header.indexModified != records.modified ||
        header.recordCount != records.recordCount || header.dataSize != static_cast<int64_t>(records.size)) {
        return Fault::mismatched;
    }
    const uint8_t* body = bytes.data() + kHeaderSize;
    bytes.prepareOnePass();
    const bool intact = checksum(body, bytes.size() - kHeaderSize) == header.checksum;
    bytes.endOnePass();
    if (!intact) {
        return Fault::damaged;
    }
    count_ = header.entryCount;
    hashes_ = reinterpret_cast<const uint64_t*>(body);
    offsets_ = reinterpret_cast<const uint32_t*>(body + count_ * 8);
    bytes_ = std::move(bytes);
    return Fault::none;
}

PositionHashes::Made PositionHashes::make(const std::string& indexPath, const IndexRecords& records,
                                          PositionHash hash, ProgressReporter& progress, PositionHashes& made) {
    made.hash_ = hash;
    progress.status(formatted("Making the position file of %s...", indexPath.c_str()));
    progress.setRange(records.recordCount);
    progress.setPosition(0);
    std::vector<Entry> entries;
    // About 45 bytes an entry; the guess only spares most regrowing.
    entries.reserve(records.size / 40);
    const uint8_t* p = records.data;
    const uint8_t* end = p + records.size;
    RecordView record;
    PositionEntry entry;
    for (int32_t i = 0; i < records.recordCount && readRecord(p, end, record); ++i, p = record.end) {
        if (i % 4096 == 0) {
            if (progress.stopRequested()) return Made::stopped;
            progress.setPosition(i);
        }
        const auto offset = static_cast<uint32_t>(p - records.data);
        int count = positionCount(record);
        const uint8_t* at = record.afterPlayers + 2;
        while (count-- > 0 && (at = readEntry(at, record.end, entry))) entries.push_back({hash(entry.board), offset});
    }
    entries = sortedByHash(std::move(entries));

    const size_t size = kHeaderSize + entries.size() * kEntrySize;
    auto buffer = std::make_unique_for_overwrite<uint8_t[]>(size);
    uint8_t* body = buffer.get() + kHeaderSize;
    auto* hashes = reinterpret_cast<uint64_t*>(body);
    auto* offsets = reinterpret_cast<uint32_t*>(body + entries.size() * 8);
    for (size_t i = 0; i < entries.size(); ++i) {
        hashes[i] = entries[i].hash;
        offsets[i] = entries[i].offset;
    }
    std::vector<Entry>().swap(entries);
    Header header{};
    std::memcpy(header.magic, kMagic, 8);
    header.version = kVersion;
    header.indexSize = records.fileSize;
    header.indexModified = records.modified;
    header.recordCount = records.recordCount;
    header.dataSize = static_cast<int32_t>(records.size);
    header.entryCount = (size - kHeaderSize) / kEntrySize;
    header.checksum = checksum(body, size - kHeaderSize);
    std::memcpy(buffer.get(), &header, kHeaderSize);
    progress.setPosition(records.recordCount);

    TemporaryFile file(positionFilePath(indexPath));
    bool written = false;
    if (file.isOpen()) {
        file.stream().write(reinterpret_cast<const char*>(buffer.get()), static_cast<std::streamsize>(size));
        written = file.close() && file.replaceTarget();
    }
    made.attach(FileBytes(std::move(buffer), size), records);
    return written ? Made::written : Made::inMemory;
}

std::optional<PositionHashes> PositionHashes::open(const std::string& indexPath, const IndexRecords& records,
                                                   PositionHash hash, ProgressReporter& progress) {
    const std::string path = positionFilePath(indexPath);
    uint64_t size;
    int64_t modified;
    PositionHashes hashes;
    hashes.hash_ = hash;
    if (!fileStamp(path, size, modified) || modified < records.modified) {
        // Missing, or left from an older index: made anew. Where the folder cannot be written,
        // what was made serves this search alone.
        if (make(indexPath, records, hash, progress, hashes) == Made::stopped) return std::nullopt;
        return hashes;
    }
    FileBytes::Problem readProblem;
    FileBytes bytes = FileBytes::ofFile(path, readProblem);
    const Fault fault = readProblem == FileBytes::Problem::none ? hashes.attach(std::move(bytes), records) : Fault::damaged;
    if (fault == Fault::none) return hashes;
    progress.error(formatted(fault == Fault::mismatched
                                 ? "The position file %s was made for another index and is not used: the "
                                   "whole index is searched. Delete it to have it made again."
                                 : "The position file %s is damaged and is not used: the whole index is "
                                   "searched. Delete it to have it made again.",
                             path.c_str()));
    return std::nullopt;
}

bool PositionHashes::write(const std::string& indexPath, const IndexRecords& records, PositionHash hash,
                           ProgressReporter& progress) {
    PositionHashes hashes;
    switch (make(indexPath, records, hash, progress, hashes)) {
    case Made::written: return true;
    case Made::inMemory:
        progress.error(formatted("Could not write the position file %s.", positionFilePath(indexPath).c_str()));
        return false;
    case Made::stopped: break;
    }
    return false;
}

}  // namespace tandemora
