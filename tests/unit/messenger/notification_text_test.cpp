#include "messenger/notification_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnix {
namespace {

std::vector<std::string> handles(std::string_view list)
{
    std::vector<std::string> out;
    for (const std::string_view handle : splitHandles(list)) out.emplace_back(handle);
    return out;
}

TEST(NotificationText, ContactListsSplitAtBlanksAndCommasPassingOverEmptyHandles)
{
    struct Case {
        const char* list;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"alice, bob", {"alice", "bob"}},
        {"  alice,,bob ,", {"alice", "bob"}},
        {"", {}},
        {" , ", {}},
        {"echo123", {"echo123"}},
        {"a\tb", {"a", "b"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(handles(c.list), c.expected) << c.list;
    }
}

TEST(NotificationText, TokensSkipRunsOfBlanksAndLeaveTheRest)
{
    std::string_view rest = "  12   STATUS  RINGING now";
    EXPECT_EQ(takeToken(rest), "12");
    EXPECT_EQ(takeToken(rest), "STATUS");
    EXPECT_EQ(skipBlanks(rest), "RINGING now");
    EXPECT_EQ(takeToken(rest), "RINGING");
    EXPECT_EQ(takeToken(rest), "now");
    EXPECT_EQ(takeToken(rest), "");
}

TEST(NotificationText, PrefixesIgnoreAsciiCaseOnly)
{
    EXPECT_TRUE(hasPrefixNoCase("mute on", "MUTE ON"));
    EXPECT_TRUE(hasPrefixNoCase("Call 5 STATUS x", "CALL "));
    EXPECT_FALSE(hasPrefixNoCase("CALLS 5", "CALL "));
    EXPECT_FALSE(hasPrefixNoCase("MUTE", "MUTE ON"));
    EXPECT_FALSE(equalsNoCase("\xc3\xa9", "\xc3\x89"));
}

}  // namespace
}  // namespace tarnix
