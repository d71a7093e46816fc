#include "device/handset_channel.h"
#include "handset_test_rig.h"
#include "virtual_handsets.h"

#include <gtest/gtest.h>

namespace tarnix::test {
namespace {

TEST(HandsetChannel, EveryCommandFailsWithoutHandset)
{
    HandsetChannel channel;
    const std::vector<std::pair<const char*, std::function<int()>>> commands{
        {"ring", [&] { return channel.HandsetRing(1); }},
        {"ring melody", [&] { return channel.HandsetRingMelody(1, 3); }},
        {"volume", [&] { return channel.HandsetSetVolume(50); }},
        {"light", [&] { return channel.HandsetLight(1); }},
        {"lcd", [&] { return channel.HandsetLcd(LcdNumber, 0, 0, "123", 0); }},
        {"property", [&] { return channel.HandsetProperty(PropVendorId); }},
        {"select melody", [&] { return channel.HandsetSelectMelody(2); }},
        {"switch line", [&] { return channel.HandsetSwitchLine(1); }},
        {"last error", [&] { return channel.HandsetLastError(); }},
    };
    for (const auto& [name, command] : commands) EXPECT_EQ(command(), -1) << name;
    EXPECT_EQ(channel.HandsetPresent(), 0);
    EXPECT_EQ(channel.SetHandsetEventSink(nullptr), 0);
}

TEST(HandsetChannel, OnlyOneMeansOn)
{
    HandsetTestRig rig;
    auto handset = std::make_shared<sim::VirtualMelodyHandset>();
    rig.bus.plug(handset);
    rig.start();
    // Each command is let through the ringer's settle time before the handset is looked at.
    const auto settled = [&](int result) {
        rig.loop.advance(100);
        return result;
    };
    EXPECT_EQ(settled(rig.channel().HandsetRing(1)), 0);
    EXPECT_TRUE(handset->ringing());
    EXPECT_EQ(settled(rig.channel().HandsetRing(2)), 0);
    EXPECT_FALSE(handset->ringing());
    EXPECT_EQ(settled(rig.channel().HandsetLight(1)), 0);
    EXPECT_TRUE(handset->light());
    EXPECT_EQ(settled(rig.channel().HandsetLight(-1)), 0);
    EXPECT_FALSE(handset->light());
    EXPECT_EQ(settled(rig.channel().HandsetRingMelody(7, 4)), 0);
    EXPECT_FALSE(handset->ringing());
}

TEST(HandsetChannel, UnsupportedCommandRecordsErrorReadOnce)
{
    HandsetTestRig rig;
    rig.bus.plug(std::make_shared<sim::VirtualBasicHandset>());
    rig.start();
    const std::vector<std::pair<const char*, std::function<int()>>> unsupported{
        {"volume", [&] { return rig.channel().HandsetSetVolume(50); }},
        {"lcd", [&] { return rig.channel().HandsetLcd(LcdClear, 0, 0, nullptr, 0); }},
        {"select melody", [&] { return rig.channel().HandsetSelectMelody(1); }},
        {"switch line", [&] { return rig.channel().HandsetSwitchLine(1); }},
    };
    for (const auto& [name, command] : unsupported) {
        SCOPED_TRACE(name);
        EXPECT_EQ(command(), -1);
        EXPECT_EQ(rig.channel().HandsetLastError(), HandsetErrorUnsupported);
        EXPECT_EQ(rig.channel().HandsetLastError(), HandsetErrorNone);
    }
}

TEST(HandsetChannel, RingMelodyOnModelWithoutMelodiesStillRings)
{
    HandsetTestRig rig;
    auto handset = std::make_shared<sim::VirtualBasicHandset>();
    rig.bus.plug(handset);
    rig.start();
    EXPECT_EQ(rig.channel().HandsetRingMelody(1, 3), 0);
    EXPECT_TRUE(handset->ringing());
    EXPECT_EQ(rig.channel().HandsetLastError(), HandsetErrorUnsupported);
}

TEST(HandsetChannel, FailedWriteIsMinusOneWithoutErrorCode)
{
    HandsetTestRig rig;
    // Output reports too short for the ring and light commands.
    auto handset = std::make_shared<sim::VirtualLcdHandset>(sim::VirtualHandset::Lengths{33, 3});
    rig.bus.plug(handset);
    rig.start();
    EXPECT_EQ(rig.channel().HandsetRing(1), -1);
    EXPECT_EQ(rig.channel().HandsetLight(1), -1);
    EXPECT_TRUE(handset->written().empty());
    EXPECT_EQ(rig.channel().HandsetLastError(), HandsetErrorNone);
    EXPECT_EQ(rig.channel().HandsetLcd(LcdAllOn, 0, 0, nullptr, 0), 0);
    EXPECT_TRUE(handset->written().empty());
}

TEST(HandsetChannel, PropertiesOfEachHidModel)
{
    struct Case {
        std::shared_ptr<sim::VirtualHandset> handset;
        std::array<int, 12> expected;  // indices 0-11
    };
    const std::vector<Case> cases{
        {std::make_shared<sim::VirtualBasicHandset>(), {-1, 0x04B4, 0x6371, 0, 128, 0, 1, -1, 0, 1, 0, -1}},
        {std::make_shared<sim::VirtualLcdHandset>(), {-1, 0x04B4, 0x0302, 1, 255, 1, 1, -1, 0, 1, 0, -1}},
        {std::make_shared<sim::VirtualMelodyHandset>(), {-1, 0x04B4, 0x0304, 1, 255, 0, 1, -1, 0, 0, 1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.handset->model());
        HandsetTestRig rig;
        rig.bus.plug(c.handset);
        rig.start();
        for (int index = 0; index < 12; ++index) {
            EXPECT_EQ(rig.channel().HandsetProperty(index), c.expected[std::size_t(index)]) << index;
        }
        EXPECT_EQ(rig.channel().HandsetProperty(-5), -1);
        EXPECT_EQ(rig.current().ModelType(), c.handset->model());
        EXPECT_EQ(rig.current().Version(), 536);
    }
}

}  // namespace
}  // namespace tarnix::test
