#include "ui/tone_settings_page.h"

#include "config/settings.h"
#include "handset_test_rig.h"
#include "ui_test_support.h"
#include "virtual_handsets.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QSlider>

#include <memory>

namespace tarnix::test {
namespace {

using Page = ToneSettingsPage;

// The page alone, over a model 4 handset, on the handset layer's virtual clock.
class TonePageTest : public UiTest {
protected:
    void SetUp() override
    {
        rig.bus.plug(handset);
        rig.start();
    }
    void TearDown() override { processQtEvents(); }

    void open() { ASSERT_TRUE(page.CreatePage(nullptr)); }
    QComboBox* list(int id) const { return qobject_cast<QComboBox*>(page.GetDlgItem(id)); }
    QPushButton* button(int id) const { return qobject_cast<QPushButton*>(page.GetDlgItem(id)); }
    QSlider* slider() const { return qobject_cast<QSlider*>(page.GetDlgItem(Page::kVolumeSliderId)); }
    // Lets the handset's queued reports go out.
    void settle() { rig.loop.advance(500); }
    // The ringer volume reports the handset got (steps 1-16), in order.
    std::vector<int> volumeReports() const
    {
        std::vector<int> steps;
        for (const auto& r : handset->written()) {
            if (r.size() > 2 && r[1] == 1 && r[2] >= 0x20 && r[2] <= 0x2F) steps.push_back(r[2] - 0x1F);
        }
        return steps;
    }
    // The step the handset plays a volume of 0..100 at.
    static int step(int volume) { return std::clamp(volume * 16 / 100, 1, 16); }

    HandsetTestRig rig;
    std::shared_ptr<sim::VirtualMelodyHandset> handset = std::make_shared<sim::VirtualMelodyHandset>();
    Settings settings;
    Page page{rig.loop, rig.channel(), settings};
};

TEST_F(TonePageTest, ListsShowTheStoredMelodyOrNothingOutsideTheTwelve)
{
    const struct {
        int stored;
        int shown;
    } cases[] = {{0, 0}, {11, 11}, {12, -1}, {15, -1}, {-1, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        settings.skypeTone = c.stored;
        settings.qqTone = c.stored;
        Page tones(rig.loop, rig.channel(), settings);
        ASSERT_TRUE(tones.CreatePage(nullptr));
        for (int id : {Page::kSkypeListId, Page::kQqListId}) {
            auto* combo = qobject_cast<QComboBox*>(tones.GetDlgItem(id));
            ASSERT_EQ(combo->count(), 12);
            EXPECT_EQ(combo->itemText(0), "tone 1");
            EXPECT_EQ(combo->itemText(11), "tone 12");
            EXPECT_EQ(combo->currentIndex(), c.shown);
        }
        tones.ApplyPage();
        // No selection keeps what was stored.
        EXPECT_EQ(settings.skypeTone, c.stored);
        EXPECT_EQ(settings.qqTone, c.stored);
    }
}

TEST_F(TonePageTest, HiddenQqControlsAreFilledReadAndApplied)
{
    settings.skypeTone = 2;
    settings.qqTone = 4;
    open();
    EXPECT_TRUE(page.GetDlgItem(Page::kQqGroupId)->isHidden());
    EXPECT_FALSE(page.GetDlgItem(Page::kSkypeGroupId)->isHidden());
    EXPECT_EQ(list(Page::kQqListId)->currentIndex(), 4);

    // Its Test button rings its own melody and locks the other one.
    list(Page::kQqListId)->setCurrentIndex(9);
    button(Page::kQqTestId)->click();
    settle();
    EXPECT_EQ(page.testState(), Page::TestQq);
    EXPECT_TRUE(handset->ringing());
    EXPECT_EQ(handset->melody(), 9);
    EXPECT_FALSE(button(Page::kSkypeTestId)->isEnabled());
    button(Page::kSkypeTestId)->click();  // disabled: no effect
    EXPECT_EQ(page.testState(), Page::TestQq);

    page.ApplyPage();
    EXPECT_EQ(settings.qqTone, 9);
    EXPECT_EQ(settings.skypeTone, 2);
}

TEST_F(TonePageTest, TestButtonRingsThenStopsAndLocksTheOtherMeanwhile)
{
    settings.skypeTone = 6;
    open();
    QPushButton* test = button(Page::kSkypeTestId);
    test->click();
    settle();
    EXPECT_TRUE(handset->ringing());
    EXPECT_EQ(handset->melody(), 6);
    EXPECT_EQ(test->text(), "Stop");
    EXPECT_FALSE(button(Page::kQqTestId)->isEnabled());

    // The other state's commands do nothing while this one rings.
    page.SendMessage(WM_COMMAND, MAKEWPARAM(Page::kQqTestId, BN_CLICKED), 0);
    EXPECT_EQ(page.testState(), Page::TestSkype);

    test->click();
    settle();
    EXPECT_FALSE(handset->ringing());
    EXPECT_EQ(test->text(), "Test");
    EXPECT_TRUE(button(Page::kQqTestId)->isEnabled());
    EXPECT_EQ(page.testState(), Page::TestNone);
}

TEST_F(TonePageTest, ApplyStopsOnlyARingThisPageStarted)
{
    open();
    // A call rings the handset while the page is open.
    rig.channel().HandsetRingMelody(1, 3);
    settle();
    page.ApplyPage();
    settle();
    EXPECT_TRUE(handset->ringing()) << "a real call keeps ringing";

    rig.channel().HandsetRing(0);
    button(Page::kQqTestId)->click();
    settle();
    ASSERT_TRUE(handset->ringing());
    page.ApplyPage();
    settle();
    EXPECT_FALSE(handset->ringing());
    for (int id : {Page::kSkypeTestId, Page::kQqTestId}) {
        EXPECT_EQ(button(id)->text(), "Test");
        EXPECT_TRUE(button(id)->isEnabled());
    }
    EXPECT_EQ(page.testState(), Page::TestNone);
}

TEST_F(TonePageTest, SliderShowsTheStoredVolumeClampedAndApplyStoresAndSendsIt)
{
    for (auto [stored, shown] : {std::pair{130, 100}, {-4, 0}, {42, 42}}) {
        SCOPED_TRACE(stored);
        settings.ringVolume = stored;
        Page tones(rig.loop, rig.channel(), settings);
        ASSERT_TRUE(tones.CreatePage(nullptr));
        EXPECT_EQ(tones.Slider().GetPosition(), shown);
        tones.ApplyPage();
        settle();
        EXPECT_EQ(settings.ringVolume, shown);
        EXPECT_EQ(handset->ringerVolume(), step(shown));
    }
}

TEST_F(TonePageTest, DraggingSendsTheLatestVolumeAtMostEveryTenthOfASecond)
{
    settings.ringVolume = 90;
    open();
    // Two steps down every 10 ms for 400 ms: 40 positions, 90 → 12.
    slider()->setSliderDown(true);
    for (int p = 88; p >= 12; p -= 2) {
        slider()->setSliderPosition(p);
        rig.loop.advance(10);
    }
    const std::size_t duringDrag = volumeReports().size();
    EXPECT_GE(duringDrag, 4u);
    EXPECT_LE(duringDrag, 5u) << "one at once and one per 100 ms, not one per step";

    // Ending the drag sends where it ended at once, and the timer stops.
    slider()->setSliderPosition(37);
    slider()->setSliderDown(false);
    settle();
    EXPECT_EQ(handset->ringerVolume(), step(37));
    EXPECT_FALSE(rig.loop.isTimerActive({static_cast<Window*>(&page), Page::kVolumeTimerId}));
    EXPECT_EQ(settings.ringVolume, 90) << "the settings change only on apply";

    // A drag that rests without release still reaches its last position; then the timer stops.
    slider()->setSliderDown(true);
    for (int p : {10, 20, 30}) slider()->setSliderPosition(p);
    rig.loop.advance(300);
    EXPECT_EQ(handset->ringerVolume(), step(30));
    EXPECT_FALSE(rig.loop.isTimerActive({static_cast<Window*>(&page), Page::kVolumeTimerId}));
    slider()->setSliderDown(false);

    // A key step goes out at once too.
    const std::size_t before = volumeReports().size();
    slider()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(volumeReports().size(), before + 1);
}

TEST_F(TonePageTest, EndingUnappliedStopsTheTestAndGivesBackTheStoredVolume)
{
    settings.ringVolume = 25;
    const struct {
        const char* name;
        bool test;
        bool move;
        bool restored;
    } cases[] = {
        {"test and slider", true, true, true},
        {"test only", true, false, true},
        {"slider only", false, true, true},
        {"nothing touched", false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Page tones(rig.loop, rig.channel(), settings);
        ASSERT_TRUE(tones.CreatePage(nullptr));
        auto* test = qobject_cast<QPushButton*>(tones.GetDlgItem(Page::kSkypeTestId));
        auto* volume = qobject_cast<QSlider*>(tones.GetDlgItem(Page::kVolumeSliderId));
        if (c.test) test->click();
        if (c.move) {
            volume->setSliderDown(true);
            volume->setSliderPosition(90);
        }
        settle();
        const std::size_t before = volumeReports().size();
        tones.DestroyWindow();  // Cancel, the close box and the program's end all come here
        settle();
        EXPECT_FALSE(handset->ringing());
        EXPECT_EQ(volumeReports().size(), before + (c.restored ? 1 : 0));
        if (c.restored) {
            EXPECT_EQ(handset->ringerVolume(), step(25));
        }
        EXPECT_FALSE(rig.loop.isTimerActive({static_cast<Window*>(&tones), Page::kVolumeTimerId}));
        EXPECT_EQ(settings.ringVolume, 25);
    }
}

}  // namespace
}  // namespace tarnix::test
