#include "config/utf8_string.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/text_utils.h"

namespace tarnix::test {
namespace {

TEST(Utf8String, EmptyStringsAllShareOneUncountedBlock)
{
    const Utf8String a;
    const Utf8String b("");
    const Utf8String c("xyz", 0);
    const Utf8String d(nullptr, 5);
    const Utf8String e("xyz", -1);
    for (const Utf8String* s : {&b, &c, &d, &e}) {
        EXPECT_TRUE(s->sharesBlockWith(a));
        EXPECT_TRUE(s->isEmpty());
        EXPECT_STREQ(s->c_str(), "");
    }
    Utf8String f = Utf8String("abc");
    f.clear();
    EXPECT_TRUE(f.sharesBlockWith(a));
    // Copying and dropping empties many times must not disturb the static block.
    std::vector<Utf8String> copies(1000, a);
    copies.clear();
    EXPECT_EQ(a.length(), 0);
}

TEST(Utf8String, CopiesShareTheBlockAndOutliveTheOriginal)
{
    std::vector<Utf8String> copies;
    {
        const Utf8String original("shared text");
        copies.assign(3, original);
        Utf8String assigned;
        assigned = original;
        const Utf8String& self = assigned;
        assigned = self;  // self-assignment keeps the text
        EXPECT_TRUE(assigned.sharesBlockWith(original));
        copies.push_back(std::move(assigned));
    }
    for (const Utf8String& s : copies) {
        EXPECT_STREQ(s.c_str(), "shared text");
        EXPECT_TRUE(s.sharesBlockWith(copies[0]));
    }
}

TEST(Utf8String, BytesAndLengthKeepEmbeddedBytes)
{
    const Utf8String s("ab\0cd", 5);
    EXPECT_EQ(s.length(), 5);
    EXPECT_EQ(s.view(), std::string_view("ab\0cd", 5));
    EXPECT_EQ(s.c_str()[5], '\0');
}

TEST(Utf8String, EqualityAndComparisons)
{
    EXPECT_EQ(Utf8String("abc"), Utf8String("abc"));
    EXPECT_FALSE(Utf8String("abc") == Utf8String("abd"));
    EXPECT_FALSE(Utf8String("ab") == Utf8String("abc"));

    struct Case {
        const char* mine;
        const char* other;
        int compare;
        int compareNoCase;
    };
    const std::vector<Case> cases = {
        {"abc", "abc", 0, 0}, {"abc", "abd", -1, -1},   {"abd", "abc", 1, 1},     {"ab", "abc", -1, -1},
        {"abc", "ab", 1, 1},  {"ABC", "abc", -1, 0},    {"Zeta", "alpha", -1, 1}, {"\xC3\xA9", "z", 1, 1},
        {"", "", 0, 0},       {"abc", nullptr, -1, -1}, {"", nullptr, -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8String(c.mine).compare(c.other), c.compare) << c.mine;
        EXPECT_EQ(Utf8String(c.mine).compareNoCase(c.other), c.compareNoCase) << c.mine;
    }
}

TEST(Utf8String, ConcatenationBuildsANewBlock)
{
    const Utf8String a("left ");
    const Utf8String b("right");
    const Utf8String joined = a + b;
    EXPECT_STREQ(joined.c_str(), "left right");
    EXPECT_EQ(joined.length(), 10);
    EXPECT_STREQ(a.c_str(), "left ");
    EXPECT_STREQ((Utf8String() + Utf8String()).c_str(), "");
    EXPECT_STREQ((a + Utf8String()).c_str(), "left ");
}

TEST(Utf8String, IntegersReadAsAtolDoesWithoutOverflow)
{
    const std::vector<std::pair<const char*, std::int32_t>> cases = {
        {"42", 42},
        {"  -17x", -17},
        {"+8", 8},
        {"\t\n 5", 5},
        {"abc", 0},
        {"", 0},
        {"- 3", 0},
        {"12 34", 12},
        {"2147483647", 2147483647},
        {"99999999999999999999", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"-99999999999999999999", -2147483647 - 1},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(Utf8String(text).toInteger(), value) << text;
    }
    EXPECT_EQ(leadingInteger(nullptr), 0);
}

TEST(TextConversion, WideAndUtf8RoundTrip)
{
    const std::u16string wide = u"A\u00E9\u4F60\U0001F600 z";
    const Utf8String narrow = fromWide(wide);
    EXPECT_EQ(narrow.view(), "A\xC3\xA9\xE4\xBD\xA0\xF0\x9F\x98\x80 z");
    EXPECT_EQ(toWide(narrow), wide);
    EXPECT_EQ(fromWide(wide.c_str()), narrow);
    EXPECT_EQ(fromWide(wide.data(), 2).view(), "A\xC3\xA9");
    EXPECT_TRUE(fromWide(wide.data(), 0).isEmpty());
    EXPECT_TRUE(fromWide(nullptr).isEmpty());
    EXPECT_TRUE(toWide(Utf8String()).empty());
}

TEST(TextConversion, ToWideStopsAtTheFirstNul)
{
    EXPECT_EQ(toWide(Utf8String("ab\0cd", 5)), u"ab");
}

TEST(TextConversion, MalformedInputBecomesReplacementCharacters)
{
    const std::vector<std::pair<std::string, std::u16string>> utf8 = {
        {"a\x80z", u"a\uFFFDz"},          // stray continuation byte
        {"\xC0\xAF", u"\uFFFD\uFFFD"},    // overlong lead
        {"\xE0\x80\xAF", u"\uFFFD"},      // overlong three-byte form
        {"\xED\xA0\x80", u"\uFFFD"},      // encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD"},  // above U+10FFFF
        {"\xE4\xBD", u"\uFFFD"},          // cut off
        {"\xE4z", u"\uFFFDz"},            // cut by an ASCII byte, which stays
        {"\xFF", u"\uFFFD"},
    };
    for (const auto& [bytes, wide] : utf8) {
        EXPECT_EQ(toWide(std::string_view(bytes)), wide) << bytes;
    }
    const std::u16string unpaired = {u'a', char16_t(0xD800), u'b', char16_t(0xDC00)};
    EXPECT_EQ(fromWide(unpaired).view(),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");
}

TEST(XmlEscape, EscapesTheFiveSpecialsAndSharesUnchangedText)
{
    const Utf8String plain("C:/tones/ring.wav \xE4\xBD\xA0");
    EXPECT_TRUE(xmlEscape(plain).sharesBlockWith(plain));
    EXPECT_TRUE(xmlEscape(Utf8String()).isEmpty());
    EXPECT_STREQ(xmlEscape("&").c_str(), "&amp;");
    EXPECT_STREQ(xmlEscape("a<b>c\"d'e&f").c_str(), "a&lt;b&gt;c&quot;d&apos;e&amp;f");
}

}  // namespace
}  // namespace tarnix::test
