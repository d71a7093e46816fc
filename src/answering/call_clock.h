#pragma once

#include "config/utf8_string.h"

#include <cstdint>
#include <ctime>

namespace tarnix {

// The two clocks a call's bookkeeping reads: a millisecond tick for durations and deadlines,
// and the local calendar time for the texts shown with a message.
class CallClock {
public:
    virtual ~CallClock() = default;
    virtual std::int64_t tickMs() const = 0;
    virtual std::tm localTime() const = 0;
};

// The machine's monotonic clock and local time.
class SystemCallClock final : public CallClock {
public:
    std::int64_t tickMs() const override;
    std::tm localTime() const override;
};

// "2006-03-01 09:05:07": how a ring or answer time is written into a message record.
Utf8String formatTimeText(const std::tm& time);

}  // namespace tarnix
