#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

// umockdev's own C declarations, repeated so its GLib headers stay out of users.
// NOLINTBEGIN(bugprone-reserved-identifier,modernize-use-using)
typedef struct _UMockdevTestbed UMockdevTestbed;
typedef struct _UMockdevIoctlBase UMockdevIoctlBase;
typedef struct _UMockdevIoctlClient UMockdevIoctlClient;
// NOLINTEND(bugprone-reserved-identifier,modernize-use-using)

namespace tarnix::test {

// The device behind one emulated /dev/hidrawN: the test hands it input reports and reads back
// what the program wrote, one whole report per read() and write() as real hidraw does.
//
// umockdev backs the node with a PTY, a byte stream in which two reports would run together.
// So reads and writes are answered by a handler instead, and the PTY only carries one newline
// per queued report to keep poll() truthful. The node takes that newline off the PTY itself
// (in canonical mode one read() takes one line) rather than having the program's read() do it:
// a program that dies inside such a delegated read would take the serving process with it.
// The node may serve another process; its handlers run on umockdev's own thread.
class UmockdevHidNode {
public:
    static constexpr std::size_t kTakenKept = 64;
    using WriteHandler = std::function<void(std::vector<std::uint8_t> report)>;

    // With a write handler, each written report goes to it, called on umockdev's thread (not
    // under the node's lock, so it may send input reports); without, it is kept for
    // takeWrittenReports().
    UmockdevHidNode(UMockdevTestbed* testbed, std::string path, WriteHandler onWrite = {});
    ~UmockdevHidNode();
    UmockdevHidNode(const UmockdevHidNode&) = delete;
    UmockdevHidNode& operator=(const UmockdevHidNode&) = delete;

    const std::string& path() const { return path_; }

    // Makes a report readable as the kernel hands it over: without a report-id byte on devices
    // without numbered reports.
    void sendInputReport(std::vector<std::uint8_t> report);
    // Every report written since the last call, oldest first, byte for byte.
    std::vector<std::vector<std::uint8_t>> takeWrittenReports();
    // From now on reads and writes fail with ENODEV; a reader waiting in poll() wakes.
    void markGone();
    // When the program first took an input report at or after `since` (CLOCK_MONOTONIC seconds,
    // among the last few it took); 0 for none.
    double reportTakenSince(double since);

private:
    static int onRead(UMockdevIoctlBase* handler, UMockdevIoctlClient* client, void* self);
    static int onWrite(UMockdevIoctlBase* handler, UMockdevIoctlClient* client, void* self);
    void serveRead(UMockdevIoctlClient* client);
    void serveWrite(UMockdevIoctlClient* client);
    void wakeReaders();

    UMockdevTestbed* testbed_;
    std::string path_;
    UMockdevIoctlBase* handler_;
    // Our own copy of the PTY's master: the testbed closes its copy when the device is removed,
    // and a replugged device must not get the same PTY number (umockdev still maps the old one).
    int master_;
    // The program's end of the PTY, from which the node takes the newline of each served report.
    int slave_;
    std::mutex mutex_;
    std::deque<std::vector<std::uint8_t>> inputReports_;
    std::vector<std::vector<std::uint8_t>> writtenReports_;
    WriteHandler writeHandler_;
    bool gone_ = false;
    std::deque<double> takenAt_;
};

}  // namespace tarnix::test
