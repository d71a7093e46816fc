// The handset layer over the real hidraw adapter, on virtual handsets served as umockdev nodes.
#include "handset_bed.h"
#include "handset_test_rig.h"
#include "platform/linux/hid/udev_hid_bus.h"
#include "umockdev_hid_bed.h"
#include "virtual_handsets.h"

#include <gtest/gtest.h>

#include <functional>

// Under AddressSanitizer the umockdev preload library comes before the ASan runtime; tell ASan
// that this is intended.
extern "C" const char* __asan_default_options()
{
    return "verify_asan_link_order=0";
}

namespace tarnix::test {
namespace {

using sim::HandsetBed;
using sim::VirtualHandset;
using Events = std::vector<std::string>;
using Reports = std::vector<std::vector<std::uint8_t>>;
using Commands = std::function<void(HandsetChannel&)>;

// The handset layer as the program builds it, on the bed's devices.
struct HidRig {
    HidRig() : bus(loop), service(loop, bus, errors, pstn, clock) {}
    ~HidRig() { service.channel().SetHandsetEventSink(nullptr); }

    void start()
    {
        service.StartHandsetService(&sink);
        loop.runPending();
    }
    HandsetChannel& channel() { return service.channel(); }
    // Delivers the udev events that came in, then runs poll ticks of 10 ms.
    Events settle(int ticks = 0)
    {
        loop.runPending();
        loop.advance(std::int64_t{10} * ticks);
        return sink.take();
    }

    VirtualEventLoop loop;
    UdevHidBus bus;
    RecordingErrors errors;
    FakeDeviceClock clock;
    PstnLibrary pstn{"/nonexistent/libF3Voip.so"};
    RecordingSink sink;
    HandsetService service;
};

class HandsetOverHidraw : public testing::Test {
protected:
    void SetUp() override
    {
        if (!UmockdevHidBed::preloaded()) GTEST_SKIP() << "needs LD_PRELOAD=libumockdev-preload.so.0";
        bed = std::make_unique<HandsetBed>();
    }
    void TearDown() override
    {
        // The program lets go of the nodes before the testbed goes.
        rig.reset();
        bed.reset();
    }

    HidRig& start()
    {
        rig = std::make_unique<HidRig>();
        rig->start();
        return *rig;
    }
    Reports written(int handset)
    {
        Reports reports;
        bed->with(handset, [&reports](VirtualHandset& h) { reports = h.written(); });
        return reports;
    }
    int currentProduct() { return rig->channel().HandsetProperty(PropProductId); }

    std::unique_ptr<HandsetBed> bed;
    std::unique_ptr<HidRig> rig;
};

struct ModelCase {
    int model;
    Commands commands;
    // Words the emulator's account of itself holds afterwards.
    std::vector<std::string> state;
};

void PrintTo(const ModelCase& c, std::ostream* out)
{
    *out << "model " << c.model;
}

const std::vector<ModelCase> kModelCases = {
    {1,
     [](HandsetChannel& c) {
         c.HandsetRing(1);
         c.HandsetLight(1);
         c.HandsetRing(0);
     },
     {"ring=off", "light=on"}},
    {2,
     [](HandsetChannel& c) {
         c.HandsetLcd(LcdNumber, 0, 0, "0123", 0);
         c.HandsetLcd(LcdIcon, 1, 0, nullptr, 0);
         c.HandsetLcd(LcdBars, 0, 4, nullptr, 0);
         c.HandsetRing(1);
         c.HandsetLight(1);
     },
     // Level 4 lights three bars (the first from level 2) and the link indicator.
     {"ring=on", "light=on", "lcd=\"0123\"", "call=on", "bars=3", "link=on"}},
    {4,
     [](HandsetChannel& c) {
         c.HandsetSetVolume(75);
         c.HandsetRingMelody(1, 5);
         c.HandsetLight(1);
     },
     {"ring=on", "light=on", "melody=5", "volume=12"}},
};

// Long enough for model 4 to have written the reports it queued behind its ringer's settle time.
constexpr int kSettledMs = 500;

// The same commands on the in-memory bus, where the layer's reports reach the emulator as the
// layer wrote them.
Reports writtenOnTheMemoryBus(const ModelCase& c)
{
    HandsetTestRig memory;
    const std::shared_ptr<VirtualHandset> handset = HandsetBed::makeHandset(c.model);
    memory.bus.plug(handset);
    memory.start();
    c.commands(memory.channel());
    memory.loop.advance(kSettledMs);
    return handset->written();
}

class EachModelOverHidraw : public HandsetOverHidraw, public testing::WithParamInterface<ModelCase> {};

// Report id 0 first (a payload starting with 0 keeps it), the whole output report, nothing
// merged or lost on the way through hidraw.
TEST_P(EachModelOverHidraw, GetsTheLayersReportsByteForByte)
{
    const ModelCase& c = GetParam();
    const int handset = bed->plug(c.model);
    HidRig& r = start();
    c.commands(r.channel());
    r.loop.advance(kSettledMs);
    EXPECT_EQ(written(handset), writtenOnTheMemoryBus(c));
    for (const std::string& word : c.state) {
        EXPECT_NE(bed->state(handset).find(word), std::string::npos) << word << " in " << bed->state(handset);
    }
}

// Key reports reach the sink as the model's keys, the hook after its first report only
// initialises, and a memory read gets the reply report back whole.
TEST_P(EachModelOverHidraw, ReadsKeysHookAndMemoryReplies)
{
    const int handset = bed->plug(GetParam().model);
    HidRig& r = start();
    for (int key : {Key1, Key5, KeyHash, KeyYes}) {
        bed->press(handset, key);
        bed->release(handset);
    }
    bed->lift(handset);
    bed->replace(handset);
    EXPECT_EQ(r.settle(20), (Events{"key 1", "key 5", "key Hash", "key Yes", "key HookOff", "key HookOn"}));

    if (GetParam().model == 4) return;  // no memory
    bed->with(handset, [](VirtualHandset& h) {
        for (int a = 0; a < 8; ++a) h.memory()[a] = std::uint8_t(0xB0 + a);
    });
    std::array<std::uint8_t, 4> bytes{};
    ASSERT_EQ(r.channel().current()->ReadMemory(2, bytes), 0);
    EXPECT_EQ(bytes, (std::array<std::uint8_t, 4>{0xB2, 0xB3, 0xB4, 0xB5}));
}

INSTANTIATE_TEST_SUITE_P(Models, EachModelOverHidraw, testing::ValuesIn(kModelCases),
                         [](const testing::TestParamInfo<ModelCase>& info) {
                             return "Model" + std::to_string(info.param.model);
                         });

TEST_F(HandsetOverHidraw, ArrivalAnnouncesAndRemovalAnnouncesAbsenceTwice)
{
    HidRig& r = start();
    EXPECT_EQ(r.channel().HandsetPresent(), 0);
    const int handset = bed->plug(2);
    EXPECT_EQ(r.settle(), Events{"presence 1"});
    EXPECT_EQ(currentProduct(), 0x0302);

    bed->unplug(handset);
    EXPECT_EQ(r.settle(), (Events{"presence 0", "presence 0"}));
    EXPECT_EQ(r.channel().HandsetPresent(), 0);

    bed->plug(2);
    EXPECT_EQ(r.settle(), Events{"presence 1"}) << "a replugged handset gets a new node and is found";
}

TEST_F(HandsetOverHidraw, TwoHandsetsTheFirstStaysCurrentUntilUnplugged)
{
    const int lcd = bed->plug(2, "1-1");
    const int basic = bed->plug(1, "1-2");
    HidRig& r = start();
    EXPECT_EQ(currentProduct(), 0x0302);

    // Unplugging the other one leaves the current one, announced again.
    const int melody = bed->plug(4, "1-3");
    EXPECT_TRUE(r.settle().empty());
    bed->unplug(melody);
    EXPECT_EQ(r.settle(), Events{"presence 1"});
    EXPECT_EQ(currentProduct(), 0x0302);

    bed->unplug(lcd);
    EXPECT_EQ(r.settle(), (Events{"presence 0", "presence 1"}));
    EXPECT_EQ(currentProduct(), 0x6371);
    bed->press(basic, Key9);
    EXPECT_EQ(r.settle(5), Events{"key 9"}) << "the remaining handset is read";
}

TEST_F(HandsetOverHidraw, UnplugWhileRingingLeavesNothingToCommand)
{
    const int handset = bed->plug(4);
    HidRig& r = start();
    ASSERT_EQ(r.channel().HandsetRing(1), 0);
    ASSERT_NE(bed->state(handset).find("ring=on"), std::string::npos);

    bed->unplug(handset);
    EXPECT_EQ(r.settle(3), (Events{"presence 0", "presence 0"}));
    EXPECT_EQ(r.channel().HandsetRing(0), -1);
    EXPECT_EQ(r.channel().HandsetLight(1), -1);

    const int again = bed->plug(4);
    EXPECT_EQ(r.settle(), Events{"presence 1"});
    EXPECT_NE(bed->state(again).find("ring=off"), std::string::npos);
}

// The poll's read spans ticks while nothing arrives; the unplug ends it with a failure, not
// with a key, whether the ticks or the removal come first.
TEST_F(HandsetOverHidraw, UnplugWhileTheReadWaitsEndsItWithoutAKey)
{
    for (bool ticksFirst : {true, false}) {
        const int handset = bed->plug(2);
        HidRig& r = start();
        r.loop.advance(50);
        bed->unplug(handset);
        if (ticksFirst) r.service.channel().current()->Poll();
        EXPECT_EQ(r.settle(3), (Events{"presence 0", "presence 0"})) << ticksFirst;
    }
}

}  // namespace
}  // namespace tarnix::test
