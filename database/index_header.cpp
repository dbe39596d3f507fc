#include "database/index_header.h"

#include <fstream>
#include <streambuf>

#include "database/stream_size.h"

namespace tandemora {

namespace {

int32_t readInt32(std::istream& in) {
    unsigned char b[4] = {};
    in.read(reinterpret_cast<char*>(b), 4);
    return static_cast<int32_t>(uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24);
}

// Bytes in memory read as a stream, in place.
class MemoryReader : public std::streambuf {
public:
    MemoryReader(const uint8_t* bytes, size_t size) {
        // A stream buffer only reads what lies in its get area.
        char* begin = const_cast<char*>(reinterpret_cast<const char*>(bytes));
        setg(begin, begin, begin + size);
    }
    size_t consumed() const { return static_cast<size_t>(gptr() - eback()); }
};

}  // namespace

bool readIndexHeader(std::istream& in, bool mainIndex, IndexHeader& header) {
    header = IndexHeader();
    char c;
    while (in.get(c) && c != '\0') {
        if (header.databaseName.size() == kMaxDatabaseNameLength) return false;
        header.databaseName += c;
    }
    if (mainIndex) {
        header.type = static_cast<uint8_t>(in.get());
        std::getline(in, header.playerList, '\0');
    }
    header.recordCount = readInt32(in);
    header.dataSize = readInt32(in);
    return static_cast<bool>(in);
}

size_t readIndexHeader(const uint8_t* bytes, size_t size, bool mainIndex, IndexHeader& header) {
    MemoryReader reader(bytes, size);
    std::istream in(&reader);
    return readIndexHeader(in, mainIndex, header) ? reader.consumed() : 0;
}

bool isIndexFile(const std::string& path, bool mainIndex) {
    std::ifstream in(path, std::ios::binary);
    IndexHeader header;
    return in && readIndexHeader(in, mainIndex, header) && header.recordCount >= 0 && header.dataSize >= 0 &&
           bytesLeft(in) == header.dataSize;
}

}  // namespace tandemora
