#pragma once

#include "app/messenger_link.h"

namespace tarnix {

// A messenger client that never attaches: keys and device choices go nowhere, so the handset
// works the keyboard. Stands where a client is not linked into the program.
class DetachedMessenger final : public MessengerLink {
public:
    bool isAttached() const override { return false; }
    bool callInProgress() const override { return false; }
    void onHandsetKey(int) override {}
    void useHandsetOutput(const std::string&, int) override {}
    void useHandsetInput(const std::string&) override {}
};

}  // namespace tarnix
