// The games of one BPGN file, read one by one, and where reading stops when a game cannot be read.
#pragma once

#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "game/game.h"

namespace tandemora {

// The whole file as bytes, or nothing when it cannot be opened or read.
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
