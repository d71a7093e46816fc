#pragma once

#include "audio/wave_device.h"

#include <string_view>

namespace tarnix {

// Wave devices found by name. Each returns the first matching id in index order, or -1 (which
// a channel takes as the default device). Devices whose names cannot be read are skipped.

// The handset: a name beginning with "USB" in any case, or "USB Audio Device".
int findHandsetOutput(const WaveDevices& devices);
int findHandsetInput(const WaveDevices& devices);
// The computer's own device: a name containing neither "USB" nor "Virtual" (case-sensitive).
int findComputerOutput(const WaveDevices& devices);
// A name equal to `name`, in any case.
int findOutputByName(const WaveDevices& devices, std::string_view name);
// A name containing `name` (case-sensitive).
int findInputByName(const WaveDevices& devices, std::string_view name);

}  // namespace tarnix
