#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tarnix {

// One HID interface present on the machine. An empty path means the platform listed the
// interface but could not name it; the scan reports that to the user.
struct HidInterfaceInfo {
    std::string path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

// An interface opened for reading and writing. Byte 0 of every report, read or written, is the
// report id (0 on devices without numbered reports), whatever the platform does underneath.
class HidDevice {
public:
    virtual ~HidDevice() = default;

    virtual std::uint16_t vendorId() const = 0;
    virtual std::uint16_t productId() const = 0;

    // The largest report of each kind in bytes plus the report-id byte (8 input bytes without
    // numbered reports read as 9). 0 when the descriptor declares no report of that kind.
    virtual int inputReportLength() const = 0;
    virtual int outputReportLength() const = 0;

    // Writes one whole report. True only when every byte was written.
    virtual bool writeReport(std::span<const std::uint8_t> report) = 0;

    // Reads one report into buffer. With timeoutMs 0 it only takes a report that has already
    // arrived and never blocks; otherwise it waits at most timeoutMs for one. Returns the number
    // of bytes stored (a longer report is cut to the buffer), 0 when no report came in time, -1
    // when the device failed or is gone.
    virtual int readReport(std::span<std::uint8_t> buffer, int timeoutMs) = 0;

    // A descriptor that polls readable while a report waits (and on failure or unplug), to be
    // watched on the event loop; -1 when there is none and the device must be polled.
    virtual int readableFd() const { return -1; }
};

// Arrival or removal of any HID interface on the machine, not only handsets.
enum class HidChange { Arrival, Removal };

// The HID interfaces of the machine, as the handset layer needs them.
class HidBus {
public:
    using ChangeHandler = std::function<void(HidChange)>;

    virtual ~HidBus() = default;

    // The present interfaces in a stable index order (the same devices keep their relative
    // order between calls).
    virtual std::vector<HidInterfaceInfo> interfaces() = 0;

    // Opens the interface at path for reading and writing, shared with other openers. Null when
    // it cannot be opened.
    virtual std::unique_ptr<HidDevice> open(const std::string& path) = 0;

    // Arrivals and removals are delivered to handler on the main thread's event loop, one call
    // per change. An empty handler stops the delivery.
    virtual void setChangeHandler(ChangeHandler handler) = 0;
};

}  // namespace tarnix
