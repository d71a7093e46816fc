#pragma once

#include <string>

namespace tarnix {

// What the phone controller needs of a messenger client: whether it is attached and in a call,
// its key mapping, and telling it which sound devices are the handset's.
class MessengerLink {
public:
    virtual ~MessengerLink() = default;

    virtual bool isAttached() const = 0;
    virtual bool callInProgress() const = 0;
    // An incoming call rings the handset.
    virtual bool callRinging() const = 0;
    // The client's handset key mapping.
    virtual void onHandsetKey(int code) = 0;
    // The handset's output device (its product name and device number) and input device.
    virtual void useHandsetOutput(const std::string& name, int deviceId) = 0;
    virtual void useHandsetInput(const std::string& name) = 0;
};

}  // namespace tarnix
