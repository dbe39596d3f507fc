#include "app/sounds/sound_player.h"

#include <algorithm>
#include <span>

#include <QAudioDevice>
#include <QAudioFormat>
#include <QMediaDevices>

#include "app/sounds/audio_output.h"
#include "app/sounds/wave_image.h"

namespace tandemora {
namespace {

// Outputs kept open: the two events' layouts and a few more tried in the event-sound dialog.
constexpr size_t kMaxOutputs = 4;

QAudioFormat::SampleFormat sampleFormat(SampleType type) {
    switch (type) {
    case SampleType::kUnsigned8: return QAudioFormat::UInt8;
    case SampleType::kSigned16: return QAudioFormat::Int16;
    case SampleType::kSigned24:  // widened to 32 bits before playing
    case SampleType::kSigned32: return QAudioFormat::Int32;
    case SampleType::kFloat32: return QAudioFormat::Float;
    }
    return QAudioFormat::Unknown;
}

QAudioFormat formatOf(const WaveSound& sound) {
    QAudioFormat format;
    format.setSampleRate(sound.sampleRate);
    format.setChannelCount(sound.channels);
    format.setSampleFormat(sampleFormat(sound.sampleType));
    return format;
}

QByteArray bytesOf(std::span<const unsigned char> bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

SoundPlayer::SoundPlayer() = default;

SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::prepare(const std::vector<unsigned char>& image) {
    if (const auto sound = parseWave(image)) outputFor(*sound);
}

bool SoundPlayer::play(const std::vector<unsigned char>& image) {
    stop();
    const auto sound = parseWave(image);
    AudioOutput* output = sound ? outputFor(*sound) : nullptr;
    if (!output) return false;
    output->play(sound->sampleType == SampleType::kSigned24 ? bytesOf(widen24To32(sound->samples))
                                                            : bytesOf(sound->samples));
    return true;
}

void SoundPlayer::stop() {
    for (const auto& output : outputs_) output->stop();
}

AudioOutput* SoundPlayer::outputFor(const WaveSound& sound) {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    const QAudioFormat format = formatOf(sound);
    if (device.isNull() || !device.isFormatSupported(format)) return nullptr;

    // Outputs the server has closed, or left on a device that is no longer the default, go.
    std::erase_if(outputs_, [&](const auto& output) { return !output->isOpen() || output->device() != device; });
    const auto found = std::find_if(outputs_.begin(), outputs_.end(),
                                    [&](const auto& output) { return output->format() == format; });
    if (found != outputs_.end()) {
        std::rotate(found, found + 1, outputs_.end());
        return outputs_.back().get();
    }
    auto output = std::make_unique<AudioOutput>(device, format);
    if (!output->isOpen()) return nullptr;
    if (outputs_.size() == kMaxOutputs) outputs_.erase(outputs_.begin());
    outputs_.push_back(std::move(output));
    return outputs_.back().get();
}

}  // namespace tandemora
