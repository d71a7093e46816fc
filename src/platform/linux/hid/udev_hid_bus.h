#pragma once

#include "base/event_loop.h"
#include "device/hid_bus.h"

#include <libudev.h>

#include <memory>

namespace tarnix {

struct UdevDeleter {
    void operator()(udev* handle) const { udev_unref(handle); }
    void operator()(udev_monitor* handle) const { udev_monitor_unref(handle); }
    void operator()(udev_enumerate* handle) const { udev_enumerate_unref(handle); }
    void operator()(udev_device* handle) const { udev_device_unref(handle); }
};

// The machine's hidraw interfaces through libudev, with arrivals and removals from a udev
// monitor watched on the event loop.
class UdevHidBus final : public HidBus {
public:
    explicit UdevHidBus(EventLoop& loop);
    ~UdevHidBus() override;
    UdevHidBus(const UdevHidBus&) = delete;
    UdevHidBus& operator=(const UdevHidBus&) = delete;

    // Ordered by sysfs path with numbers compared by value (1-2 before 1-10), which keeps
    // devices in the order of the ports they sit on.
    std::vector<HidInterfaceInfo> interfaces() override;
    std::unique_ptr<HidDevice> open(const std::string& path) override;
    void setChangeHandler(ChangeHandler handler) override;

private:
    void receiveChanges();

    EventLoop& loop_;
    std::unique_ptr<udev, UdevDeleter> udev_;
    std::unique_ptr<udev_monitor, UdevDeleter> monitor_;
    int watchId_ = 0;
    ChangeHandler handler_;
};

}  // namespace tarnix
