#include "config/locale_table.h"

#include <gtest/gtest.h>

#include <string>

#include "config/byte_stream.h"
#include "temp_folder.h"

namespace tarnix::test {
namespace {

constexpr std::string_view kLocale =
    "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<Locale>\n"
    "  <Item ID=\"2001\" Name=\"Options\" Enable=\"1\">\n"
    "    <English value=\"Options\"/>\n"
    "    <SimpleChinese value=\"\xE9\x80\x89\xE9\xA1\xB9\"/>\n"
    "    <TraditionalChinese value=\"\xE9\x81\xB8\xE9\xA0\x85\"/>\n"
    "  </Item>\n"
    "  <Item ID=\"65539\" Enable=\"0\">\n"
    "    <English value=\"&amp;File\"/>\n"
    "    <TraditionalChinese value=\"\xE6\xAA\x94\xE6\xA1\x88(&amp;F)\"/>\n"
    "  </Item>\n"
    "  <Item ID=\"2001\"><English value=\"Second\"/></Item>\n"
    "  <Other ID=\"5\"><English value=\"ignored\"/></Other>\n"
    "  loose text\n"
    "</Locale>";

LocaleTable loaded(std::string_view xml)
{
    LocaleTable table;
    MemoryStream stream(xml.data(), xml.size());
    table.load(stream);
    return table;
}

TEST(LocaleTable, TextsByIdInEachLanguageWithoutFallBack)
{
    LocaleTable table = loaded(kLocale);
    struct Case {
        std::int32_t language;
        std::u16string options;
        std::u16string file;
    };
    const Case cases[] = {
        {0, u"Options", u"&File"},
        {1, u"\u9009\u9879", u""},  // no SimpleChinese text: empty, not the English one
        {2, u"\u9078\u9805", u"\u6A94\u6848(&F)"},
        {5, u"Options", u"&File"},  // any other number is English
        {-1, u"Options", u"&File"},
    };
    for (const Case& c : cases) {
        table.setLanguage(c.language);
        EXPECT_EQ(table.LocaleText(2001, u"default"), c.options) << c.language;
        EXPECT_EQ(table.LocaleText(65539, u"&File"), c.file) << c.language;
        EXPECT_EQ(table.LocaleText(150, u"VEZ Main Window"), u"VEZ Main Window") << c.language;
    }
}

TEST(LocaleTable, FirstItemOfAnIdWinsAndOtherElementsAreIgnored)
{
    const LocaleTable table = loaded(kLocale);
    EXPECT_EQ(table.size(), 2u);
    const LocaleItem* item = table.FindLocaleItem(2001);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->english, u"Options");
    EXPECT_EQ(item->enable, 1);
    EXPECT_EQ(table.FindLocaleItem(65539)->enable, 0);
    EXPECT_EQ(table.FindLocaleItem(5), nullptr);
}

TEST(LocaleTable, MalformedFileKeepsTheItemsBeforeTheFault)
{
    const LocaleTable table = loaded(
        "<L><Item ID='1'><English value='one'/></Item>"
        "<Item ID='2'><English value='two &nbsp;'/></Item>"
        "<Item ID='3'><English value='three'/></Item></L>");
    EXPECT_EQ(table.size(), 1u);
    EXPECT_NE(table.FindLocaleItem(1), nullptr);
    EXPECT_EQ(table.FindLocaleItem(3), nullptr);
}

TEST(LocaleTable, LoadLocaleReadsTheProgramFolderOrKeepsTheTable)
{
    TempFolder folder;
    LocaleTable table;
    EXPECT_FALSE(table.LoadLocale(folder.path()));
    EXPECT_EQ(table.size(), 0u);

    folder.write("locale.xml", kLocale);
    EXPECT_TRUE(table.LoadLocale(folder.path()));
    EXPECT_EQ(table.size(), 2u);

    folder.write("locale.xml", "<L><Item ID='7'/></L>");
    EXPECT_TRUE(table.LoadLocale(folder.path()));  // a new load replaces the table
    EXPECT_EQ(table.size(), 1u);
    EXPECT_NE(table.FindLocaleItem(7), nullptr);
}

TEST(LocaleTable, ShippedFileHasEveryTextInEveryLanguage)
{
    LocaleTable table;
    ASSERT_TRUE(table.LoadLocale(TARNIX_RESOURCES_DIR "/"));
    for (const std::int32_t id :
         {103, 150, 2001, 65539, 65540, 65542, 65543, 65544, 65545, 65546, 65547, 65548}) {
        const LocaleItem* item = table.FindLocaleItem(id);
        ASSERT_NE(item, nullptr) << id;
        EXPECT_FALSE(item->english.empty()) << id;
        EXPECT_FALSE(item->simpleChinese.empty()) << id;
        EXPECT_FALSE(item->traditionalChinese.empty()) << id;
        EXPECT_NE(item->simpleChinese, item->english) << id;
    }
}

}  // namespace
}  // namespace tarnix::test
