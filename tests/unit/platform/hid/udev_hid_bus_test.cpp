#include "platform/linux/hid/udev_hid_bus.h"

#include "umockdev_hid_bed.h"
#include "vendor_report_descriptor.h"
#include "virtual_event_loop.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <thread>

// Under AddressSanitizer the umockdev preload library comes before the ASan runtime; tell ASan
// that this is intended.
extern "C" const char* __asan_default_options()
{
    return "verify_asan_link_order=0";
}

namespace tarnix {
namespace {

using test::UmockdevHidBed;
using test::vendorReportDescriptor;
using Bytes = std::vector<std::uint8_t>;
using testing::ElementsAre;

// Report sizes of the handsets as their descriptors declare them: 8 input bytes each, and
// output reports of 8 bytes (models 1 and 4) or 33 bytes (model 2's LCD image).
const UmockdevHidBed::Device kModel1{0x04B4, 0x6371, vendorReportDescriptor(8, 8), ""};
const UmockdevHidBed::Device kModel2{0x04B4, 0x0302, vendorReportDescriptor(8, 33), ""};
const UmockdevHidBed::Device kModel4{0x04B4, 0x0304, vendorReportDescriptor(8, 8), ""};
const UmockdevHidBed::Device kMouse{0x046D, 0xC077, vendorReportDescriptor(4, 0, 2), ""};

class UdevHidBusTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!UmockdevHidBed::preloaded()) GTEST_SKIP() << "needs LD_PRELOAD=libumockdev-preload.so.0";
        bed = std::make_unique<UmockdevHidBed>();
        bus = std::make_unique<UdevHidBus>(loop);
        bus->setChangeHandler([this](HidChange change) { changes.push_back(change); });
    }

    void TearDown() override
    {
        // The code under test must let go of the emulated nodes before the testbed goes.
        bus.reset();
        bed.reset();
    }

    std::vector<HidChange> deliveredChanges()
    {
        loop.runPending();
        return std::exchange(changes, {});
    }

    test::VirtualEventLoop loop;
    std::unique_ptr<UmockdevHidBed> bed;
    std::unique_ptr<UdevHidBus> bus;
    std::vector<HidChange> changes;
};

TEST_F(UdevHidBusTest, ListsInterfacesInPortOrderWithNumbersComparedByValue)
{
    bed->plug({0x04B4, 0x0302, kModel2.reportDescriptor, "1-10"});
    bed->plug({0x04B4, 0x6371, kModel1.reportDescriptor, "1-2"});
    bed->plug({0x046D, 0xC077, kMouse.reportDescriptor, "1-1.3"});

    const auto interfaces = bus->interfaces();

    ASSERT_EQ(interfaces.size(), 3u);
    EXPECT_EQ(interfaces[0].path, "/dev/hidraw2");
    EXPECT_EQ(interfaces[0].vendorId, 0x046D);
    EXPECT_EQ(interfaces[0].productId, 0xC077);
    EXPECT_EQ(interfaces[1].path, "/dev/hidraw1");
    EXPECT_EQ(interfaces[1].productId, 0x6371);
    EXPECT_EQ(interfaces[2].path, "/dev/hidraw0");
    EXPECT_EQ(interfaces[2].vendorId, 0x04B4);
    EXPECT_EQ(interfaces[2].productId, 0x0302);
    EXPECT_EQ(bus->interfaces().size(), 3u) << "a second listing finds the same devices";
}

TEST_F(UdevHidBusTest, OpenGivesIdsAndReportLengthsWithTheIdByte)
{
    struct Case {
        UmockdevHidBed::Device device;
        int input;
        int output;
    };
    for (const Case& c :
         {Case{kModel1, 9, 9}, Case{kModel2, 9, 34}, Case{kModel4, 9, 9}, Case{kMouse, 5, 0}}) {
        const auto device = bus->open(bed->plug(c.device).path());
        ASSERT_NE(device, nullptr);
        EXPECT_EQ(device->vendorId(), c.device.vendorId);
        EXPECT_EQ(device->productId(), c.device.productId);
        EXPECT_EQ(device->inputReportLength(), c.input) << std::hex << c.device.productId;
        EXPECT_EQ(device->outputReportLength(), c.output) << std::hex << c.device.productId;
    }
}

TEST_F(UdevHidBusTest, OpenOfAPathWithoutDeviceFails)
{
    EXPECT_EQ(bus->open("/dev/hidraw7"), nullptr);
    EXPECT_EQ(bus->open(""), nullptr);
}

TEST_F(UdevHidBusTest, WritesEveryModelsReportsByteForByte)
{
    Bytes lcd(34, 0);
    lcd[1] = 0x03;
    lcd[22] = 0xE5;
    lcd[33] = 0x10;
    struct Case {
        UmockdevHidBed::Device device;
        std::vector<Bytes> reports;
    };
    const std::vector<Case> cases = {
        // Ring on, light off, the report after opening; a payload starting with 0 keeps it.
        {kModel1, {{0, 1, 1, 0, 0, 0, 0, 0, 0}, {0, 2, 0, 0, 0, 0, 0, 0, 0}, {0, 4, 1, 0, 0, 0, 0, 0, 0}}},
        {kModel2, {{0, 1, 0xFF, 0x11, 0, 0, 0, 0, 0}, lcd}},
        {kModel4,
         {{0, 1, 0x0C, 0, 0, 0, 0, 0, 0}, {0, 1, 0x27, 0, 0, 0, 0, 0, 0}, {0, 4, 1, 0, 0, 0, 0, 0, 0}}},
    };
    for (const Case& c : cases) {
        auto& node = bed->plug(c.device);
        const auto device = bus->open(node.path());
        ASSERT_NE(device, nullptr);
        for (const Bytes& report : c.reports) EXPECT_TRUE(device->writeReport(report));
        EXPECT_EQ(node.takeWrittenReports(), c.reports) << std::hex << c.device.productId;
    }
}

TEST_F(UdevHidBusTest, ReadPutsTheReportIdInFrontOnDevicesWithoutNumberedReports)
{
    struct Case {
        UmockdevHidBed::Device device;
        Bytes sent;  // as the kernel hands the report over, without its id
        Bytes read;
    };
    // Key reports (type 1): model 1's key 1 on the cradle, model 2's call key with the handset
    // lifted, model 4's call key on the cradle; and a model 2 memory reply starting with 0.
    const std::vector<Case> cases = {
        {kModel1, {1, 14, 1, 0, 0, 0, 0, 0}, {0, 1, 14, 1, 0, 0, 0, 0, 0}},
        {kModel2, {1, 7, 1, 0, 0, 0, 0, 0}, {0, 1, 7, 1, 0, 0, 0, 0, 0}},
        {kModel2, {2, 0, 0x55, 0xAA, 0, 0, 0, 9}, {0, 2, 0, 0x55, 0xAA, 0, 0, 0, 9}},
        {kModel4, {1, 8, 0, 0, 0, 0, 0, 0}, {0, 1, 8, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        auto& node = bed->plug(c.device);
        const auto device = bus->open(node.path());
        ASSERT_NE(device, nullptr);
        node.sendInputReport(c.sent);

        Bytes report(9, 0xEE);
        ASSERT_EQ(device->readReport(report, 100), 9);
        EXPECT_EQ(report, c.read) << std::hex << c.device.productId;
    }
}

TEST_F(UdevHidBusTest, ReadKeepsTheReportIdOfNumberedReports)
{
    auto& node = bed->plug(kMouse);
    const auto device = bus->open(node.path());
    ASSERT_NE(device, nullptr);
    node.sendInputReport({2, 0x10, 0x20, 0x30, 0x40});

    std::array<std::uint8_t, 5> report{};
    ASSERT_EQ(device->readReport(report, 100), 5);
    EXPECT_THAT(report, ElementsAre(2, 0x10, 0x20, 0x30, 0x40));
}

TEST_F(UdevHidBusTest, ReadsReportsOneAtATimeAndCutsThemToTheBuffer)
{
    auto& node = bed->plug(kModel1);
    const auto device = bus->open(node.path());
    ASSERT_NE(device, nullptr);
    node.sendInputReport({1, 14, 0, 0, 0, 0, 0, 0});
    node.sendInputReport({2, 0x34, 0x12, 0, 0, 0, 0, 0});

    std::array<std::uint8_t, 9> first{};
    ASSERT_EQ(device->readReport(first, 0), 9);
    EXPECT_EQ(first[2], 14);
    std::array<std::uint8_t, 4> cut{};
    ASSERT_EQ(device->readReport(cut, 0), 4);
    EXPECT_THAT(cut, ElementsAre(0, 2, 0x34, 0x12));
    EXPECT_EQ(device->readReport(first, 0), 0) << "both reports were taken";
    EXPECT_EQ(device->readReport(first, 20), 0) << "none came within the wait";
}

TEST_F(UdevHidBusTest, ReadWaitsForAReportThatArrivesLater)
{
    auto& node = bed->plug(kModel2);
    const auto device = bus->open(node.path());
    ASSERT_NE(device, nullptr);
    std::thread handset([&node] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        node.sendInputReport({1, 7, 0, 0, 0, 0, 0, 0});
    });
    std::array<std::uint8_t, 9> report{};
    const int got = device->readReport(report, 5000);
    handset.join();
    ASSERT_EQ(got, 9);
    EXPECT_EQ(report[2], 7);
}

TEST_F(UdevHidBusTest, UnplugWhileAReadWaitsEndsTheReadWithMinusOne)
{
    auto& node = bed->plug(kModel4);
    const auto device = bus->open(node.path());
    ASSERT_NE(device, nullptr);
    std::thread user([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        bed->unplug(node);
    });
    std::array<std::uint8_t, 9> report{};
    const int got = device->readReport(report, 5000);
    user.join();
    EXPECT_EQ(got, -1);
    EXPECT_EQ(device->readReport(report, 0), -1) << "a gone device stays gone";
    EXPECT_FALSE(device->writeReport(Bytes{0, 4, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(UdevHidBusTest, ReportsArrivalAndRemovalOfOneDevice)
{
    auto& node = bed->plug(kModel2);
    EXPECT_THAT(deliveredChanges(), ElementsAre(HidChange::Arrival));
    EXPECT_EQ(bus->interfaces().size(), 1u);

    bed->unplug(node);
    EXPECT_THAT(deliveredChanges(), ElementsAre(HidChange::Removal));
    EXPECT_TRUE(bus->interfaces().empty());
}

TEST_F(UdevHidBusTest, ReportsEachOfTwoDevicesAndRemovingOneKeepsTheOther)
{
    auto& first = bed->plug(kModel2);
    bed->plug(kModel1);
    EXPECT_THAT(deliveredChanges(), ElementsAre(HidChange::Arrival, HidChange::Arrival));

    bed->unplug(first);
    EXPECT_THAT(deliveredChanges(), ElementsAre(HidChange::Removal));
    const auto remaining = bus->interfaces();
    ASSERT_EQ(remaining.size(), 1u);
    EXPECT_EQ(remaining[0].productId, 0x6371);
    EXPECT_NE(bus->open(remaining[0].path), nullptr);
}

TEST_F(UdevHidBusTest, ReplugAfterRemovalArrivesAgain)
{
    bed->unplug(bed->plug(kModel4));
    bed->plug(kModel4);
    EXPECT_THAT(deliveredChanges(), ElementsAre(HidChange::Arrival, HidChange::Removal, HidChange::Arrival));
    ASSERT_EQ(bus->interfaces().size(), 1u);
}

TEST_F(UdevHidBusTest, AnEmptyHandlerStopsTheDelivery)
{
    bus->setChangeHandler({});
    bed->plug(kModel1);
    loop.runPending();
    bus->setChangeHandler([this](HidChange change) { changes.push_back(change); });
    EXPECT_TRUE(deliveredChanges().empty()) << "changes seen without a handler are not kept for later";
}

}  // namespace
}  // namespace tarnix
