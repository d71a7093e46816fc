#pragma once

#include "device/hid_bus.h"
#include "platform/linux/hid/report_layout.h"

#include <cstdint>
#include <vector>

namespace tarnix {

// One open /dev/hidrawN. Presents every report with its report-id byte first, whether or not
// the device numbers its reports.
class HidrawDevice final : public HidDevice {
public:
    // Takes ownership of fd, opened for reading and writing.
    HidrawDevice(int fd, std::uint16_t vendorId, std::uint16_t productId, ReportLayout layout);
    ~HidrawDevice() override;
    HidrawDevice(const HidrawDevice&) = delete;
    HidrawDevice& operator=(const HidrawDevice&) = delete;

    std::uint16_t vendorId() const override { return vendorId_; }
    std::uint16_t productId() const override { return productId_; }
    int inputReportLength() const override { return layout_.inputReportLength; }
    int outputReportLength() const override { return layout_.outputReportLength; }
    bool writeReport(std::span<const std::uint8_t> report) override;
    int readReport(std::span<std::uint8_t> buffer, int timeoutMs) override;
    int readableFd() const override { return fd_; }

private:
    int fd_;
    std::uint16_t vendorId_;
    std::uint16_t productId_;
    ReportLayout layout_;
    std::vector<std::uint8_t> received_;
    bool gone_ = false;
};

}  // namespace tarnix
