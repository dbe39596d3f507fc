// Event sounds as a player hears them: a PulseAudio server of the test's own with a null sink,
// sounds played into it at a replay's pace, and the tones counted in what its monitor recorded.
// The server lives in a temporary folder, so it never meets a user's session.
#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QtEndian>

#include "app/sounds/event_sounds.h"
#include "tests/app/sounds/wave_bytes.h"

using namespace tandemora;
namespace fs = std::filesystem;

namespace {

constexpr int kRecordingRate = 8000;

// The server with one null sink, and parec recording the sink's monitor as 16-bit mono samples.
class NullSink {
public:
    ~NullSink() {
        recorder_.kill();
        recorder_.waitForFinished();
        std::ifstream pidFile(folder_ / "pulse" / "pid");
        if (pid_t pid = 0; pidFile >> pid && pid > 0 && ::kill(pid, SIGTERM) == 0)
            static_cast<void>(QTest::qWaitFor([pid] { return ::kill(pid, 0) != 0; }, 5000));
        std::error_code ignored;
        if (!folder_.empty()) fs::remove_all(folder_, ignored);
    }

    // Starts the server and points this process's sound clients at it; empty, or what failed.
    std::string start() {
        std::string folder = (fs::temp_directory_path() / "tandemora-pulse-XXXXXX").string();
        if (!::mkdtemp(folder.data())) return "no temporary folder";
        folder_ = folder;
        const std::string socket = folder + "/native";
        // As root the server warns and runs; its cookie and state stay in the folder.
        environment_ = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"XDG_RUNTIME_DIR", "HOME", "XDG_CONFIG_HOME", "PULSE_STATE_PATH"})
            environment_.insert(name, QString::fromStdString(folder));
        environment_.insert("PULSE_RUNTIME_PATH", QString::fromStdString(folder + "/pulse"));
        QProcess server;
        server.setProcessEnvironment(environment_);
        const std::string protocol = "module-native-protocol-unix auth-anonymous=1 socket=" + socket;
        server.start("pulseaudio", {"-n", "--daemonize=yes", "--exit-idle-time=-1", "--disable-shm=yes",
                                    QString::fromStdString("--log-target=file:" + folder + "/server.log"), "-L",
                                    "module-null-sink sink_name=tap", "-L", QString::fromStdString(protocol)});
        if (!server.waitForFinished(20000) || server.exitCode() != 0 || !fs::exists(socket))
            return "pulseaudio did not start: " + server.readAllStandardError().toStdString() + log();

        environment_.insert("PULSE_SERVER", QString::fromStdString("unix:" + socket));
        std::ofstream(folder_ / "client.conf") << "autospawn = no\n";
        qputenv("PULSE_SERVER", environment_.value("PULSE_SERVER").toUtf8());
        qputenv("PULSE_CLIENTCONFIG", QByteArray::fromStdString(folder + "/client.conf"));
        qputenv("PULSE_COOKIE", QByteArray::fromStdString(folder + "/cookie"));
        return {};
    }

    // parec asks for no particular latency, so the sink wakes seldom, as a quiet desktop's does:
    // a sound on a stream opened just for it is then heard late or not at all.
    bool startRecording() {
        recorder_.setProcessEnvironment(environment_);
        recorder_.start("parec", {"--device=tap.monitor", "--raw", "--format=s16le", "--channels=1",
                                  QStringLiteral("--rate=%1").arg(kRecordingRate)});
        if (!recorder_.waitForReadyRead(10000)) return false;
        QTest::qWait(500);  // past the first block, which parec may cut short
        return true;
    }

    std::vector<std::int16_t> stopRecording() {
        recorder_.terminate();
        recorder_.waitForFinished(10000);
        const QByteArray bytes = recorder_.readAllStandardOutput();
        std::vector<std::int16_t> samples(static_cast<size_t>(bytes.size() / 2));
        qFromLittleEndian<std::int16_t>(bytes.constData(), static_cast<qsizetype>(samples.size()), samples.data());
        return samples;
    }

    std::string log() const {
        std::ifstream file(folder_ / "server.log");
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

private:
    fs::path folder_;
    QProcessEnvironment environment_;
    QProcess recorder_;
};

// A 440 Hz tone as a 16-bit mono WAVE image.
wave_test::Bytes tone(int rate, double seconds) {
    wave_test::Bytes samples;
    for (int at = 0; at < rate * seconds; ++at) {
        const auto value = static_cast<std::int16_t>(12000 * std::sin(2 * std::numbers::pi * 440 * at / rate));
        const wave_test::Bytes bytes = wave_test::le16(static_cast<std::uint16_t>(value));
        samples.insert(samples.end(), bytes.begin(), bytes.end());
    }
    return wave_test::riff(
        {wave_test::chunk("fmt ", wave_test::format(1, 1, rate, 16)), wave_test::chunk("data", samples)});
}

struct Tone {
    double start;   // seconds into the recording
    double length;  // seconds
};

// Runs of loud samples whose quiet moments, the zero crossings, last under a twentieth of a second.
std::vector<Tone> tonesIn(const std::vector<std::int16_t>& samples) {
    std::vector<Tone> tones;
    std::optional<size_t> lastLoud;
    for (size_t at = 0; at < samples.size(); ++at) {
        if (std::abs(samples[at]) < 2000) continue;
        const double time = static_cast<double>(at) / kRecordingRate;
        if (!lastLoud || at - *lastLoud > kRecordingRate / 20) tones.push_back({time, 0});
        tones.back().length = time - tones.back().start;
        lastLoud = at;
    }
    return tones;
}

TEST(AudibleSounds, EverySoundOfAReplayIsHeardWholeAtItsTime) {
    if (QStandardPaths::findExecutable("pulseaudio").isEmpty() || QStandardPaths::findExecutable("parec").isEmpty())
        GTEST_SKIP() << "hearing the sounds needs pulseaudio and parec (packages pulseaudio, pulseaudio-utils)";
    NullSink sink;
    ASSERT_EQ(sink.start(), "");

    // Moves at a replay's pace, then one after a pause, when the output has fallen quiet.
    constexpr int kPauses[] = {500, 500, 500, 1500, 1000};
    constexpr double kToneLength = 0.12;
    std::vector<double> played;
    {  // the sounds' outputs close before the server stops
        const fs::path file = fs::temp_directory_path() / ("tandemora-tone-" + std::to_string(::getpid()) + ".wav");
        const wave_test::Bytes image = tone(22050, kToneLength);
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
        Settings settings;
        settings.eventSoundPaths = {file.string(), ""};
        EventSounds sounds;
        sounds.loadAll(settings);  // as at start-up, before the first move
        fs::remove(file);
        ASSERT_TRUE(sink.startRecording()) << sink.log();

        QElapsedTimer clock;
        clock.start();
        for (const int pause : kPauses) {
            played.push_back(static_cast<double>(clock.elapsed()) / 1000);
            sounds.play(0, settings);
            QTest::qWait(pause);
        }
    }
    const std::vector<Tone> heard = tonesIn(sink.stopRecording());

    ASSERT_EQ(heard.size(), played.size()) << sink.log();
    for (size_t at = 0; at < heard.size(); ++at) {
        SCOPED_TRACE(at);
        EXPECT_NEAR(heard[at].start - heard[0].start, played[at] - played[0], 0.2) << "out of its time";
        EXPECT_GT(heard[at].length, kToneLength * 0.9) << "cut short";
    }
}

}  // namespace
