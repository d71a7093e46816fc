#include "audio/linear_dither.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace tarnix {
namespace {

constexpr std::int32_t One = 1 << 28;  // full scale in the decoder's fixed point

TEST(LinearDither, ClipsFullScaleAndBeyond)
{
    struct Case {
        std::int32_t sample;
        int lowest;
        int highest;
    };
    // The rounding offset lifts negative full scale off the limit now and then.
    const Case cases[] = {
        {One, 32767, 32767},
        {One - 1, 32767, 32767},
        {std::numeric_limits<std::int32_t>::max(), 32767, 32767},
        {-One, -32768, -32767},
        {std::numeric_limits<std::int32_t>::min(), -32768, -32768},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sample);
        LinearDither dither;
        for (int i = 0; i < 50; ++i) {
            const int out = dither.quantize(c.sample);
            EXPECT_GE(out, c.lowest);
            EXPECT_LE(out, c.highest);
        }
    }
}

TEST(LinearDither, StaysWithinOneStepOfTheExactValueOnAverage)
{
    // 1000.25 steps: dither plus error feedback must average out to the fraction, not truncate it.
    const std::int32_t sample = (1000 << 13) + (1 << 11);
    LinearDither dither;
    double sum = 0;
    constexpr int count = 20000;
    for (int i = 0; i < count; ++i) {
        const int out = dither.quantize(sample);
        EXPECT_GE(out, 997);
        EXPECT_LE(out, 1004);
        sum += out;
    }
    EXPECT_NEAR(sum / count, 1000.25, 0.02);
}

}  // namespace
}  // namespace tarnix
