#pragma once

#include "app/default_sound_devices.h"

#include <string>

namespace tarnix {

enum DefaultDeviceResult : int {
    DefaultDeviceDone = 0,  // changed, or left as it was because the default is not a USB device
    DefaultDeviceNoName = -10,
    DefaultDeviceNoServer = -20,
    DefaultDevicePlaybackNotSet = -30,
    DefaultDeviceRecordNotSet = -40,
};

// Moves the default device of the direction to the named device, but only while the current
// default is a USB device ("USB" in its product name, as written): when the handset was plugged
// in, the desktop may have made it the default, and the computer's own device belongs there.
// Any other default is the user's choice and stays.
int changeDefaultDevice(DefaultSoundDevices& devices, SoundDirection direction, const std::string& name);

}  // namespace tarnix
