// The work on an index runs one piece at a time, in order; of many searches asked for while
// one runs only the latest is made; a window that goes while work runs hears nothing of it.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include <QCoreApplication>

#include "app/index/index_runner.h"

namespace {

using namespace tandemora;

void waitFor(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done() && std::chrono::steady_clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    ASSERT_TRUE(done());
}

TEST(IndexRunner, WaitingSearchesGiveWayToTheLatestAndEverythingElseRunsInOrder) {
    IndexRunner runner;
    std::vector<std::string> ran;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    // Held on the worker until released, while more is asked for.
    runner.post([&] {
        ran.push_back("first");
        runner.runOnWorker([released](IndexGroup&) { released.wait(); return true; },
                           [&](bool, IndexRunner::Messages) { ran.push_back("first done"); });
    });
    for (const char* name : {"search 1", "search 2"}) runner.post([&ran, name] { ran.push_back(name); }, true);
    runner.post([&] { ran.push_back("load"); });
    runner.post([&] { ran.push_back("search 3"); }, true);
    EXPECT_EQ(ran, std::vector<std::string>{"first"});
    release.set_value();
    waitFor([&] { return runner.idle(); });
    EXPECT_EQ(ran, (std::vector<std::string>{"first", "first done", "load", "search 3"}));
}

TEST(IndexRunner, AWindowThatGoesWhileWorkRunsHearsNothingOfIt) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    auto finished = std::make_shared<std::promise<void>>();
    bool heard = false;
    {
        IndexRunner runner;
        runner.post([&] {
            runner.runOnWorker(
                [released, finished](IndexGroup& indexes) {
                    released.wait();
                    indexes.runSearch();  // the indexes are still there
                    finished->set_value();
                    return true;
                },
                [&](bool, IndexRunner::Messages) { heard = true; });
        });
    }
    release.set_value();
    finished->get_future().wait();
    for (int i = 0; i < 10; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_FALSE(heard);
}

}  // namespace
