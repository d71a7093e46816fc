#pragma once

#include "answering/call_table.h"
#include "answering/command_sender.h"
#include "app/messenger_link.h"

#include <array>
#include <string>

namespace tarnix {

// The client for the QQ messenger. It never opens a link to QQ, so it is never attached, never
// in a call, and whatever is asked of it has no effect.
class QqClient final : public MessengerLink, public CommandSender {
public:
    // The names QQ's own messages go by; nothing is exchanged under them.
    static constexpr std::array<const char*, 3> kMessageNames = {
        "WM_QQAPI_REGISTER", "WM_QQAPI_REGISTER_RESP", "WM_QQAPI_AVAILABLE"};

    QqClient(CallClock& clock, const Settings& settings, FrontWindow& front);

    // No QQ window is ever looked for.
    bool isAttached() const override { return false; }
    bool callInProgress() const override { return calls_.anyCallActive(); }
    bool callRinging() const override { return false; }
    void onHandsetKey(int code) override;
    void useHandsetOutput(const std::string& name, int deviceId) override;
    void useHandsetInput(const std::string&) override {}
    // There is no QQ to send to.
    int sendCommand(const char* text) override;

    CallTable& calls() { return calls_; }

private:
    CallTable calls_;
};

}  // namespace tarnix
