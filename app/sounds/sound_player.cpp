#include "app/sounds/sound_player.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>

#include "app/sounds/wave_image.h"

namespace tandemora {
namespace {

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

QByteArray bytesOf(std::span<const unsigned char> bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

SoundPlayer::SoundPlayer() = default;

SoundPlayer::~SoundPlayer() { stop(); }

void SoundPlayer::stop() {
    if (sink_) sink_->stop();
    sink_.reset();
    buffer_.reset();
    samples_.clear();
}

bool SoundPlayer::play(const std::vector<unsigned char>& image) {
    stop();
    const auto sound = parseWave(image);
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (!sound || device.isNull()) return false;

    QAudioFormat format;
    format.setSampleRate(sound->sampleRate);
    format.setChannelCount(sound->channels);
    format.setSampleFormat(sampleFormat(sound->sampleType));
    if (!device.isFormatSupported(format)) return false;

    samples_ = sound->sampleType == SampleType::kSigned24 ? bytesOf(widen24To32(sound->samples))
                                                          : bytesOf(sound->samples);
    buffer_ = std::make_unique<QBuffer>(&samples_);
    buffer_->open(QIODevice::ReadOnly);
    sink_ = std::make_unique<QAudioSink>(device, format);
    sink_->start(buffer_.get());
    if (sink_->error() == QAudio::NoError) return true;
    stop();
    return false;
}

}  // namespace tandemora
