#include "game/game_file.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace tandemora {

std::optional<std::string> readFileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    try {
        // A read error (a folder, say) throws from inside the stream buffer.
        std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        if (file.bad()) return std::nullopt;
        return text;
    } catch (const std::ios_base::failure&) {
        return std::nullopt;
    }
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
        stopLine_ = 1 + static_cast<int>(std::count(text.begin(), text.begin() + start, '\n'));
        return nullptr;
    }
    game->gameNumber = ++gamesRead_;
    return game;
}

std::string replayFailure(const CGame& game) {
    return game.parseError.empty() ? "move text does not replay" : game.parseError;
}

}  // namespace tandemora
