#include "base/qt_event_loop.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <thread>

#include <unistd.h>

namespace tarnix {
namespace {

// Runs the Qt loop until the predicate holds or a generous limit passes.
template <typename Pred>
bool spinUntil(Pred done)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return done();
}

class QtEventLoopTest : public ::testing::Test {
protected:
    int argc = 1;
    char arg0[8] = "test";
    char* argv[1] = {arg0};
    QCoreApplication app{argc, argv};
    QtEventLoop loop;
};

TEST_F(QtEventLoopTest, TimerStoppedFromItsOwnHandlerDoesNotFireAgain)
{
    int owner = 0;
    int ticks = 0;
    loop.startTimer({&owner, 1251}, 1, [&] {
        ++ticks;
        loop.stopTimer({&owner, 1251});
    });
    ASSERT_TRUE(spinUntil([&] { return ticks > 0; }));
    QCoreApplication::processEvents(QEventLoop::AllEvents, 30);
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(loop.isTimerActive({&owner, 1251}));
}

TEST_F(QtEventLoopTest, PostFromAnotherThreadRunsOnTheLoop)
{
    bool ran = false;
    std::thread([&] { loop.post([&] { ran = true; }); }).join();
    EXPECT_TRUE(spinUntil([&] { return ran; }));
}

TEST_F(QtEventLoopTest, SingleShotAndFdWatch)
{
    int owner = 0;
    int shots = 0;
    loop.startSingleShot({&owner, 7}, 1, [&] { ++shots; });
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    unsigned seen = 0;
    loop.watchFd(fds[0], [&](unsigned events) {
        char c;
        if (::read(fds[0], &c, 1) == 1) seen |= events;
    });
    ASSERT_EQ(::write(fds[1], "x", 1), 1);
    EXPECT_TRUE(spinUntil([&] { return shots == 1 && (seen & FdReadable); }));
    EXPECT_FALSE(loop.isTimerActive({&owner, 7}));
    ::close(fds[0]);
    ::close(fds[1]);
}

}  // namespace
}  // namespace tarnix
