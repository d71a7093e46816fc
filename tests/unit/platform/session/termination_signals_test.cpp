#include "platform/linux/session/termination_signals.h"

#include "base/qt_event_loop.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <csignal>
#include <vector>

namespace tarnix {
namespace {

class TerminationSignalsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char arg0[] = "termination_signals_test";
        static char* argv[] = {arg0, nullptr};
        static QCoreApplication app(argc, argv);
    }

    // Runs the loop until the handler has been called `count` times, or a second has gone.
    void runUntil(std::size_t count)
    {
        QElapsedTimer clock;
        clock.start();
        while (received.size() < count && clock.elapsed() < 1000) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        }
    }

    QtEventLoop loop;
    std::vector<int> received;
};

TEST_F(TerminationSignalsTest, EachSignalReachesTheHandlerOnTheLoopNotInTheSignalHandler)
{
    TerminationSignals watcher(loop, [this](int signal) { received.push_back(signal); });
    ASSERT_TRUE(watcher.active());
    for (int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        received.clear();
        ASSERT_EQ(std::raise(signal), 0);
        EXPECT_TRUE(received.empty());
        runUntil(1);
        EXPECT_EQ(received, std::vector<int>{signal});
    }
}

TEST_F(TerminationSignalsTest, SignalsInQuickSuccessionAreAllDelivered)
{
    TerminationSignals watcher(loop, [this](int signal) { received.push_back(signal); });
    std::raise(SIGINT);
    std::raise(SIGTERM);
    runUntil(2);
    EXPECT_EQ(received, (std::vector<int>{SIGINT, SIGTERM}));
}

TEST_F(TerminationSignalsTest, DefaultHandlingComesBackWhenItGoes)
{
    {
        TerminationSignals watcher(loop, [](int) {});
    }
    for (int signal : {SIGTERM, SIGINT}) {
        struct sigaction current {};
        sigaction(signal, nullptr, &current);
        EXPECT_EQ(current.sa_handler, SIG_DFL);
    }
}

}  // namespace
}  // namespace tarnix
