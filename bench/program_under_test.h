#pragma once

// The program a benchmark measures: this build's (PROGRAM_PATH, defined by the benchmark's
// target), or the one TARNIX_BENCH_PROGRAM names, such as an older build for figures side by side.
#include <QString>

#include <cstdlib>

namespace tarnix::bench {

inline QString programUnderTest()
{
    const char* other = std::getenv("TARNIX_BENCH_PROGRAM");
    return other != nullptr && *other != 0 ? QString::fromLocal8Bit(other) : QStringLiteral(PROGRAM_PATH);
}

}  // namespace tarnix::bench
