#include "device/lcd_image.h"
#include "handset_test_rig.h"
#include "virtual_handsets.h"

#include <gtest/gtest.h>

namespace tarnix::test {
namespace {

class LcdTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        rig_.bus.plug(handset_);
        rig_.start();
    }
    int lcd(int op, std::uint8_t flag = 0, int level = 0, const char* text = nullptr, std::uint8_t clock = 0)
    {
        return rig_.channel().HandsetLcd(op, flag, level, text, clock);
    }
    std::uint8_t cell(int i) const { return handset_->cells()[std::size_t(i)]; }
    sim::LcdReading reading() const { return handset_->lcd(); }

    HandsetTestRig rig_;
    std::shared_ptr<sim::VirtualLcdHandset> handset_ = std::make_shared<sim::VirtualLcdHandset>();
};

std::tm localTime(int year, int month, int day, int hour, int minute, int weekday)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_wday = weekday;
    return t;
}

TEST_F(LcdTest, NumberIsRightAlignedFromCellTwentyTwo)
{
    EXPECT_EQ(lcd(LcdNumber, 0, 0, "123"), 0);
    EXPECT_EQ(cell(22), 0xE5);
    EXPECT_EQ(cell(23), 0xC7);
    EXPECT_EQ(cell(24), 0x60);
    for (int c = 16; c < 32; ++c) {
        if (c < 22 || c > 24) {
            EXPECT_EQ(cell(c), 0) << c;
        }
    }
    EXPECT_EQ(reading().text(), "123");
    EXPECT_EQ(reading().shown(), "123");
    const auto& report = handset_->written().back();
    ASSERT_EQ(report.size(), 34u);
    EXPECT_EQ(hexHead(report, 2), "00 03");
    EXPECT_EQ(report[2 + 22], 0xE5);
}

TEST_F(LcdTest, LongNumberShowsItsLastFifteenWithSwappedLeftCells)
{
    lcd(LcdNumber, 0, 0, "98765432101234*#");
    EXPECT_EQ(reading().digits, "8765432101234*#");
    EXPECT_EQ(cell(17), 0xFE);  // "8" 0xEF with its halves swapped
    EXPECT_EQ(cell(21), 0xC6);  // "4" 0x6C swapped: the eleventh from the end
}

TEST_F(LcdTest, LinkBarsFollowTheLevelAndSurviveTheDigits)
{
    const std::vector<std::tuple<int, int, bool>> cases{
        {0, 0, false}, {1, 0, true}, {2, 1, true}, {6, 5, true}, {7, 6, true}, {30, 6, true}, {-1, 0, true}};
    for (const auto& [level, bars, indicator] : cases) {
        SCOPED_TRACE(level);
        lcd(LcdBars, 0, level);
        EXPECT_EQ(reading().linkBars, bars);
        EXPECT_EQ(reading().linkIndicator, indicator);
    }
    lcd(LcdBars, 0, 6);
    lcd(LcdIcon, 1);
    lcd(LcdNumber, 0, 0, "5551234567");
    EXPECT_EQ(reading().linkBars, 5);
    EXPECT_TRUE(reading().linkIndicator);
    EXPECT_TRUE(reading().callIcon);
    EXPECT_EQ(reading().text(), "5551234567");
    lcd(LcdNumber, 0, 0, "");
    EXPECT_EQ(reading().linkBars, 5);
    EXPECT_EQ(cell(31), 0x10);
}

TEST_F(LcdTest, IconAndIndicatorKeepEachOther)
{
    lcd(LcdBars, 0, 3);
    lcd(LcdIcon, 7);
    EXPECT_EQ(cell(16), 0x11);
    lcd(LcdBars, 0, 0);
    EXPECT_EQ(cell(16), 0x01);
    lcd(LcdIcon, 0);
    EXPECT_EQ(cell(16), 0x00);
}

TEST_F(LcdTest, ClockShowsDateTimeAndWeekday)
{
    rig_.clock.local = localTime(2026, 12, 7, 9, 5, 1);
    lcd(LcdBars, 0, 4);
    lcd(LcdClock, 0, 0, nullptr, 1);
    const sim::LcdReading r = reading();
    EXPECT_EQ(r.digits, "12-07      0905");
    EXPECT_EQ(r.shown(), "12-07      09:05");
    EXPECT_TRUE(r.colon);
    EXPECT_FALSE(r.secondColon);
    EXPECT_EQ(r.weekday, 1);
    EXPECT_EQ(r.linkBars, 3);
    EXPECT_EQ(cell(24), 0xED | 0x10);  // "9" keeps the colon
    EXPECT_EQ(cell(22), 0xAD | 0x10);  // "5" with Monday's marker

    const std::vector<std::pair<int, std::pair<int, std::uint8_t>>> markers{
        {0, {23, 0x10}}, {2, {17, 0x01}}, {3, {18, 0x01}}, {4, {19, 0x01}}, {5, {20, 0x01}}, {6, {21, 0x01}}};
    for (const auto& [weekday, marker] : markers) {
        SCOPED_TRACE(weekday);
        rig_.clock.local = localTime(2026, 1, 31, 23, 59, weekday);
        lcd(LcdClock, 0, 0, nullptr, 1);
        EXPECT_EQ(reading().weekday, weekday);
        EXPECT_EQ(cell(marker.first) & marker.second, marker.second);
        EXPECT_EQ(reading().digits, "01-31      2359");
    }
}

TEST_F(LcdTest, ClockOffOnlyClearsTheDigits)
{
    lcd(LcdBars, 0, 7);
    lcd(LcdIcon, 1);
    lcd(LcdNumber, 0, 0, "42");
    lcd(LcdClock, 0, 0, nullptr, 0);
    EXPECT_EQ(reading().text(), "");
    EXPECT_EQ(reading().linkBars, 6);
    EXPECT_TRUE(reading().callIcon);
}

TEST_F(LcdTest, TimeTextFillsSixCellsWithBothSeparators)
{
    lcd(LcdTime, 0, 0, "12:34:56");
    const sim::LcdReading r = reading();
    EXPECT_EQ(r.digits, "         123456");
    EXPECT_EQ(r.shown(), "12:34:56");
    EXPECT_TRUE(r.colon);
    EXPECT_TRUE(r.secondColon);

    // A short text leaves the rest blank.
    lcd(LcdTime, 0, 0, "7");
    EXPECT_EQ(reading().digits, "         7     ");
    lcd(LcdTime);
    EXPECT_EQ(reading().text(), "");
}

TEST_F(LcdTest, AllOnAndClearCoverCellsSixteenToThirtyOne)
{
    lcd(LcdAllOn);
    EXPECT_TRUE(reading().allOn);
    const auto& on = handset_->written().back();
    for (int c = 0; c < 32; ++c) EXPECT_EQ(on[std::size_t(2 + c)], c < 16 ? 0x00 : 0xFF) << c;
    lcd(LcdClear);
    for (int c = 0; c < 32; ++c) EXPECT_EQ(cell(c), 0) << c;
    const std::size_t sent = handset_->written().size();
    EXPECT_EQ(lcd(99), 0);
    EXPECT_EQ(handset_->written().size(), sent);
}

TEST(LcdImage, GlyphsOfTheDisplay)
{
    const std::string chars = "0123456789#*+-";
    const std::vector<std::uint8_t> glyphs{0xEB, 0x60, 0xC7, 0xE5, 0x6C, 0xAD, 0xAF,
                                           0xE8, 0xEF, 0xED, 0x23, 0x26, 0x26, 0x04};
    for (std::size_t i = 0; i < chars.size(); ++i)
        EXPECT_EQ(LcdImage::glyph(chars[i]), glyphs[i]) << chars[i];
    EXPECT_EQ(LcdImage::glyph('\0'), 0x00);
    EXPECT_EQ(LcdImage::glyph('A'), 'A');
}

}  // namespace
}  // namespace tarnix::test
