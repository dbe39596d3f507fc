// Reads arbitrary bytes as a game database: every game in order, games at offsets taken from
// the data, and the games around them; and cuts them into games as a BPGN file. Nothing may
// crash or read outside the data, and what the readers and the cutter return must keep their
// promises.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "database/database_file.h"
#include "game/messages.h"

namespace {

class SilentSink : public tandemora::MessageSink {
public:
    void showMessage(const std::string&) override {}
};

class CountingReporter : public tandemora::ProgressReporter {
public:
    int messages = 0;
    void message(const std::string&) override { ++messages; }
};

int32_t int32At(const std::string& bytes, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
    return static_cast<int32_t>(v);
}

void readInOrder(const std::string& bytes) {
    std::istringstream database(bytes);
    database.seekg(4);
    CountingReporter reporter;
    // Every call consumes at least a length or fails, so this ends.
    while (database.good()) {
        const std::streamoff before = database.tellg();
        auto game = tandemora::readNextDatabaseGame(database, &reporter);
        if (game && !game->root) std::abort();  // a game read in order is replayed
        if (database.good() && database.tellg() <= before) std::abort();
    }
}

void readAround(const std::string& bytes, int32_t offset, int before, int after) {
    std::istringstream database(bytes);
    auto game = tandemora::readDatabaseGameAt(database, offset);
    if (game && game->databaseOffset != offset) std::abort();
    std::vector<std::unique_ptr<tandemora::CGame>> list;
    const bool found = tandemora::retrieveNearbyGames(database, before, after, offset, list);
    if (found != !list.empty() || list.size() > static_cast<size_t>(before + after + 1)) std::abort();
    for (size_t i = 1; i < list.size(); ++i)
        if (list[i]->databaseOffset <= list[i - 1]->databaseOffset) std::abort();  // file order
}

// The records hold every byte of the source, a CR LF as LF, and every record but the first
// starts where a "[" opens a game.
void cutIntoGames(const std::string& bytes) {
    std::istringstream source(bytes);
    std::ostringstream database;
    bool full = true;
    const int games = tandemora::addSingleFileToDatabase(source, database, full);
    std::string textMode;
    for (size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] != '\r' || i + 1 == bytes.size() || bytes[i + 1] != '\n') textMode += bytes[i];
    const std::string records = database.str();
    std::string joined;
    int count = 0;
    for (size_t at = 0; at < records.size(); ++count) {
        const int32_t length = int32At(records, at);
        if (length <= 0 || int32At(records, at + 4 + length) != length) std::abort();
        if (count > 0 && records[at + 4] != '[') std::abort();
        joined.append(records, at + 4, static_cast<size_t>(length));
        at += 8 + static_cast<size_t>(length);
    }
    if (full || games != count || joined != textMode) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static SilentSink sink;
    tandemora::setMessageSink(&sink);
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    readInOrder(bytes);
    // The first bytes after the count choose offsets and window sizes: once as they stand,
    // once brought inside the data.
    for (size_t at = 4; at + 5 <= bytes.size() && at <= 16; at += 5) {
        const int32_t offset = int32At(bytes, at);
        const int before = static_cast<unsigned char>(bytes[at + 4]) % 8, after = static_cast<unsigned char>(bytes[at + 4]) / 32;
        readAround(bytes, offset, before, after);
        readAround(bytes, static_cast<int32_t>(static_cast<uint32_t>(offset) % bytes.size()), before, after);
    }
    readAround(bytes, 4, 3, 3);
    cutIntoGames(bytes);
    return 0;
}
