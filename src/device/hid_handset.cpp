#include "device/hid_handset.h"

#include <algorithm>

namespace tarnix {

int HidHandset::Open()
{
    closeDevice();
    device_ = host().OpenHandsetInterface(*this);
    if (!device_) return 0;
    output_.assign(std::size_t(std::max(device_->outputReportLength(), 0)), 0);
    input_.assign(std::size_t(std::max(device_->inputReportLength(), 0)), 0);
    forgetHookState();
    return 1;
}

void HidHandset::closeDevice()
{
    device_.reset();
    output_.clear();
    input_.clear();
    inputFill_ = 0;
    readStartedMs_.reset();
    lost_ = false;
}

bool HidHandset::writeCommand(std::span<const std::uint8_t> head)
{
    if (!fits(head.size())) return false;
    std::copy(head.begin(), head.end(), output_.begin());
    return device_->writeReport(output_);
}

std::uint8_t HidHandset::outputByte(std::size_t index) const
{
    return index < output_.size() ? output_[index] : 0;
}

HidHandset::ReadState HidHandset::ReadReport()
{
    if (!device_) return ReadState::NoReport;
    if (input_.empty()) {
        // A device declaring no input reports may still send some. None can be a key, but a
        // watched node stays readable until it is read: unread, the loop would spin on it.
        std::uint8_t dropped = 0;
        lost_ = device_->readReport(std::span(&dropped, 1), 0) < 0;
        return ReadState::NoReport;
    }
    const std::int64_t now = host().nowMs();
    if (!readStartedMs_) readStartedMs_ = now;
    const int got = device_->readReport(input_, 0);
    if (got > 0) {
        inputFill_ = got;
        readStartedMs_.reset();
        return ReadState::Arrived;
    }
    lost_ = got < 0;
    if (got < 0 || now - *readStartedMs_ >= kReadTimeoutMs) {
        readStartedMs_.reset();
        return ReadState::NoReport;
    }
    return ReadState::Waiting;
}

std::optional<int> HidHandset::ReadKey()
{
    switch (ReadReport()) {
        case ReadState::Waiting:
            return std::nullopt;
        case ReadState::NoReport:
            return KeyNone;
        case ReadState::Arrived:
            break;
    }
    if (inputFill_ < kKeyReportLength || input_[1] != kKeyReport) return KeyNone;
    const bool byte3Zero = input_[3] == 0;
    setHookState((cradle_ == CradleByte::Zero) == byte3Zero ? 1 : 0);
    return keys_[input_[2]];
}

std::span<const std::uint8_t> HidHandset::awaitReport(std::uint8_t type)
{
    if (!device_ || input_.empty()) return {};
    // The next poll tick starts a read of its own instead of counting this wait as its time.
    readStartedMs_.reset();
    const int got = device_->readReport(input_, kReadTimeoutMs);
    lost_ = got < 0;
    if (got < 2 || input_[1] != type) return {};
    return std::span(input_.data(), std::size_t(got));
}

}  // namespace tarnix
