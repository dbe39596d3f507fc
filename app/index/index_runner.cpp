#include "app/index/index_runner.h"

#include <exception>
#include <mutex>
#include <utility>

#include <QThreadPool>

namespace tandemora {

namespace {

// Keeps what the index reports until the window takes it.
class KeptMessages : public ProgressReporter {
public:
    void message(const std::string& text) override { messages_.push_back(text); }
    IndexRunner::Messages take() { return std::exchange(messages_, {}); }

private:
    IndexRunner::Messages messages_;
};

}  // namespace

struct IndexRunner::Engine {
    KeptMessages reporter;
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
}

IndexRunner::~IndexRunner() {
    {
        const std::lock_guard lock(reply_->mutex);
        reply_->receiver = nullptr;
    }
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
    QThreadPool::globalInstance()->start([engine = engine_, reply = reply_, work = std::move(work)] {
        bool succeeded = false;
        try {
            succeeded = work(engine->group);
        } catch (const std::exception& error) {  // memory for a result, most likely
            engine->reporter.message(std::string("The index could not be searched: ") + error.what());
        }
        Messages messages = engine->reporter.take();
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
    const Done done = std::exchange(done_, {});
    done(succeeded, std::move(messages));
    if (onWorker_) return;
    running_ = false;
    proceed();
}

IndexGroup& IndexRunner::index() { return engine_->group; }

IndexRunner::Messages IndexRunner::takeMessages() { return engine_->reporter.take(); }

}  // namespace tandemora
