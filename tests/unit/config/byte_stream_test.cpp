#include "config/byte_stream.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "temp_folder.h"

namespace tarnix::test {
namespace {

// Both kinds of stream must read the same bytes the same way.
class ByteStreamKinds : public testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        if (GetParam()) {
            folder_.write("data.bin", bytes_);
            stream_ = FileStream::open(folder_.file("data.bin"));
        } else {
            stream_ = std::make_unique<MemoryStream>(bytes_.data(), bytes_.size());
        }
        ASSERT_NE(stream_, nullptr);
    }

    const std::string bytes_ = std::string("ab\xFF\0cd", 6);
    TempFolder folder_;
    std::unique_ptr<ByteStream> stream_;
};

TEST_P(ByteStreamKinds, ReadsBytesAsUnsignedThenMinusOne)
{
    ByteStream& s = *stream_;
    EXPECT_EQ(s.size(), 6);
    EXPECT_TRUE(s.isSeekable());
    EXPECT_EQ(s.readByte(), 'a');
    EXPECT_EQ(s.readByte(), 'b');
    EXPECT_EQ(s.readByte(), 0xFF);
    EXPECT_EQ(s.readByte(), 0);
    EXPECT_EQ(s.tell(), 4);
    char rest[10] = {};
    EXPECT_EQ(s.read(rest, sizeof rest), 2u);
    EXPECT_EQ(std::string(rest, 2), "cd");
    EXPECT_TRUE(s.atEnd());
    EXPECT_EQ(s.readByte(), -1);
    EXPECT_EQ(s.readByte(), -1);
    EXPECT_EQ(s.read(rest, sizeof rest), 0u);
}

TEST_P(ByteStreamKinds, SeeksFromEachOrigin)
{
    ByteStream& s = *stream_;
    EXPECT_TRUE(s.seek(-2, ByteStream::FromEnd));
    EXPECT_EQ(s.readByte(), 'c');
    EXPECT_TRUE(s.seek(-3, ByteStream::FromCurrent));
    EXPECT_EQ(s.readByte(), 0xFF);
    EXPECT_TRUE(s.seek(1, ByteStream::FromStart));
    EXPECT_FALSE(s.atEnd());
    EXPECT_EQ(s.readByte(), 'b');
}

INSTANTIATE_TEST_SUITE_P(FileAndMemory, ByteStreamKinds, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "File" : "Memory";
                         });

TEST(MemoryStream, ClampsThePositionToTheBlock)
{
    const char data[] = "xyz";
    MemoryStream s(data, 3);
    EXPECT_TRUE(s.seek(-10, ByteStream::FromStart));
    EXPECT_EQ(s.tell(), 0);
    EXPECT_TRUE(s.seek(50, ByteStream::FromCurrent));
    EXPECT_EQ(s.tell(), 3);
    EXPECT_EQ(s.readByte(), -1);
}

TEST(FileStream, MissingFileGivesNoStream)
{
    TempFolder folder;
    EXPECT_EQ(FileStream::open(folder.file("absent.xml")), nullptr);
}

}  // namespace
}  // namespace tarnix::test
