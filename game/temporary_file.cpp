#include "game/temporary_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <streambuf>
#include <system_error>

namespace tandemora {

namespace fs = std::filesystem;

// Output to a file descriptor that keeps the errno of its first failed write.
class TemporaryFile::Buffer : public std::streambuf {
public:
    explicit Buffer(int descriptor) : descriptor_(descriptor) { setp(space_, space_ + sizeof space_); }

    int error() const { return error_; }

    bool flush() {
        const bool written = writeAll(pbase(), static_cast<size_t>(pptr() - pbase()));
        setp(space_, space_ + sizeof space_);
        return written;
    }

protected:
    int_type overflow(int_type c) override {
        if (!flush()) return traits_type::eof();
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
        return c;
    }

    // Large blocks go to the file directly instead of through the buffer.
    std::streamsize xsputn(const char* data, std::streamsize size) override {
        if (size > epptr() - pptr()) {
            if (!flush()) return 0;
            if (size >= epptr() - pptr()) return writeAll(data, static_cast<size_t>(size)) ? size : 0;
        }
        std::memcpy(pptr(), data, static_cast<size_t>(size));
        pbump(static_cast<int>(size));
        return size;
    }

    int sync() override { return flush() ? 0 : -1; }

    pos_type seekoff(off_type offset, std::ios::seekdir from, std::ios::openmode which) override {
        if (!(which & std::ios::out) || !flush()) return pos_type(off_type(-1));
        const int whence = from == std::ios::beg ? SEEK_SET : from == std::ios::cur ? SEEK_CUR : SEEK_END;
        const off_t at = ::lseek(descriptor_, offset, whence);
        if (at < 0) error_ = errno;
        return pos_type(off_type(at));
    }

    pos_type seekpos(pos_type position, std::ios::openmode which) override {
        return seekoff(off_type(position), std::ios::beg, which);
    }

private:
    // Writes every byte, through partial writes and interruptions; after a failure nothing more.
    bool writeAll(const char* data, size_t size) {
        while (size > 0 && error_ == 0) {
            const ssize_t written = ::write(descriptor_, data, size);
            if (written < 0) {
                if (errno != EINTR) error_ = errno;
                continue;
            }
            data += written;
            size -= static_cast<size_t>(written);
        }
        return error_ == 0;
    }

    int descriptor_;
    int error_ = 0;
    char space_[1 << 16];
};

std::string writeFailureCause(int error) {
    switch (error) {
    case ENOSPC: return "the disk is full";
    case EFBIG: return "the file size limit was reached";
    case EDQUOT: return "the disk quota is used up";
    default: return std::generic_category().message(error);
    }
}

namespace {

// Six letters or digits, different in every call.
std::string randomEnding() {
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 engine{std::random_device{}()};
    std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
    std::string ending(6, ' ');
    for (char& c : ending) c = kLetters[pick(engine)];
    return ending;
}

}  // namespace

TemporaryFile::TemporaryFile(const std::string& target) : target_(target) {
    std::error_code error;
    if (fs::exists(fs::symlink_status(target_, error))) {
        const fs::path named = fs::canonical(target_, error);
        if (!error) target_ = named;
    }
    // O_EXCL makes the call fail on any existing name, a link included; another ending is
    // tried then.
    for (int attempt = 0; attempt < 100 && descriptor_ < 0; ++attempt) {
        path_ = target_;
        path_ += ".tmp-" + randomEnding();
        descriptor_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        failure_ = descriptor_ < 0 ? errno : 0;
        if (failure_ != EEXIST) break;
    }
    if (descriptor_ < 0) return;
    buffer_ = std::make_unique<Buffer>(descriptor_);
    stream_ = std::make_unique<std::ostream>(buffer_.get());
}

TemporaryFile::~TemporaryFile() {
    if (descriptor_ >= 0) ::close(descriptor_);
    if (buffer_ && !moved_) ::unlink(path_.c_str());
}

int TemporaryFile::error() const {
    if (failure_ != 0 || !buffer_) return failure_;
    return buffer_->error();
}

bool TemporaryFile::close() {
    if (descriptor_ < 0) return false;
    bool done = buffer_->flush() && stream_->good();
    if (done && ::fsync(descriptor_) != 0) {
        failure_ = errno;
        done = false;
    }
    if (::close(descriptor_) != 0 && done) {
        failure_ = errno;
        done = false;
    }
    descriptor_ = -1;
    return done && error() == 0;
}

bool TemporaryFile::replaceTarget() {
    struct stat existing;
    if (::stat(target_.c_str(), &existing) == 0) ::chmod(path_.c_str(), existing.st_mode & 07777);
    if (std::rename(path_.c_str(), target_.c_str()) != 0) {
        failure_ = errno;
        return false;
    }
    moved_ = true;
    return true;
}

}  // namespace tandemora
