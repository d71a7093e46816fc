#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace tarnix::sim {

// A handset at the level of its HID reports: it queues the input reports a person's actions
// produce and decodes the output reports the driver sends into what the handset now does.
// Byte 0 of every report is the report id (0).
class VirtualHandset {
public:
    struct Lengths {
        int input;
        int output;
    };

    virtual ~VirtualHandset() = default;

    virtual int model() const = 0;
    virtual std::uint16_t vendorId() const = 0;
    virtual std::uint16_t productId() const = 0;
    int inputReportLength() const { return lengths_.input; }
    int outputReportLength() const { return lengths_.output; }

    // A person's actions. press() holds the key down (with the hook as it is) until release().
    // Returns false for a key this model does not have.
    bool press(int handsetKey);
    void release();
    void lift();
    void replace();
    bool onCradle() const { return onCradle_; }
    // A raw input report, padded with zeros to the input report length.
    void sendReport(std::vector<std::uint8_t> report);

    bool hasInputReport() const { return !inputs_.empty(); }
    // Called after each report is queued (to make a descriptor readable, say).
    void setQueueListener(std::function<void()> listener) { queued_ = std::move(listener); }
    std::vector<std::uint8_t> takeInputReport();

    // An output report from the driver.
    void receive(std::span<const std::uint8_t> report);
    const std::vector<std::vector<std::uint8_t>>& written() const { return written_; }

    bool ringing() const { return ringing_; }
    bool light() const { return light_; }
    // Bytes of the handset's memory, by address.
    std::map<int, std::uint8_t>& memory() { return memory_; }

    // A one-line account of what the handset shows and rings, every field always present:
    // "model=1 handset=on-cradle ring=off light=off" and what the model adds.
    virtual std::string describe() const;

protected:
    explicit VirtualHandset(Lengths lengths) : lengths_(lengths) {}

    // The key byte of a key report for a HandsetKey; 0 when the model has no such key.
    virtual std::uint8_t keyByte(int handsetKey) const = 0;
    virtual std::uint8_t hookByte(bool onCradle) const = 0;
    virtual void decode(std::span<const std::uint8_t> report) = 0;

    void setRinging(bool on) { ringing_ = on; }
    void setLight(bool on) { light_ = on; }
    std::uint8_t memoryAt(int address) const;

private:
    void sendKeyReport(std::uint8_t key);

    Lengths lengths_;
    std::deque<std::vector<std::uint8_t>> inputs_;
    std::function<void()> queued_;
    std::vector<std::vector<std::uint8_t>> written_;
    std::map<int, std::uint8_t> memory_;
    std::uint8_t heldKey_ = 0;
    bool onCradle_ = true;
    bool ringing_ = false;
    bool light_ = false;
};

}  // namespace tarnix::sim
