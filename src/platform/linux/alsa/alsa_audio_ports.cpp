#include "platform/linux/alsa/alsa_audio_ports.h"

#include "platform/linux/alsa/alsa_mixer_port.h"
#include "platform/linux/alsa/alsa_wave_devices.h"

namespace tarnix {

std::unique_ptr<WaveDevices> makeAlsaWaveDevices(EventLoop& loop, EventLoop::Task changed)
{
    auto devices = std::make_unique<AlsaWaveDevices>();
    devices->followChanges(loop, std::move(changed));
    return devices;
}

std::unique_ptr<MixerPort> makeAlsaMixerPort()
{
    return std::make_unique<AlsaMixerPort>();
}

}  // namespace tarnix
