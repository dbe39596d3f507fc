#include "game/compressed_source.h"

#include <bzlib.h>
#include <zlib.h>

#include <new>
#include <streambuf>
#include <vector>

#include "game/regular_file.h"

namespace tandemora {

namespace {

constexpr size_t kBlockSize = 1 << 18;

Compression compressionOf(const char* bytes, size_t size) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    // "BZh" and the block size, 1 to 9.
    if (size >= 4 && byte(0) == 'B' && byte(1) == 'Z' && byte(2) == 'h' && byte(3) >= '1' && byte(3) <= '9')
        return Compression::kBzip2;
    // The gzip magic and its one method, deflate.
    if (size >= 3 && byte(0) == 0x1f && byte(1) == 0x8b && byte(2) == 8) return Compression::kGzip;
    return Compression::kNone;
}

}  // namespace

// Reads the file in blocks and hands out its text: the blocks themselves for a plain file, what
// the decoder makes of them for a compressed one. A file may hold several compressed streams one
// after the other, as parallel compressors write them.
class SourceBuffer : public std::streambuf {
public:
    SourceBuffer(const std::string& path, std::string name) : file_(path), name_(std::move(name)), in_(kBlockSize) {
        if (!file_.isOpen()) return;
        try {
            readBlock();
        } catch (const SourceError&) {
            return;  // the first read of the text throws it again
        }
        compression_ = compressionOf(in_.data(), inEnd_);
        if (compression_ != Compression::kNone) out_.resize(kBlockSize);
    }
    ~SourceBuffer() override { endStream(); }

    const RegularFile& file() const { return file_; }
    Compression compression() const { return compression_; }
    std::uint64_t storedBytesRead() const { return read_; }
    const std::string& damage() const { return damage_; }
    void onRead(std::function<void(std::uint64_t)> reached) { reached_ = std::move(reached); }

protected:
    int_type underflow() override {
        if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
        if (!damage_.empty()) throw SourceError(damage_);
        if (!file_.isOpen()) return traits_type::eof();
        if (compression_ == Compression::kNone) {
            // The first block was read to tell the compression.
            if (inPos_ == inEnd_) readBlock();
            setg(in_.data() + inPos_, in_.data() + inPos_, in_.data() + inEnd_);
            inPos_ = inEnd_;
        } else {
            const size_t made = decode();
            setg(out_.data(), out_.data(), out_.data() + made);
        }
        return gptr() < egptr() ? traits_type::to_int_type(*gptr()) : traits_type::eof();
    }

private:
    // Text from the decoder; 0 at the end of the file, where the last stream must have ended.
    size_t decode() {
        for (;;) {
            if (inPos_ == inEnd_ && !inputEnded_) readBlock();
            const bool noInput = inPos_ == inEnd_;
            if (noInput && !inStream_) return 0;
            if (!inStream_) beginStream();
            const size_t made = compression_ == Compression::kBzip2 ? bzip2Step() : gzipStep();
            if (made > 0) return made;
            if (noInput && inStream_) fail("the compressed data ends early");
        }
    }

    void readBlock() {
        const std::optional<size_t> n = file_.read(in_.data(), in_.size());
        if (!n) fail("could not be read: " + file_.problem());
        inPos_ = 0;
        inEnd_ = *n;
        inputEnded_ = *n == 0;
        read_ += *n;
        if (reached_ && *n > 0) reached_(read_);
    }

    void beginStream() {
        const bool ready = compression_ == Compression::kBzip2 ? BZ2_bzDecompressInit(&bzip2_, 0, 0) == BZ_OK
                                                                : inflateInit2(&gzip_, 16 + MAX_WBITS) == Z_OK;
        if (!ready) throw std::bad_alloc();
        inStream_ = true;
    }

    void endStream() {
        if (!inStream_) return;
        if (compression_ == Compression::kBzip2) BZ2_bzDecompressEnd(&bzip2_);
        else inflateEnd(&gzip_);
        inStream_ = false;
    }

    size_t bzip2Step() {
        bzip2_.next_in = in_.data() + inPos_;
        bzip2_.avail_in = static_cast<unsigned>(inEnd_ - inPos_);
        bzip2_.next_out = out_.data();
        bzip2_.avail_out = static_cast<unsigned>(out_.size());
        const int result = BZ2_bzDecompress(&bzip2_);
        inPos_ = inEnd_ - bzip2_.avail_in;
        if (result == BZ_MEM_ERROR) throw std::bad_alloc();
        if (result != BZ_OK && result != BZ_STREAM_END) fail("not valid bzip2 data at byte " + std::to_string(position()));
        if (result == BZ_STREAM_END) endStream();
        return out_.size() - bzip2_.avail_out;
    }

    size_t gzipStep() {
        gzip_.next_in = reinterpret_cast<Bytef*>(in_.data() + inPos_);
        gzip_.avail_in = static_cast<uInt>(inEnd_ - inPos_);
        gzip_.next_out = reinterpret_cast<Bytef*>(out_.data());
        gzip_.avail_out = static_cast<uInt>(out_.size());
        const int result = inflate(&gzip_, Z_NO_FLUSH);
        inPos_ = inEnd_ - gzip_.avail_in;
        if (result == Z_MEM_ERROR) throw std::bad_alloc();
        // Z_BUF_ERROR only says that nothing could be done with the input given.
        if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR)
            fail("not valid gzip data at byte " + std::to_string(position()));
        if (result == Z_STREAM_END) endStream();
        return out_.size() - gzip_.avail_out;
    }

    // Where in the stored file the decoder stands.
    std::uint64_t position() const { return read_ - (inEnd_ - inPos_); }

    [[noreturn]] void fail(const std::string& why) {
        damage_ = name_ + (why.starts_with("could not") ? " " : " is damaged: ") + why;
        setg(nullptr, nullptr, nullptr);
        throw SourceError(damage_);
    }

    RegularFile file_;
    std::string name_;
    Compression compression_ = Compression::kNone;
    std::vector<char> in_, out_;
    size_t inPos_ = 0, inEnd_ = 0;
    bool inputEnded_ = false;
    bool inStream_ = false;  // a compressed stream has begun and not yet ended
    bz_stream bzip2_{};
    z_stream gzip_{};
    std::uint64_t read_ = 0;
    std::string damage_;
    std::function<void(std::uint64_t)> reached_;
};

SourceFile::SourceFile(const std::string& path, std::string name)
    : std::istream(nullptr), buffer_(std::make_unique<SourceBuffer>(path, name.empty() ? path : std::move(name))) {
    rdbuf(buffer_.get());
    if (!isOpen()) setstate(std::ios::failbit);
}

SourceFile::~SourceFile() = default;

bool SourceFile::isOpen() const { return buffer_->file().isOpen(); }
const std::string& SourceFile::problem() const { return buffer_->file().problem(); }
Compression SourceFile::compression() const { return buffer_->compression(); }
std::uint64_t SourceFile::storedSize() const { return buffer_->file().size(); }
std::uint64_t SourceFile::storedBytesRead() const { return buffer_->storedBytesRead(); }
void SourceFile::onRead(std::function<void(std::uint64_t)> reached) { buffer_->onRead(std::move(reached)); }
const std::string& SourceFile::damage() const { return buffer_->damage(); }

std::optional<std::string> readSourceText(const std::string& path, std::string& problem, Compression* compression,
                                          std::uint64_t limit) {
    SourceFile source(path);
    if (!source.isOpen()) {
        problem = source.problem();
        return std::nullopt;
    }
    if (compression) *compression = source.compression();
    // A plain file is read in one go at its known size.
    if (source.compression() == Compression::kNone) return readFileText(path, problem, limit);
    std::string text;
    try {
        std::vector<char> block(kBlockSize);
        for (std::streamsize n; (n = source.rdbuf()->sgetn(block.data(), static_cast<std::streamsize>(block.size()))) > 0;) {
            if (text.size() + static_cast<std::uint64_t>(n) > limit) {
                problem = path + " holds more than " + std::to_string(limit) + " bytes of text";
                return std::nullopt;
            }
            text.append(block.data(), static_cast<size_t>(n));
        }
    } catch (const SourceError& error) {
        problem = error.what();
        return std::nullopt;
    } catch (const std::bad_alloc&) {
        problem = "not enough memory to read it";
        return std::nullopt;
    }
    return text;
}

}  // namespace tandemora
