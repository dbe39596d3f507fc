// Work on a worker thread behind a dialog: it cannot start twice, it stops at the next game
// once the user agrees, and its messages appear in order.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include <QDialog>
#include <QProgressBar>
#include <QSignalSpy>

#include "app/databases/build_runner.h"
#include "tests/app/databases/message_boxes.h"

namespace {

using namespace tandemora;
using database_dialog_test::BoxAnswerer;

// Steps through "games" until it is asked to stop or released, then says which it was.
BuildRunner::Work gamesUntilStopped(std::atomic<bool>& released) {
    return [&released](ProgressReporter& progress) {
        progress.setRange(1000000);
        while (!progress.stopRequested() && !released) {
            progress.step();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        progress.message(progress.stopRequested() ? "stopped" : "all games done");
    };
}

TEST(BuildRunner, StopsAtTheNextGameOnlyWhenTheUserAgrees) {
    enum class Asked { kFromTheDialog, kByTheClosingProgram };
    const struct {
        Asked asked;
        QMessageBox::StandardButton answer;
        std::vector<std::string> texts;  // the question, then the work's message
    } cases[] = {
        {Asked::kFromTheDialog, QMessageBox::Yes, {"Stop the work?", "stopped"}},
        {Asked::kFromTheDialog, QMessageBox::No, {"Stop the work?", "all games done"}},
        {Asked::kByTheClosingProgram, QMessageBox::No, {"Stop the work?", "all games done"}},
        // The program waits for the work and closes without its last message.
        {Asked::kByTheClosingProgram, QMessageBox::Yes, {"Stop the work?"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.asked) * 10 + (c.answer == QMessageBox::Yes));
        QDialog dialog;
        QProgressBar bar(&dialog);
        BuildRunner runner(dialog, bar, "Stop the work?");
        QSignalSpy finished(&runner, &BuildRunner::finished);
        std::atomic<bool> released = false;
        ASSERT_TRUE(runner.start(gamesUntilStopped(released)));
        EXPECT_FALSE(runner.start(gamesUntilStopped(released)));  // one at a time
        EXPECT_EQ(dialog.cursor().shape(), Qt::BusyCursor);
        BoxAnswerer boxes(c.answer);
        const bool stopped = c.asked == Asked::kFromTheDialog ? runner.askToStop()
                                                              : BuildRunner::stopAllForClosing(&dialog);
        EXPECT_EQ(stopped, c.answer == QMessageBox::Yes);
        EXPECT_EQ(runner.running(), !stopped || c.asked == Asked::kFromTheDialog);
        released = true;
        EXPECT_TRUE(finished.count() == 1 || finished.wait(5000));
        EXPECT_FALSE(runner.running());
        EXPECT_EQ(boxes.texts, c.texts);
        EXPECT_EQ(dialog.cursor().shape(), Qt::ArrowCursor);  // the busy cursor is gone
        EXPECT_TRUE(BuildRunner::stopAllForClosing(&dialog));  // nothing left to ask about
    }
}

}  // namespace
