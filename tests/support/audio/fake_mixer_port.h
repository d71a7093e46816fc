#pragma once

#include "audio/mixer_port.h"

#include <map>
#include <optional>
#include <vector>

namespace tarnix::test {

// Mixer devices with lines of given component types; a line may lack a volume control or a
// readable value.
class FakeMixerPort : public MixerPort {
public:
    // Built from brace lists in the tests: the constructors stay implicit.
    struct Line {
        Line(  // NOLINT(google-explicit-constructor)
            std::uint32_t type, bool hasVolume = true, bool readable = true, std::uint32_t value = 0)
            : type(type), hasVolume(hasVolume), readable(readable), value(value)
        {
        }
        std::uint32_t type = 0;
        bool hasVolume = true;
        bool readable = true;
        std::uint32_t value = 0;
    };
    struct Device {
        Device(  // NOLINT(google-explicit-constructor)
            std::optional<std::string> name, std::vector<Line> lines = {}, bool opens = true)
            : name(std::move(name)), lines(std::move(lines)), opens(opens)
        {
        }
        std::optional<std::string> name;
        std::vector<Line> lines;
        bool opens = true;
    };

    std::vector<Device> devices;
    int lastOpened = -1;
    std::vector<std::uint32_t> probed;

    int deviceCount() const override { return static_cast<int>(devices.size()); }
    bool deviceName(int id, std::string& name) const override
    {
        if (id < 0 || id >= deviceCount() || !devices[static_cast<std::size_t>(id)].name) return false;
        name = *devices[static_cast<std::size_t>(id)].name;
        return true;
    }
    std::unique_ptr<MixerDevice> open(int id) override
    {
        lastOpened = id;
        if (id < 0 || id >= deviceCount() || !devices[static_cast<std::size_t>(id)].opens) return nullptr;
        return std::make_unique<Mixer>(*this, devices[static_cast<std::size_t>(id)]);
    }

private:
    class Mixer : public MixerDevice {
    public:
        Mixer(FakeMixerPort& port, Device& device) : port_(port), device_(device) {}
        int findLine(std::uint32_t type) override
        {
            port_.probed.push_back(type);
            for (std::size_t i = 0; i < device_.lines.size(); ++i) {
                if (device_.lines[i].type == type) return static_cast<int>(i);
            }
            return -1;
        }
        int findVolumeControl(int line) override { return at(line).hasVolume ? line : -1; }
        int getControlValue(int control, std::uint32_t& value) override
        {
            if (!at(control).readable) return 0;
            value = at(control).value;
            return 1;
        }
        int setControlValue(int control, std::uint32_t value) override
        {
            at(control).value = value;
            return 1;
        }

    private:
        Line& at(int index) { return device_.lines[static_cast<std::size_t>(index)]; }
        FakeMixerPort& port_;
        Device& device_;
    };
};

}  // namespace tarnix::test
