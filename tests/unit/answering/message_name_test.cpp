#include "answering/message_name.h"

#include <gtest/gtest.h>

namespace tarnix {
namespace {

TEST(MessageName, AHandleStandsInAFileNameOnlyAsHarmlessBytes)
{
    struct Case {
        const char* handle;
        std::string name;
    };
    const Case cases[] = {
        {"alice", "alice"}, {"bob+1.x-y_z", "bob+1.x-y_z"}, {"../../x", "_._.._x"},
        {"a/b", "a_b"},     {".hidden", "_hidden"},         {"gr\xc3\xbc\xc3\x9f", "gr____"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(fileNameHandle(Utf8String(c.handle)), c.name) << c.handle;
    EXPECT_EQ(fileNameHandle(Utf8String(std::string(300, 'a'))), std::string(kMaxHandleBytes, 'a'));
}

TEST(MessageName, TheStemIsTheHandleAndTheMomentAnsweringStarted)
{
    std::tm time{};
    time.tm_year = 105;
    time.tm_mon = 7;
    time.tm_mday = 9;
    time.tm_hour = 14;
    time.tm_min = 3;
    time.tm_sec = 7;
    EXPECT_EQ(messageFileStem(Utf8String("alice"), time), "alice2005-08-09#14-03-07");
    EXPECT_EQ(messageFileStem(Utf8String(), time), "2005-08-09#14-03-07");
}

}  // namespace
}  // namespace tarnix
