#include "platform/linux/hid/report_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnix {
namespace {

struct DescriptorCase {
    std::string name;
    std::vector<std::uint8_t> descriptor;
    ReportLayout expected;
};

// Vendor page, one application collection: 8 input bytes, 33 output bytes, no report ids.
const std::vector<std::uint8_t> kUnnumbered = {
    0x06, 0x00, 0xFF,        // usage page (vendor)
    0x09, 0x01,              // usage
    0xA1, 0x01,              // collection (application)
    0x15, 0x00,              // logical minimum 0
    0x26, 0xFF, 0x00,        // logical maximum 255
    0x75, 0x08,              // report size 8
    0x95, 0x08,              // report count 8
    0x09, 0x01, 0x81, 0x02,  // input
    0x95, 0x21,              // report count 33
    0x09, 0x02, 0x91, 0x02,  // output
    0xC0,                    // end collection
};

// Report 1: 4 input bytes; report 2: 6 input bytes and 2 output bytes; report 3: 5 output bytes.
const std::vector<std::uint8_t> kNumbered = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x01, 0x75,
    0x08, 0x95, 0x04, 0x81, 0x02,                                // id 1: input 4 x 8
    0x85, 0x02, 0x95, 0x06, 0x81, 0x02, 0x95, 0x02, 0x91, 0x02,  // id 2: input 6, output 2
    0x85, 0x03, 0x95, 0x05, 0x91, 0x02,                          // id 3: output 5
    0xC0,
};

std::vector<DescriptorCase> cases()
{
    return {
        {"Empty", {}, {0, 0, false}},
        {"UnnumberedAddsTheIdByte", kUnnumbered, {9, 34, false}},
        {"NumberedTakesTheLargestReportOfEachKind", kNumbered, {7, 6, true}},
        // Bits add up across main items of the same report and round up to whole bytes:
        // 3 x 1 bit of buttons, 5 bits of padding, then 2 x 16 bits = 5 bytes.
        {"MixedSizesRoundUpToBytes",
         {0xA1, 0x01, 0x75, 0x01, 0x95, 0x03, 0x81, 0x02, 0x75, 0x05, 0x95,
          0x01, 0x81, 0x03, 0x75, 0x10, 0x95, 0x02, 0x81, 0x02, 0xC0},
         {6, 0, false}},
        {"ElevenBitsTakeTwoBytes", {0x75, 0x0B, 0x95, 0x01, 0x81, 0x02}, {3, 0, false}},
        // Two-byte and four-byte data items: report count 0x0100 of 1 byte each.
        {"WideItemDataIsLittleEndian", {0x75, 0x08, 0x96, 0x00, 0x01, 0x91, 0x02}, {0, 257, false}},
        {"FourByteItemData", {0x77, 0x08, 0x00, 0x00, 0x00, 0x95, 0x02, 0x81, 0x02}, {3, 0, false}},
        // Feature reports do not count towards input or output lengths.
        {"FeatureReportsAreIgnored",
         {0x75, 0x08, 0x95, 0x40, 0xB1, 0x02, 0x95, 0x02, 0x81, 0x02},
         {3, 0, false}},
        // A long item whose data happens to look like an input item must be skipped whole.
        {"LongItemsAreSkipped",
         {0x75, 0x08, 0x95, 0x04, 0xFE, 0x03, 0x10, 0x81, 0x02, 0x95, 0x81, 0x02},
         {5, 0, false}},
        // Push saves size and count; the pop brings back 2 x 8 bits for the output.
        {"PushAndPopRestoreGlobals",
         {0x75, 0x08, 0x95, 0x02, 0xA4, 0x95, 0x10, 0x81, 0x02, 0xB4, 0x91, 0x02},
         {17, 3, false}},
        {"PopWithoutPushIsHarmless", {0xB4, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02}, {2, 0, false}},
        // The walk stops at an item whose data runs past the end; what came before counts.
        {"TruncatedItemEndsTheWalk", {0x75, 0x08, 0x95, 0x03, 0x81, 0x02, 0x96, 0x01}, {4, 0, false}},
        {"TruncatedLongItemEndsTheWalk", {0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xFE}, {2, 0, false}},
        // The same report id in two places is one report: its bits add up.
        {"SameIdInTwoPlacesIsOneReport",
         {0x85, 0x05, 0x75, 0x08, 0x95, 0x02, 0x81, 0x02, 0x85, 0x06, 0x81, 0x02, 0x85, 0x05, 0x81, 0x02},
         {5, 0, true}},
    };
}

class ReportLayoutFromDescriptor : public testing::TestWithParam<DescriptorCase> {};

TEST_P(ReportLayoutFromDescriptor, GivesTheLengthsWindowsReports)
{
    const DescriptorCase& c = GetParam();
    EXPECT_EQ(parseReportLayout(c.descriptor), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Descriptors, ReportLayoutFromDescriptor, testing::ValuesIn(cases()),
                         [](const testing::TestParamInfo<DescriptorCase>& info) { return info.param.name; });

}  // namespace
}  // namespace tarnix
