// RIFF/WAVE images held in memory: the sample layout and the samples of a sound that can be
// played, found without reading past the image whatever its chunk sizes claim.
#pragma once

#include <optional>
#include <span>
#include <vector>

namespace tandemora {

enum class SampleType { kUnsigned8, kSigned16, kSigned24, kSigned32, kFloat32 };

struct WaveSound {
    SampleType sampleType;
    int channels;
    int sampleRate;
    std::span<const unsigned char> samples;  // whole frames, inside the parsed image
};

// The sound of a PCM or float image; nothing for anything that cannot be played.
std::optional<WaveSound> parseWave(std::span<const unsigned char> image);

// Little-endian 24-bit samples as 32-bit ones of the same loudness.
std::vector<unsigned char> widen24To32(std::span<const unsigned char> samples);

}  // namespace tandemora
