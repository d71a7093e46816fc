#pragma once

#include <cstdint>
#include <vector>

namespace tarnix::test {

// A vendor-defined report descriptor with one input and one output report of the given sizes
// in bytes (0 leaves that report out), numbered with reportId when it is not 0.
std::vector<std::uint8_t> vendorReportDescriptor(int inputBytes, int outputBytes, std::uint8_t reportId = 0);

}  // namespace tarnix::test
