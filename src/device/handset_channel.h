#pragma once

#include "device/handset_device.h"

#include <cstdint>
#include <memory>
#include <mutex>

namespace tarnix {

class HandsetEventSink;

// The commands the rest of the program gives the current handset. Every command but
// HandsetPresent and SetHandsetEventSink returns -1 at once when no handset is current; an "on"
// argument means on only when it is 1.
class HandsetChannel {
public:
    HandsetChannel() = default;
    HandsetChannel(const HandsetChannel&) = delete;
    HandsetChannel& operator=(const HandsetChannel&) = delete;

    int HandsetPresent() const;
    int SetHandsetEventSink(HandsetEventSink* sink);
    // 0 when the model rang (or stopped), else -1.
    int HandsetRing(int on);
    // Chooses the melody, then rings as HandsetRing.
    int HandsetRingMelody(int on, int melody);
    int HandsetSetVolume(int level);
    // 0 when the model switched the light, else -1.
    int HandsetLight(int on);
    int HandsetLcd(int op, std::uint8_t flag, int level, const char* text, std::uint8_t clock);
    int HandsetProperty(int index);
    int HandsetSelectMelody(int melody);
    int HandsetSwitchLine(int pstn);
    // The HandsetError of the last failed command; reading clears it.
    int HandsetLastError();

    // For the handset layer that owns the current handset.
    HandsetEventSink* eventSink() const { return sink_; }
    HandsetDevice* current() const;
    void setCurrent(std::unique_ptr<HandsetDevice> handset);
    std::unique_ptr<HandsetDevice> takeCurrent();

private:
    template <typename Operation>
    int withHandset(Operation operation);

    // Recursive: a command may run while another one on the same thread holds it (a sink
    // reacting to an event issues commands of its own).
    mutable std::recursive_mutex lock_;
    std::unique_ptr<HandsetDevice> current_;
    HandsetEventSink* sink_ = nullptr;
};

}  // namespace tarnix
