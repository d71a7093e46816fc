#include "base/product_name.h"

#include <gtest/gtest.h>

#include <string>

namespace tarnix {
namespace {

TEST(ProductName, FirstLineCutTo31BytesWithoutSplittingACharacter)
{
    EXPECT_EQ(productName("USB Audio Device, USB Audio\nDirect hardware device"),
              "USB Audio Device, USB Audio");
    const std::string exact(31, 'a');
    EXPECT_EQ(productName(exact), exact);
    EXPECT_EQ(productName(exact + "bc"), exact);
    // Three-byte characters: ten of them fill 30 bytes, the eleventh would cross the limit.
    const std::string builtIn = "内置音频内置音频内置音频";
    EXPECT_EQ(productName(builtIn), "内置音频内置音频内置");
    // A four-byte character across the limit goes whole.
    EXPECT_EQ(productName(std::string(29, 'a') + "\xF0\x9F\x8E\xA7 Headset"), std::string(29, 'a'));
    EXPECT_EQ(productName(""), "");
}

}  // namespace
}  // namespace tarnix
