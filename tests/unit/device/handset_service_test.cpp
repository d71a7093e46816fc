#include "handset_test_rig.h"
#include "virtual_handsets.h"

#include <gtest/gtest.h>

namespace tarnix::test {
namespace {

using sim::VirtualBasicHandset;
using sim::VirtualLcdHandset;
using sim::VirtualMelodyHandset;
using Events = std::vector<std::string>;

constexpr std::uint16_t kMouseVendor = 0x046D;
constexpr std::uint16_t kMouseProduct = 0xC077;

int currentProduct(HandsetTestRig& rig)
{
    return rig.channel().HandsetProperty(PropProductId);
}

TEST(HandsetDiscovery, HandsetPresentAtStartIsStartedButNotAnnounced)
{
    HandsetTestRig rig;
    rig.bus.plug(std::make_shared<VirtualLcdHandset>());
    rig.start();
    EXPECT_EQ(rig.channel().HandsetPresent(), 1);
    EXPECT_TRUE(rig.sink.events.empty());
    const TimerKey poll{&rig.service, HandsetService::kPollTimerId};
    EXPECT_TRUE(rig.loop.isTimerActive(poll));
    EXPECT_EQ(rig.loop.timerPeriod(poll), HandsetService::kPollPeriodMs);
}

TEST(HandsetDiscovery, ChoosesFirstSupportedInterfaceOnly)
{
    struct Case {
        const char* name;
        std::function<void(FakeHidBus&)> plug;
        int expectedProduct;  // -1: none is current
    };
    const std::vector<Case> cases{
        {"lower index wins over model order",
         [](FakeHidBus& bus) {
             bus.plugOther(kMouseVendor, kMouseProduct);
             bus.plug(std::make_shared<VirtualMelodyHandset>());
             bus.plug(std::make_shared<VirtualLcdHandset>());
         },
         0x0304},
        {"supported product under another vendor", [](FakeHidBus& bus) { bus.plugOther(0x00B3, 0x0302); },
         -1},
        {"twenty-first interface is beyond the scan",
         [](FakeHidBus& bus) {
             for (int i = 0; i < HandsetService::kScanTableSize; ++i)
                 bus.plugOther(kMouseVendor, kMouseProduct);
             bus.plug(std::make_shared<VirtualBasicHandset>());
         },
         -1},
        {"twentieth interface is scanned",
         [](FakeHidBus& bus) {
             for (int i = 0; i < HandsetService::kScanTableSize - 1; ++i)
                 bus.plugOther(kMouseVendor, kMouseProduct);
             bus.plug(std::make_shared<VirtualBasicHandset>());
         },
         0x6371},
        {"interface that cannot be opened is passed over",
         [](FakeHidBus& bus) {
             bus.setOpenable(bus.plug(std::make_shared<VirtualLcdHandset>()), false);
             bus.plug(std::make_shared<VirtualBasicHandset>());
         },
         0x6371},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HandsetTestRig rig;
        c.plug(rig.bus);
        rig.start();
        EXPECT_EQ(currentProduct(rig), c.expectedProduct);
    }
}

TEST(HandsetDiscovery, HandsetThatCannotBeOpenedStaysCurrentWithoutPolling)
{
    HandsetTestRig rig;
    auto handset = std::make_shared<VirtualBasicHandset>();
    rig.bus.limitOpens(rig.bus.plug(handset), 1);  // enough for the scan, not for the handset
    rig.start();
    EXPECT_EQ(rig.channel().HandsetPresent(), 1);
    EXPECT_FALSE(rig.loop.isTimerActive({&rig.service, HandsetService::kPollTimerId}));
    EXPECT_EQ(rig.channel().HandsetRing(1), -1);
    EXPECT_TRUE(handset->written().empty());
}

TEST(HandsetDiscovery, NamelessInterfaceShowsErrorAndKeepsState)
{
    HandsetTestRig rig;
    rig.bus.plugNameless();
    rig.bus.plug(std::make_shared<VirtualLcdHandset>());
    rig.start();
    EXPECT_EQ(rig.channel().HandsetPresent(), 0);
    EXPECT_EQ(rig.errors.shown, Events{"Error: Could not find the system name for this HID device"});
}

TEST(HandsetDiscovery, NamelessInterfaceDuringRemovalKeepsCurrentHandset)
{
    HandsetTestRig rig;
    rig.bus.plug(std::make_shared<VirtualLcdHandset>());
    const std::string mouse = rig.bus.plugOther(kMouseVendor, kMouseProduct);
    rig.start();
    rig.bus.plugNameless();
    rig.bus.unplug(mouse);
    rig.loop.runPending();
    EXPECT_EQ(rig.errors.shown.size(), 1u);
    EXPECT_EQ(rig.sink.take(), Events{"presence 1"});
    EXPECT_EQ(currentProduct(rig), 0x0302);
}

TEST(HandsetDiscovery, InterfacesListedWithOtherIdsAreNeverOpened)
{
    HandsetTestRig rig;
    const std::string mouse = rig.bus.plugOther(kMouseVendor, kMouseProduct);
    const std::string lookalike = rig.bus.plugOther(0x00B3, 0x0302);
    const std::string handset = rig.bus.plug(std::make_shared<VirtualMelodyHandset>());
    rig.start();
    rig.bus.unplug(rig.bus.plugOther(kMouseVendor, kMouseProduct));  // a rescan while driving
    rig.loop.runPending();
    EXPECT_EQ(rig.bus.opens(mouse), 0);
    EXPECT_EQ(rig.bus.opens(lookalike), 0);
    EXPECT_EQ(rig.bus.opens(handset), 3);  // two scans and the handset's own open
    EXPECT_EQ(currentProduct(rig), 0x0304);
}

TEST(HandsetHotPlug, ArrivalWhileIdleStartsAndAnnouncesTheHandset)
{
    HandsetTestRig rig;
    rig.start();
    rig.bus.plugOther(kMouseVendor, kMouseProduct);
    rig.loop.runPending();
    EXPECT_TRUE(rig.sink.events.empty());
    rig.bus.plug(std::make_shared<VirtualMelodyHandset>());
    rig.loop.runPending();
    EXPECT_EQ(rig.sink.take(), Events{"presence 1"});
    EXPECT_EQ(currentProduct(rig), 0x0304);
}

TEST(HandsetHotPlug, SecondHandsetIsIgnoredUntilTheFirstIsUnplugged)
{
    HandsetTestRig rig;
    const std::string first = rig.bus.plug(std::make_shared<VirtualLcdHandset>());
    rig.start();
    rig.bus.plug(std::make_shared<VirtualBasicHandset>());
    rig.loop.runPending();
    EXPECT_TRUE(rig.sink.events.empty());
    EXPECT_EQ(currentProduct(rig), 0x0302);

    rig.bus.unplug(first);
    rig.loop.runPending();
    EXPECT_EQ(rig.sink.take(), (Events{"presence 0", "presence 1"}));
    EXPECT_EQ(currentProduct(rig), 0x6371);
}

TEST(HandsetHotPlug, UnpluggingTheOtherHandsetKeepsCurrentAndAnnouncesItAgain)
{
    HandsetTestRig rig;
    rig.bus.plug(std::make_shared<VirtualLcdHandset>());
    const std::string other = rig.bus.plug(std::make_shared<VirtualBasicHandset>());
    rig.start();
    rig.bus.unplug(other);
    rig.loop.runPending();
    EXPECT_EQ(rig.sink.take(), Events{"presence 1"});
    EXPECT_EQ(currentProduct(rig), 0x0302);
}

TEST(HandsetHotPlug, UnpluggingTheOnlyHandsetAnnouncesAbsenceTwiceAndStopsPolling)
{
    HandsetTestRig rig;
    const std::string path = rig.bus.plug(std::make_shared<VirtualMelodyHandset>());
    rig.start();
    rig.bus.unplug(path);
    rig.loop.runPending();
    EXPECT_EQ(rig.sink.take(), (Events{"presence 0", "presence 0"}));
    EXPECT_EQ(rig.channel().HandsetPresent(), 0);
    EXPECT_FALSE(rig.loop.isTimerActive({&rig.service, HandsetService::kPollTimerId}));

    // A removal while idle changes nothing.
    rig.bus.unplug(rig.bus.plugOther(kMouseVendor, kMouseProduct));
    rig.loop.runPending();
    EXPECT_TRUE(rig.sink.events.empty());
}

TEST(HandsetHotPlug, ReplugFindsTheHandsetAgain)
{
    HandsetTestRig rig;
    auto handset = std::make_shared<VirtualLcdHandset>();
    const std::string path = rig.bus.plug(handset);
    rig.start();
    rig.bus.unplug(path);
    rig.loop.runPending();
    rig.bus.plug(handset);
    rig.loop.runPending();
    EXPECT_EQ(rig.sink.take(), (Events{"presence 0", "presence 0", "presence 1"}));
    EXPECT_EQ(rig.channel().HandsetRing(1), 0);
    EXPECT_TRUE(handset->ringing());
}

TEST(HandsetHotPlug, HandsetReplugBeforeTheRemovalIsHandledIsOpenedAfresh)
{
    HandsetTestRig rig;
    auto handset = std::make_shared<VirtualLcdHandset>();
    const std::string path = rig.bus.plug(handset);
    rig.start();
    rig.bus.unplug(path);
    rig.current().Poll();  // a tick runs into the unplugged device before the removal is handled
    rig.bus.plug(handset);
    rig.loop.runPending();
    EXPECT_EQ(rig.sink.take(), (Events{"presence 0", "presence 1"}));
    EXPECT_EQ(rig.channel().HandsetRing(1), 0);
    EXPECT_TRUE(handset->ringing());
}

// The first hook state the program sees only tells where the handset is; a handset put back
// goes on from the last one, so a lift or hang-up in its first report is heard.
TEST(HandsetHotPlug, AHandsetPutBackGoesOnFromTheHookStateBefore)
{
    HandsetTestRig rig;
    const auto replug = [&rig](std::string& path, const std::shared_ptr<VirtualLcdHandset>& handset) {
        rig.bus.unplug(path);
        rig.loop.runPending();
        path = rig.bus.plug(handset);
        rig.loop.runPending();
        rig.sink.take();
    };
    auto first = std::make_shared<VirtualLcdHandset>();
    std::string path = rig.bus.plug(first);
    rig.start();
    first->lift();
    rig.ticks(2);
    EXPECT_TRUE(rig.sink.take().empty());
    first->replace();
    rig.ticks(2);
    EXPECT_EQ(rig.sink.take(), Events{"key HookOn"});

    auto second = std::make_shared<VirtualLcdHandset>();
    replug(path, second);
    second->lift();
    rig.ticks(2);
    EXPECT_EQ(rig.sink.take(), Events{"key HookOff"});

    // Put back on its cradle: the first key also tells of the hang-up.
    auto third = std::make_shared<VirtualLcdHandset>();
    replug(path, third);
    third->press(Key5);
    rig.ticks(2);
    EXPECT_EQ(rig.sink.take(), (Events{"key 5", "key HookOn"}));
    third->release();
    third->press(Key6);
    rig.ticks(2);
    EXPECT_EQ(rig.sink.take(), Events{"key 6"});
}

// A sink that asks about the handset while it hears of its removal.
class AskingSink final : public HandsetEventSink {
public:
    explicit AskingSink(HandsetChannel& channel) : channel_(channel) {}
    void OnHandsetKey(int) override {}
    int OnHandsetPresence(int present, int) override
    {
        answers.push_back({present, channel_.HandsetPresent(), channel_.HandsetLight(1)});
        return 0;
    }
    std::vector<std::array<int, 3>> answers;

private:
    HandsetChannel& channel_;
};

TEST(HandsetHotPlug, SinkHearingOfTheRemovalFindsNoHandsetToCommand)
{
    HandsetTestRig rig;
    AskingSink sink(rig.channel());
    const std::string path = rig.bus.plug(std::make_shared<VirtualBasicHandset>());
    rig.service.StartHandsetService(&sink);
    rig.bus.unplug(path);
    rig.loop.runPending();
    EXPECT_EQ(sink.answers, (std::vector<std::array<int, 3>>{{0, 0, -1}, {0, 0, -1}}));
}

TEST(HandsetService, ShutdownTurnsTheLightOffAndClosesWithoutAnnouncing)
{
    VirtualEventLoop loop;
    FakeHidBus bus{loop};
    RecordingErrors errors;
    FakeDeviceClock clock;
    PstnLibrary pstn{"/nonexistent/libF3Voip.so"};
    RecordingSink sink;
    auto handset = std::make_shared<VirtualBasicHandset>();
    bus.plug(handset);
    {
        HandsetService service{loop, bus, errors, pstn, clock};
        service.StartHandsetService(&sink);
        service.channel().HandsetLight(1);
        EXPECT_TRUE(handset->light());
    }
    EXPECT_FALSE(handset->light());
    EXPECT_TRUE(sink.events.empty());
    const auto& written = handset->written();
    ASSERT_GE(written.size(), 3u);
    EXPECT_EQ(hexHead(written[written.size() - 3], 3), "00 02 00");  // light off
    EXPECT_EQ(hexHead(written[written.size() - 2], 3), "00 04 00");  // closing
    EXPECT_EQ(hexHead(written[written.size() - 1], 3), "00 02 00");
}

}  // namespace
}  // namespace tarnix::test
