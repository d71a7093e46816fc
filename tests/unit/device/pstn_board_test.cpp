#include "device/pstn_board.h"
#include "handset_test_rig.h"
#include "virtual_pstn_board.h"

#include <gtest/gtest.h>

namespace tarnix::test {
namespace {

using Events = std::vector<std::string>;

constexpr std::uint16_t kBoardVendor = 0x00B3;
constexpr std::uint16_t kBoardProduct = 0x0020;

class PstnBoardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        VirtualPstnBoardReset();
        path_ = rig_.bus.plugOther(kBoardVendor, kBoardProduct);
        rig_.start();
    }

    HandsetTestRig rig_{VIRTUAL_PSTN_BOARD_PATH};
    std::string path_;
};

TEST(PstnBoardKeys, DtmfCodeLowBitsMapToKeys)
{
    const std::vector<std::pair<int, int>> cases{
        {0x00, KeyNone}, {0x01, Key1},    {0x09, Key9},    {0x0A, Key0},    {0x1A, Key0}, {0x0B, KeyStar},
        {0x0C, KeyHash}, {0x0D, KeyNone}, {0x0F, KeyNone}, {0x10, KeyNone}, {0xF5, Key5}};
    for (const auto& [code, key] : cases) EXPECT_EQ(PstnBoard::decodeDtmf(std::uint8_t(code)), key) << code;
}

TEST_F(PstnBoardTest, BoardIsReadiedOnEveryCreation)
{
    EXPECT_EQ(rig_.channel().HandsetPresent(), 1);
    EXPECT_EQ(rig_.current().ModelType(), 3);
    VirtualPstnBoardState state = VirtualPstnBoardGetState();
    EXPECT_EQ(state.loads, 1);
    EXPECT_EQ(state.loadVendor, 0xB3);
    EXPECT_EQ(state.loadProduct, 0x20);

    rig_.bus.unplug(path_);
    rig_.loop.runPending();
    EXPECT_EQ(VirtualPstnBoardGetState().closes, 1);
    rig_.bus.plugOther(kBoardVendor, kBoardProduct);
    rig_.loop.runPending();
    EXPECT_EQ(rig_.sink.take(), (Events{"presence 0", "presence 0", "presence 1"}));
    EXPECT_EQ(VirtualPstnBoardGetState().loads, 2);
}

TEST_F(PstnBoardTest, HeldDigitIsOneEventUntilTheDecoderLetsGo)
{
    VirtualPstnBoardDial(0x15);
    rig_.ticks(50);
    EXPECT_EQ(rig_.sink.take(), Events{"key 5"});
    VirtualPstnBoardDial(0);
    rig_.ticks(1);
    VirtualPstnBoardDial(0x15);
    rig_.ticks(1);
    VirtualPstnBoardDial(0x0B);
    rig_.ticks(1);
    EXPECT_EQ(rig_.sink.take(), (Events{"key 5", "key Star"}));
    EXPECT_EQ(rig_.bus.reads(path_), 0);  // keys come from the library, not from reports
}

TEST_F(PstnBoardTest, RingsThroughTheLibraryAndHasNoLight)
{
    EXPECT_EQ(rig_.channel().HandsetRing(1), 0);
    EXPECT_EQ(VirtualPstnBoardGetState().ringing, 1);
    EXPECT_EQ(rig_.channel().HandsetRing(0), 0);
    EXPECT_EQ(VirtualPstnBoardGetState().ringing, 0);
    EXPECT_EQ(rig_.channel().HandsetLight(1), -1);
    EXPECT_EQ(rig_.channel().HandsetLastError(), HandsetErrorNone);
    EXPECT_EQ(rig_.channel().HandsetLcd(LcdClear, 0, 0, nullptr, 0), -1);
    EXPECT_EQ(rig_.channel().HandsetLastError(), HandsetErrorUnsupported);

    const std::array<int, 12> expected{-1, 0x00B3, 0x0020, 0, 64, 0, 1, -1, 0, 1, 0, -1};
    for (int index = 0; index < 12; ++index)
        EXPECT_EQ(rig_.channel().HandsetProperty(index), expected[std::size_t(index)]);
}

TEST_F(PstnBoardTest, MemoryIsWordsAtEvenAddresses)
{
    VirtualPstnBoardSetWord(4, 0x1234);
    VirtualPstnBoardSetWord(6, 0xABCD);
    std::array<std::uint8_t, 5> bytes{};
    EXPECT_EQ(rig_.current().ReadMemory(4, bytes), 0);
    EXPECT_EQ(bytes, (std::array<std::uint8_t, 5>{0x34, 0x12, 0xCD, 0xAB, 0x00}));

    const std::array<std::uint8_t, 4> update{0x01, 0x02, 0x03, 0x04};
    EXPECT_EQ(rig_.current().WriteMemory(250, update), 0);
    EXPECT_EQ(VirtualPstnBoardWord(250), 0x0201);
    EXPECT_EQ(VirtualPstnBoardWord(252), 0x0403);
}

TEST(PstnBoardWithoutLibrary, BoardIsCurrentButSilent)
{
    HandsetTestRig rig{"/nonexistent/libF3Voip.so"};
    rig.bus.plugOther(kBoardVendor, kBoardProduct);
    rig.start();
    EXPECT_EQ(rig.channel().HandsetPresent(), 1);
    EXPECT_EQ(rig.channel().HandsetRing(1), 0);
    rig.ticks(10);
    EXPECT_TRUE(rig.sink.events.empty());
    EXPECT_EQ(rig.pstn.LoadPstnLibrary(), 0);
}

TEST(PstnBoardWithMissingFunctions, RingsAndClosesAsSuccessWithoutKeys)
{
    HandsetTestRig rig{PARTIAL_PSTN_BOARD_PATH};
    const std::string path = rig.bus.plugOther(kBoardVendor, kBoardProduct);
    rig.start();
    EXPECT_EQ(rig.pstn.LoadPstnLibrary(), 1);
    EXPECT_EQ(rig.channel().HandsetRing(1), 0);
    EXPECT_EQ(rig.channel().HandsetRing(0), 0);
    std::array<std::uint8_t, 4> bytes{9, 9, 9, 9};
    EXPECT_EQ(rig.current().ReadMemory(0, bytes), 0);
    EXPECT_EQ(bytes, (std::array<std::uint8_t, 4>{9, 9, 9, 9}));
    rig.ticks(10);
    EXPECT_TRUE(rig.sink.events.empty());
    rig.bus.unplug(path);
    rig.loop.runPending();
    EXPECT_EQ(rig.channel().HandsetPresent(), 0);
}

TEST(PstnBoardNotReady, BoardStillBecomesCurrent)
{
    VirtualPstnBoardReset();
    VirtualPstnBoardSetReady(0);
    HandsetTestRig rig{VIRTUAL_PSTN_BOARD_PATH};
    rig.bus.plugOther(kBoardVendor, kBoardProduct);
    rig.start();
    EXPECT_EQ(rig.channel().HandsetPresent(), 1);
    EXPECT_EQ(rig.pstn.LoadPstnLibrary(), 0);
    EXPECT_EQ(VirtualPstnBoardGetState().loads, 2);
}

}  // namespace
}  // namespace tarnix::test
