#include "audio/device_lookup.h"
#include "audio/lame_encoder.h"
#include "audio/mixer_volume.h"
#include "audio/mp3_recorder.h"
#include "audio/mp3_source.h"
#include "audio/sound_in_channel.h"
#include "audio/sound_out_channel.h"
#include "audio/sound_player.h"
#include "audio/wave_resources.h"
#include "fake_wave_devices.h"
#include "mp3_test_support.h"
#include "platform/linux/alsa/alsa_audio_ports.h"
#include "platform/linux/alsa/alsa_wave_devices.h"
#include "recording_sound_sink.h"
#include "temp_folder.h"

#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

namespace tarnix {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using test::RecordingSoundSink;
using test::waitUntil;

// Named PCMs in an asoundrc under a private HOME: file-backed devices for exact content and
// clock-paced ones where timing and completion matter.
class AlsaAudio : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        writeAsoundrc("");
        ::setenv("HOME", home().c_str(), 1);
    }

    // first: PCMs listed ahead of the others. Written beside and renamed into place, so ALSA
    // sees a new file even within the same second.
    static void writeAsoundrc(const std::string& first)
    {
        const fs::path rc = home() / ".asoundrc";
        const fs::path next = home() / ".asoundrc.next";
        std::ofstream out(next);
        out << "pcm_type.testclock { lib \"" << TESTCLOCK_PLUGIN << "\" }\n"
            << first
            << "pcm.speakers { type testclock hint { show on description \"Speakers\nBuilt-in output\" } }\n"
            << filePcm("handset", "USB Audio Device|IOIDOutput")
            << filePcm("cable1", "Virtual Cable 1 Out|IOIDOutput")
            << "pcm.cable2 { type testclock hint { show on description \"Virtual Cable 2 In "
               "(Test)|IOIDInput\" } }\n"
            << "pcm.paced { type testclock hint { show on description \"Paced test device|IOIDOutput\" } }\n"
            << "pcm.mic { type file slave.pcm { type null } file \"" << (home() / "mic-copy.raw").string()
            << "\" infile \"" << (home() / "mic.raw").string()
            << "\" format \"raw\" hint { show on description \"Test Microphone|IOIDInput\" } }\n";
        out.close();
        fs::rename(next, rc);
    }

    // Removed, with everything in it, when the program ends.
    static fs::path home()
    {
        static const test::TempFolder folder;
        return folder.path();
    }

    static std::string filePcm(const std::string& name, const std::string& description)
    {
        return "pcm." + name + R"( { type file slave.pcm { type null } file ")" +
               (home() / (name + ".raw")).string() + R"(" format "raw" hint { show on description ")" +
               description + "\" } }\n";
    }

    static std::vector<unsigned char> contents(const std::string& name)
    {
        return test::readFile((home() / (name + ".raw")).string());
    }

    std::unique_ptr<AlsaWaveDevices> devices = std::make_unique<AlsaWaveDevices>();
};

TEST_F(AlsaAudio, ListsTheConfiguredDevicesByProductName)
{
    const int handset = findHandsetOutput(*devices);
    ASSERT_GE(handset, 0);
    std::string name;
    ASSERT_TRUE(devices->outputName(handset, name));
    EXPECT_EQ(name, "USB Audio Device");

    // The system's own configuration may list cards first; ours follow in file order. A sound
    // server's route to its default is no device, server or not.
    std::vector<std::string> names;
    for (int id = 0; id < devices->outputCount(); ++id) {
        if (devices->outputName(id, name)) names.push_back(name);
    }
    EXPECT_EQ(std::find(names.begin(), names.end(), "PulseAudio Sound Server"), names.end());
    const auto speakers = std::find(names.begin(), names.end(), "Speakers");  // first line only
    ASSERT_NE(speakers, names.end());
    EXPECT_EQ(*(speakers + 1), "USB Audio Device");
    const int computer = findComputerOutput(*devices);
    ASSERT_GE(computer, 0);
    ASSERT_TRUE(devices->outputName(computer, name));
    EXPECT_EQ(name.find("USB"), std::string::npos);

    EXPECT_GE(findOutputByName(*devices, "virtual cable 1 out"), 0);
    EXPECT_GE(findInputByName(*devices, "Virtual Cable 2 In"), 0);
    EXPECT_EQ(findInputByName(*devices, "Virtual Cable 1 Out"), -1);  // an output only
    EXPECT_EQ(findOutputByName(*devices, "No Such Device"), -1);
}

TEST_F(AlsaAudio, ListsStayAsReadUntilSoundDevicesComeOrGo)
{
    const int count = devices->outputCount();
    const int handset = findHandsetOutput(*devices);
    ASSERT_GE(handset, 0);

    // A device appears ahead of the handset: until udev tells of it, ids and opens stay put.
    writeAsoundrc(filePcm("headset", "Late Headset|IOIDOutput"));
    EXPECT_EQ(devices->outputCount(), count);
    std::string name;
    ASSERT_TRUE(devices->outputName(handset, name));
    EXPECT_EQ(name, "USB Audio Device");
    {
        SoundPlayer player(*devices);
        player.setDeviceId(handset);
        ASSERT_EQ(player.loadWavResource(KeyToneResources[3]), 1);
        player.play(nullptr, false);
        ASSERT_TRUE(waitUntil([&] { return !player.isRunning(); }, std::chrono::seconds(3)));
        player.stopPlayback();
    }
    const auto tone = findWaveResource(KeyToneResources[3]);
    EXPECT_EQ(contents("handset"), std::vector<unsigned char>(tone.begin() + 44, tone.end()));
    EXPECT_TRUE(contents("headset").empty());

    // Told of the change, the reader lists again; queries see the new lists once read.
    devices->devicesChanged();
    ASSERT_TRUE(waitUntil([&] { return devices->outputCount() == count + 1; }));
    EXPECT_EQ(findHandsetOutput(*devices), handset + 1);
    EXPECT_GE(findOutputByName(*devices, "Late Headset"), 0);

    writeAsoundrc("");
    devices->devicesChanged();
    ASSERT_TRUE(waitUntil([&] { return findOutputByName(*devices, "Late Headset") == -1; }));
    EXPECT_EQ(findHandsetOutput(*devices), handset);
}

TEST_F(AlsaAudio, PlaybackDeliversTheExactBytesInOrder)
{
    std::vector<unsigned char> sent;
    {
        SoundOutChannel channel(*devices);
        channel.setBuffers(4410, 2);
        ASSERT_EQ(channel.open(findOutputByName(*devices, "Virtual Cable 1 Out"), 1, 22050, 16), 1);
        for (int block = 0; block < 5; ++block) {
            std::vector<unsigned char> bytes(4410);
            for (std::size_t i = 0; i < bytes.size(); ++i)
                bytes[i] = static_cast<unsigned char>(static_cast<std::size_t>(block) * 7 + i);
            ASSERT_TRUE(
                waitUntil([&] { return channel.write(bytes.data(), 4410) == 1; }, std::chrono::seconds(2)));
            sent.insert(sent.end(), bytes.begin(), bytes.end());
        }
        ASSERT_TRUE(waitUntil([&] { return channel.allDone(); }, std::chrono::seconds(2)));
        channel.close();
    }
    EXPECT_EQ(contents("cable1"), sent);
}

TEST_F(AlsaAudio, KeyToneReachesTheHandsetWhole)
{
    SoundPlayer player(*devices);
    player.setDeviceId(findHandsetOutput(*devices));
    ASSERT_EQ(player.loadWavResource(KeyToneResources[5]), 1);
    player.play(nullptr, false);
    ASSERT_TRUE(waitUntil([&] { return !player.isRunning(); }, std::chrono::seconds(3)));
    player.stopPlayback();
    const auto tone = findWaveResource(KeyToneResources[5]);
    EXPECT_EQ(contents("handset"), std::vector<unsigned char>(tone.begin() + 44, tone.end()));
}

TEST_F(AlsaAudio, PacedPlaybackCompletesSlotsAsTheyArePlayed)
{
    SoundOutChannel channel(*devices);
    channel.setBuffers(1600, 2);  // 100 ms each at 8000 Hz, 16-bit mono
    ASSERT_EQ(channel.open(findOutputByName(*devices, "Paced test device"), 1, 8000, 16), 1);
    const std::vector<unsigned char> block(1600, 0x11);
    const auto started = Clock::now();
    ASSERT_EQ(channel.write(block.data(), 1600), 1);
    ASSERT_EQ(channel.write(block.data(), 1600), 1);
    EXPECT_EQ(channel.write(block.data(), 1600), 0);
    EXPECT_FALSE(channel.allDone());

    // The first slot frees after about 100 ms of playing, not at once.
    ASSERT_TRUE(waitUntil([&] { return channel.write(block.data(), 1600) == 1; }, std::chrono::seconds(2)));
    EXPECT_GE(Clock::now() - started, std::chrono::milliseconds(80));
    EXPECT_FALSE(channel.allDone());
    ASSERT_TRUE(waitUntil([&] { return channel.allDone(); }, std::chrono::seconds(2)));
    EXPECT_GE(Clock::now() - started, std::chrono::milliseconds(250));

    // After the device ran dry it plays again.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_EQ(channel.write(block.data(), 1600), 1);
    EXPECT_FALSE(channel.allDone());
    EXPECT_TRUE(waitUntil([&] { return channel.allDone(); }, std::chrono::seconds(2)));
    channel.close();
}

TEST_F(AlsaAudio, CaptureHandsOnFullSlotsWithoutLosingFrames)
{
    RecordingSoundSink sink;
    SoundInChannel channel(*devices);
    channel.setBuffers(480, 50);  // 30 ms each at 8000 Hz, 16-bit mono
    channel.setSink(&sink);
    ASSERT_EQ(channel.open(findInputByName(*devices, "Virtual Cable 2 In"), 1, 8000, 16), 1);
    ASSERT_TRUE(waitUntil([&] { return sink.blocks().size() >= 10; }, std::chrono::seconds(3)));
    channel.close();

    for (const auto& block : sink.blocks()) EXPECT_EQ(block.size(), 480u);
    const std::vector<std::uint16_t> samples = sink.samples();
    for (std::size_t i = 1; i < samples.size(); ++i) {
        ASSERT_EQ(static_cast<std::uint16_t>(samples[i] - samples[i - 1]), 1) << i;
    }
}

TEST_F(AlsaAudio, RecordedMessageDecodesBackToTheCapturedSound)
{
    constexpr int rate = Mp3Encoder::SampleRate;
    constexpr std::size_t lead = 14880;  // 6.2 capture blocks of silence before the tone
    const auto tone = test::sineWave(2 * rate, 440, 0.5);
    std::vector<std::int16_t> input(lead, 0);
    input.insert(input.end(), tone.begin(), tone.end());
    // Past its end the file device hands back buffers untouched: keep it from getting there.
    input.resize(input.size() + std::size_t{20} * rate, 0);
    test::writeSamples((home() / "mic.raw").string(), input);

    const std::string path = (home() / "message.mp3").string();
    {
        Mp3Recorder recorder(std::make_unique<SoundInChannel>(*devices), std::make_unique<LameEncoder>());
        const int microphone = findInputByName(*devices, "Test Microphone");
        ASSERT_GE(microphone, 0);
        recorder.setInputDevice(microphone);
        recorder.startRecording(path);
        // The file device captures faster than real time. 3 s of message at 128 kbit/s: the tone
        // and a second of the silence after it.
        ASSERT_TRUE(waitUntil(
            [&] {
                std::error_code error;
                const auto size = fs::file_size(path, error);
                return !error && size >= std::uintmax_t{3} * 16000;
            },
            std::chrono::seconds(10)));
        recorder.stopRecording();
    }

    Mp3Source source;
    ASSERT_EQ(source.openSource(FileStream::open(path)), 1);
    const auto decoded = test::decodeAll(source);
    // Whole silent blocks are trimmed; the block in which the tone starts is kept whole.
    const std::size_t offset = test::DecoderDelay + lead % (Mp3Recorder::BlockBytes / 2);
    const std::size_t end = offset + tone.size();
    ASSERT_GE(decoded.size(), end + rate / 2);
    // A pure tone comes back clean; one sample of misalignment would cost it more than 25 dB.
    EXPECT_GT(test::signalToErrorDb(decoded, offset, tone, test::EncoderScale), 50.0);
    const auto peak = [&](std::size_t from, std::size_t to) {
        int most = 0;
        for (std::size_t i = from; i < to; ++i) most = std::max(most, std::abs(int{decoded[i]}));
        return most;
    };
    // One frame on either side of the tone may carry its onset and its end.
    EXPECT_LT(peak(0, offset - 1152), 16);
    EXPECT_LT(peak(end + 1152, end + rate / 2), 16);
}

// ALSA's complaints on the test's own thread (the device lists' reader may be listing meanwhile).
int alsaComplaints = 0;
std::thread::id complainer;

void countComplaint(const char*, int, const char*, int, const char*, ...)
{
    if (std::this_thread::get_id() == complainer) ++alsaComplaints;
}

// A PCM ALSA says is not there is tried once until sound devices come or go: each try has ALSA
// complain, which a computer without sound did on every key tone.
TEST_F(AlsaAudio, AMissingDeviceIsNotTriedAgainUntilDevicesChange)
{
    writeAsoundrc(
        R"(pcm.ghost { type plug slave.pcm "nosuchpcm" hint { show on description "Ghost|IOIDOutput" } })"
        "\n");
    devices->devicesChanged();
    int ghost = -1;
    ASSERT_TRUE(waitUntil([&] { return (ghost = findOutputByName(*devices, "Ghost")) >= 0; }));
    const PcmFormat format = PcmFormat::linear(1, 8000, 16);
    alsaComplaints = 0;
    complainer = std::this_thread::get_id();
    snd_lib_error_set_handler(countComplaint);

    EXPECT_EQ(devices->openOutput(ghost, format), nullptr);
    const int firstTry = alsaComplaints;
    EXPECT_GT(firstTry, 0);
    EXPECT_EQ(devices->openOutput(ghost, format), nullptr);
    EXPECT_EQ(alsaComplaints, firstTry);
    // Other devices, and the other direction, are still asked for.
    EXPECT_NE(devices->openOutput(findHandsetOutput(*devices), format), nullptr);
    EXPECT_NE(devices->openInput(findInputByName(*devices, "Virtual Cable 2 In"), format), nullptr);

    devices->devicesChanged();
    EXPECT_EQ(devices->openOutput(ghost, format), nullptr);
    EXPECT_GT(alsaComplaints, firstTry);

    snd_lib_error_set_handler(nullptr);
    writeAsoundrc("");
    devices->devicesChanged();
    ASSERT_TRUE(waitUntil([&] { return findOutputByName(*devices, "Ghost") == -1; }));
}

TEST_F(AlsaAudio, AnUnopenableDeviceLeavesTheChannelSilentButUsable)
{
    SoundOutChannel channel(*devices);
    channel.setBuffers(100, 2);
    ASSERT_EQ(channel.open(devices->outputCount() + 5, 1, 8000, 16), 1);
    const unsigned char block[100] = {};
    EXPECT_EQ(channel.write(block, 100), 1);
    EXPECT_EQ(channel.write(block, 100), 1);
    EXPECT_EQ(channel.write(block, 100), 0);
    EXPECT_EQ(channel.close(), 1);
    EXPECT_TRUE(channel.allDone());
}

TEST(AlsaMixer, WithoutASoundCardTheHandsetMixerHasNoLines)
{
    std::unique_ptr<MixerPort> port = makeAlsaMixerPort();
    if (port->deviceCount() > 0) GTEST_SKIP() << "this machine has a sound card";
    MixerVolume mixer(*port);
    EXPECT_EQ(mixer.openHandsetMixer(), 0);
    std::uint32_t value = 1;
    EXPECT_EQ(mixer.getVolume(MixerSpeakers, value), 0);
    EXPECT_EQ(value, 0u);
}

}  // namespace
}  // namespace tarnix
