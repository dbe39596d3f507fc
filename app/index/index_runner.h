// The work on one index window's indexes, one piece at a time. Loading and searching run on a
// worker thread, so that a large index never stalls the window or a replay; what needs the
// window (a question, the board shown) runs here between the pieces.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QObject>
#include <QTimer>

#include "database/index_group.h"

namespace tandemora {

class IndexRunner : public QObject {
    Q_OBJECT
public:
    using Messages = std::vector<std::string>;
    // Runs on the worker thread, with the indexes to itself; true when it succeeded.
    using Work = std::function<bool(IndexGroup&)>;
    // Runs here afterwards, with the work's answer and the messages the index reported.
    using Done = std::function<void(bool succeeded, Messages messages)>;
    using Step = std::function<void()>;

    explicit IndexRunner(QObject* parent = nullptr);
    // Work still running finishes on the worker, unheard; the indexes are freed there, not here.
    ~IndexRunner() override;

    // Runs `step` here once everything asked for before has finished. A `latestOnly` step takes
    // the place of one that is still waiting, so that of many searches asked for while one
    // runs, only the latest is made.
    void post(Step step, bool latestOnly = false);
    // The last thing a step or a Done does, if anything: runs `work` on the worker thread and
    // then `done` here, before any later step.
    void runOnWorker(Work work, Done done);

    // Only inside a step or a Done: the indexes, to be used here, and what they reported here.
    IndexGroup& index();
    Messages takeMessages();

    // While work on the worker names its stage, `show` hears the stage and how far it has come,
    // several times a second, and an empty text once it has ended.
    void setProgressShown(std::function<void(const std::string& text)> show) { showProgress_ = std::move(show); }

    // Nothing runs and nothing waits.
    bool idle() const { return !running_ && waiting_.empty(); }

private:
    struct Engine;
    struct Reply;
    struct Waiting {
        Step step;
        bool latestOnly;
    };

    void proceed();
    void finished(bool succeeded, Messages messages);
    void reportProgress();

    std::shared_ptr<Engine> engine_;  // shared with the work running on the worker
    std::shared_ptr<Reply> reply_;    // how the worker reaches this object while it lives
    std::deque<Waiting> waiting_;
    Done done_;
    bool running_ = false;   // a step, or the work it started with its Done, is under way
    bool onWorker_ = false;  // that work runs on the worker now
    QTimer progressTimer_;
    std::optional<std::string> status_;  // the stage the work on the worker named, if any
    std::function<void(const std::string&)> showProgress_;
};

}  // namespace tandemora
