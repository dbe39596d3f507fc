#include "game/game_file.h"

#include <algorithm>

#include "game/regular_file.h"

namespace tandemora {

std::optional<std::string> readFileText(const std::string& path, std::string& problem, std::uint64_t limit) {
    RegularFile file(path);
    if (!file.isOpen()) {
        problem = file.problem();
        return std::nullopt;
    }
    if (file.size() > limit) {
        problem = "larger than " + std::to_string(limit) + " bytes";
        return std::nullopt;
    }
    std::string text;
    try {
        text.resize(static_cast<size_t>(file.size()));
    } catch (const std::exception&) {
        problem = "not enough memory to read it";
        return std::nullopt;
    }
    // The size from the file's status, read in one go; a file that shrank meanwhile gives what is left.
    const std::optional<size_t> read = file.read(text.data(), text.size());
    if (!read) {
        problem = file.problem();
        return std::nullopt;
    }
    text.resize(*read);
    return text;
}

std::optional<std::string> readFileText(const std::string& path) {
    std::string problem;
    return readFileText(path, problem);
}

GameFileReader::GameFileReader(std::string text) : in_(std::move(text)) {}

std::unique_ptr<CGame> GameFileReader::next() {
    if (stopLine_) return nullptr;
    const std::string_view text = in_.view();
    const std::streamoff position = in_.tellg();
    // The blanks the reader skips between games.
    const size_t start = text.find_first_not_of(" \t\n\r\v\f", static_cast<size_t>(position));
    if (start == std::string_view::npos) return nullptr;

    auto game = std::make_unique<CGame>();
    if (!game->readGame(in_)) {
        stopLine_ = positionOf(start).line;
        return nullptr;
    }
    game->gameNumber = ++gamesRead_;
    return game;
}

TextPosition GameFileReader::positionOf(size_t offset) {
    const std::string_view text = in_.view();
    offset = std::min(offset, text.size());
    if (offset < countedTo_) countedTo_ = linesBefore_ = 0;
    linesBefore_ += static_cast<int>(std::count(text.begin() + countedTo_, text.begin() + offset, '\n'));
    countedTo_ = offset;
    const size_t lineStart = offset == 0 ? 0 : text.rfind('\n', offset - 1) + 1;  // npos + 1 is 0
    return {1 + linesBefore_, 1 + static_cast<int>(offset - lineStart)};
}

TextPosition GameFileReader::filePosition(const CGame& game, TextPosition inMoveText) {
    const TextPosition start = positionOf(static_cast<size_t>(std::max<std::streamoff>(game.moveTextOffset, 0)));
    if (inMoveText.line == 1) return {start.line, start.column + inMoveText.column - 1};
    return {start.line + inMoveText.line - 1, inMoveText.column};
}

std::string replayFailure(const CGame& game) {
    return game.parseError.empty() ? "move text does not replay" : game.parseError;
}

}  // namespace tandemora
