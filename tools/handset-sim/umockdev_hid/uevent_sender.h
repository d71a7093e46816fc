#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarnix::test {

// Sends "add" and "remove" uevents, in the form libudev's monitor receives them from udevd, to
// every program listening in a umockdev testbed.
//
// umockdev's own sender looks the device up through libudev first, which finds it only when the
// sending process itself runs under the preload; this one needs nothing but the testbed folder.
// The preload binds each monitor to "<testbed>/event<fd>", and a later monitor with the same fd
// number in another program takes over that name: every socket ever seen stays connected, so a
// listener whose name was taken still hears the events.
class UeventSender {
public:
    explicit UeventSender(std::string testbedRoot);
    ~UeventSender();
    UeventSender(const UeventSender&) = delete;
    UeventSender& operator=(const UeventSender&) = delete;

    // Connects to listeners that appeared since the last call.
    void findListeners();
    // devpath is the sysfs path without "/sys" ("/devices/..."); devname may be empty.
    void send(const std::string& action, const std::string& devpath, const std::string& subsystem,
              const std::string& devname);

private:
    struct Listener {
        std::uint64_t device;
        std::uint64_t inode;
        int fd;
    };

    std::string root_;
    std::vector<Listener> listeners_;
    unsigned long long sequence_ = 0;
};

}  // namespace tarnix::test
