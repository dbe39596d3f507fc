// A regular file opened for reading whole: never a pipe, a device or a folder, which could
// block a read or never end. The file closes when the object goes out of scope.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tandemora {

class RegularFile {
public:
    explicit RegularFile(const std::string& path);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    // False when the file could not be opened or is no regular file; problem() says which.
    bool isOpen() const { return descriptor_ >= 0 && regular_; }
    const std::string& problem() const { return problem_; }
    int descriptor() const { return descriptor_; }
    std::uint64_t size() const { return size_; }

    // Reads up to `size` bytes into `into`; how many arrived before the file ended, or nothing
    // when reading failed (problem() then says why).
    std::optional<size_t> read(char* into, size_t size);

private:
    int descriptor_ = -1;
    bool regular_ = false;
    std::uint64_t size_ = 0;
    std::string problem_;
};

}  // namespace tandemora
