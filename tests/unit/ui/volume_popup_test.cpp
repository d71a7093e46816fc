#include "ui/volume_popup.h"

#include "fake_mixer_port.h"
#include "handset_test_rig.h"
#include "ui_test_support.h"
#include "virtual_handsets.h"

#include <QCursor>
#include <QSlider>
#include <QTest>

#include <memory>
#include <vector>

namespace tarnix::test {
namespace {

constexpr int kSlide = NotificationPopup::kSlideMs;

using Line = FakeMixerPort::Line;

// The handset's mixer with one speaker line at that volume.
std::vector<FakeMixerPort::Device> handsetMixer(std::uint32_t volume)
{
    return {{"USB Audio Device", {Line(MixerSpeakers, true, true, volume)}}};
}

// A volume panel over a handset on the fake bus and a fake mixer.
class VolumePopupTest : public UiTest {
protected:
    void SetUp() override
    {
        QCursor::setPos(0, 0);
        handsetPath = rig.bus.plug(std::make_shared<sim::VirtualLcdHandset>());
        rig.start();
        mixers.devices = handsetMixer(32768);
        // Open mixers point into the list: it must not move when a test adds a device.
        mixers.devices.reserve(4);
    }
    void TearDown() override { processQtEvents(); }

    std::uint32_t volume() const { return mixers.devices[0].lines[0].value; }
    void setVolume(std::uint32_t v) { mixers.devices[0].lines[0].value = v; }
    int position() const { return popup.Slider().GetPosition(); }
    QSlider* slider() const { return qobject_cast<QSlider*>(popup.Slider().Handle()); }
    void showFully()
    {
        popup.ShowPopup();
        loop.advance(kSlide);
    }

    HandsetTestRig rig;
    std::string handsetPath;
    FakeMixerPort mixers;
    VolumePopup popup{loop, rig.channel(), mixers};
};

TEST_F(VolumePopupTest, OnlyAHandsetWithAVolumeControlGetsAPanel)
{
    const struct {
        const char* name;
        std::shared_ptr<sim::VirtualHandset> handset;
        bool panel;
    } cases[] = {
        {"no handset", nullptr, false},
        {"basic handset", std::make_shared<sim::VirtualBasicHandset>(), false},
        {"LCD handset", std::make_shared<sim::VirtualLcdHandset>(), true},
        {"melody handset", std::make_shared<sim::VirtualMelodyHandset>(), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HandsetTestRig handsetRig;
        if (c.handset) handsetRig.bus.plug(c.handset);
        handsetRig.start();
        FakeMixerPort port;
        port.devices = handsetMixer(32768);
        VolumePopup panel(loop, handsetRig.channel(), port);
        panel.ShowPopup();
        ASSERT_EQ(panel.Handle() != nullptr, c.panel);
        EXPECT_EQ(port.lastOpened, c.panel ? 0 : -1) << "the mixer is opened with the panel";
        if (!c.panel) {
            panel.VolumeUp();
            EXPECT_EQ(port.devices[0].lines[0].value, 32768u) << "no panel, no mixer";
            continue;
        }
        loop.advance(kSlide);
        EXPECT_EQ(panel.Handle()->size(), QSize(70, 120));
        QWidget* control = panel.GetDlgItem(VolumePopup::kSliderId);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control, panel.Slider().Handle());
        EXPECT_EQ(control->geometry(), QRect(20, 20, 20, 95));
        EXPECT_EQ(qobject_cast<QSlider*>(control)->orientation(), Qt::Vertical);
    }
}

// The top of the slider is the loudest; a mixer that cannot be read puts the slider halfway.
TEST_F(VolumePopupTest, SliderShowsTheSpeakerVolumeTopLoudest)
{
    const struct {
        const char* name;
        std::vector<FakeMixerPort::Device> devices;
        int position;
    } cases[] = {
        {"silent", handsetMixer(0), 100},
        {"just below one percent", handsetMixer(655), 100},
        {"one percent", handsetMixer(656), 99},
        {"half", handsetMixer(32768), 50},
        {"full", handsetMixer(65535), 0},
        {"the handset's mixer, not the first",
         {{"Speakers", {Line(MixerSpeakers, true, true, 0)}}, handsetMixer(65535)[0]},
         0},
        {"wave-out line when there is no speaker line",
         {{"USB Audio Device", {Line(MixerWaveOut, true, true, 16384)}}},
         75},
        {"unreadable speaker line", {{"USB Audio Device", {Line(MixerSpeakers, true, false, 0)}}}, 50},
        {"speaker line without volume control", {{"USB Audio Device", {Line(MixerSpeakers, false)}}}, 50},
        {"mixer that does not open", {{"USB Audio Device", {Line(MixerSpeakers)}, false}}, 50},
        {"no mixer at all", {}, 50},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeMixerPort port;
        port.devices = c.devices;
        VolumePopup panel(loop, rig.channel(), port);
        panel.ShowPopup();
        ASSERT_NE(panel.Handle(), nullptr);
        EXPECT_EQ(panel.Slider().GetPosition(), c.position);
    }
}

TEST_F(VolumePopupTest, EveryTickFollowsAVolumeChangedElsewhere)
{
    showFully();
    ASSERT_EQ(position(), 50);
    setVolume(65535);
    loop.advance(999 - loop.nowMs());
    EXPECT_EQ(position(), 50);
    loop.advance(1);
    EXPECT_EQ(position(), 0);
}

TEST_F(VolumePopupTest, MovingTheSliderSetsTheNearestVolume)
{
    showFully();
    for (auto [to, expected] : {std::pair{0, 65535u}, {100, 0u}, {50, 32768u}, {33, 43908u}, {1, 64880u}}) {
        SCOPED_TRACE(to);
        slider()->setSliderDown(true);
        slider()->setSliderPosition(to);
        slider()->setSliderDown(false);
        EXPECT_EQ(volume(), expected);
    }
}

TEST_F(VolumePopupTest, UpAndDownStepByFourThousandNinetySixWithinTheScale)
{
    popup.ShowPopup();
    const struct {
        std::uint32_t from;
        bool up;
        std::uint32_t to;
    } steps[] = {
        {32768, true, 36864}, {0, true, 4096},      {61439, true, 65535},
        {62000, true, 65535}, {65535, true, 65535}, {10000, false, 5904},
        {4096, false, 0},     {4095, false, 0},     {0, false, 0},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(std::to_string(s.from) + (s.up ? " up" : " down"));
        setVolume(s.from);
        s.up ? popup.VolumeUp() : popup.VolumeDown();
        EXPECT_EQ(volume(), s.to);
        EXPECT_EQ(position(), 100 - static_cast<int>(s.to * 100 / 65535)) << "the slider follows at once";
    }
}

// Whether by the close box (at once) or when idle (slid down), closing only hides the panel.
TEST_F(VolumePopupTest, ClosingHidesThePanelAndTheNextShowBringsTheSameOneBack)
{
    showFully();
    QWidget* panel = popup.Handle();
    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(57, 12));
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(popup.Handle(), panel);
    setVolume(0);
    loop.advance(1000);
    EXPECT_EQ(position(), 100) << "a hidden panel still follows the volume";

    showFully();
    EXPECT_EQ(popup.Handle(), panel);
    EXPECT_TRUE(panel->isVisible());
    loop.advance(9000 + kSlide);
    EXPECT_EQ(popup.Handle(), panel);
    EXPECT_FALSE(panel->isVisible());

    showFully();
    EXPECT_TRUE(popup.IsShown());
    EXPECT_EQ(panel->size(), QSize(70, 120)) << "back in whole";
}

// A replugged handset's sound device may come back as another mixer; the old one reads nothing.
TEST_F(VolumePopupTest, EachShowingTakesTheMixerOfTheHandsetAsItIsNow)
{
    setVolume(65535);
    showFully();
    ASSERT_EQ(position(), 0);
    popup.ClosePopup();

    mixers.devices[0].name = std::nullopt;
    mixers.devices[0].lines[0].readable = false;
    mixers.devices.push_back(handsetMixer(0)[0]);
    popup.ShowPopup();
    EXPECT_EQ(mixers.lastOpened, 1);
    EXPECT_EQ(position(), 100);
    popup.VolumeUp();
    EXPECT_EQ(mixers.devices[1].lines[0].value, 4096u);
}

TEST_F(VolumePopupTest, AHandsetSwappedForOneWithoutVolumeControlShowsNothingAndStepsNothing)
{
    showFully();
    popup.ClosePopup();
    rig.bus.unplug(handsetPath);
    rig.bus.plug(std::make_shared<sim::VirtualBasicHandset>());
    rig.loop.runPending();
    ASSERT_EQ(rig.channel().HandsetProperty(PropVolume), 0);

    popup.ShowPopup();
    EXPECT_FALSE(popup.IsShown());
    EXPECT_FALSE(popup.Handle()->isVisible());
    setVolume(1000);
    popup.VolumeUp();
    EXPECT_EQ(volume(), 1000u);
}

TEST_F(VolumePopupTest, DrawsARaisedFaceTheSpeakerCaptionAndACloseBox)
{
    showFully();
    const QImage shot = popup.Handle()->grab().toImage();
    ASSERT_EQ(shot.size(), QSize(70, 120));
    auto captionBlue = [](QRgb p) { return qBlue(p) > 150 && qRed(p) < 90 && qGreen(p) < 90; };
    int caption = 0;
    int elsewhere = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (!captionBlue(shot.pixel(x, y))) continue;
            (x < 50 && y < 25 ? caption : elsewhere) += 1;
        }
    }
    EXPECT_GT(caption, 10) << "\"Speaker\" in dark blue at the top left";
    EXPECT_EQ(elsewhere, 0);
    EXPECT_GT(qGray(shot.pixel(1, 1)), qGray(shot.pixel(68, 118))) << "lit from the top left";
    // The cross of the close box, on its centre, is darker than the box's face beside it.
    EXPECT_LT(qGray(shot.pixel(57, 12)), qGray(shot.pixel(57, 7)) - 60);
}

}  // namespace
}  // namespace tarnix::test
