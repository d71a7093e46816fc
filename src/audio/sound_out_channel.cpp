#include "audio/sound_out_channel.h"

#include <algorithm>
#include <cstring>

namespace tarnix {

SoundOutChannel::~SoundOutChannel()
{
    stop();
}

void SoundOutChannel::openDevice(int device, const PcmFormat& format)
{
    device_ = devices_.openOutput(device, format);
}

int SoundOutChannel::write(const void* data, int length)
{
    if (ring_.count() == 0 || ring_.size() == 0) {
        return 0;
    }
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (int offset = 0; offset < length; offset += ring_.size()) {
        if (writePiece(bytes + offset, std::min(ring_.size(), length - offset)) == 0) {
            return 0;
        }
    }
    return 1;
}

int SoundOutChannel::writePiece(const unsigned char* data, int length)
{
    if (device_ != nullptr) {
        device_->update();
    }
    const int index = ring_.next(ring_.writeIndex);
    if ((ring_.header(index).flags & WaveHeader::Done) == 0) {
        return 0;
    }
    WaveHeader& header = ring_.initHeader(index);
    std::memcpy(header.data, data, static_cast<std::size_t>(length));
    header.bufferLength = static_cast<std::uint32_t>(length);
    if (device_ != nullptr) {
        device_->prepareHeader(header);
        device_->write(header);
    }
    ring_.writeIndex = index;
    return 1;
}

bool SoundOutChannel::allDone()
{
    if (device_ != nullptr) {
        device_->update();
    }
    return ring_.allDone();
}

void SoundOutChannel::run()
{
    while (!stopRequested()) {
        sleepMs(PollMs);
    }
    if (device_ != nullptr) {
        closeDevice(*device_, [this] { shutdownDevice(); });
        device_.reset();
    }
    // Without a device nothing above reset the ring; a closed channel always has a fresh one.
    ring_.reset();
}

void SoundOutChannel::shutdownDevice()
{
    device_->pause();
    device_->reset();
    unprepareSlots(*device_);
}

}  // namespace tarnix
