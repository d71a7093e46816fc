#pragma once

#include "base/event_loop.h"
#include "device/hid_bus.h"
#include "virtual_handset.h"

#include <memory>
#include <string>
#include <vector>

namespace tarnix::test {

// HID interfaces in memory, some of them virtual handsets. Plugging and unplugging post the
// change to the event loop, as the platform's monitor does.
class FakeHidBus final : public HidBus {
public:
    explicit FakeHidBus(EventLoop& loop) : loop_(loop) {}

    // Handsets plugged from now on offer a descriptor that is readable while a report waits,
    // as hidraw nodes do; the others must be polled.
    void offerDescriptors() { offerDescriptors_ = true; }

    // Adds an interface after the present ones and returns its path.
    std::string plug(std::shared_ptr<sim::VirtualHandset> handset);
    // A HID device that is no handset (a mouse, a keyboard).
    std::string plugOther(std::uint16_t vendorId, std::uint16_t productId);
    // An interface the platform lists but cannot name.
    void plugNameless();
    void unplug(const std::string& path);
    // An interface that is listed but refuses to be opened (no permission).
    void setOpenable(const std::string& path, bool openable);
    // The interface opens this many more times, then refuses.
    void limitOpens(const std::string& path, int opens);
    // The longest wait any read on the interface asked for, and how many reads there were.
    int longestReadWait(const std::string& path) const;
    int reads(const std::string& path) const;
    // How many times the interface was opened.
    int opens(const std::string& path) const;

    std::vector<HidInterfaceInfo> interfaces() override;
    std::unique_ptr<HidDevice> open(const std::string& path) override;
    void setChangeHandler(ChangeHandler handler) override { handler_ = std::move(handler); }

    struct Slot {
        Slot() = default;
        Slot(const Slot&) = delete;
        Slot& operator=(const Slot&) = delete;
        ~Slot();
        // One count per waiting report, plus one once unplugged.
        void signal() const;

        std::string path;
        std::uint16_t vendorId = 0;
        std::uint16_t productId = 0;
        std::shared_ptr<sim::VirtualHandset> handset;
        bool openable = true;
        int opensLeft = -1;  // unlimited
        bool present = true;
        int reads = 0;
        int opens = 0;
        int longestReadWait = 0;
        int readyFd = -1;
    };

private:
    std::string add(std::shared_ptr<Slot> slot);
    void announce(HidChange change);
    Slot* find(const std::string& path) const;

    EventLoop& loop_;
    ChangeHandler handler_;
    std::vector<std::shared_ptr<Slot>> slots_;
    int nextNode_ = 0;
    bool offerDescriptors_ = false;
};

}  // namespace tarnix::test
