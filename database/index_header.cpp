#include "database/index_header.h"

#include <fstream>

#include "database/stream_size.h"

namespace tandemora {

namespace {

int32_t readInt32(std::istream& in) {
    unsigned char b[4] = {};
    in.read(reinterpret_cast<char*>(b), 4);
    return static_cast<int32_t>(uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24);
}

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

bool isIndexFile(const std::string& path, bool mainIndex) {
    std::ifstream in(path, std::ios::binary);
    IndexHeader header;
    return in && readIndexHeader(in, mainIndex, header) && header.recordCount >= 0 && header.dataSize >= 0 &&
           bytesLeft(in) == header.dataSize;
}

}  // namespace tandemora
