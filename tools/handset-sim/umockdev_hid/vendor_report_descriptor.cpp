#include "vendor_report_descriptor.h"

namespace tarnix::test {

std::vector<std::uint8_t> vendorReportDescriptor(int inputBytes, int outputBytes, std::uint8_t reportId)
{
    std::vector<std::uint8_t> d = {
        0x06, 0x00, 0xFF,  // usage page (vendor defined)
        0x09, 0x01,        // usage 1
        0xA1, 0x01,        // collection (application)
        0x15, 0x00,        // logical minimum 0
        0x26, 0xFF, 0x00,  // logical maximum 255
        0x75, 0x08,        // report size 8 bits
    };
    if (reportId != 0) d.insert(d.end(), {0x85, reportId});
    const auto report = [&d](int bytes, std::uint8_t usage, std::uint8_t mainItem) {
        if (bytes <= 0) return;
        d.insert(d.end(), {0x96, static_cast<std::uint8_t>(bytes & 0xFF),
                           static_cast<std::uint8_t>(bytes >> 8), 0x09, usage, mainItem, 0x02});
    };
    report(inputBytes, 0x01, 0x81);
    report(outputBytes, 0x02, 0x91);
    d.push_back(0xC0);  // end collection
    return d;
}

}  // namespace tarnix::test
