#pragma once

#include "app/messenger_link.h"
#include "key_name.h"
#include "transcript.h"

#include <string>

namespace tarnix::test {

// A client attached and in a call as the test says: "skype key Yes", "skype output USB Audio #2",
// "skype input USB Audio".
class FakeMessengerLink final : public MessengerLink {
public:
    FakeMessengerLink(std::string name, TranscriptLog& log) : name_(std::move(name)), log_(log) {}
    bool isAttached() const override { return attached; }
    bool callInProgress() const override { return inCall; }
    bool callRinging() const override { return ringing; }
    void onHandsetKey(int code) override { log_.note(name_ + " key " + keyName(code)); }
    void useHandsetOutput(const std::string& device, int id) override
    {
        log_.note(name_ + " output " + device + " #" + std::to_string(id));
    }
    void useHandsetInput(const std::string& device) override { log_.note(name_ + " input " + device); }

    bool attached = false;
    bool inCall = false;
    bool ringing = false;

private:
    std::string name_;
    TranscriptLog& log_;
};

}  // namespace tarnix::test
