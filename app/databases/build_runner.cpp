#include "app/databases/build_runner.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <vector>

#include <QProgressBar>
#include <QWidget>

#include "app/dialogs/message_box.h"
#include "app/file_names.h"

namespace tandemora {

namespace {

// Often enough for a bar that moves smoothly, seldom enough to cost the work nothing.
constexpr int kPollMs = 50;

// The builds running now; only the GUI thread uses the list.
std::vector<BuildRunner*>& runningBuilds() {
    static std::vector<BuildRunner*> builds;
    return builds;
}

void forget(BuildRunner* runner) {
    std::vector<BuildRunner*>& builds = runningBuilds();
    builds.erase(std::remove(builds.begin(), builds.end(), runner), builds.end());
}

}  // namespace

BuildRunner::BuildRunner(QWidget& dialog, QProgressBar& bar, std::string stopQuestion)
    : dialog_(dialog), bar_(bar), stopQuestion_(std::move(stopQuestion)) {
    timer_.setInterval(kPollMs);
    connect(&timer_, &QTimer::timeout, this, &BuildRunner::poll);
}

BuildRunner::~BuildRunner() {
    if (!running()) return;
    progress_->requestStop();
    thread_.join();
    forget(this);
    dialog_.unsetCursor();
}

bool BuildRunner::start(Work work) {
    if (running()) return false;
    progress_ = std::make_unique<WorkerProgress>();
    workEnded_.store(false);
    thread_ = std::thread([this, work = std::move(work), &progress = *progress_] {
        // What the work could not foresee, running out of memory say, is told like its own failures;
        // the files it was writing are rolled back as the stack unwinds.
        try {
            work(progress);
        } catch (const std::exception& error) {
            progress.error(std::string("The work ended with an error: ") + error.what());
        }
        workEnded_.store(true, std::memory_order_release);
    });
    runningBuilds().push_back(this);
    // The dialog stays usable: it can be moved, and the build stopped.
    dialog_.setCursor(Qt::BusyCursor);
    showProgress();
    timer_.start();
    return true;
}

bool BuildRunner::askToStop() {
    if (!running() || boxOpen_) return false;
    // The work is not wrapped up behind the question.
    boxOpen_ = true;
    const bool stop = askYesNo(&dialog_, stopQuestion_);
    boxOpen_ = false;
    if (stop && running()) progress_->requestStop();
    return stop;
}

void BuildRunner::stopAndWait() {
    if (!running()) return;
    progress_->requestStop();
    thread_.join();
    while (progress_->takeMessage()) {
    }
    ended();
}

bool BuildRunner::stopAllForClosing(QWidget* parent) {
    if (runningBuilds().empty()) return true;
    if (!askYesNo(parent, runningBuilds().front()->stopQuestion_)) return false;
    for (BuildRunner* runner : std::vector(runningBuilds())) runner->stopAndWait();
    return true;
}

void BuildRunner::poll() {
    showProgress();
    // A message box runs this timer in its own event loop: one box at a time.
    if (boxOpen_ || !running()) return;
    // Read before the messages: the work has left all of its messages once it ended.
    const bool done = workEnded_.load(std::memory_order_acquire);
    if (done) emit workEnded();
    boxOpen_ = true;
    while (std::optional<std::string> text = progress_->takeMessage()) showMessageBox(&dialog_, fileNameText(*text));
    boxOpen_ = false;
    if (!done || !running()) return;
    thread_.join();
    ended();
}

void BuildRunner::showProgress() {
    const int maximum = progress_->maximum();
    bar_.setRange(0, maximum);
    bar_.setValue(std::min(progress_->position(), maximum));
    if (std::optional<std::string> status = progress_->takeStatus()) emit statusChanged(fileNameText(*status));
}

void BuildRunner::ended() {
    timer_.stop();
    showProgress();
    forget(this);
    dialog_.unsetCursor();
    emit finished();
}

}  // namespace tandemora
