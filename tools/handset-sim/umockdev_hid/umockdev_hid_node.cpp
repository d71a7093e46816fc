#include "umockdev_hid_node.h"

#include <umockdev.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <utility>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace tarnix::test {
namespace {

void fail(const std::string& what)
{
    std::fprintf(stderr, "umockdev hid test bed: %s\n", what.c_str());
    std::abort();
}

}  // namespace

UmockdevHidNode::UmockdevHidNode(UMockdevTestbed* testbed, std::string path, WriteHandler onWrite)
    : testbed_(testbed),
      path_(std::move(path)),
      handler_(umockdev_ioctl_base_new()),
      master_(::fcntl(umockdev_testbed_get_dev_fd(testbed, path_.c_str()), F_DUPFD_CLOEXEC, 0)),
      writeHandler_(std::move(onWrite))
{
    if (master_ < 0) fail("no emulated node " + path_);
    const char* slavePath = ::ptsname(master_);
    slave_ = slavePath ? ::open(slavePath, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC) : -1;
    if (slave_ < 0) fail("cannot open the PTY behind " + path_);
    termios settings{};
    tcgetattr(master_, &settings);
    settings.c_lflag |= ICANON;
    settings.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL);
    tcsetattr(master_, TCSANOW, &settings);

    g_signal_connect(handler_, "handle-read", G_CALLBACK(&UmockdevHidNode::onRead), this);
    g_signal_connect(handler_, "handle-write", G_CALLBACK(&UmockdevHidNode::onWrite), this);
    GError* error = nullptr;
    if (!umockdev_testbed_attach_ioctl(testbed_, path_.c_str(), handler_, &error)) {
        fail(std::string("cannot attach to ") + path_ + ": " + error->message);
    }
}

UmockdevHidNode::~UmockdevHidNode()
{
    umockdev_testbed_detach_ioctl(testbed_, path_.c_str(), nullptr);
    g_signal_handlers_disconnect_by_data(handler_, this);
    g_object_unref(handler_);
    ::close(slave_);
    ::close(master_);
}

void UmockdevHidNode::sendInputReport(std::vector<std::uint8_t> report)
{
    std::lock_guard lock(mutex_);
    inputReports_.push_back(std::move(report));
    wakeReaders();
}

std::vector<std::vector<std::uint8_t>> UmockdevHidNode::takeWrittenReports()
{
    std::lock_guard lock(mutex_);
    return std::exchange(writtenReports_, {});
}

void UmockdevHidNode::markGone()
{
    std::lock_guard lock(mutex_);
    gone_ = true;
    inputReports_.clear();
    wakeReaders();
}

void UmockdevHidNode::wakeReaders()
{
    if (::write(master_, "\n", 1) != 1) fail("cannot signal a report on " + path_);
}

int UmockdevHidNode::onRead(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self)
{
    static_cast<UmockdevHidNode*>(self)->serveRead(client);
    return TRUE;
}

int UmockdevHidNode::onWrite(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self)
{
    static_cast<UmockdevHidNode*>(self)->serveWrite(client);
    return TRUE;
}

void UmockdevHidNode::serveRead(UMockdevIoctlClient* client)
{
    std::lock_guard lock(mutex_);
    if (gone_) {
        umockdev_ioctl_client_complete(client, -1, ENODEV);
        return;
    }
    // A read with nothing queued would block on real hidraw; the program under test waits in
    // poll() instead, so such a read is answered at once rather than held.
    if (inputReports_.empty()) {
        umockdev_ioctl_client_complete(client, -1, EAGAIN);
        return;
    }
    char line[8];
    if (::read(slave_, line, sizeof line) < 0 && errno != EAGAIN) fail("cannot take a report's newline");
    std::vector<std::uint8_t> report = std::move(inputReports_.front());
    inputReports_.pop_front();
    UMockdevIoctlData* buffer = umockdev_ioctl_client_get_arg(client);
    const std::size_t length = std::min(report.size(), static_cast<std::size_t>(buffer->data_len));
    umockdev_ioctl_data_update(buffer, 0, report.data(), static_cast<gint>(length));
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    takenAt_.push_back(static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9);
    if (takenAt_.size() > kTakenKept) takenAt_.pop_front();
    umockdev_ioctl_client_complete(client, static_cast<glong>(length), 0);
}

double UmockdevHidNode::reportTakenSince(double since)
{
    std::lock_guard lock(mutex_);
    const auto taken =
        std::find_if(takenAt_.begin(), takenAt_.end(), [since](double at) { return at >= since; });
    return taken == takenAt_.end() ? 0 : *taken;
}

void UmockdevHidNode::serveWrite(UMockdevIoctlClient* client)
{
    std::unique_lock lock(mutex_);
    if (gone_) {
        umockdev_ioctl_client_complete(client, -1, ENODEV);
        return;
    }
    UMockdevIoctlData* data = umockdev_ioctl_client_get_arg(client);
    std::vector<std::uint8_t> report(data->data, data->data + data->data_len);
    if (writeHandler_) {
        // The handler sees the report before the write returns, as a device has taken a
        // report once the transfer ends.
        lock.unlock();
        writeHandler_(std::move(report));
    } else {
        writtenReports_.push_back(std::move(report));
    }
    umockdev_ioctl_client_complete(client, data->data_len, 0);
}

}  // namespace tarnix::test
