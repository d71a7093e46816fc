#include "audio/mp3_source.h"

#include "mp3_test_support.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnix {
namespace {

// Alone in its program: the dither state is process-wide and must start fresh, as the player's
// does.
TEST(Mp3SourceDecoding, IsByteIdenticalToMadplayWithItsDither)
{
    const test::TempFolder folder;
    const std::string& dir = folder.path();
    test::encodeMessage(test::testSignal(48000 * 2), dir + "m.mp3");
    ASSERT_TRUE(
        test::run(std::string(MADPLAY_COMMAND) + " -q -o raw:" + dir + "madplay.raw " + dir + "m.mp3"));

    Mp3Source source;
    ASSERT_EQ(source.openSource(FileStream::open(dir + "m.mp3")), 1);
    std::vector<unsigned char> ours;
    std::vector<unsigned char> buffer(12800);
    int length = 12800;
    while (source.readPcm(buffer.data(), length) == 1) {
        ours.insert(ours.end(), buffer.begin(), buffer.begin() + length);
        length = 12800;
    }
    EXPECT_EQ(ours, test::readFile(dir + "madplay.raw"));
}

}  // namespace
}  // namespace tarnix
