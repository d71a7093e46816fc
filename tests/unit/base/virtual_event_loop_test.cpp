#include "virtual_event_loop.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

namespace tarnix::test {
namespace {

TEST(VirtualEventLoop, PeriodicTimerFiresOncePerPeriodWithoutWallTime)
{
    VirtualEventLoop loop;
    int owner = 0;
    int ticks = 0;
    loop.startTimer({&owner, 1001}, 2000, [&] { ++ticks; });
    loop.advance(1999);
    EXPECT_EQ(ticks, 0);
    loop.advance(1);
    EXPECT_EQ(ticks, 1);
    loop.advance(6000);
    EXPECT_EQ(ticks, 4);
    EXPECT_EQ(loop.nowMs(), 8000);
}

TEST(VirtualEventLoop, SameKeyReplacesTimerAndOwnersKeepTheirOwnIds)
{
    VirtualEventLoop loop;
    int a = 0, b = 0;
    std::vector<std::string> fired;
    loop.startTimer({&a, 1001}, 100, [&] { fired.emplace_back("a-old"); });
    loop.startTimer({&a, 1001}, 300, [&] { fired.emplace_back("a-new"); });
    loop.startTimer({&b, 1001}, 200, [&] { fired.emplace_back("b"); });
    loop.advance(300);
    EXPECT_EQ(fired, (std::vector<std::string>{"b", "a-new"}));
}

TEST(VirtualEventLoop, SingleShotFiresOnceAndHandlersMayStopOrRearm)
{
    VirtualEventLoop loop;
    int owner = 0;
    int shots = 0;
    int ticks = 0;
    loop.startSingleShot({&owner, 1}, 50, [&] { ++shots; });
    loop.startTimer({&owner, 2}, 10, [&] {
        if (++ticks == 3) loop.stopTimer({&owner, 2});
    });
    loop.advance(1000);
    EXPECT_EQ(shots, 1);
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(loop.isTimerActive({&owner, 1}));
    EXPECT_FALSE(loop.isTimerActive({&owner, 2}));
}

TEST(VirtualEventLoop, PostedTasksRunInOrderIncludingThosePostedMeanwhile)
{
    VirtualEventLoop loop;
    std::vector<int> order;
    loop.post([&] {
        order.push_back(1);
        loop.post([&] { order.push_back(3); });
    });
    loop.post([&] { order.push_back(2); });
    loop.runPending();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(VirtualEventLoop, WatchedDescriptorIsServedWhenReadable)
{
    VirtualEventLoop loop;
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    int readable = 0;
    const int id = loop.watchFd(fds[0], [&](unsigned events) {
        if (events & FdReadable) {
            char c;
            ASSERT_EQ(::read(fds[0], &c, 1), 1);
            ++readable;
        }
    });
    loop.runPending();
    EXPECT_EQ(readable, 0);
    ASSERT_EQ(::write(fds[1], "x", 1), 1);
    loop.runPending();
    EXPECT_EQ(readable, 1);
    loop.unwatchFd(id);
    ASSERT_EQ(::write(fds[1], "x", 1), 1);
    loop.runPending();
    EXPECT_EQ(readable, 1);
    ::close(fds[0]);
    ::close(fds[1]);
}

}  // namespace
}  // namespace tarnix::test
