#pragma once

#include "device/handset_device.h"
#include "device/hid_bus.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace tarnix {

// Byte 2 of a key report to a HandsetKey; codes not listed are KeyNone.
class KeyMap {
public:
    constexpr KeyMap(std::initializer_list<std::pair<std::uint8_t, std::uint8_t>> codes)
    {
        keys_.fill(KeyNone);
        for (const auto& [byte, key] : codes) keys_[byte] = key;
    }
    constexpr int operator[](std::uint8_t byte) const { return keys_[byte]; }

private:
    std::array<std::uint8_t, 256> keys_{};
};

// How byte 3 of a key report tells that the handset lies on its cradle.
enum class CradleByte { NonZero, Zero };

// The handset models driven by HID reports: one shared output buffer that every command writes
// its bytes into, and key reports read one per poll tick.
class HidHandset : public HandsetDevice {
public:
    // How long a poll tick's read waits for a report before the tick counts as "no key".
    static constexpr int kReadTimeoutMs = 100;
    static constexpr std::uint8_t kKeyReport = 1;
    static constexpr std::uint8_t kMemoryReply = 2;
    static constexpr int kKeyReportLength = 4;

    HidHandset(HandsetHost& host, const KeyMap& keys, CradleByte cradle)
        : HandsetDevice(host), keys_(keys), cradle_(cradle)
    {
    }

    std::optional<int> ReadKey() override;
    int Open() override;
    bool DeviceLost() const override { return lost_; }
    int readableFd() const override { return device_ ? device_->readableFd() : -1; }

protected:
    // Puts head at the start of the output buffer and writes the whole buffer. Fails without
    // writing when the device is not open or its output report cannot hold head.
    bool writeCommand(std::span<const std::uint8_t> head);
    bool writeCommand(std::initializer_list<std::uint8_t> head)
    {
        return writeCommand(std::span(head.begin(), head.size()));
    }
    // True when the device is open and its output report can hold length bytes.
    bool fits(std::size_t length) const { return device_ && output_.size() >= length; }
    // The byte the last command left at index (0 when there is none).
    std::uint8_t outputByte(std::size_t index) const;
    // Waits up to kReadTimeoutMs for a report with the given type byte; the report, or empty.
    std::span<const std::uint8_t> awaitReport(std::uint8_t type);
    // Releases the device and both buffers.
    void closeDevice();

private:
    enum class ReadState { Arrived, NoReport, Waiting };
    // The poll runs on the UI thread, so a read never blocks: it spans ticks instead. Each tick
    // takes a report that has already arrived; only when kReadTimeoutMs pass without one does
    // the read end with no report. The ticks thus see what one blocking read per tick would
    // have given them (a held key whose reports repeat stays one key), without the wait.
    ReadState ReadReport();

    const KeyMap& keys_;
    CradleByte cradle_;
    std::unique_ptr<HidDevice> device_;
    std::vector<std::uint8_t> output_;
    std::vector<std::uint8_t> input_;
    int inputFill_ = 0;
    std::optional<std::int64_t> readStartedMs_;
    bool lost_ = false;
};

}  // namespace tarnix
