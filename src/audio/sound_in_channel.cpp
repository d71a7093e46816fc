#include "audio/sound_in_channel.h"

namespace tarnix {

SoundInChannel::~SoundInChannel()
{
    stop();
}

void SoundInChannel::openDevice(int device, const PcmFormat& format)
{
    device_ = devices_.openInput(device, format);
}

void SoundInChannel::run()
{
    if (device_ != nullptr) {
        device_->start();
    }
    while (!stopRequested()) {
        queueEmptySlot();
        sleepMs(PollMs);
        handOnFilledSlot();
    }
    if (device_ != nullptr) {
        closeDevice(*device_, [this] { shutdownDevice(); });
        device_.reset();
    }
    // Without a device nothing above reset the ring; a closed channel always has a fresh one.
    ring_.reset();
}

void SoundInChannel::queueEmptySlot()
{
    if (ring_.queued >= ring_.count() || device_ == nullptr) {
        return;
    }
    const int index = ring_.next(ring_.writeIndex);
    WaveHeader& header = ring_.initHeader(index);
    if (device_->prepareHeader(header) != WaveOk || device_->addBuffer(header) != WaveOk) {
        return;  // the same slot is tried again on the next pass
    }
    ring_.writeIndex = index;
    ++ring_.queued;
}

void SoundInChannel::handOnFilledSlot()
{
    if (ring_.queued <= 0) {
        return;
    }
    device_->update();
    const int index = ring_.next(ring_.readIndex);
    WaveHeader& header = ring_.header(index);
    if ((header.flags & WaveHeader::Done) == 0) {
        return;
    }
    if ((header.flags & WaveHeader::Prepared) != 0) {
        device_->unprepareHeader(header);
    }
    if (sink_ != nullptr) {
        sink_->write(header.data, static_cast<int>(header.bytesRecorded));
    }
    ring_.readIndex = index;
    --ring_.queued;
}

void SoundInChannel::shutdownDevice()
{
    device_->stop();
    device_->reset();
    unprepareSlots(*device_);
}

}  // namespace tarnix
