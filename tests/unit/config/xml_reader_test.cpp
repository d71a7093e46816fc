#include "config/xml_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "config/sax_exception.h"
#include "recording_handler.h"

namespace tarnix::test {
namespace {

using Events = std::vector<std::string>;

Events parse(std::string_view xml, bool skipWhitespace = true, bool decode = true)
{
    RecordingHandler handler;
    XmlReader reader(&handler);
    MemoryStream stream(xml.data(), xml.size());
    reader.parse(stream, decode, skipWhitespace);
    return handler.events;
}

// Parses until the fault and returns the events reported before it.
Events parseExpectingFault(std::string_view xml)
{
    RecordingHandler handler;
    XmlReader reader(&handler);
    MemoryStream stream(xml.data(), xml.size());
    EXPECT_THROW(reader.parse(stream, true, true), SAXException) << xml;
    return handler.events;
}

struct EventCase {
    const char* name;
    std::string xml;
    Events events;
};

class XmlReaderEvents : public testing::TestWithParam<EventCase> {};

TEST_P(XmlReaderEvents, ReportsTheDocumentAsEvents)
{
    EXPECT_EQ(parse(GetParam().xml), GetParam().events);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, XmlReaderEvents,
    testing::Values(
        EventCase{"BytesBeforeFirstTagIgnored", "\xEF\xBB\xBFjunk<a></a>", {"doc", "<a>", "</a>", "/doc"}},
        EventCase{"EmptyElementStartsAndEnds",
                  "<r><Item ID='1'/></r>",
                  {"doc", "<r>", "<Item ID=1>", "</Item>", "</r>", "/doc"}},
        EventCase{"AttributesInDocumentOrderBothQuotes",
                  "<a x = \"1\"\ty='two' z=\"it's\">",
                  {"doc", "<a x=1 y=two z=it's>"}},
        EventCase{"EndTagWithBlankDoesNotEndTheRoot",
                  "<a></a ><b/></a>tail",
                  {"doc", "<a>", "</a >", "<b>", "</b>", "</a>", "/doc"}},
        EventCase{"NothingAfterRootEndIsRead", "<a></a><b>", {"doc", "<a>", "</a>", "/doc"}},
        EventCase{"References",
                  "<a v='&lt;&#65;&#x41;&#X41;&quot;&apos;&gt;&amp;'>&lt;&#65;&#x41;</a>",
                  {"doc", "<a v=<AAA\"'>&>", "text[<AA]", "</a>", "/doc"}},
        EventCase{"CharacterReferenceBeyondAsciiIsUtf8",
                  "<a v='&#20320;&#xe9;'/>",
                  {"doc", "<a v=\xE4\xBD\xA0\xC3\xA9>", "</a>"}},
        EventCase{
            "ReferenceNumbersReadLikeAtol", "<a v='&# 66;&#+67;&#68z;'/>", {"doc", "<a v=BCD>", "</a>"}},
        EventCase{"CdataReportedVerbatim",
                  "<a><![CDATA[x<y>&amp;]]]></a>",
                  {"doc", "<a>", "text[x<y>&amp;]]", "</a>", "/doc"}},
        EventCase{"CdataCutOffReportsWhatItHas", "<a><![CDATA[abc]]", {"doc", "<a>", "text[abc]]]"}},
        EventCase{"ProcessingInstructionsSkipped",
                  "<?xml version='1.0'?><a><?pi a > b ?></a>",
                  {"doc", "<a>", "</a>", "/doc"}},
        EventCase{"WhitespaceInsideTextKept",
                  "<a>  one two \n</a>",
                  {"doc", "<a>", "text[one two \n]", "</a>", "/doc"}},
        EventCase{"HighBytesAreOrdinary",
                  "<a v='\xFF\x80'>\xFF</a>",
                  {"doc", "<a v=\xFF\x80>", "text[\xFF]", "</a>", "/doc"}},
        EventCase{"AttributeWithoutEqualsDropsStartEventOnly",
                  "<r><a b><c/></a></r>",
                  {"doc", "<r>", "<c>", "</c>", "</a>", "</r>", "/doc"}},
        EventCase{"EmptyRootElementDoesNotEndTheDocument",
                  "<a/><b></b><a></a>",
                  {"doc", "<a>", "</a>", "<b>", "</b>", "<a>", "</a>", "/doc"}},
        EventCase{"InputEndingInsideTagsEndsQuietly", "<r><a x='1'", {"doc", "<r>"}},
        EventCase{"InputEndingInsideNameDropsTheTag", "<r><abc", {"doc", "<r>"}},
        EventCase{"NoTagAtAll", "just text", {}},
        EventCase{"LongNamesAndTextsGrowTheirBuffers",
                  "<r>" + std::string(5000, 'x') + "</r>",
                  {"doc", "<r>", "text[" + std::string(5000, 'x') + "]", "</r>", "/doc"}}),
    [](const testing::TestParamInfo<EventCase>& info) { return info.param.name; });

TEST(XmlReader, WhitespaceBetweenTagsReportedOnlyWhenNotSkipped)
{
    const std::string xml = "<a>\n\t<b/> </a>";
    EXPECT_EQ(parse(xml, false),
              (Events{"doc", "<a>", "text[\n\t]", "<b>", "</b>", "text[ ]", "</a>", "/doc"}));
    EXPECT_EQ(parse(xml, true), (Events{"doc", "<a>", "<b>", "</b>", "</a>", "/doc"}));
}

TEST(XmlReader, ReferencesKeptVerbatimWhenNotDecoding)
{
    EXPECT_EQ(parse("<a v='&bogus;'>&lt;</a>", true, false),
              (Events{"doc", "<a v=&bogus;>", "text[&lt;]", "</a>", "/doc"}));
}

TEST(XmlReader, MalformedInputThrowsAfterTheEventsBeforeIt)
{
    const std::vector<std::string> malformed = {
        "<r><!-- comment --></r>",  // only CDATA may follow "<!"
        "<r><![CDAT[x]]></r>",
        "<r><![CDATA[",  // ends right after the opening
        "<r><1/></r>",   // "<" before a byte that starts no name
        "<r>< a/></r>",
        "<r><a/ ></r>",    // "/" in a tag not followed by ">"
        "<r><a x=1></r>",  // unquoted value
        "<r><a x=></r>",
        "<r><a x='&amp'></r>",  // reference cut by the quote
        "<r>&amp</r>",          // reference cut by "<"
        "<r>&amp",              // reference cut by the end
        "<r>&nbsp;</r>",        // unknown entity
        "<r>&AMP;</r>",         // names are case-sensitive
        "<r>&#0;</r>",          // numbers that name no character
        "<r>&#;</r>",
        "<r>&#xD800;</r>",
        "<r>&#x110000;</r>",
        "<r>&#-65;</r>",
    };
    for (const std::string& xml : malformed) {
        EXPECT_EQ(parseExpectingFault(xml), (Events{"doc", "<r>"})) << xml;
    }
}

TEST(XmlReader, AttributesBeyondTwentyAreRefusedAndLongOnesKeptWhole)
{
    std::string twenty = "<a";
    for (int i = 0; i < 20; ++i) twenty += " n" + std::to_string(i) + "='v'";
    EXPECT_EQ(parse(twenty + "/>").size(), 3u);
    EXPECT_EQ(parseExpectingFault("<r>" + twenty + " extra='v'/>"), (Events{"doc", "<r>"}));

    // The pool grows with the tag: twenty long values at once keep every byte.
    std::string tag = "<a";
    std::string event = "<a";
    for (int i = 0; i < 20; ++i) {
        const std::string name = "n" + std::to_string(i);
        const std::string value(5000, static_cast<char>('a' + i));
        tag += " " + name + "='" + value + "'";
        event += " " + name + "=" + value;
    }
    EXPECT_EQ(parse(tag + "/>"), (Events{"doc", event + ">", "</a>"}));
}

TEST(XmlReader, RootNameSetByFirstStartTagAndKept)
{
    RecordingHandler handler;
    XmlReader reader(&handler);
    EXPECT_TRUE(reader.rootName().isEmpty());
    const std::string first = "<?xml?><Config><General/>";
    MemoryStream a(first.data(), first.size());
    reader.parse(a, true, true);
    EXPECT_EQ(reader.rootName(), Utf8String("Config"));
    const std::string second = "<Other/></Config>";
    MemoryStream b(second.data(), second.size());
    reader.parse(b, true, true);
    EXPECT_EQ(handler.events.back(), "/doc");
    EXPECT_EQ(std::count(handler.events.begin(), handler.events.end(), "doc"), 1);
}

TEST(XmlReader, WithoutHandlerEventsAreDropped)
{
    XmlReader reader(nullptr);
    const std::string xml = "<a x='1'>text<![CDATA[c]]><b/></a>";
    MemoryStream stream(xml.data(), xml.size());
    EXPECT_NO_THROW(reader.parse(stream, true, false));
    EXPECT_EQ(reader.rootName(), Utf8String("a"));
}

}  // namespace
}  // namespace tarnix::test
