#include "device/system_device_clock.h"

#include <chrono>
#include <thread>

namespace tarnix {

void SystemDeviceClock::pause(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::tm SystemDeviceClock::localTime() const
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

}  // namespace tarnix
