// The header of an index file: the database it indexes, for a main index also its type and
// player list, then the count and the size in bytes of the records that follow it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>

namespace tandemora {

// The longest database name a header holds.
constexpr size_t kMaxDatabaseNameLength = 1998;

struct IndexHeader {
    std::string databaseName;
    uint8_t type = 0;         // main index: 0 Bughouse, 1 Crazyhouse
    std::string playerList;   // main index
    int32_t recordCount = 0;
    int32_t dataSize = 0;
};

// Reads the header at the start of an index file; false when the stream ends first or the
// database name is longer than a header holds.
bool readIndexHeader(std::istream& in, bool mainIndex, IndexHeader& header);
// The same from the first `size` bytes of a file held in memory; the length of the header, or 0
// when it is not whole.
size_t readIndexHeader(const uint8_t* bytes, size_t size, bool mainIndex, IndexHeader& header);

// Whether `path` holds an index file of the kind (main, or white or black): its header reads,
// its counts are not negative and its records fill the rest of the file exactly.
bool isIndexFile(const std::string& path, bool mainIndex);

}  // namespace tandemora
