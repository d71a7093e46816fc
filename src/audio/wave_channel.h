#pragma once

#include "audio/buffer_ring.h"
#include "audio/wave_device.h"
#include "audio/worker_thread.h"

#include <memory>

namespace tarnix {

// What the capture and playback channels share: the ring, the device id and the open/close
// rules. The device itself is opened by the owner and shut and closed by the channel's thread.
class WaveChannel : public WorkerThread {
public:
    static constexpr int PollMs = 10;

    explicit WaveChannel(WaveDevices& devices) : devices_(devices) {}

    // Callers call it once, before the first open.
    void setBuffers(int size, int count) { ring_.setBuffers(size, count); }
    int open(int device, int channels, int rate, int bits);
    // Opening the device the channel already has open changes nothing and answers 1; another
    // device is closed first. Returns 1 when the thread runs.
    int openFormat(int device, const PcmFormat& format);
    // Ends the thread, which shuts and closes the device. Returns 1.
    virtual int close();

protected:
    virtual bool hasDevice() const = 0;
    virtual void openDevice(int device, const PcmFormat& format) = 0;
    // Drops a device whose thread could not be started.
    virtual void dropDevice() = 0;

    // Unprepares every prepared slot, waiting out the device's "still playing" answers.
    template <class Device>
    void unprepareSlots(Device& device);
    // Closes the device, shutting it down again while it answers "still playing".
    template <class Device, class Shutdown>
    void closeDevice(Device& device, Shutdown shutdown);

    WaveDevices& devices_;
    BufferRing ring_;

private:
    int deviceId_ = -1;
};

template <class Device>
void WaveChannel::unprepareSlots(Device& device)
{
    for (int i = 0; i < ring_.count(); ++i) {
        WaveHeader& header = ring_.header(i);
        if ((header.flags & WaveHeader::Prepared) == 0) {
            continue;
        }
        while (device.unprepareHeader(header) == WaveStillPlaying) {
            sleepMs(PollMs);
        }
    }
    ring_.reset();
}

template <class Device, class Shutdown>
void WaveChannel::closeDevice(Device& device, Shutdown shutdown)
{
    shutdown();
    while (device.close() == WaveStillPlaying) {
        sleepMs(PollMs);
        shutdown();
    }
}

}  // namespace tarnix
