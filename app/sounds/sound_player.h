// Plays one WAVE image at a time on the default audio output, without waiting for it.
#pragma once

#include <memory>
#include <vector>

#include <QByteArray>

class QAudioSink;
class QBuffer;

namespace tandemora {

class SoundPlayer {
public:
    SoundPlayer();
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Stops the sound still playing and starts this one; false when the image cannot be
    // played or there is no audio output.
    bool play(const std::vector<unsigned char>& image);
    void stop();

private:
    // Kept until the next sound: releasing them when the output falls idle would cut off the
    // sound's end still queued in the device.
    QByteArray samples_;
    std::unique_ptr<QBuffer> buffer_;
    std::unique_ptr<QAudioSink> sink_;
};

}  // namespace tandemora
