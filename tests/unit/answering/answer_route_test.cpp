// The route's sound on fake devices: which cable end opens when, and what is left on disk.
#include "answering/answer_route.h"

#include "fake_wave_devices.h"
#include "platform/linux/messages/posix_message_folder.h"
#include "temp_folder.h"
#include "wav_bytes.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tarnix::test {
namespace {

constexpr int kGreetingRate = 8000;
constexpr int kCable1Out = 2;
constexpr int kCable2In = 1;

class AnswerRouteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        devices.outputs = {"Speakers", "USB Audio Device", "Virtual Cable 1 Out"};
        devices.inputs = {"Microphone", "Virtual Cable 2 In"};
        devices.instantPlayback = true;
        const std::vector<unsigned char> wav =
            WavBytes().format(1, kGreetingRate, 16).chunk("data", ramp(3200)).file();
        home.write("greeting.wav", std::string(wav.begin(), wav.end()));
        ASSERT_TRUE(folder.prepare());
    }
    std::string message() { return folder.reserve("alice2005-08-09#14-03-07"); }
    // The rate of each device opened, in order: the greeting's or the recorder's 48000.
    std::vector<std::uint32_t> openedRates()
    {
        std::vector<std::uint32_t> rates;
        for (std::size_t i = 0; i < devices.openedCount(); ++i) {
            rates.push_back(devices.opened(i)->format.samplesPerSecond);
        }
        return rates;
    }

    TempFolder home;
    FakeWaveDevices devices;
    SoundPlayer greeting{devices};
    PosixMessageFolder folder{home.file("messages/")};
    AnswerRoute route{devices, greeting, folder};
};

TEST_F(AnswerRouteTest, RecordingStartsOnCable2WhenTheGreetingOnCable1Ends)
{
    ASSERT_EQ(route.startAnswering(home.file("greeting.wav"), message()), 1);
    ASSERT_TRUE(waitUntil([&] { return devices.openedCount() == 2; }));
    EXPECT_EQ(devices.opened(0)->id, kCable1Out);
    EXPECT_EQ(devices.opened(0)->format.samplesPerSecond, static_cast<std::uint32_t>(kGreetingRate));
    EXPECT_EQ(devices.opened(1)->id, kCable2In);
    EXPECT_EQ(devices.opened(1)->format.samplesPerSecond, 48000u);
    EXPECT_EQ(route.startAnswering(home.file("greeting.wav"), message()), 0) << "busy";
    EXPECT_EQ(route.stopAnswering(), 1);
}

TEST_F(AnswerRouteTest, WithoutAGreetingThatReadsRecordingStartsAtOnce)
{
    // A greeting that played before must not lend its tail to a later, unreadable one.
    route.startAnswering(home.file("greeting.wav"), message());
    ASSERT_TRUE(waitUntil([&] { return devices.openedCount() == 2; }));
    route.stopAnswering();

    home.write("not-a-wave.wav", "plain text");
    struct Case {
        const char* name;
        std::string greeting;
    };
    for (const Case& c : {Case{"none", ""}, Case{"missing", home.file("gone.wav")}}) {
        SCOPED_TRACE(c.name);
        const std::size_t before = devices.openedCount();
        ASSERT_EQ(route.startAnswering(c.greeting, message()), 1);
        EXPECT_EQ(devices.openedCount(), before + 1);
        EXPECT_EQ(devices.opened(before)->id, kCable2In);
        EXPECT_EQ(route.stopAnswering(), 1);
    }
    // Not a WAV file: nothing to hear, and recording follows at once.
    const std::size_t before = devices.openedCount();
    ASSERT_EQ(route.startAnswering(home.file("not-a-wave.wav"), message()), 1);
    ASSERT_TRUE(waitUntil([&] { return openedRates().back() == 48000u && devices.openedCount() > before; }));
    route.stopAnswering();
}

TEST_F(AnswerRouteTest, AMissingCableEndIsNeverReplacedByTheDefaultDevice)
{
    for (int missing = 0; missing < 2; ++missing) {
        SCOPED_TRACE(missing);
        devices.outputs = {"Speakers", missing == 0 ? "Line Out" : "Virtual Cable 1 Out"};
        devices.inputs = {missing == 1 ? "Line In" : "Virtual Cable 2 In"};
        EXPECT_FALSE(route.findDevices());
        EXPECT_EQ(route.startAnswering("", message()), 0);
        EXPECT_FALSE(route.busy());
    }
    EXPECT_EQ(devices.openedCount(), 0u);
}

TEST_F(AnswerRouteTest, ACallerWhoHangsUpDuringTheGreetingLeavesNoFile)
{
    devices.instantPlayback = false;
    const std::string path = message();
    ASSERT_EQ(route.startAnswering(home.file("greeting.wav"), path), 1);
    ASSERT_TRUE(waitUntil([&] { return devices.openedCount() == 1; }));
    EXPECT_EQ(route.stopAnswering(), 0);
    EXPECT_EQ(devices.openedCount(), 1u) << "the recorder never opened";
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(AnswerRouteTest, ARecordedMessageIsKept)
{
    const std::string path = message();
    ASSERT_EQ(route.startAnswering("", path), 1);
    ASSERT_TRUE(waitUntil([&] { return devices.openedCount() == 1; }));
    const std::shared_ptr<FakeDeviceState> input = devices.opened(0);
    input->completeNext(6);
    // Taken, handed to the recorder and queued again.
    ASSERT_TRUE(waitUntil([&] {
        std::lock_guard guard(input->lock);
        return input->toComplete.empty() && input->held.size() == Mp3Recorder::BlockCount;
    }));
    EXPECT_EQ(route.stopAnswering(), 1);
    EXPECT_GT(std::filesystem::file_size(path), 0u);
}

}  // namespace
}  // namespace tarnix::test
