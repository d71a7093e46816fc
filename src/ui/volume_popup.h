#pragma once

#include "audio/mixer_volume.h"
#include "ui/framework/slider_control.h"
#include "ui/notification_popup.h"

namespace tarnix {

class HandsetChannel;

// The handset speaker's volume panel: a slider over the output volume of the handset's mixer,
// the top being the loudest. The program has one, for its whole run; the handset's Up and Down
// keys during a call show it and step the volume. UI thread only.
class VolumePopup : public NotificationPopup {
public:
    static constexpr int kSliderId = 101;
    static constexpr std::uint32_t kVolumeStep = 4096;
    static constexpr std::uint32_t kMaxVolume = 65535;
    // Where the slider stands when the mixer cannot be read.
    static constexpr int kUnknownPosition = 50;

    VolumePopup(EventLoop& loop, HandsetChannel& handset, MixerPort& mixers);

    // The volume rises (falls) by one step within 0..65535; the slider follows.
    void VolumeUp();
    void VolumeDown();

    void OnDraw(QPainter& dc) override;
    void OnVScroll(int code, int position, QWidget* control) override;
    void OnHScroll(int code, int position, QWidget* control) override;
    void OnTimer(int id) override;
    // Only a handset that reports a volume control gets a panel.
    void CreatePopup() override;
    // Hides the panel; it is shown again by the next ShowPopup.
    void ClosePopup() override;
    int PopupWidth() const override { return 70; }

    const SliderControl& Slider() const { return slider_; }

protected:
    // Asks the handset again and opens the mixer of the sound device it has now: it may have
    // been replugged or swapped since the panel was last shown.
    bool PrepareToShow() override;

private:
    bool HandsetHasVolumeControl() const;
    void SyncSlider();
    void SetVolumeFromSlider();
    void StepVolume(int direction);

    HandsetChannel& handset_;
    MixerVolume mixer_;
    SliderControl slider_;
};

}  // namespace tarnix
