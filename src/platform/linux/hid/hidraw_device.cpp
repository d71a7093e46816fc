#include "platform/linux/hid/hidraw_device.h"

#include "platform/linux/hid/hid_log.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <poll.h>
#include <unistd.h>

namespace tarnix {
namespace {

// Room for the largest report the kernel may hand over; a descriptor that declares no input
// reports still gets a buffer so a stray report is consumed rather than left pending.
constexpr std::size_t kMinimumReadSize = 64;

}  // namespace

HidrawDevice::HidrawDevice(int fd, std::uint16_t vendorId, std::uint16_t productId, ReportLayout layout)
    : fd_(fd),
      vendorId_(vendorId),
      productId_(productId),
      layout_(layout),
      received_(std::max<std::size_t>(kMinimumReadSize, static_cast<std::size_t>(layout.inputReportLength)))
{
}

HidrawDevice::~HidrawDevice()
{
    ::close(fd_);
}

bool HidrawDevice::writeReport(std::span<const std::uint8_t> report)
{
    if (gone_ || report.empty()) return false;
    // hidraw takes the report id in byte 0 in both cases (0 on devices without numbered
    // reports) and strips it before the transfer, so the caller's layout goes out unchanged.
    const ssize_t written = ::write(fd_, report.data(), report.size());
    if (written < 0) {
        gone_ = errno == ENODEV || errno == EIO;
        qCDebug(lcHid) << "write failed:" << std::strerror(errno);
        return false;
    }
    return static_cast<std::size_t>(written) == report.size();
}

int HidrawDevice::readReport(std::span<std::uint8_t> buffer, int timeoutMs)
{
    if (gone_) return -1;
    // Waiting in poll() rather than relying on O_NONBLOCK reads: some kernels do not report a
    // disconnect through a non-blocking read, while poll() always wakes with POLLHUP/POLLERR.
    pollfd watch{fd_, POLLIN, 0};
    const int ready = ::poll(&watch, 1, std::max(timeoutMs, 0));
    if (ready == 0 || (ready < 0 && errno == EINTR)) return 0;
    if (ready < 0 || (watch.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
        gone_ = true;
        return -1;
    }

    // Devices without numbered reports lose their report id on the way through hidraw: read
    // behind a 0 so byte 0 is always the id.
    const std::size_t offset = layout_.numberedReports ? 0 : 1;
    const ssize_t got = ::read(fd_, received_.data() + offset, received_.size() - offset);
    if (got < 0) {
        if (errno == EAGAIN || errno == EINTR) return 0;
        gone_ = errno == ENODEV || errno == EIO;
        qCDebug(lcHid) << "read failed:" << std::strerror(errno);
        return -1;
    }
    if (got == 0) return 0;
    if (offset == 1) received_[0] = 0;
    const std::size_t length = std::min(buffer.size(), static_cast<std::size_t>(got) + offset);
    std::copy_n(received_.begin(), length, buffer.begin());
    return static_cast<int>(length);
}

}  // namespace tarnix
