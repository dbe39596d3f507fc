// A file written beside the file it is to replace, so that the target changes only once the
// new contents are complete.
#pragma once

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>

namespace tandemora {

// Why writing a file failed, for a message: "the disk is full", "the file size limit was
// reached", or the system's own words.
std::string writeFailureCause(int error);

class TemporaryFile {
public:
    // Creates a new file in the folder of the file `target` names (through a symbolic link, the
    // file it points to), under a name no file there has yet: it never opens an existing file
    // and never follows a link. isOpen() tells whether that worked, error() why not.
    explicit TemporaryFile(const std::string& target);
    // Removes the file unless it was moved over its target.
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool isOpen() const { return descriptor_ >= 0; }
    // Only for an open file. Seekable; once a write fails, every later one fails too.
    std::ostream& stream() { return *stream_; }
    // Writes out what the stream holds, to the disk, and closes the file; false when any
    // write failed.
    bool close();
    // Renames the closed file over its target, which keeps the permissions it had; false when
    // the rename failed.
    bool replaceTarget();

    // The errno of the first failure, 0 when there was none.
    int error() const;
    const std::filesystem::path& path() const { return path_; }
    const std::filesystem::path& target() const { return target_; }

private:
    class Buffer;

    std::filesystem::path target_, path_;
    int descriptor_ = -1;
    int failure_ = 0;  // of creating, syncing, closing or renaming the file
    bool moved_ = false;
    std::unique_ptr<Buffer> buffer_;
    std::unique_ptr<std::ostream> stream_;
};

}  // namespace tandemora
