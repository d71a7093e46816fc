#include "platform/linux/hid/report_layout.h"

#include <algorithm>
#include <map>
#include <vector>

namespace tarnix {
namespace {

// Item types and tags of the short items that matter for report sizes.
constexpr int kTypeMain = 0;
constexpr int kTypeGlobal = 1;
constexpr int kMainInput = 0x8;
constexpr int kMainOutput = 0x9;
constexpr int kGlobalReportSize = 0x7;
constexpr int kGlobalReportId = 0x8;
constexpr int kGlobalReportCount = 0x9;
constexpr int kGlobalPush = 0xA;
constexpr int kGlobalPop = 0xB;
constexpr std::uint8_t kLongItemPrefix = 0xFE;

struct GlobalState {
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint32_t reportId = 0;
};

std::uint32_t littleEndian(std::span<const std::uint8_t> data)
{
    std::uint32_t value = 0;
    for (std::size_t i = data.size(); i-- > 0;) {
        value = (value << 8) | data[i];
    }
    return value;
}

// Bits per report id for one kind of report, turned into the length Windows reports.
int reportLength(const std::map<std::uint32_t, std::uint64_t>& bitsById)
{
    std::uint64_t largest = 0;
    for (const auto& [id, bits] : bitsById) {
        largest = std::max(largest, bits);
    }
    if (bitsById.empty()) {
        return 0;
    }
    const std::uint64_t bytes = (largest + 7) / 8 + 1;
    return static_cast<int>(std::min<std::uint64_t>(bytes, 0x7FFFFFFF));
}

}  // namespace

ReportLayout parseReportLayout(std::span<const std::uint8_t> descriptor)
{
    GlobalState global;
    std::vector<GlobalState> pushed;
    std::map<std::uint32_t, std::uint64_t> inputBits;
    std::map<std::uint32_t, std::uint64_t> outputBits;
    bool numbered = false;

    std::size_t at = 0;
    while (at < descriptor.size()) {
        const std::uint8_t prefix = descriptor[at];
        if (prefix == kLongItemPrefix) {
            if (at + 1 >= descriptor.size()) break;
            at += 3 + descriptor[at + 1];
            continue;
        }
        const std::size_t size = (prefix & 0x3) == 3 ? 4 : (prefix & 0x3);
        if (at + 1 + size > descriptor.size()) break;
        const std::uint32_t value = littleEndian(descriptor.subspan(at + 1, size));
        const int type = (prefix >> 2) & 0x3;
        const int tag = prefix >> 4;
        at += 1 + size;

        if (type == kTypeGlobal) {
            switch (tag) {
                case kGlobalReportSize:
                    global.reportSize = value;
                    break;
                case kGlobalReportCount:
                    global.reportCount = value;
                    break;
                case kGlobalReportId:
                    global.reportId = value;
                    numbered = true;
                    break;
                case kGlobalPush:
                    pushed.push_back(global);
                    break;
                case kGlobalPop:
                    if (!pushed.empty()) {
                        global = pushed.back();
                        pushed.pop_back();
                    }
                    break;
                default:
                    break;
            }
        } else if (type == kTypeMain && (tag == kMainInput || tag == kMainOutput)) {
            auto& bits = tag == kMainInput ? inputBits : outputBits;
            bits[global.reportId] += std::uint64_t{global.reportSize} * global.reportCount;
        }
    }
    return ReportLayout{reportLength(inputBits), reportLength(outputBits), numbered};
}

}  // namespace tarnix
