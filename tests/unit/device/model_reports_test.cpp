#include "handset_test_rig.h"
#include "virtual_handsets.h"

#include <gtest/gtest.h>

namespace tarnix::test {
namespace {

using sim::VirtualBasicHandset;
using sim::VirtualHandset;
using sim::VirtualLcdHandset;
using sim::VirtualMelodyHandset;
using Events = std::vector<std::string>;

struct Started {
    explicit Started(std::shared_ptr<VirtualHandset> h) : handset(std::move(h))
    {
        path = rig.bus.plug(handset);
        rig.start();
    }
    // The reports written since the last call, each cut to n bytes.
    std::vector<std::string> written(std::size_t n)
    {
        std::vector<std::string> out;
        const auto& all = handset->written();
        for (std::size_t i = seen; i < all.size(); ++i) out.push_back(hexHead(all[i], n));
        seen = all.size();
        return out;
    }

    HandsetTestRig rig;
    std::shared_ptr<VirtualHandset> handset;
    std::string path;
    std::size_t seen = 0;
};

// Sends each key byte as a key report followed by a release, and returns the events heard.
Events keysFor(const std::shared_ptr<VirtualHandset>& handset, std::uint8_t cradleByte)
{
    Started s(handset);
    for (int byte = 1; byte <= 0x21; ++byte) {
        handset->sendReport({0x00, 0x01, std::uint8_t(byte), cradleByte});
        handset->sendReport({0x00, 0x01, 0x00, cradleByte});
    }
    s.rig.ticks(2 * 0x21 + 2);
    return s.rig.sink.take();
}

TEST(KeyReports, EachModelMapsKeyBytesByItsOwnKeypad)
{
    EXPECT_EQ(keysFor(std::make_shared<VirtualBasicHandset>(), 1),
              (Events{"key Down", "key Up",   "key Yes",    "key No",   "key 0",  "key 8",  "key Hash",
                      "key 9",    "key Star", "key 7",      "key 5",    "key 6",  "key 4",  "key 1",
                      "key 2",    "key 3",    "key Delete", "key Mute", "key No", "key Yes"}));
    // Bytes 6, 12, 17 and 18 are no key on the LCD handset.
    EXPECT_EQ(keysFor(std::make_shared<VirtualLcdHandset>(), 0),
              (Events{"key No", "key 3", "key 2", "key 1", "key Delete", "key Yes", "key 6", "key 5", "key 4",
                      "key Mute", "key Up", "key 9", "key 8", "key 7", "key Down", "key Hash", "key 0",
                      "key Star"}));
    EXPECT_EQ(
        keysFor(std::make_shared<VirtualMelodyHandset>(), 0),
        (Events{"key 1", "key 2", "key 3", "key No", "key 4", "key 5", "key 6", "key Yes", "key 7", "key 8",
                "key 9", "key Delete", "key Star", "key 0", "key Hash", "key Mute", "key Up", "key Down"}));
}

TEST(KeyReports, HookByteMeaningDiffersBetweenModels)
{
    struct Case {
        std::shared_ptr<VirtualHandset> handset;
        std::uint8_t onCradle;
        std::uint8_t lifted;
    };
    const std::vector<Case> cases{{std::make_shared<VirtualBasicHandset>(), 0x01, 0x00},
                                  {std::make_shared<VirtualBasicHandset>(), 0x80, 0x00},
                                  {std::make_shared<VirtualLcdHandset>(), 0x00, 0x01},
                                  {std::make_shared<VirtualMelodyHandset>(), 0x00, 0x02}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.handset->model());
        Started s(c.handset);
        c.handset->sendReport({0x00, 0x01, 0x00, c.onCradle});
        c.handset->sendReport({0x00, 0x01, 0x00, c.lifted});
        c.handset->sendReport({0x00, 0x01, 0x00, c.onCradle});
        s.rig.ticks(8);
        EXPECT_EQ(s.rig.sink.take(), (Events{"key HookOff", "key HookOn"}));
    }
}

TEST(BasicHandsetReports, OpenRingLightAndCloseSetBitZeroOfByteTwo)
{
    Started s(std::make_shared<VirtualBasicHandset>());
    EXPECT_EQ(s.written(9),
              (std::vector<std::string>{"00 04 01 00 00 00 00 00 00", "00 02 00 00 00 00 00 00 00"}));
    HandsetChannel& c = s.rig.channel();
    c.HandsetRing(1);
    c.HandsetRing(0);
    c.HandsetLight(1);
    c.HandsetLight(0);
    EXPECT_EQ(s.written(3), (std::vector<std::string>{"00 01 01", "00 01 00", "00 02 01", "00 02 00"}));
    s.rig.current().Halt();
    EXPECT_EQ(s.written(3), (std::vector<std::string>{"00 04 00", "00 02 00"}));
    EXPECT_EQ(c.HandsetRing(1), -1);  // closed: nothing to write to
}

TEST(BasicHandsetReports, MemoryIsReadAndWrittenInWords)
{
    Started s(std::make_shared<VirtualBasicHandset>());
    s.rig.ticks(3);  // take the reply the firmware gave to the light report of the open
    for (int a = 0; a < 8; ++a) s.handset->memory()[a] = std::uint8_t(0xA0 + a);
    s.written(1);

    std::array<std::uint8_t, 3> bytes{};
    EXPECT_EQ(s.rig.current().ReadMemory(3, bytes), 0);
    EXPECT_EQ(bytes, (std::array<std::uint8_t, 3>{0xA3, 0xA4, 0xA5}));
    EXPECT_EQ(s.written(3), (std::vector<std::string>{"00 02 01", "00 03 01", "00 02 02", "00 03 02"}));
    EXPECT_EQ(s.rig.clock.pauses, (std::vector<int>{100, 100}));

    const std::array<std::uint8_t, 3> update{0x11, 0x22, 0x33};
    EXPECT_EQ(s.rig.current().WriteMemory(1, update), 0);
    // Word 0 keeps its low byte; word 1 is written whole.
    EXPECT_EQ(s.handset->memory()[0], 0xA0);
    EXPECT_EQ(s.handset->memory()[1], 0x11);
    EXPECT_EQ(s.handset->memory()[2], 0x22);
    EXPECT_EQ(s.handset->memory()[3], 0x33);
    EXPECT_EQ(s.written(5).back(), "00 04 01 22 33");

    std::array<std::uint8_t, 3> tooFar{};
    EXPECT_EQ(s.rig.current().ReadMemory(126, tooFar), -1);
    EXPECT_EQ(s.rig.current().LastError(), HandsetErrorInvalidParameter);
    EXPECT_EQ(s.rig.current().ReadMemory(125, tooFar), 0);
}

TEST(BasicHandsetReports, MemoryReadWithoutReplyFails)
{
    auto handset = std::make_shared<VirtualBasicHandset>(VirtualHandset::Lengths{1, 9});
    Started s(handset);
    std::array<std::uint8_t, 2> bytes{};
    EXPECT_EQ(s.rig.current().ReadMemory(0, bytes), -1);
}

TEST(LcdHandsetReports, RingAndLightShareReportOneAndKeepTheDisplayBytes)
{
    Started s(std::make_shared<VirtualLcdHandset>());
    EXPECT_TRUE(s.written(4).empty());
    HandsetChannel& c = s.rig.channel();
    c.HandsetRing(1);
    c.HandsetRing(0);
    c.HandsetLight(1);
    c.HandsetLight(0);
    EXPECT_EQ(s.written(4),
              (std::vector<std::string>{"00 01 FF 11", "00 01 00 11", "00 01 11 FF", "00 01 11 00"}));

    c.HandsetLcd(LcdAllOn, 0, 0, nullptr, 0);
    c.HandsetRing(1);
    const auto& last = s.handset->written().back();
    ASSERT_EQ(last.size(), 34u);
    EXPECT_EQ(hexHead(last, 6), "00 01 FF 11 00 00");  // cells 0-15 of the image are 0
    EXPECT_EQ(last[33], 0xFF);                         // what the display report left there
    s.rig.current().Halt();
    EXPECT_EQ(c.HandsetRing(1), -1);
}

TEST(LcdHandsetReports, MemoryGoesInBlocksOfSixteen)
{
    Started s(std::make_shared<VirtualLcdHandset>());
    for (int a = 0; a < 40; ++a) s.handset->memory()[a] = std::uint8_t(a);
    std::array<std::uint8_t, 20> bytes{};
    EXPECT_EQ(s.rig.current().ReadMemory(4, bytes), 0);
    EXPECT_EQ(bytes[0], 4);
    EXPECT_EQ(bytes[19], 23);
    EXPECT_EQ(s.written(5), (std::vector<std::string>{"00 02 02 05 00", "00 02 03 05 00", "00 02 02 15 00",
                                                      "00 02 03 15 00"}));
    EXPECT_EQ(s.rig.clock.pauses, (std::vector<int>{300, 300}));

    const std::array<std::uint8_t, 2> update{0x5A, 0xA5};
    EXPECT_EQ(s.rig.current().WriteMemory(9, update), 0);
    EXPECT_EQ(s.written(6), (std::vector<std::string>{"00 02 01 0A 0A 5A", "00 02 01 0B 0B A5"}));
    EXPECT_EQ(s.handset->memory()[9], 0x5A);

    std::array<std::uint8_t, 20> tooFar{};
    EXPECT_EQ(s.rig.current().ReadMemory(236, tooFar), -1);
    EXPECT_EQ(s.rig.current().LastError(), HandsetErrorInvalidParameter);
}

TEST(MelodyHandsetReports, RingClampsMelodyIntoTwelve)
{
    struct Case {
        int melody;
        const char* report;
    };
    const std::vector<Case> cases{
        {15, "00 01 0C"}, {-3, "00 01 01"}, {0, "00 01 01"}, {11, "00 01 0C"}, {4, "00 01 05"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.melody);
        Started s(std::make_shared<VirtualMelodyHandset>());
        EXPECT_EQ(s.rig.channel().HandsetSelectMelody(c.melody), 0);
        EXPECT_TRUE(s.written(3).empty());
        EXPECT_EQ(s.rig.channel().HandsetRing(1), 0);
        EXPECT_EQ(s.written(3), std::vector<std::string>{c.report});
    }
}

TEST(MelodyHandsetReports, VolumeMapsPercentToSixteenSteps)
{
    const std::vector<std::pair<int, const char*>> cases{
        {0, "00 01 20"},   {6, "00 01 20"},   {7, "00 01 20"},  {50, "00 01 27"},
        {100, "00 01 2F"}, {250, "00 01 2F"}, {-20, "00 01 20"}};
    for (const auto& [level, report] : cases) {
        SCOPED_TRACE(level);
        Started s(std::make_shared<VirtualMelodyHandset>());
        EXPECT_EQ(s.rig.channel().HandsetSetVolume(level), 0);
        EXPECT_EQ(s.written(3), std::vector<std::string>{report});
    }
}

TEST(MelodyHandsetReports, RingOffLightAndDecodedState)
{
    auto handset = std::make_shared<VirtualMelodyHandset>();
    Started s(handset);
    HandsetChannel& c = s.rig.channel();
    c.HandsetSetVolume(75);
    c.HandsetRingMelody(1, 6);
    s.rig.loop.advance(100);
    EXPECT_TRUE(handset->ringing());
    EXPECT_EQ(handset->melody(), 6);
    EXPECT_EQ(handset->ringerVolume(), 12);
    c.HandsetRing(0);
    c.HandsetLight(1);
    c.HandsetLight(0);
    s.rig.loop.advance(200);
    EXPECT_EQ(s.written(3),
              (std::vector<std::string>{"00 01 2B", "00 01 07", "00 01 30", "00 04 01", "00 04 00"}));
    EXPECT_FALSE(handset->ringing());
}

TEST(MelodyHandsetReports, ReportsAfterARingerCommandWaitOnTheLoopInOrder)
{
    Started s(std::make_shared<VirtualMelodyHandset>());
    HandsetChannel& c = s.rig.channel();
    EXPECT_EQ(c.HandsetRing(1), 0);
    EXPECT_EQ(s.written(3), std::vector<std::string>{"00 01 01"});  // ringing alone goes at once

    s.rig.loop.advance(40);
    EXPECT_EQ(c.HandsetLight(1), 0);  // queued, and told it was written
    s.rig.loop.advance(59);
    EXPECT_TRUE(s.written(3).empty());
    s.rig.loop.advance(1);
    EXPECT_EQ(s.written(3), std::vector<std::string>{"00 04 01"});

    // Settled: the volume goes at once, what follows it waits its settle time, the melody its own.
    EXPECT_EQ(c.HandsetSetVolume(50), 0);
    EXPECT_EQ(c.HandsetLight(0), 0);
    EXPECT_EQ(c.HandsetRing(1), 0);
    EXPECT_EQ(c.HandsetLight(1), 0);
    EXPECT_EQ(s.written(3), std::vector<std::string>{"00 01 27"});
    s.rig.loop.advance(100);
    EXPECT_EQ(s.written(3), (std::vector<std::string>{"00 04 00", "00 01 01"}));
    s.rig.loop.advance(100);
    EXPECT_EQ(s.written(3), std::vector<std::string>{"00 04 01"});
    EXPECT_TRUE(s.rig.clock.pauses.empty());  // nothing ever sleeps on the caller's thread
}

TEST(MelodyHandsetReports, QueuedReportsGoWithTheHandset)
{
    auto handset = std::make_shared<VirtualMelodyHandset>();
    Started s(handset);
    HandsetChannel& c = s.rig.channel();
    c.HandsetRing(1);
    c.HandsetRing(0);
    s.rig.bus.unplug(s.path);
    s.rig.loop.advance(500);
    EXPECT_EQ(s.written(3), std::vector<std::string>{"00 01 01"});
    EXPECT_EQ(c.HandsetPresent(), 0);
}

TEST(MelodyHandsetReports, CommandsThatDoNotFitAreNotWritten)
{
    auto handset = std::make_shared<VirtualMelodyHandset>(VirtualHandset::Lengths{9, 2});
    Started s(handset);
    EXPECT_EQ(s.rig.channel().HandsetRing(1), -1);
    EXPECT_EQ(s.rig.channel().HandsetSetVolume(40), -1);
    EXPECT_EQ(s.rig.channel().HandsetLight(1), -1);
    EXPECT_TRUE(handset->written().empty());
    EXPECT_TRUE(s.rig.clock.pauses.empty());
}

}  // namespace
}  // namespace tarnix::test
