#pragma once

#include "base/event_loop.h"

#include <libudev.h>

#include <functional>
#include <memory>

namespace tarnix {

// Tells, on the event loop, that sound devices were added or removed: once per batch of udev
// "sound" events, since one card brings several (the card, its PCMs, its control).
class UdevSoundMonitor {
public:
    UdevSoundMonitor(EventLoop& loop, std::function<void()> onChange);
    ~UdevSoundMonitor();
    UdevSoundMonitor(const UdevSoundMonitor&) = delete;
    UdevSoundMonitor& operator=(const UdevSoundMonitor&) = delete;

private:
    struct UdevDeleter {
        void operator()(udev* u) const { udev_unref(u); }
        void operator()(udev_monitor* m) const { udev_monitor_unref(m); }
    };

    void receiveChanges();

    EventLoop& loop_;
    std::function<void()> onChange_;
    std::unique_ptr<udev, UdevDeleter> udev_;
    std::unique_ptr<udev_monitor, UdevDeleter> monitor_;
    int watchId_ = 0;
};

}  // namespace tarnix
