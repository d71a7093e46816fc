#include "virtual_handset.h"

namespace tarnix::sim {

void VirtualHandset::sendReport(std::vector<std::uint8_t> report)
{
    if (report.size() < std::size_t(lengths_.input)) report.resize(std::size_t(lengths_.input), 0);
    inputs_.push_back(std::move(report));
    if (queued_) queued_();
}

std::vector<std::uint8_t> VirtualHandset::takeInputReport()
{
    std::vector<std::uint8_t> report = std::move(inputs_.front());
    inputs_.pop_front();
    return report;
}

void VirtualHandset::sendKeyReport(std::uint8_t key)
{
    sendReport({0x00, 0x01, key, hookByte(onCradle_)});
}

bool VirtualHandset::press(int handsetKey)
{
    const std::uint8_t key = keyByte(handsetKey);
    if (key == 0) return false;
    heldKey_ = key;
    sendKeyReport(key);
    return true;
}

void VirtualHandset::release()
{
    heldKey_ = 0;
    sendKeyReport(0);
}

void VirtualHandset::lift()
{
    onCradle_ = false;
    sendKeyReport(heldKey_);
}

void VirtualHandset::replace()
{
    onCradle_ = true;
    sendKeyReport(heldKey_);
}

void VirtualHandset::receive(std::span<const std::uint8_t> report)
{
    written_.emplace_back(report.begin(), report.end());
    if (report.size() >= 2) decode(report);
}

std::uint8_t VirtualHandset::memoryAt(int address) const
{
    const auto it = memory_.find(address);
    return it == memory_.end() ? 0 : it->second;
}

std::string VirtualHandset::describe() const
{
    std::string s = "model=" + std::to_string(model());
    s += onCradle_ ? " handset=on-cradle" : " handset=lifted";
    s += ringing_ ? " ring=on" : " ring=off";
    s += light_ ? " light=on" : " light=off";
    return s;
}

}  // namespace tarnix::sim
