#include "game/game_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace tandemora {

namespace {

// Closes a file descriptor when it goes out of scope.
struct Descriptor {
    int value;
    ~Descriptor() {
        if (value >= 0) ::close(value);
    }
};

}  // namespace

std::optional<std::string> readFileText(const std::string& path, std::string& problem, std::uint64_t limit) {
    // Opening a pipe without a writer must not wait for one; reading a regular file ignores the flag.
    const Descriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    struct stat status;
    if (file.value < 0 || ::fstat(file.value, &status) != 0) {
        problem = std::generic_category().message(errno);
        return std::nullopt;
    }
    if (!S_ISREG(status.st_mode)) {
        problem = "not a regular file";
        return std::nullopt;
    }
    const auto size = static_cast<std::uint64_t>(status.st_size);
    if (size > limit) {
        problem = "larger than " + std::to_string(limit) + " bytes";
        return std::nullopt;
    }
    std::string text;
    try {
        text.resize(static_cast<size_t>(size));
    } catch (const std::exception&) {
        problem = "not enough memory to read it";
        return std::nullopt;
    }
    // The size from the file's status, read in one go; a file that shrank meanwhile gives what is left.
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::read(file.value, text.data() + done, text.size() - done);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            problem = std::generic_category().message(errno);
            return std::nullopt;
        }
        done += static_cast<size_t>(n);
    }
    text.resize(done);
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
