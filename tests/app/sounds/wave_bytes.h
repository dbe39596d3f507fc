// Building RIFF/WAVE images byte by byte for the tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

namespace wave_test {

using Bytes = std::vector<unsigned char>;

inline Bytes join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

inline Bytes le16(unsigned value) { return {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8)}; }

inline Bytes le32(std::uint32_t value) { return join({le16(value & 0xffff), le16(value >> 16)}); }

inline Bytes tag(std::string_view text) { return Bytes(text.begin(), text.end()); }

// A chunk padded to an even length; `claimedSize` replaces the true size in its header.
inline Bytes chunk(std::string_view name, const Bytes& body, std::optional<std::uint32_t> claimedSize = {}) {
    Bytes bytes = join({tag(name), le32(claimedSize.value_or(static_cast<std::uint32_t>(body.size()))), body});
    if (!claimedSize && body.size() % 2) bytes.push_back(0);
    return bytes;
}

// The sixteen bytes every format chunk starts with; the block size follows from the rest
// unless given.
inline Bytes format(unsigned formatTag, unsigned channels, std::uint32_t rate, unsigned bits,
                    std::optional<unsigned> blockAlign = {}) {
    const unsigned block = blockAlign.value_or(channels * bits / 8);
    return join({le16(formatTag), le16(channels), le32(rate), le32(rate * block), le16(block), le16(bits)});
}

// An extensible format chunk whose sub-format GUID carries `subFormat`.
inline Bytes extensibleFormat(unsigned subFormat, unsigned channels, std::uint32_t rate, unsigned bits) {
    const Bytes guidTail = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71};
    return join({format(0xfffe, channels, rate, bits), le16(22), le16(bits), le32(3), le16(subFormat), guidTail});
}

inline Bytes riff(std::initializer_list<Bytes> chunks, std::string_view form = "WAVE") {
    const Bytes body = join(chunks);
    return join({tag("RIFF"), le32(static_cast<std::uint32_t>(body.size() + 4)), tag(form), body});
}

// A short, valid 8-bit mono sound.
inline Bytes shortSound() { return riff({chunk("fmt ", format(1, 1, 8000, 8)), chunk("data", Bytes(80, 0x80))}); }

}  // namespace wave_test
