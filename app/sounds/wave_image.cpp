#include "app/sounds/wave_image.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace tandemora {
namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatExtensible = 0xfffe;
constexpr size_t kChunkHeaderSize = 8;
constexpr size_t kBasicFormatSize = 16;
constexpr size_t kExtensibleFormatSize = 40;
constexpr std::uint16_t kExtensionSize = 22;  // the bytes an extensible format adds

// An extensible format names its real format by a GUID: the format tag followed by these bytes.
constexpr std::array<unsigned char, 14> kSubFormatTail = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                          0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71};

std::uint16_t read16(std::span<const unsigned char> bytes, size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::uint32_t read32(std::span<const unsigned char> bytes, size_t at) {
    return static_cast<std::uint32_t>(read16(bytes, at)) | static_cast<std::uint32_t>(read16(bytes, at + 2)) << 16;
}

bool hasTag(std::span<const unsigned char> bytes, size_t at, const char (&tag)[5]) {
    return std::memcmp(bytes.data() + at, tag, 4) == 0;
}

// The real format tag, looking through an extensible format; 0 when the chunk is malformed.
std::uint16_t formatTag(std::span<const unsigned char> format) {
    const std::uint16_t tag = read16(format, 0);
    if (tag != kFormatExtensible) return tag;
    if (format.size() < kExtensibleFormatSize || read16(format, 16) < kExtensionSize) return 0;
    if (!std::equal(kSubFormatTail.begin(), kSubFormatTail.end(), format.begin() + 26)) return 0;
    return read16(format, 24);
}

std::optional<SampleType> sampleType(std::uint16_t tag, int bits) {
    if (tag == kFormatFloat) return bits == 32 ? std::optional(SampleType::kFloat32) : std::nullopt;
    if (tag != kFormatPcm) return std::nullopt;
    switch (bits) {
    case 8: return SampleType::kUnsigned8;
    case 16: return SampleType::kSigned16;
    case 24: return SampleType::kSigned24;
    case 32: return SampleType::kSigned32;
    default: return std::nullopt;
    }
}

}  // namespace

std::optional<WaveSound> parseWave(std::span<const unsigned char> image) {
    if (image.size() < 12 || !hasTag(image, 0, "RIFF") || !hasTag(image, 8, "WAVE")) return std::nullopt;

    // The first "fmt " and "data" chunks, in either order. The sizes in the RIFF header are not
    // trusted: the walk ends where the image does.
    std::optional<std::span<const unsigned char>> format;
    std::optional<std::span<const unsigned char>> data;
    for (size_t at = 12; image.size() - at >= kChunkHeaderSize && !(format && data);) {
        const size_t size = read32(image, at + 4);
        const size_t available = image.size() - at - kChunkHeaderSize;
        const auto body = image.subspan(at + kChunkHeaderSize, std::min(size, available));
        if (hasTag(image, at, "data") && !data) {
            data = body;  // a cut-off sound plays as far as it goes
        } else if (hasTag(image, at, "fmt ") && !format) {
            if (size > available) return std::nullopt;
            format = body;
        }
        if (size >= available) break;
        at += kChunkHeaderSize + size + (size & 1);  // odd chunks are padded to an even length
    }
    if (!format || !data || format->size() < kBasicFormatSize) return std::nullopt;

    const int channels = read16(*format, 2);
    const std::uint32_t sampleRate = read32(*format, 4);
    const int blockAlign = read16(*format, 12);
    const int bits = read16(*format, 14);
    const auto type = sampleType(formatTag(*format), bits);
    if (!type || channels == 0 || sampleRate == 0 || sampleRate > INT32_MAX) return std::nullopt;
    if (blockAlign != channels * (bits / 8)) return std::nullopt;

    const size_t frames = data->size() / static_cast<size_t>(blockAlign);
    if (frames == 0) return std::nullopt;
    return WaveSound{*type, channels, static_cast<int>(sampleRate), data->first(frames * blockAlign)};
}

std::vector<unsigned char> widen24To32(std::span<const unsigned char> samples) {
    std::vector<unsigned char> wide;
    wide.reserve(samples.size() / 3 * 4);
    for (size_t at = 0; at + 3 <= samples.size(); at += 3) {
        wide.push_back(0);
        wide.insert(wide.end(), samples.begin() + at, samples.begin() + at + 3);
    }
    return wide;
}

}  // namespace tandemora
