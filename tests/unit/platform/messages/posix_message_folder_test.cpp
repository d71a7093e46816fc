#include "platform/linux/messages/posix_message_folder.h"

#include "temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace tarnix::test {
namespace {

mode_t modeOf(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

TEST(PosixMessageFolder, IsMadeForTheUserAloneAndNeverReusesAName)
{
    TempFolder home;
    PosixMessageFolder folder(home.file("messages/"));
    ASSERT_TRUE(folder.prepare());
    EXPECT_EQ(modeOf(home.file("messages")), 0700u);
    EXPECT_TRUE(folder.prepare());

    // Two messages in the same second, and a third.
    const std::string stem = "alice2005-08-09#14-03-07";
    EXPECT_EQ(folder.reserve(stem), home.file("messages/" + stem + ".mp3"));
    EXPECT_EQ(folder.reserve(stem), home.file("messages/" + stem + "-2.mp3"));
    EXPECT_EQ(folder.reserve(stem), home.file("messages/" + stem + "-3.mp3"));
    EXPECT_EQ(modeOf(home.file("messages/" + stem + ".mp3")), 0600u);

    EXPECT_TRUE(folder.remove(home.file("messages/" + stem + "-2.mp3")));
    EXPECT_FALSE(home.exists("messages/" + stem + "-2.mp3"));
    EXPECT_EQ(folder.reserve(stem), home.file("messages/" + stem + "-2.mp3"));
}

TEST(PosixMessageFolder, AFolderThatCannotBeMadeTakesNoMessage)
{
    TempFolder home;
    home.write("messages", "a file where the folder should be");
    PosixMessageFolder folder(home.file("messages/"));
    EXPECT_FALSE(folder.prepare());
    EXPECT_EQ(folder.reserve("bob2005-08-09#14-03-07"), "");
}

}  // namespace
}  // namespace tarnix::test
