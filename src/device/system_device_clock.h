#pragma once

#include "device/device_clock.h"

namespace tarnix {

class SystemDeviceClock final : public DeviceClock {
public:
    void pause(int ms) override;
    std::tm localTime() const override;
};

}  // namespace tarnix
