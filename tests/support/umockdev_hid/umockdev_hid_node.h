#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

typedef struct _UMockdevTestbed UMockdevTestbed;
typedef struct _UMockdevIoctlBase UMockdevIoctlBase;
typedef struct _UMockdevIoctlClient UMockdevIoctlClient;

namespace tarnix::test {

// The device behind one emulated /dev/hidrawN: the test hands it input reports and reads back
// what the program wrote, one whole report per read() and write() as real hidraw does.
//
// umockdev backs the node with a PTY, a byte stream in which two reports would run together.
// So reads and writes are answered by a handler instead, and the PTY only carries one newline
// per queued report (in canonical mode one read() takes one line) to keep poll() truthful.
class UmockdevHidNode {
public:
    UmockdevHidNode(UMockdevTestbed* testbed, std::string path);
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

private:
    static int onRead(UMockdevIoctlBase* handler, UMockdevIoctlClient* client, void* self);
    static int onWrite(UMockdevIoctlBase* handler, UMockdevIoctlClient* client, void* self);
    void serveRead(UMockdevIoctlClient* client);
    void serveWrite(UMockdevIoctlClient* client);
    void wakeReaders();

    UMockdevTestbed* testbed_;
    std::string path_;
    UMockdevIoctlBase* handler_;
    int master_;
    std::mutex mutex_;
    std::deque<std::vector<std::uint8_t>> inputReports_;
    std::vector<std::vector<std::uint8_t>> writtenReports_;
    bool gone_ = false;
};

}  // namespace tarnix::test
