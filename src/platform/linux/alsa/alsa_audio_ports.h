#pragma once

#include "audio/mixer_port.h"
#include "audio/wave_device.h"
#include "base/event_loop.h"

#include <memory>

namespace tarnix {

// The platform's wave devices and mixers, for the program's players, recorders and volume. The
// device lists follow sound devices plugged in and out; `changed` runs on the loop when they do.
std::unique_ptr<WaveDevices> makeAlsaWaveDevices(EventLoop& loop, EventLoop::Task changed);
std::unique_ptr<MixerPort> makeAlsaMixerPort();

}  // namespace tarnix
