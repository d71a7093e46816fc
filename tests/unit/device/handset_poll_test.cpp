#include "handset_test_rig.h"
#include "virtual_handsets.h"

#include <gtest/gtest.h>

namespace tarnix::test {
namespace {

using Events = std::vector<std::string>;

// A started model 4 handset whose first report (on the cradle, no key) has been taken.
class PollTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path_ = rig_.bus.plug(handset_);
        rig_.start();
        handset_->release();
        rig_.ticks(2);
        ASSERT_TRUE(rig_.sink.events.empty());
    }

    HandsetTestRig rig_;
    std::shared_ptr<sim::VirtualMelodyHandset> handset_ = std::make_shared<sim::VirtualMelodyHandset>();
    std::string path_;
};

TEST_F(PollTest, FirstHookStateOnlyInitialisesThenChangesAreEvents)
{
    handset_->lift();
    rig_.ticks(1);  // the report is read here ...
    EXPECT_TRUE(rig_.sink.events.empty());
    rig_.ticks(1);  // ... and its hook change delivered here
    EXPECT_EQ(rig_.sink.take(), Events{"key HookOff"});
    handset_->replace();
    rig_.ticks(2);
    EXPECT_EQ(rig_.sink.take(), Events{"key HookOn"});
}

TEST_F(PollTest, HookChangeTickReadsNoKey)
{
    handset_->lift();
    handset_->press(Key5);
    rig_.ticks(1);
    EXPECT_TRUE(rig_.sink.events.empty());
    rig_.ticks(1);
    EXPECT_EQ(rig_.sink.take(), Events{"key HookOff"});
    EXPECT_TRUE(handset_->hasInputReport());  // the key report waits for the next tick
    rig_.ticks(1);
    EXPECT_EQ(rig_.sink.take(), Events{"key 5"});
}

TEST_F(PollTest, KeyHeldForSecondsIsOneEventAndAgainAfterRelease)
{
    // The handset repeats the held key's report every 50 ms.
    handset_->press(Key7);
    for (int ms = 0; ms < 3000; ms += 50) {
        rig_.loop.advance(50);
        handset_->press(Key7);
    }
    rig_.loop.advance(10);
    EXPECT_EQ(rig_.sink.take(), Events{"key 7"});

    handset_->release();
    rig_.ticks(1);
    handset_->press(Key7);
    rig_.ticks(1);
    EXPECT_EQ(rig_.sink.take(), Events{"key 7"});
}

TEST_F(PollTest, TickWithoutReportCountsAsNoKeyOnlyAfterTheReadTimeout)
{
    handset_->press(Key3);
    rig_.ticks(1);
    EXPECT_EQ(rig_.sink.take(), Events{"key 3"});

    // A read started on the next tick still waits 90 ms later: the same key then is no news.
    rig_.ticks(9);
    handset_->press(Key3);
    rig_.ticks(1);
    EXPECT_TRUE(rig_.sink.events.empty());

    // 100 ms without a report end the read with no key, so the key counts again afterwards.
    rig_.ticks(11);
    handset_->press(Key3);
    rig_.ticks(1);
    EXPECT_EQ(rig_.sink.take(), Events{"key 3"});
}

TEST_F(PollTest, IdleHandsetIsPolledWithoutWaitingOnTheDevice)
{
    const int before = rig_.bus.reads(path_);
    rig_.loop.advance(1000);
    EXPECT_EQ(rig_.bus.reads(path_) - before, 100);  // one read per 10 ms tick
    EXPECT_EQ(rig_.bus.longestReadWait(path_), 0);
}

TEST_F(PollTest, ReportsOtherThanKeyReportsAreNoKey)
{
    struct Case {
        const char* name;
        std::vector<std::uint8_t> report;
    };
    const std::vector<Case> cases{
        {"memory reply", {0x00, 0x02, 0x05, 0x01}},
        {"key released", {0x00, 0x01, 0x00, 0x00}},
        {"unknown key byte", {0x00, 0x01, 0x40, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        handset_->sendReport(c.report);
        rig_.ticks(1);
        EXPECT_TRUE(rig_.sink.take().empty());
    }
    // A memory reply does not touch the hook state even with byte 3 set.
    rig_.ticks(2);
    EXPECT_TRUE(rig_.sink.take().empty());
}

// A sink that opens a modal dialog on a key: the poll timer keeps ticking inside the call.
class NestedLoopSink final : public HandsetEventSink {
public:
    explicit NestedLoopSink(HandsetTestRig& rig) : rig_(rig) {}
    void OnHandsetKey(int code) override
    {
        keys.push_back(code);
        if (keys.size() == 1) rig_.ticks(3);
    }
    int OnHandsetPresence(int, int) override { return 0; }

    std::vector<int> keys;

private:
    HandsetTestRig& rig_;
};

TEST(PollNested, KeyHeardInsideANestedLoopIsNotDeliveredTwice)
{
    HandsetTestRig rig;
    NestedLoopSink sink(rig);
    auto handset = std::make_shared<sim::VirtualMelodyHandset>();
    rig.bus.plug(handset);
    rig.service.StartHandsetService(&sink);
    handset->press(Key9);
    handset->press(Key9);
    rig.ticks(1);
    rig.ticks(2);
    EXPECT_EQ(sink.keys, std::vector<int>{Key9});
}

TEST(PollShortReports, KeyReportShorterThanFourBytesIsNoKey)
{
    HandsetTestRig rig;
    auto handset = std::make_shared<sim::VirtualMelodyHandset>(sim::VirtualHandset::Lengths{3, 9});
    rig.bus.plug(handset);
    rig.start();
    handset->release();
    handset->lift();
    handset->press(Key5);
    rig.ticks(5);
    EXPECT_TRUE(rig.sink.events.empty());
}

// A started model 4 handset whose device can be watched, as a hidraw node can.
class WatchedPollTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        rig_.bus.offerDescriptors();
        path_ = rig_.bus.plug(handset_);
        rig_.start();
        handset_->release();
        rig_.loop.runPending();
        ASSERT_TRUE(rig_.sink.events.empty());
    }
    bool ticking() const { return rig_.loop.isTimerActive({&rig_.service, HandsetService::kPollTimerId}); }

    HandsetTestRig rig_;
    std::shared_ptr<sim::VirtualMelodyHandset> handset_ = std::make_shared<sim::VirtualMelodyHandset>();
    std::string path_;
};

TEST_F(WatchedPollTest, IdleHandsetIsNeitherReadNorTicked)
{
    const int before = rig_.bus.reads(path_);
    rig_.loop.advance(5000);
    EXPECT_EQ(rig_.bus.reads(path_), before);
    EXPECT_FALSE(ticking());
}

TEST_F(WatchedPollTest, ReportsAreEventsAtOnceHookChangeFirst)
{
    handset_->press(Key5);
    rig_.loop.runPending();
    EXPECT_EQ(rig_.sink.take(), Events{"key 5"});

    handset_->release();
    handset_->lift();
    handset_->press(Key2);
    rig_.loop.runPending();
    EXPECT_EQ(rig_.sink.take(), (Events{"key HookOff", "key 2"}));
}

TEST_F(WatchedPollTest, HeldKeyTicksUntilTheReadTimeoutThenCountsAgain)
{
    handset_->press(Key3);
    rig_.loop.runPending();
    EXPECT_EQ(rig_.sink.take(), Events{"key 3"});
    EXPECT_TRUE(ticking());

    rig_.loop.advance(90);
    handset_->press(Key3);
    rig_.loop.runPending();
    EXPECT_TRUE(rig_.sink.events.empty());

    rig_.loop.advance(120);
    EXPECT_FALSE(ticking());
    handset_->press(Key3);
    rig_.loop.runPending();
    EXPECT_EQ(rig_.sink.take(), Events{"key 3"});
}

TEST(WatchedPollNoInputReports, WhatTheHandsetSendsIsDroppedNotLeftReadable)
{
    HandsetTestRig rig;
    rig.bus.offerDescriptors();
    auto handset = std::make_shared<sim::VirtualMelodyHandset>(sim::VirtualHandset::Lengths{0, 9});
    rig.bus.plug(handset);
    rig.start();
    handset->press(Key5);
    rig.current().Poll();
    // Left unread, the node would stay readable and the loop below would never go idle.
    ASSERT_FALSE(handset->hasInputReport());
    rig.loop.runPending();
    EXPECT_TRUE(rig.sink.events.empty());
}

TEST_F(WatchedPollTest, UnpluggedNodeIsLetGoUntilTheRemovalScan)
{
    rig_.bus.unplug(path_);
    rig_.loop.runPending();  // returns: the failed node is no longer watched
    EXPECT_EQ(rig_.sink.take(), (Events{"presence 0", "presence 0"}));
    EXPECT_FALSE(ticking());
}

}  // namespace
}  // namespace tarnix::test
