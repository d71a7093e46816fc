#pragma once

#include "audio/pcm_format.h"

#include <cstdint>
#include <memory>
#include <string>

namespace tarnix {

// One buffer exchanged with a wave device. The channel owns it (it lives in the channel's ring);
// the device fills or plays it and reports progress through the flags.
struct WaveHeader {
    static constexpr std::uint32_t Done = 1u << 0;
    static constexpr std::uint32_t Prepared = 1u << 1;
    // Set by the device while it holds the buffer.
    static constexpr std::uint32_t InQueue = 1u << 4;

    unsigned char* data = nullptr;
    std::uint32_t bufferLength = 0;
    std::uint32_t bytesRecorded = 0;
    void* user = nullptr;
    std::uint32_t flags = 0;
    // Device bookkeeping: the device's queue link and a position of its own.
    WaveHeader* next = nullptr;
    std::uint64_t reserved = 0;
};

// Answers of the wave-device operations.
enum WaveResult : int {
    WaveOk = 0,
    WaveError = 1,
    // The device still holds the buffer (or a buffer, for close); try again later.
    WaveStillPlaying = 33,
};

// An open capture device. Buffers are filled in the order they were added. The device has no
// thread of its own: `update` moves the flags forward and is called by the one thread that uses
// the device.
class WaveInDevice {
public:
    virtual ~WaveInDevice() = default;
    virtual int start() = 0;
    virtual int stop() = 0;
    // Stops capture and gives back every buffer it holds, marked done.
    virtual int reset() = 0;
    virtual int prepareHeader(WaveHeader& header) = 0;
    virtual int unprepareHeader(WaveHeader& header) = 0;
    virtual int addBuffer(WaveHeader& header) = 0;
    virtual void update() = 0;
    // WaveStillPlaying while buffers are held; the object stays usable until close answers WaveOk.
    virtual int close() = 0;
};

// An open playback device. Buffers play in the order they were written.
class WaveOutDevice {
public:
    virtual ~WaveOutDevice() = default;
    virtual int pause() = 0;
    // Stops playback and gives back every buffer it holds, marked done.
    virtual int reset() = 0;
    virtual int prepareHeader(WaveHeader& header) = 0;
    virtual int unprepareHeader(WaveHeader& header) = 0;
    virtual int write(WaveHeader& header) = 0;
    virtual void update() = 0;
    virtual int close() = 0;
};

// The platform's wave devices: listed by index, opened by index (-1 is the default device).
class WaveDevices {
public:
    virtual ~WaveDevices() = default;
    virtual int outputCount() const = 0;
    virtual int inputCount() const = 0;
    // The product name of a device; false when its capabilities cannot be read.
    virtual bool outputName(int id, std::string& name) const = 0;
    virtual bool inputName(int id, std::string& name) const = 0;
    // Null when the device cannot be opened with the format.
    virtual std::unique_ptr<WaveInDevice> openInput(int id, const PcmFormat& format) = 0;
    virtual std::unique_ptr<WaveOutDevice> openOutput(int id, const PcmFormat& format) = 0;
};

}  // namespace tarnix
