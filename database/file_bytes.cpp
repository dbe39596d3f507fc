#include "database/file_bytes.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>
#include <utility>

#include "game/regular_file.h"

namespace tandemora {

FileBytes::FileBytes(std::unique_ptr<uint8_t[]> buffer, size_t size)
    : buffer_(std::move(buffer)), data_(buffer_.get()), size_(size) {}

FileBytes::FileBytes(FileBytes&& other) noexcept
    : mapping_(std::exchange(other.mapping_, nullptr)),
      buffer_(std::move(other.buffer_)),
      data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)) {}

FileBytes& FileBytes::operator=(FileBytes&& other) noexcept {
    if (this != &other) {
        release();
        mapping_ = std::exchange(other.mapping_, nullptr);
        buffer_ = std::move(other.buffer_);
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

FileBytes::~FileBytes() { release(); }

void FileBytes::release() {
    if (mapping_) ::munmap(mapping_, size_);
    mapping_ = nullptr;
    buffer_.reset();
    data_ = nullptr;
    size_ = 0;
}

void FileBytes::prepareOnePass() const {
    if (!mapping_) return;
    ::madvise(mapping_, size_, MADV_SEQUENTIAL);
    // Mapping every page in one call costs less than a fault every few pages; a system that
    // cannot does it page by page as the bytes are read.
    ::madvise(mapping_, size_, MADV_POPULATE_READ);
}

void FileBytes::endOnePass() const {
    if (mapping_) ::madvise(mapping_, size_, MADV_NORMAL);
}

FileBytes FileBytes::ofFile(const std::string& path, Problem& problem) {
    problem = Problem::none;
    // A mapping outlives the file's descriptor.
    RegularFile file(path);
    if (!file.isOpen()) {
        problem = Problem::cannotOpen;
        return {};
    }
    if (file.size() > SIZE_MAX) {
        problem = Problem::noMemory;
        return {};
    }
    const auto size = static_cast<size_t>(file.size());
    FileBytes bytes;
    if (size == 0) return bytes;  // nothing to map, and mmap refuses an empty range

    // The pages are those of the page cache, shared with every other reader of the file, and
    // never written, so nothing is copied.
    void* mapping = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, file.descriptor(), 0);
    if (mapping != MAP_FAILED) {
        bytes.mapping_ = mapping;
        bytes.data_ = static_cast<const uint8_t*>(mapping);
        bytes.size_ = size;
        return bytes;
    }

    // Where the file system cannot map the file, the bytes are read into a buffer that is not
    // cleared first: every byte of it is read over.
    std::unique_ptr<uint8_t[]> buffer;
    try {
        buffer = std::make_unique_for_overwrite<uint8_t[]>(size);
    } catch (const std::bad_alloc&) {
        problem = Problem::noMemory;
        return {};
    }
    if (file.read(reinterpret_cast<char*>(buffer.get()), size) != size) {  // the file shrank or could not be read
        problem = Problem::cannotRead;
        return {};
    }
    return FileBytes(std::move(buffer), size);
}

}  // namespace tandemora
