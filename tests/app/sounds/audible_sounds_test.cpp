// Event sounds as a player hears them: a PulseAudio server of the test's own with a null sink,
// the sounds played into it at a replay's pace, and the tones counted in what its monitor
// recorded. The server lives in a temporary folder, so it never meets a user's session.
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

#include "app/sounds/event_sounds.h"
#include "tests/app/sounds/wave_bytes.h"

using namespace tandemora;
namespace fs = std::filesystem;

namespace {

constexpr int kRecordingRate = 8000;
constexpr char kSinkName[] = "tandemora_test";

// A server started for the test with one null sink, and parec recording the sink's monitor as
// 16-bit mono samples.
class NullSinkServer {
public:
    ~NullSinkServer() {
        stopRecording();
        std::ifstream pidFile(folder_ / "pulse" / "pid");
        if (pid_t pid = 0; pidFile >> pid && pid > 0 && ::kill(pid, SIGTERM) == 0)
            static_cast<void>(QTest::qWaitFor([pid] { return ::kill(pid, 0) != 0; }, 5000));
        std::error_code ignored;
        if (!folder_.empty()) fs::remove_all(folder_, ignored);
    }

    // Starts the server and points this process's sound clients at it; an empty text on
    // success, else what went wrong.
    std::string start() {
        std::string pattern = (fs::temp_directory_path() / "tandemora-pulse-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) return "no temporary folder";
        folder_ = pattern;
        std::ofstream(folder_ / "client.conf") << "autospawn = no\n";
        // As root the server warns and runs; its cookie and state stay in the folder.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const auto& [name, value] : {std::pair{"XDG_RUNTIME_DIR", folder_}, {"PULSE_RUNTIME_PATH", folder_ / "pulse"},
                                          {"PULSE_STATE_PATH", folder_ / "state"}, {"HOME", folder_},
                                          {"XDG_CONFIG_HOME", folder_ / "config"}})
            environment.insert(name, QString::fromStdString(value.string()));
        QProcess server;
        server.setProcessEnvironment(environment);
        server.start(QStringLiteral("pulseaudio"),
                     {"-n", "--daemonize=yes", "--exit-idle-time=-1", "--disable-shm=yes", "--use-pid-file=yes",
                      QString::fromStdString("--log-target=file:" + (folder_ / "server.log").string()),
                      QStringLiteral("-L"), QStringLiteral("module-null-sink sink_name=%1").arg(kSinkName),
                      QStringLiteral("-L"),
                      QString::fromStdString("module-native-protocol-unix auth-anonymous=1 socket=" + socket())});
        if (!server.waitForFinished(20000) || server.exitCode() != 0 || !fs::exists(socket()))
            return "pulseaudio did not start: " + server.readAllStandardError().toStdString() + log();

        environment_ = environment;
        serverOption_ = QString::fromStdString("unix:" + socket());
        qputenv("PULSE_SERVER", serverOption_.toUtf8());
        qputenv("PULSE_COOKIE", QByteArray::fromStdString((folder_ / "cookie").string()));
        qputenv("PULSE_CLIENTCONFIG", QByteArray::fromStdString((folder_ / "client.conf").string()));
        return {};
    }

    // Starts parec and waits until the recording runs; false when it does not. parec asks for
    // no particular latency, so the sink wakes seldom, as a quiet desktop's does: a sound on a
    // stream opened just for it is then heard late or not at all.
    bool startRecording() {
        recorder_.setProcessEnvironment(environment_);
        recorder_.setStandardOutputFile(QString::fromStdString(recording().string()));
        recorder_.start(QStringLiteral("parec"),
                        {"--server=" + serverOption_, QStringLiteral("--device=%1.monitor").arg(kSinkName), "--raw",
                         "--format=s16le", "--channels=1", QStringLiteral("--rate=%1").arg(kRecordingRate)});
        if (!recorder_.waitForStarted(10000) ||
            !QTest::qWaitFor([&] { return fs::exists(recording()) && fs::file_size(recording()) > 0; }, 10000))
            return false;
        QTest::qWait(500);  // past the first block, which parec may cut short
        return true;
    }

    std::vector<std::int16_t> stopRecording() {
        if (recorder_.state() == QProcess::NotRunning) return {};
        recorder_.terminate();
        recorder_.waitForFinished(10000);
        std::ifstream file(recording(), std::ios::binary);
        std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        std::vector<std::int16_t> samples(bytes.size() / 2);
        for (size_t at = 0; at < samples.size(); ++at)
            samples[at] = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[2 * at]) |
                                                    static_cast<unsigned char>(bytes[2 * at + 1]) << 8);
        return samples;
    }

    std::string log() const {
        std::ifstream file(folder_ / "server.log");
        return std::string{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

private:
    std::string socket() const { return (folder_ / "native").string(); }
    fs::path recording() const { return folder_ / "recording.raw"; }

    fs::path folder_;
    QProcessEnvironment environment_;
    QString serverOption_;
    QProcess recorder_;
};

// A 440 Hz tone as a 16-bit mono WAVE image.
wave_test::Bytes tone(int rate, double seconds) {
    wave_test::Bytes samples;
    for (int at = 0; at < rate * seconds; ++at) {
        const double value = 12000 * std::sin(2 * std::numbers::pi * 440 * at / rate);
        const auto le = wave_test::le16(static_cast<std::uint16_t>(static_cast<std::int16_t>(value)));
        samples.insert(samples.end(), le.begin(), le.end());
    }
    return wave_test::riff({wave_test::chunk("fmt ", wave_test::format(1, 1, rate, 16)), wave_test::chunk("data", samples)});
}

struct Tone {
    double start;   // seconds into the recording
    double length;  // seconds
};

// The tones of a recording: runs of loud samples whose quiet moments, the zero crossings, last
// less than a twentieth of a second.
std::vector<Tone> tonesIn(const std::vector<std::int16_t>& samples) {
    constexpr int kLoud = 2000;
    constexpr size_t kLongestQuiet = kRecordingRate / 20;
    std::vector<Tone> tones;
    std::optional<size_t> lastLoud;
    for (size_t at = 0; at < samples.size(); ++at) {
        if (std::abs(samples[at]) < kLoud) continue;
        if (!lastLoud || at - *lastLoud > kLongestQuiet) tones.push_back({static_cast<double>(at) / kRecordingRate, 0});
        tones.back().length = static_cast<double>(at) / kRecordingRate - tones.back().start;
        lastLoud = at;
    }
    return tones;
}

TEST(AudibleSounds, EverySoundOfAReplayIsHeardWholeAtItsTime) {
    if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("parec")).isEmpty())
        GTEST_SKIP() << "hearing the sounds needs pulseaudio and parec (packages pulseaudio, pulseaudio-utils)";
    NullSinkServer server;
    const std::string failure = server.start();
    ASSERT_EQ(failure, "");

    // Moves at a replay's pace, then one after a pause, when the output has fallen quiet.
    constexpr int kPauses[] = {500, 500, 500, 1500, 1000};
    constexpr double kToneLength = 0.12;
    std::vector<double> played;
    {  // the sounds' outputs close before the server stops
        const fs::path file = fs::temp_directory_path() / ("tandemora-tone-" + std::to_string(::getpid()) + ".wav");
        const wave_test::Bytes image = tone(22050, kToneLength);
        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(image.data()),
                                                     static_cast<std::streamsize>(image.size()));
        Settings settings;
        settings.eventSoundPaths = {file.string(), ""};
        EventSounds sounds;
        sounds.loadAll(settings);  // as at start-up, before the first move
        fs::remove(file);
        ASSERT_TRUE(server.startRecording()) << server.log();

        QElapsedTimer clock;
        clock.start();
        for (const int pause : kPauses) {
            played.push_back(static_cast<double>(clock.elapsed()) / 1000);
            sounds.play(0, settings);
            QTest::qWait(pause);
        }
    }
    const std::vector<Tone> heard = tonesIn(server.stopRecording());

    ASSERT_EQ(heard.size(), played.size()) << server.log();
    for (size_t at = 0; at < heard.size(); ++at) {
        SCOPED_TRACE(at);
        EXPECT_NEAR(heard[at].start - heard[0].start, played[at] - played[0], 0.2) << "out of its time";
        EXPECT_GT(heard[at].length, kToneLength * 0.9) << "cut short";
    }
}

}  // namespace
