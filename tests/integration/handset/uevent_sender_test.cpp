#include "uevent_sender.h"

#include "temp_folder.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

namespace tarnix::test {
namespace {

// A monitor as the umockdev preload makes it: a datagram socket bound to <testbed>/event<n>.
class Listener {
public:
    explicit Listener(const std::string& path) : fd_(::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK, 0))
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        ::unlink(path.c_str());
        bound_ = ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    ~Listener() { ::close(fd_); }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    bool bound() const { return bound_; }
    // The properties of each message received, "KEY=value" each; the header checked.
    std::vector<std::vector<std::string>> received()
    {
        std::vector<std::vector<std::string>> messages;
        char buffer[2048];
        ssize_t got = 0;
        while ((got = ::recv(fd_, buffer, sizeof buffer, 0)) > 0) {
            std::uint32_t offset = 0;
            std::uint32_t magic = 0;
            std::memcpy(&magic, buffer + 8, 4);
            std::memcpy(&offset, buffer + 16, 4);
            if (std::string(buffer) != "libudev" || ntohl(magic) != 0xfeedcafe) continue;
            std::vector<std::string> properties;
            for (std::size_t at = offset; at < std::size_t(got); at += properties.back().size() + 1) {
                properties.emplace_back(buffer + at);
            }
            messages.push_back(properties);
        }
        return messages;
    }

private:
    int fd_;
    bool bound_ = false;
};

TEST(UeventSender, SendsLibudevMessagesToEveryListenerEvenOneWhoseNameWasTaken)
{
    TempFolder testbed;
    UeventSender sender(testbed.path());
    Listener first(testbed.file("event5"));
    ASSERT_TRUE(first.bound());
    sender.findListeners();
    // A monitor of another program gets the same fd number and takes over the name.
    Listener second(testbed.file("event5"));
    Listener third(testbed.file("event12"));
    ASSERT_TRUE(second.bound());

    sender.send("remove", "/devices/usb1/1-1/hidraw/hidraw0", "hidraw", "/dev/hidraw0");
    sender.send("add", "/devices/usb1/1-1/0003:04B4:0302.0001", "hid", "");

    const std::vector<std::vector<std::string>> expected = {
        {"ACTION=remove", "DEVPATH=/devices/usb1/1-1/hidraw/hidraw0", "SUBSYSTEM=hidraw", "SEQNUM=1",
         "DEVNAME=/dev/hidraw0"},
        {"ACTION=add", "DEVPATH=/devices/usb1/1-1/0003:04B4:0302.0001", "SUBSYSTEM=hid", "SEQNUM=2"},
    };
    EXPECT_EQ(first.received(), expected);
    EXPECT_EQ(second.received(), expected);
    EXPECT_EQ(third.received(), expected);
}

TEST(UeventSender, ForgetsAListenerThatClosedAndIgnoresOtherFiles)
{
    TempFolder testbed;
    testbed.write("event7", "not a socket");
    UeventSender sender(testbed.path());
    auto gone = std::make_unique<Listener>(testbed.file("event3"));
    Listener staying(testbed.file("event4"));
    sender.findListeners();
    gone.reset();

    sender.send("add", "/devices/a", "hidraw", "");
    sender.send("add", "/devices/b", "hidraw", "");
    EXPECT_EQ(staying.received().size(), 2u);
}

}  // namespace
}  // namespace tarnix::test
