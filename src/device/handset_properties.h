#pragma once

#include <array>

namespace tarnix {

// A model's answers to Property(index) for indices 1-6 and 8-10; every other index answers -1.
class HandsetProperties {
public:
    struct Values {
        int vendorId;
        int productId;
        int volume;
        int memorySize;
        int lcd;
        int melodyFixed;
        int lineSwitch;
        int light;
        int ringSettings;
    };

    constexpr explicit HandsetProperties(const Values& v)
        : values_{-1, v.vendorId,   v.productId, v.volume,      v.memorySize, v.lcd, v.melodyFixed,
                  -1, v.lineSwitch, v.light,     v.ringSettings}
    {
    }

    constexpr int operator[](int index) const
    {
        return index >= 0 && index < int(values_.size()) ? values_[std::size_t(index)] : -1;
    }

private:
    std::array<int, 11> values_;
};

}  // namespace tarnix
