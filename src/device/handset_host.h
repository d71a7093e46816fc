#pragma once

#include "base/event_loop.h"
#include "device/device_clock.h"
#include "device/hid_bus.h"

#include <cstdint>
#include <memory>

namespace tarnix {

class HandsetDevice;
class HandsetEventSink;

// What a handset object needs from the layer that found it.
class HandsetHost {
public:
    virtual HandsetEventSink* eventSink() const = 0;
    virtual void StartPollTimer() = 0;
    virtual void StopPollTimer() = 0;
    // The first HID interface (indices 0-126) whose ids are the model's vendor and product id,
    // opened; null when none is present or none can be opened.
    virtual std::unique_ptr<HidDevice> OpenHandsetInterface(const HandsetDevice& model) = 0;
    virtual std::int64_t nowMs() const = 0;
    virtual DeviceClock& clock() = 0;
    // The main thread's loop, for a model that paces its own reports.
    virtual EventLoop& loop() = 0;
    // The hook state the handsets last reported (1 on the cradle, 0 lifted; -1 none yet). A
    // handset plugged in again starts from it: a lift or hang-up in its first report would
    // otherwise only initialise it, and the phone would keep the old handset's state.
    virtual int lastHookState() const = 0;
    virtual void setLastHookState(int onCradle) = 0;

protected:
    ~HandsetHost() = default;
};

}  // namespace tarnix
