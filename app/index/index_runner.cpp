#include "app/index/index_runner.h"

#include <exception>
#include <mutex>
#include <utility>

#include <QThreadPool>

#include "app/databases/worker_progress.h"

namespace tandemora {

namespace {

// Every message the index reported, oldest first.
IndexRunner::Messages takeAll(WorkerProgress& reporter) {
    IndexRunner::Messages messages;
    while (std::optional<std::string> text = reporter.takeMessage()) messages.push_back(std::move(*text));
    return messages;
}

}  // namespace

struct IndexRunner::Engine {
    WorkerProgress reporter;
    IndexGroup group{reporter};
};

// The worker answers under the lock, so the runner cannot go away in the middle of an answer.
struct IndexRunner::Reply {
    std::mutex mutex;
    IndexRunner* receiver = nullptr;
};

IndexRunner::IndexRunner(QObject* parent)
    : QObject(parent), engine_(std::make_shared<Engine>()), reply_(std::make_shared<Reply>()) {
    reply_->receiver = this;
    progressTimer_.setInterval(200);
    connect(&progressTimer_, &QTimer::timeout, this, &IndexRunner::reportProgress);
}

IndexRunner::~IndexRunner() {
    {
        const std::lock_guard lock(reply_->mutex);
        reply_->receiver = nullptr;
    }
    // Long work nobody waits for any more (making a position file) ends early.
    engine_->reporter.requestStop();
    // Freeing gigabytes of index takes a while; the worker does it after any running work.
    QThreadPool::globalInstance()->start([engine = std::move(engine_)]() mutable { engine.reset(); });
}

void IndexRunner::post(Step step, bool latestOnly) {
    if (latestOnly)
        std::erase_if(waiting_, [](const Waiting& waiting) { return waiting.latestOnly; });
    waiting_.push_back({std::move(step), latestOnly});
    proceed();
}

void IndexRunner::proceed() {
    while (!running_ && !waiting_.empty()) {
        const Step step = std::move(waiting_.front().step);
        waiting_.pop_front();
        running_ = true;
        step();
        if (!onWorker_) running_ = false;
    }
}

void IndexRunner::runOnWorker(Work work, Done done) {
    done_ = std::move(done);
    onWorker_ = true;
    progressTimer_.start();
    QThreadPool::globalInstance()->start([engine = engine_, reply = reply_, work = std::move(work)] {
        bool succeeded = false;
        try {
            succeeded = work(engine->group);
        } catch (const std::exception& error) {  // memory for a result, most likely
            engine->reporter.message(std::string("The index could not be searched: ") + error.what());
        }
        Messages messages = takeAll(engine->reporter);
        const std::lock_guard lock(reply->mutex);
        if (IndexRunner* runner = reply->receiver)
            QMetaObject::invokeMethod(
                runner,
                [runner, succeeded, messages = std::move(messages)]() mutable {
                    runner->finished(succeeded, std::move(messages));
                },
                Qt::QueuedConnection);
    });
}

void IndexRunner::finished(bool succeeded, Messages messages) {
    onWorker_ = false;
    progressTimer_.stop();
    if (status_ && showProgress_) showProgress_({});
    status_.reset();
    const Done done = std::exchange(done_, {});
    done(succeeded, std::move(messages));
    if (onWorker_) return;
    running_ = false;
    proceed();
}

IndexGroup& IndexRunner::index() { return engine_->group; }

IndexRunner::Messages IndexRunner::takeMessages() { return takeAll(engine_->reporter); }

// Work that names its stage (making a position file) is shown with how far it has come.
void IndexRunner::reportProgress() {
    if (std::optional<std::string> status = engine_->reporter.takeStatus()) status_ = std::move(status);
    if (!status_ || !showProgress_) return;
    const int maximum = engine_->reporter.maximum();
    const int percent = maximum > 0 ? static_cast<int>(100LL * engine_->reporter.position() / maximum) : 0;
    // The share first: a long stage, naming a file, may not fit in a caption.
    showProgress_(std::to_string(percent) + "% " + *status_);
}

}  // namespace tandemora
