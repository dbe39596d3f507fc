#include "app/analysis/engine_process.h"

#include <utility>

#include <QProcess>

#include "app/file_names.h"
#include "engine/engine_path.h"

namespace tandemora {

namespace {

// An engine that keeps stopping on the same position would otherwise be restarted forever.
constexpr int kMaxRestarts = 3;

std::string missingMessage() { return engineMissingMessage("choose its program in Options"); }

}  // namespace

AnalysisEngine::AnalysisEngine(EventHandler onEvent, MessageHandler onMessage, QObject* parent)
    : QObject(parent), onEvent_(std::move(onEvent)), onMessage_(std::move(onMessage)) {}

AnalysisEngine::~AnalysisEngine() {
    if (!process_) return;
    // The program is closing: the killed engine is reaped now, as Qt would do anyway, rather
    // than left to an event loop that no longer runs.
    process_->disconnect(this);
    process_->kill();
    process_->waitForFinished(1000);
}

void AnalysisEngine::configure(const std::string& program, const EngineOptions& options) {
    endProcess();
    program_ = program;
    options_ = options;
    session_ = UciSession(options);
    retry();
}

unsigned AnalysisEngine::analyse(const std::string& fen, EngineVariant variant, int lines) {
    restarts_ = 0;
    if (!failure_.empty()) {
        onMessage_(failure_);
        return 0;
    }
    if (!process_ && !startProcess()) return 0;
    analysing_ = true;
    const unsigned id = session_.analyse(fen, variant, lines);
    sendOutgoing();
    return id;
}

void AnalysisEngine::stop() {
    analysing_ = false;
    session_.stop();
    sendOutgoing();
}

void AnalysisEngine::retry() {
    failure_.clear();
    restarts_ = 0;
}

bool AnalysisEngine::startProcess() {
    const std::string path = resolveEnginePath(program_);
    if (path.empty()) {
        giveUp(missingMessage());
        return false;
    }
    process_ = new QProcess(this);
    connect(process_, &QProcess::readyReadStandardOutput, this, &AnalysisEngine::readLines);
    connect(process_, &QProcess::finished, this, &AnalysisEngine::processEnded);
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) giveUp(missingMessage());
    });
    process_->setProcessChannelMode(QProcess::SeparateChannels);
    process_->setStandardErrorFile(QProcess::nullDevice());
    process_->start(fileNameText(path), {});
    if (!process_) return false;  // failed at once
    // Written once the process runs; a search that ran before a crash is asked again.
    session_.start();
    sendOutgoing();
    return true;
}

void AnalysisEngine::endProcess() {
    if (!process_) return;
    process_->disconnect(this);  // its end is no crash
    if (process_->state() == QProcess::NotRunning) {
        process_->deleteLater();
    } else {
        connect(process_, &QProcess::finished, process_, &QObject::deleteLater);
        process_->kill();
    }
    process_ = nullptr;
}

void AnalysisEngine::readLines() {
    while (process_ && process_->canReadLine()) {
        QByteArray line = process_->readLine();
        while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
        for (const EngineEvent& event : session_.receive(std::string_view(line.constData(), line.size()))) {
            if (event.kind == EngineEvent::kAnalysis && std::exchange(restarting_, false))
                onMessage_("The engine stopped and was restarted.");
            onEvent_(event);
        }
    }
    sendOutgoing();
}

void AnalysisEngine::sendOutgoing() {
    for (const std::string& line : session_.takeOutgoing()) {
        if (!process_) continue;
        process_->write(line.data(), static_cast<qint64>(line.size()));
        process_->write("\n", 1);
    }
}

void AnalysisEngine::processEnded() {
    endProcess();
    if (!analysing_) return;  // started again by the next analyse()
    if (++restarts_ > kMaxRestarts) {
        restarting_ = false;
        giveUp("The engine stopped again and again; turn the analysis off and on to try once more.");
        return;
    }
    onMessage_("The engine stopped; restarting it.");
    restarting_ = true;
    startProcess();
}

void AnalysisEngine::giveUp(const std::string& why) {
    endProcess();
    failure_ = why;
    onMessage_(why);
}

}  // namespace tandemora
