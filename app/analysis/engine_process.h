// The engine as a child process of the program: started on demand, spoken to without ever
// waiting for it, and started again when it stops while analysing.
#pragma once

#include <functional>
#include <string>

#include <QObject>

#include "engine/uci_session.h"

class QProcess;

namespace tandemora {

class AnalysisEngine : public QObject {
public:
    // What the engine reports of the position asked for, and what a user should be told about
    // the engine itself (empty: nothing any more).
    using EventHandler = std::function<void(const EngineEvent&)>;
    using MessageHandler = std::function<void(const std::string&)>;

    AnalysisEngine(EventHandler onEvent, MessageHandler onMessage, QObject* parent = nullptr);
    ~AnalysisEngine() override;

    // The program (empty: found where Debian puts it or on PATH) and its options; a running
    // engine ends, and the next analyse() starts the new one.
    void configure(const std::string& program, const EngineOptions& options);
    // Analyses a position until the next request or stop(), starting the engine when needed.
    // The id names the position in the events; 0 when the engine cannot run (already reported).
    unsigned analyse(const std::string& fen, EngineVariant variant, int lines);
    void stop();
    // Lets a missing or repeatedly stopping engine be tried again.
    void retry();

    // The engine's process, while it runs.
    QProcess* process() const { return process_; }

private:
    bool startProcess();
    void endProcess();
    void readLines();
    void sendOutgoing();
    void processEnded();
    void giveUp(const std::string& why);

    EventHandler onEvent_;
    MessageHandler onMessage_;
    std::string program_;
    EngineOptions options_;
    UciSession session_;
    QProcess* process_ = nullptr;
    bool analysing_ = false;  // between analyse() and stop()
    // Why the engine cannot be started, or that it stopped too often on one position: no more
    // tries until retry() while this says why.
    std::string failure_;
    // Restarts since the last position asked for, and whether the engine has answered since.
    int restarts_ = 0;
    bool restarting_ = false;
};

}  // namespace tandemora
