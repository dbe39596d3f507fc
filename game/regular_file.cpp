#include "game/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace tandemora {

RegularFile::RegularFile(const std::string& path) {
    // Opening a pipe without a writer must not wait for one; reading a regular file ignores the flag.
    descriptor_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat status;
    if (descriptor_ < 0 || ::fstat(descriptor_, &status) != 0) {
        problem_ = std::generic_category().message(errno);
        return;
    }
    regular_ = S_ISREG(status.st_mode);
    if (!regular_) problem_ = "not a regular file";
    size_ = static_cast<std::uint64_t>(status.st_size);
}

RegularFile::~RegularFile() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

std::optional<size_t> RegularFile::read(char* into, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(descriptor_, into + done, size - done);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            problem_ = std::generic_category().message(errno);
            return std::nullopt;
        }
        done += static_cast<size_t>(n);
    }
    return done;
}

}  // namespace tandemora
