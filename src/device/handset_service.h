#pragma once

#include "base/event_loop.h"
#include "device/device_clock.h"
#include "device/error_reporter.h"
#include "device/handset_channel.h"
#include "device/handset_host.h"
#include "device/hid_bus.h"
#include "device/pstn_library.h"

#include <array>
#include <cstdint>
#include <memory>

namespace tarnix {

class HandsetEventSink;

// Finds the supported handset among the HID interfaces, makes it the current handset of the
// channel, polls it and follows plug-in and removal. Runs on the main thread. A handset whose
// device can be watched is polled when a report arrives, and on the 10 ms tick only while ticks
// can still derive an event (a held key, a hook change); one that cannot is polled every 10 ms.
class HandsetService final : private HandsetHost {
public:
    static constexpr int kPollTimerId = 1251;
    static constexpr int kPollPeriodMs = 10;
    // Interfaces the scan looks at, and those a handset's open looks through.
    static constexpr int kScanTableSize = 20;
    static constexpr int kOpenScanLimit = 127;
    static constexpr const char* kErrorTitle = "Error";
    static constexpr const char* kNoSystemNameText = "Could not find the system name for this HID device";

    HandsetService(EventLoop& loop, HidBus& bus, ErrorReporter& errors, PstnLibrary& pstn,
                   DeviceClock& clock);
    // Turns the light off and halts the current handset, telling no one.
    ~HandsetService();
    HandsetService(const HandsetService&) = delete;
    HandsetService& operator=(const HandsetService&) = delete;

    // Scans, then registers the sink: a handset found by this first scan is not announced to it
    // (its owner asks HandsetPresent()).
    void StartHandsetService(HandsetEventSink* sink);
    void ScanHandsets();

    HandsetChannel& channel() { return channel_; }

private:
    struct ScanEntry {
        std::uint16_t vendorId = 0;
        std::uint16_t productId = 0;
    };

    // HandsetHost
    HandsetEventSink* eventSink() const override { return channel_.eventSink(); }
    void StartPollTimer() override;
    void StopPollTimer() override;
    std::unique_ptr<HidDevice> OpenHandsetInterface(const HandsetDevice& model) override;
    std::int64_t nowMs() const override { return loop_.nowMs(); }
    DeviceClock& clock() override { return clock_; }
    EventLoop& loop() override { return loop_; }
    int lastHookState() const override { return lastHook_; }
    void setLastHookState(int onCradle) override { lastHook_ = onCradle; }

    void onDeviceChange(HidChange change);
    void startTick();
    void onPollTick();
    void onReadable();
    // Keeps the tick running while the watched handset needs it, and only then.
    void tickWhileBusy();
    std::unique_ptr<HandsetDevice> createModel(const ScanEntry& entry);
    void announce(int present);

    EventLoop& loop_;
    HidBus& bus_;
    ErrorReporter& errors_;
    PstnLibrary& pstn_;
    DeviceClock& clock_;
    HandsetChannel channel_;
    std::array<ScanEntry, kScanTableSize> table_{};
    bool pollTimerSet_ = false;
    int readWatch_ = 0;
    int lastHook_ = -1;
};

}  // namespace tarnix
