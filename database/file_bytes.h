// The bytes of a whole file held read-only in memory: mapped from the file where the system
// allows it, so that every window and program holding the same file shares the one copy in the
// page cache and nothing is copied; read into a buffer of their own where it does not.
//
// A mapped file that another program cuts short in place would fault where its bytes are gone.
// The program's own writers never do that: they rename a complete new file over the old one,
// and the mapping keeps the old file's bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace tandemora {

class FileBytes {
public:
    FileBytes() = default;
    // Bytes already read into a buffer.
    FileBytes(std::unique_ptr<uint8_t[]> buffer, size_t size);
    FileBytes(FileBytes&& other) noexcept;
    FileBytes& operator=(FileBytes&& other) noexcept;
    ~FileBytes();

    const uint8_t* data() const { return data_; }
    size_t size() const { return size_; }

    // Before the bytes are read once from front to back: the system maps them all at once and,
    // where they are not in memory yet, reads ahead far and need not keep what was passed.
    // After that pass, endOnePass: the bytes are kept as any program's. Only mapped bytes take
    // these hints.
    void prepareOnePass() const;
    void endOnePass() const;

    enum class Problem { none, cannotOpen, noMemory, cannotRead };
    // The whole of the regular file at `path`; empty with the reason in `problem` when it is no
    // regular file (a folder, a device, a pipe), cannot be opened, does not fit in memory or
    // cannot be read whole.
    static FileBytes ofFile(const std::string& path, Problem& problem);

private:
    void release();

    void* mapping_ = nullptr;
    std::unique_ptr<uint8_t[]> buffer_;
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
};

}  // namespace tandemora
