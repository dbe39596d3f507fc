// Runs a database build on a worker thread for its dialog, so that the program stays responsive:
// the dialog's progress bar follows the work on a short timer, the work's messages appear as
// message boxes over the dialog in the order they came, and the dialog shows a busy cursor
// while the work runs. The work stops at the next game when asked; destroying the runner stops
// it and waits for it.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include <QObject>
#include <QTimer>

#include "app/databases/worker_progress.h"

class QProgressBar;
class QWidget;

namespace tandemora {

class BuildRunner : public QObject {
    Q_OBJECT
public:
    using Work = std::function<void(ProgressReporter&)>;

    // `stopQuestion` is asked before the work is stopped ("Stop building the database?").
    BuildRunner(QWidget& dialog, QProgressBar& bar, std::string stopQuestion);
    ~BuildRunner() override;

    // Starts the work on a worker thread; false, and nothing started, while work runs already.
    bool start(Work work);
    // From start until finished() is emitted.
    bool running() const { return thread_.joinable(); }
    // Asks the stop question; on Yes the work ends at the next game and finished() follows.
    // False when nothing runs or the user answered No.
    bool askToStop();
    // Stops the work and waits for it, without showing its last messages (the program is ending).
    void stopAndWait();

    // Before the program closes: asks the stop question when a build is running and stops and
    // waits for every build on Yes; false when the user answered No.
    static bool stopAllForClosing(QWidget* parent);

signals:
    // The latest status of the work (the file being added, the stage).
    void statusChanged(const QString& status);
    // The work ended; the messages it left are shown next.
    void workEnded();
    // The work ended and every message it left was shown.
    void finished();

private:
    void poll();
    void showProgress();
    // After the work's thread was joined: the last progress, the cursor back, finished().
    void ended();

    QWidget& dialog_;
    QProgressBar& bar_;
    std::string stopQuestion_;
    QTimer timer_;
    std::unique_ptr<WorkerProgress> progress_;
    std::thread thread_;
    std::atomic<bool> workEnded_{false};
    bool boxOpen_ = false;  // a message or the stop question is on the screen
};

}  // namespace tandemora
