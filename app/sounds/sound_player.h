// Plays one WAVE image at a time on the default audio output, without waiting for it. Each
// sample layout gets an output that stays open, so a sound starts as soon as it is played.
#pragma once

#include <memory>
#include <vector>

namespace tandemora {

class AudioOutput;
struct WaveSound;

class SoundPlayer {
public:
    SoundPlayer();
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Opens the output for the image's sample layout now, so that its first sound is not late.
    void prepare(const std::vector<unsigned char>& image);
    // Drops what is left of the sound still playing and starts this one; false when the image
    // cannot be played or there is no audio output.
    bool play(const std::vector<unsigned char>& image);
    void stop();

private:
    // The open output for the sound's layout on the default device, opened when there is none;
    // null when there is no audio output or it refuses the layout.
    AudioOutput* outputFor(const WaveSound& sound);

    std::vector<std::unique_ptr<AudioOutput>> outputs_;  // the most recently used last
};

}  // namespace tandemora
