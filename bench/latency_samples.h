#pragma once

// What the latency benchmarks share: a clock that reads alike in every process, and percentiles.
#include <algorithm>
#include <cstddef>
#include <ctime>
#include <vector>

namespace tarnix::bench {

// CLOCK_MONOTONIC in seconds, as the stand-ins stamp their records: comparable across processes.
inline double monotonicSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The sample at that fraction of the sorted samples (rounded down); 0 without samples.
inline double percentile(std::vector<double> samples, double fraction)
{
    if (samples.empty()) return 0;
    const auto at = static_cast<std::size_t>(fraction * static_cast<double>(samples.size() - 1));
    std::nth_element(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(at), samples.end());
    return samples[at];
}

}  // namespace tarnix::bench
