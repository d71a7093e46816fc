#include "audio/device_lookup.h"

#include "config/text_match.h"

#include <string>

namespace tarnix {

namespace {

enum class Direction { Output, Input };

template <class Match>
int findDevice(const WaveDevices& devices, Direction direction, Match matches)
{
    const int count = direction == Direction::Output ? devices.outputCount() : devices.inputCount();
    std::string name;
    for (int id = 0; id < count; ++id) {
        const bool readable =
            direction == Direction::Output ? devices.outputName(id, name) : devices.inputName(id, name);
        if (readable && matches(std::string_view(name))) {
            return id;
        }
    }
    return -1;
}

bool isHandsetName(std::string_view name)
{
    return startsWithIgnoringCase(name, "USB") || equalsIgnoringCase(name, "USB Audio Device");
}

}  // namespace

int findHandsetOutput(const WaveDevices& devices)
{
    return findDevice(devices, Direction::Output, isHandsetName);
}

int findHandsetInput(const WaveDevices& devices)
{
    return findDevice(devices, Direction::Input, isHandsetName);
}

int findComputerOutput(const WaveDevices& devices)
{
    return findDevice(devices, Direction::Output, [](std::string_view name) {
        return name.find("USB") == std::string_view::npos && name.find("Virtual") == std::string_view::npos;
    });
}

int findOutputByName(const WaveDevices& devices, std::string_view wanted)
{
    return findDevice(devices, Direction::Output,
                      [wanted](std::string_view name) { return equalsIgnoringCase(name, wanted); });
}

int findInputByName(const WaveDevices& devices, std::string_view wanted)
{
    return findDevice(devices, Direction::Input, [wanted](std::string_view name) {
        return name.find(wanted) != std::string_view::npos;
    });
}

}  // namespace tarnix
