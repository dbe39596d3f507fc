// One audio sink kept open for one sample layout and fed in push mode. A new sink on PulseAudio
// needs about a second before it sounds, so sounds that follow each other quickly are heard only
// through a sink that stays open between them.
#pragma once

#include <memory>

#include <QAudioDevice>
#include <QAudioFormat>
#include <QByteArray>
#include <QTimer>

class QAudioSink;
class QIODevice;

namespace tandemora {

class AudioOutput {
public:
    // Opens the sink at once; isOpen() tells whether that worked.
    AudioOutput(const QAudioDevice& device, const QAudioFormat& format);
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // False when the sink could not be opened or the sound server has closed it since.
    bool isOpen() const;
    const QAudioDevice& device() const { return device_; }
    const QAudioFormat& format() const { return format_; }

    // Drops what is still waiting to be written and starts writing `samples`, which are in the
    // sink's format; returns at once.
    void play(const QByteArray& samples);
    // Drops what is still waiting to be written; the little the sink already holds plays out.
    void stop();

private:
    // Writes what the sink takes now; the timer brings the rest, so the GUI never waits.
    void feed();

    QAudioDevice device_;
    QAudioFormat format_;
    std::unique_ptr<QAudioSink> sink_;
    QIODevice* input_ = nullptr;  // the sink's own, valid while it is open
    QByteArray samples_;
    qsizetype written_ = 0;
    QTimer feeder_;
};

}  // namespace tandemora
