#include "ui/handset_light_blinker.h"

#include "base/event_loop.h"
#include "device/handset_channel.h"
#include "messenger/main_window_port.h"

namespace tarnix {

HandsetLightBlinker::HandsetLightBlinker(EventLoop& loop, HandsetChannel& channel)
    : loop_(loop), channel_(channel)
{
}

HandsetLightBlinker::~HandsetLightBlinker()
{
    loop_.stopTimer({this, kBlinkTimerId});
}

void HandsetLightBlinker::SetHandsetLightMode(int mode)
{
    mode_ = mode;
    if (mode > LightOff) {
        phase_ = 0;
        loop_.startTimer({this, kBlinkTimerId}, kBlinkPeriodMs, [this] { onBlinkTick(); });
        channel_.HandsetLight(1);
        return;
    }
    loop_.stopTimer({this, kBlinkTimerId});
    channel_.HandsetLight(mode < LightOff ? 1 : 0);
}

void HandsetLightBlinker::onBlinkTick()
{
    const int phases = mode_ == LightRinging ? 2 : mode_ == LightMuted ? 3 : 0;
    if (phases == 0) return;
    phase_ = (phase_ + 1) % phases;
    // Phase 0 lights, phase 1 darkens; the third phase of the slow pattern keeps it dark.
    if (phase_ == 0) {
        channel_.HandsetLight(1);
    } else if (phase_ == 1) {
        channel_.HandsetLight(0);
    }
}

}  // namespace tarnix
