#pragma once

#include <ctime>

namespace tarnix {

// The waits the handsets' report protocols need, and the wall clock the LCD shows.
class DeviceClock {
public:
    virtual ~DeviceClock() = default;

    // Blocks the caller for ms milliseconds (handset firmware needs time between some reports).
    virtual void pause(int ms) = 0;
    virtual std::tm localTime() const = 0;
};

}  // namespace tarnix
