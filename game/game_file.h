// The games of one BPGN file, read one by one, and where reading stops when a game cannot be read.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "game/game.h"

namespace tandemora {

// The largest game file read whole. Archives of several gigabytes are real; a file beyond this
// is taken for a mistake rather than filling the memory.
constexpr std::uint64_t kMaxGameFileBytes = std::uint64_t{16} << 30;

// The whole of a regular file as bytes; nothing when it cannot be opened or read, is no regular
// file (a folder, a device, a pipe) or holds more than `limit` bytes, with the reason, for a
// message, in `problem`.
std::optional<std::string> readFileText(const std::string& path, std::string& problem,
                                        std::uint64_t limit = kMaxGameFileBytes);
// The same for a game file, without the reason.
std::optional<std::string> readFileText(const std::string& path);

class GameFileReader {
public:
    explicit GameFileReader(std::string text);

    // The next game, or null at the end of the text or at a game that cannot be read.
    std::unique_ptr<CGame> next();
    int gamesRead() const { return gamesRead_; }
    // After next() gave null: the line (from 1) on which the unreadable game starts, or 0
    // when only blank text was left.
    int stopLine() const { return stopLine_; }
    // Where in the file a place in the move text of a game read here lies.
    TextPosition filePosition(const CGame& game, TextPosition inMoveText);

private:
    // The place of a byte offset; offsets asked for in increasing order are counted from the last.
    TextPosition positionOf(size_t offset);

    std::istringstream in_;
    int gamesRead_ = 0;
    int stopLine_ = 0;
    size_t countedTo_ = 0;  // positionOf's last offset and the line breaks before it
    int linesBefore_ = 0;
};

// Why a game's move text did not replay, naming the move where it stopped.
std::string replayFailure(const CGame& game);

}  // namespace tandemora
