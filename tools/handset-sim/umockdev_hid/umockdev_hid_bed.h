#pragma once

#include "uevent_sender.h"
#include "umockdev_hid_node.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tarnix::test {

// A umockdev testbed holding emulated USB HID devices, each with its hid parent (HID_ID and
// report descriptor in sysfs) and a /dev/hidrawN node the test serves. Code under test must
// run with libumockdev-preload and be torn down before the bed. It may run in this process or
// in another one started with the bed's UMOCKDEV_DIR in its environment.
class UmockdevHidBed {
public:
    struct Device {
        std::uint16_t vendorId = 0;
        std::uint16_t productId = 0;
        std::vector<std::uint8_t> reportDescriptor;
        // The USB port in sysfs terms ("1-2", "3-1.4"); decides the enumeration order.
        // Empty: the next free port on bus 1.
        std::string usbPort;
    };

    UmockdevHidBed();
    ~UmockdevHidBed();
    UmockdevHidBed(const UmockdevHidBed&) = delete;
    UmockdevHidBed& operator=(const UmockdevHidBed&) = delete;

    // True when this process runs with the umockdev preload library.
    static bool preloaded();

    // Adds the device (udev hears "add") and returns its node, named /dev/hidrawN with N never
    // used before in this bed. onWrite, if any, hears the reports written to it from the start.
    UmockdevHidNode& plug(const Device& device, UmockdevHidNode::WriteHandler onWrite = {});
    // The node stops answering, udev hears "remove", and the device leaves sysfs.
    void unplug(UmockdevHidNode& node);
    // Lets monitors opened since the last change hear the next one even if another program
    // takes over their socket's name before then.
    void findListeners() { uevents_.findListeners(); }

private:
    struct Plugged {
        std::unique_ptr<UmockdevHidNode> node;
        std::string hidDevpath;
        std::string hidrawDevpath;
        bool present = true;
    };

    UMockdevTestbed* testbed_;
    UeventSender uevents_;
    std::vector<Plugged> plugged_;
};

}  // namespace tarnix::test
