#pragma once

#include <cstdint>
#include <span>

namespace tarnix {

// What a HID report descriptor says about the reports a device exchanges, in the terms the
// handset layer uses: the largest report of each kind in bytes plus one report-id byte (0 when
// the descriptor declares no report of that kind).
struct ReportLayout {
    int inputReportLength = 0;
    int outputReportLength = 0;
    // True when the descriptor declares report ids; the kernel then keeps the id byte on reads.
    bool numberedReports = false;

    friend bool operator==(const ReportLayout&, const ReportLayout&) = default;
};

// Walks the descriptor's items, summing report size x report count of every input and output
// main item per report id. Long items are skipped; an item cut off by the end of the data ends
// the walk.
ReportLayout parseReportLayout(std::span<const std::uint8_t> descriptor);

}  // namespace tarnix
