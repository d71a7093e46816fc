#pragma once

namespace tarnix {

class EventLoop;
class HandsetChannel;

// The handset light as the main window drives it: steady, off, or blinking in one of two
// patterns on a 500 ms timer. Main thread only.
class HandsetLightBlinker {
public:
    static constexpr int kBlinkTimerId = 1002;
    static constexpr int kBlinkPeriodMs = 500;

    HandsetLightBlinker(EventLoop& loop, HandsetChannel& channel);
    ~HandsetLightBlinker();
    HandsetLightBlinker(const HandsetLightBlinker&) = delete;
    HandsetLightBlinker& operator=(const HandsetLightBlinker&) = delete;

    // Above 0: blink (1: 500 ms on, 500 ms off; 2: 500 ms on, 1000 ms off), starting lit.
    // Below 0: steady light. 0: off.
    void SetHandsetLightMode(int mode);

private:
    void onBlinkTick();

    EventLoop& loop_;
    HandsetChannel& channel_;
    int mode_ = 0;
    int phase_ = 0;
};

}  // namespace tarnix
