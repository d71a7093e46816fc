#pragma once

#include "audio/mixer_port.h"
#include "audio/wave_device.h"

#include <memory>

namespace tarnix {

// The platform's wave devices and mixers, for the program's players, recorders and volume.
std::unique_ptr<WaveDevices> makeAlsaWaveDevices();
std::unique_ptr<MixerPort> makeAlsaMixerPort();

}  // namespace tarnix
