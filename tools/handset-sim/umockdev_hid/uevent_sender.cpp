#include "uevent_sender.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include <arpa/inet.h>
#include <glob.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace tarnix::test {
namespace {

// The header udevd puts before the properties; libudev checks prefix and magic, and its socket
// filter compares the subsystem hash.
struct MonitorHeader {
    char prefix[8];
    std::uint32_t magic;
    std::uint32_t headerSize;
    std::uint32_t propertiesOffset;
    std::uint32_t propertiesLength;
    std::uint32_t subsystemHash;
    std::uint32_t devtypeHash;
    std::uint32_t tagBloomHigh;
    std::uint32_t tagBloomLow;
};
constexpr std::uint32_t kMonitorMagic = 0xfeedcafe;

// MurmurHash2 with the string length as seed, as libudev hashes subsystem names.
std::uint32_t subsystemHash(const std::string& text)
{
    constexpr std::uint32_t m = 0x5bd1e995;
    std::size_t length = text.size();
    auto h = static_cast<std::uint32_t>(length);
    const auto* data = reinterpret_cast<const unsigned char*>(text.data());
    while (length >= 4) {
        std::uint32_t k = 0;
        std::memcpy(&k, data, 4);
        k *= m;
        k ^= k >> 24;
        k *= m;
        h *= m;
        h ^= k;
        data += 4;
        length -= 4;
    }
    switch (length) {
        case 3:
            h ^= std::uint32_t(data[2]) << 16;
            [[fallthrough]];
        case 2:
            h ^= std::uint32_t(data[1]) << 8;
            [[fallthrough]];
        case 1:
            h ^= data[0];
            h *= m;
            break;
        default:
            break;
    }
    h ^= h >> 13;
    h *= m;
    h ^= h >> 15;
    return h;
}

}  // namespace

UeventSender::UeventSender(std::string testbedRoot) : root_(std::move(testbedRoot)) {}

UeventSender::~UeventSender()
{
    for (const Listener& listener : listeners_) ::close(listener.fd);
}

void UeventSender::findListeners()
{
    glob_t found{};
    if (::glob((root_ + "/event[0-9]*").c_str(), GLOB_NOSORT, nullptr, &found) != 0) {
        ::globfree(&found);
        return;
    }
    for (std::size_t i = 0; i < found.gl_pathc; ++i) {
        const char* path = found.gl_pathv[i];
        struct stat info {};
        if (::stat(path, &info) != 0 || !S_ISSOCK(info.st_mode)) continue;
        const bool known = std::any_of(listeners_.begin(), listeners_.end(), [&info](const Listener& l) {
            return l.device == info.st_dev && l.inode == info.st_ino;
        });
        if (known) continue;
        const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0) continue;
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path, sizeof address.sun_path - 1);
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
            ::close(fd);
            continue;
        }
        listeners_.push_back({info.st_dev, info.st_ino, fd});
    }
    ::globfree(&found);
}

void UeventSender::send(const std::string& action, const std::string& devpath, const std::string& subsystem,
                        const std::string& devname)
{
    findListeners();

    std::string properties;
    const auto add = [&properties](const std::string& name, const std::string& value) {
        properties += name + "=" + value;
        properties += '\0';
    };
    add("ACTION", action);
    add("DEVPATH", devpath);
    add("SUBSYSTEM", subsystem);
    add("SEQNUM", std::to_string(++sequence_));
    if (!devname.empty()) add("DEVNAME", devname);

    MonitorHeader header{};
    std::memcpy(header.prefix, "libudev", 8);
    header.magic = htonl(kMonitorMagic);
    header.headerSize = sizeof header;
    header.propertiesOffset = sizeof header;
    header.propertiesLength = static_cast<std::uint32_t>(properties.size());
    header.subsystemHash = htonl(subsystemHash(subsystem));

    std::array<iovec, 2> parts{{{&header, sizeof header}, {properties.data(), properties.size()}}};
    msghdr message{};
    message.msg_iov = parts.data();
    message.msg_iovlen = parts.size();

    // A listener that closed its monitor refuses; forget it.
    std::erase_if(listeners_, [&message](const Listener& listener) {
        if (::sendmsg(listener.fd, &message, MSG_NOSIGNAL) >= 0 || errno == EAGAIN) return false;
        ::close(listener.fd);
        return true;
    });
}

}  // namespace tarnix::test
