#include "app/default_device_change.h"

namespace tarnix {

int changeDefaultDevice(DefaultSoundDevices& devices, SoundDirection direction, const std::string& name)
{
    if (name.empty()) {
        return DefaultDeviceNoName;
    }
    if (!devices.open()) {
        return DefaultDeviceNoServer;
    }
    if (devices.currentDefault(direction).find("USB") == std::string::npos) {
        return DefaultDeviceDone;
    }
    if (!devices.setDefault(direction, name)) {
        return direction == SoundDirection::Playback ? DefaultDevicePlaybackNotSet
                                                     : DefaultDeviceRecordNotSet;
    }
    return DefaultDeviceDone;
}

}  // namespace tarnix
