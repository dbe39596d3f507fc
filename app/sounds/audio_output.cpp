#include "app/sounds/audio_output.h"

#include <algorithm>

#include <QAudioSink>

namespace tandemora {
namespace {

// Often enough that the sink, holding little more than a tenth of a second, does not run dry.
constexpr int kFeedIntervalMs = 20;
// Once a sink has been quiet for a moment, the server has mixed ahead past the time a new sound
// arrives, and the start of the sound is lost: 25 ms after half a second of quiet, 50 ms and
// more after a second and a half (measured on PulseAudio). A silence before each sound is lost
// instead, and the sound is heard whole, a tenth of a second later.
constexpr qint64 kLeadInUs = 100'000;

}  // namespace

AudioOutput::AudioOutput(const QAudioDevice& device, const QAudioFormat& format)
    : device_(device), format_(format), sink_(std::make_unique<QAudioSink>(device, format)) {
    input_ = sink_->start();
    feeder_.setInterval(kFeedIntervalMs);
    QObject::connect(&feeder_, &QTimer::timeout, [this] { feed(); });
}

AudioOutput::~AudioOutput() = default;

bool AudioOutput::isOpen() const { return input_ && sink_->state() != QAudio::StoppedState; }

void AudioOutput::play(const QByteArray& samples) {
    // The server starts a sink only once it holds about a buffer's worth: a shorter sound
    // would wait there for the next one. Silence after it makes up the difference.
    const char silence = format_.sampleFormat() == QAudioFormat::UInt8 ? '\x80' : '\0';
    samples_ = QByteArray(format_.bytesForDuration(kLeadInUs), silence) + samples +
               QByteArray(sink_->bufferSize(), silence);
    written_ = 0;
    feed();
}

void AudioOutput::stop() {
    feeder_.stop();
    samples_.clear();
    written_ = 0;
}

void AudioOutput::feed() {
    if (!isOpen()) return stop();
    qsizetype room = std::min(sink_->bytesFree(), samples_.size() - written_);
    room -= room % format_.bytesPerFrame();
    if (room > 0) written_ += std::max<qint64>(input_->write(samples_.constData() + written_, room), 0);
    if (samples_.size() - written_ < format_.bytesPerFrame()) return stop();
    feeder_.start();
}

}  // namespace tandemora
