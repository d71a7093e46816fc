#include "audio/wave_channel.h"

namespace tarnix {

int WaveChannel::open(int device, int channels, int rate, int bits)
{
    return openFormat(device, PcmFormat::linear(channels, rate, bits));
}

int WaveChannel::openFormat(int device, const PcmFormat& format)
{
    // The running thread, not the device handle, marks the channel open: a device that failed
    // to open leaves no handle, and starting a second thread on the same ring would race the first.
    if (isRunning() || hasDevice()) {
        if (device == deviceId_) {
            return 1;
        }
        close();
    }
    deviceId_ = device;
    if (!hasDevice()) {
        openDevice(device, format);
    }
    if (start() != 0) {
        return 1;
    }
    dropDevice();
    return 0;
}

int WaveChannel::close()
{
    stop();
    return 1;
}

}  // namespace tarnix
