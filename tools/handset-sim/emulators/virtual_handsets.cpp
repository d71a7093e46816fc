#include "virtual_handsets.h"

#include "device/handset_codes.h"

#include <map>

namespace tarnix::sim {

namespace {

std::uint8_t lookUp(const std::map<int, std::uint8_t>& keys, int handsetKey)
{
    const auto it = keys.find(handsetKey);
    return it == keys.end() ? 0 : it->second;
}

}  // namespace

// Each keypad's wiring, key to the byte it reports.
std::uint8_t VirtualBasicHandset::keyByte(int handsetKey) const
{
    static const std::map<int, std::uint8_t> keys{
        {KeyDown, 1}, {KeyUp, 2}, {KeyYes, 3},  {KeyNo, 4}, {Key0, 5},       {Key8, 6},
        {KeyHash, 7}, {Key9, 8},  {KeyStar, 9}, {Key7, 10}, {Key5, 11},      {Key6, 12},
        {Key4, 13},   {Key1, 14}, {Key2, 15},   {Key3, 16}, {KeyDelete, 19}, {KeyMute, 20}};
    return lookUp(keys, handsetKey);
}

void VirtualBasicHandset::decode(std::span<const std::uint8_t> report)
{
    const std::uint8_t value = report.size() > 2 ? report[2] : 0;
    switch (report[1]) {
        case 0x01:
            setRinging((value & 1) != 0);
            break;
        case 0x02: {
            // The firmware answers every 02 report with the word at the address in byte 2, and
            // takes bit 0 of the same byte for the light.
            setLight((value & 1) != 0);
            sendReport({0x00, 0x02, memoryAt(2 * value), memoryAt(2 * value + 1)});
            break;
        }
        case 0x04:
            if (report.size() >= 5) {
                memory()[2 * value] = report[3];
                memory()[2 * value + 1] = report[4];
            }
            break;
        default:
            break;
    }
}

std::uint8_t VirtualLcdHandset::keyByte(int handsetKey) const
{
    static const std::map<int, std::uint8_t> keys{
        {KeyNo, 1}, {Key3, 2},  {Key2, 3},     {Key1, 4},     {KeyDelete, 5}, {KeyYes, 7},
        {Key6, 8},  {Key5, 9},  {Key4, 10},    {KeyMute, 11}, {KeyUp, 13},    {Key9, 14},
        {Key8, 15}, {Key7, 16}, {KeyDown, 19}, {KeyHash, 20}, {Key0, 21},     {KeyStar, 22}};
    return lookUp(keys, handsetKey);
}

void VirtualLcdHandset::decode(std::span<const std::uint8_t> report)
{
    switch (report[1]) {
        case 0x01:
            if (report.size() < 4) break;
            if (report[3] == 0x11) {
                setRinging(report[2] == 0xFF);
            } else if (report[2] == 0x11) {
                setLight(report[3] == 0xFF);
            }
            break;
        case 0x02:
            if (report.size() >= 6 && report[2] == 0x01) memory()[report[3] - 1] = report[5];
            if (report.size() >= 4 && report[2] == 0x02) {
                std::vector<std::uint8_t> reply{0x00, 0x02};
                for (int i = 0; i < 16; ++i) reply.push_back(memoryAt(report[3] - 1 + i));
                sendReport(std::move(reply));
            }
            break;
        case 0x03:
            if (report.size() >= 34) std::copy(report.begin() + 2, report.begin() + 34, cells_.begin());
            break;
        default:
            break;
    }
}

std::string VirtualLcdHandset::describe() const
{
    static constexpr std::array<const char*, 7> kDays{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    const LcdReading r = lcd();
    std::string s = VirtualHandset::describe() + " lcd=\"" + r.shown() + "\"";
    s += r.callIcon ? " call=on" : " call=off";
    s += " bars=" + std::to_string(r.linkBars);
    s += r.linkIndicator ? " link=on" : " link=off";
    s += " day=";
    s += r.weekday >= 0 ? kDays[std::size_t(r.weekday)] : "-";
    return s;
}

std::uint8_t VirtualMelodyHandset::keyByte(int handsetKey) const
{
    static const std::map<int, std::uint8_t> keys{
        {Key1, 1},     {Key2, 2},   {Key3, 3},     {KeyNo, 4},    {Key4, 5},   {Key5, 6},
        {Key6, 7},     {KeyYes, 8}, {Key7, 9},     {Key8, 10},    {Key9, 11},  {KeyDelete, 12},
        {KeyStar, 13}, {Key0, 14},  {KeyHash, 15}, {KeyMute, 16}, {KeyUp, 17}, {KeyDown, 18}};
    return lookUp(keys, handsetKey);
}

void VirtualMelodyHandset::decode(std::span<const std::uint8_t> report)
{
    if (report.size() < 3) return;
    const std::uint8_t value = report[2];
    if (report[1] == 0x01) {
        if (value == 0x30) {
            setRinging(false);
        } else if (value >= 0x01 && value <= 0x0C) {
            melody_ = value - 1;
            setRinging(true);
        } else if (value >= 0x20 && value <= 0x2F) {
            volume_ = value - 0x1F;
        }
    } else if (report[1] == 0x04) {
        setLight(value != 0);
    }
}

std::string VirtualMelodyHandset::describe() const
{
    const auto known = [](int value) { return value < 0 ? std::string("-") : std::to_string(value); };
    return VirtualHandset::describe() + " melody=" + known(melody_) + " volume=" + known(volume_);
}

}  // namespace tarnix::sim
