#include "audio/mixer_port.h"
#include "platform/linux/alsa/alsa_mixer_port.h"
#include "private_pulse.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QThread>

namespace tarnix {
namespace {

// The sound server's mixer through ALSA's control plugin: the one mixer a machine without a card
// can open.
class AlsaMixerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server_.ready()) << "pulseaudio did not start";
        mixer_ = AlsaMixerPort::openControl("pulse");
        ASSERT_NE(mixer_, nullptr);
        const int line = mixer_->findLine(MixerSpeakers);
        ASSERT_GE(line, 0);
        control_ = mixer_->findVolumeControl(line);
    }

    // Waits for the server's word to reach the mixer.
    bool readsAbout(std::uint32_t expected)
    {
        const QDeadlineTimer deadline(3000);
        for (;;) {
            std::uint32_t value = 0;
            if (mixer_->getControlValue(control_, value) == 1 && value + 300 > expected &&
                value < expected + 300) {
                return true;
            }
            if (deadline.hasExpired()) return false;
            QThread::msleep(20);
        }
    }

    PrivatePulse server_{"load-module module-null-sink sink_name=usb\nset-default-sink usb\n"};
    std::unique_ptr<MixerDevice> mixer_;
    int control_ = -1;
};

// A volume another program set is what the next step starts from, not the one read at open.
TEST_F(AlsaMixerTest, FollowsVolumeChangesMadeElsewhere)
{
    ASSERT_EQ(mixer_->setControlValue(control_, 65535), 1);
    ASSERT_TRUE(readsAbout(65535));
    ASSERT_TRUE(server_.pactl({"set-sink-volume", "usb", "25%"}));
    EXPECT_TRUE(readsAbout(16384));
}

TEST_F(AlsaMixerTest, AControlNotThereIsRefused)
{
    std::uint32_t value = 0;
    EXPECT_EQ(mixer_->getControlValue(-1, value), 0);
    EXPECT_EQ(mixer_->setControlValue(99, 0), 0);
    EXPECT_EQ(AlsaMixerPort::openControl("hw:99"), nullptr);
}

}  // namespace
}  // namespace tarnix
