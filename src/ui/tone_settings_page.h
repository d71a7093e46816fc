#pragma once

#include "ui/framework/slider_control.h"
#include "ui/options_page.h"

namespace tarnix {

class HandsetChannel;
struct Settings;

// The "Tone setting" page: the ring melody for Skype (and, hidden, for QQ) calls, a test ring
// of it on the handset, and the ring volume.
class ToneSettingsPage final : public OptionsPage {
public:
    static constexpr int kTemplateId = 162;
    static constexpr int kSkypeGroupId = 1004;
    static constexpr int kSkypeListId = 2013;
    static constexpr int kSkypeTestId = 2027;
    static constexpr int kQqGroupId = 2011;
    static constexpr int kQqListId = 2015;
    static constexpr int kQqTestId = 2028;
    static constexpr int kVolumeGroupId = 2007;
    static constexpr int kVolumeSliderId = 2008;
    static constexpr int kTextTab = 65545;
    static constexpr int kTextTest = 65546;
    static constexpr int kTextStop = 65547;
    static constexpr const char16_t* kDefaultTab = u"Tone setting";
    static constexpr const char16_t* kDefaultTest = u"Test";
    static constexpr const char16_t* kDefaultStop = u"Stop";
    static constexpr int kMelodies = 12;
    // A dragged slider sends its position at most this often; each volume report keeps a
    // ringing handset busy about as long.
    static constexpr int kVolumeTimerId = 1;
    static constexpr int kVolumeIntervalMs = 100;

    // What the test buttons are doing.
    enum TestState { TestNone = 0, TestSkype = 1, TestQq = 2 };

    ToneSettingsPage(EventLoop& loop, HandsetChannel& handset, Settings& settings);
    ~ToneSettingsPage() override;

    bool CreatePage(QWidget* parent) override;
    int TabTextId() const override { return kTextTab; }
    std::u16string_view DefaultTabText() const override { return kDefaultTab; }
    // Melodies and volume into the settings; a test ring this page started stops.
    void ApplyPage() override;

    bool OnInitDialog(QWidget* focus, LPARAM param) override;
    LRESULT OnCommand(WPARAM wparam, QWidget* control) override;
    void OnHScroll(int code, int position, QWidget* control) override;
    void OnTimer(int id) override;
    // However the dialog ends unapplied (Cancel, its close box, the program's end), a test ring
    // stops and the handset gets the stored volume back.
    void OnDestroy() override;

    TestState testState() const { return testState_; }
    const SliderControl& Slider() const { return slider_; }

private:
    void ToggleTest(TestState state, int listId, int otherButtonId);
    void EndTest();
    void SetTestText(int buttonId, bool testing);
    void StopVolumeTimer();
    void SendVolume(int level);

    HandsetChannel& handset_;
    Settings& settings_;
    SliderControl slider_;
    TestState testState_ = TestNone;
    // The last volume this page gave the handset, and the one waiting for the next send.
    int sentVolume_ = -1;
    int pendingVolume_ = -1;
    bool volumeTimer_ = false;
    // The handset plays at a volume the settings do not hold.
    bool volumeUnsaved_ = false;
};

}  // namespace tarnix
