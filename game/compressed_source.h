// Game files as their text, whether stored plain or compressed with bzip2 or gzip, told apart by
// their first bytes. Archives are shipped compressed; they are read as a stream, never unpacked
// on the disk nor held whole in memory.
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "game/game_file.h"

namespace tandemora {

enum class Compression { kNone, kBzip2, kGzip };

// Reading stopped before the text's end: the compressed data is damaged or the file could not
// be read. What was read up to there is all the text there is, but it is not the whole file.
class SourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SourceBuffer;

// The text of a game file as a stream. A read that meets damage never looks like the end of the
// text: the stream's own reads set badbit (damage() then says why), and reads straight from
// rdbuf() throw SourceError.
class SourceFile : public std::istream {
public:
    // `name` stands for the file in messages; the path when empty.
    explicit SourceFile(const std::string& path, std::string name = {});
    ~SourceFile() override;

    // False when the file could not be opened or is no regular file; problem() says which.
    bool isOpen() const;
    const std::string& problem() const;
    Compression compression() const;
    // The file's size as stored, and how much of it has been read: progress follows these.
    std::uint64_t storedSize() const;
    std::uint64_t storedBytesRead() const;
    // Called with storedBytesRead() each time more of the file has been read.
    void onRead(std::function<void(std::uint64_t)> reached);
    // Why reading stopped early ("games.bpgn.bz2 is damaged: ..."); empty until it did.
    const std::string& damage() const;

private:
    std::unique_ptr<SourceBuffer> buffer_;
};

// The whole text of a game file, decompressed when it is compressed; nothing when it cannot be
// opened or read, is damaged, or holds more than `limit` bytes of text, with the reason in
// `problem`. `compression`, when given, is set once the file was opened: the reason is then a
// sentence naming the file ("games.bpgn.gz is damaged: ..."), a phrase otherwise, as
// readFileText gives it.
std::optional<std::string> readSourceText(const std::string& path, std::string& problem,
                                          Compression* compression = nullptr,
                                          std::uint64_t limit = kMaxGameFileBytes);

}  // namespace tandemora
