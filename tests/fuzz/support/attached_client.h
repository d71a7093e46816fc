#pragma once

#include "messenger_stack.h"
#include "virtual_event_loop.h"
#include "virtual_handsets.h"

#include <QLoggingCategory>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tarnix::fuzz {

// The Skype client in the phone stack the unit tests use, an LCD handset plugged in (so numbers
// reach its display) and a messenger attached. Built afresh for every input: nothing an input
// leaves behind may steer the next one.
class AttachedClient {
public:
    static constexpr const char* kPeer = "sk";
    // Longer steps would mostly spin the 10 ms handset poll.
    static constexpr std::int64_t kMaxStepMs = 10000;

    AttachedClient()
    {
        // A node to watch, as hidraw offers: an idle handset then costs the clock nothing.
        stack_.bus.offerDescriptors();
        stack_.bus.plug(std::make_shared<sim::VirtualLcdHandset>());
        stack_.controller.StartController();
        stack_.skype.create();
        loop_.runPending();
        attach(kPeer);
    }

    // Every notification on the transport and on the log would drown the fuzzer's own output.
    static void quietLogs() { QLoggingCategory::setFilterRules(QStringLiteral("tarnix.*=false")); }

    void attach(const std::string& peer)
    {
        transport_.attach(peer);
        peer_ = peer;
        settle();
    }
    // One text as the carrier hands it over, from the messenger attached last.
    void notify(std::string_view text)
    {
        transport_.deliver(peer_, text);
        settle();
    }
    void advance(std::int64_t ms)
    {
        ms = ms < 0 ? 0 : (ms > kMaxStepMs ? kMaxStepMs : ms);
        stack_.callClock.tick += ms;
        loop_.advance(ms);
        settle();
    }

    // What the client keeps must stay within its own vocabulary whatever the messenger says.
    void checkState() const
    {
        const SkypeClient& skype = stack_.skype;
        if (skype.muteState() < SkypeClient::MuteUnknown || skype.muteState() > SkypeClient::NotMuted) {
            __builtin_trap();
        }
        if (skype.userStatus() < SkypeClient::StatusUnknown ||
            skype.userStatus() > SkypeClient::StatusLoggedOut) {
            __builtin_trap();
        }
        const DialledNumber& dialled = stack_.controller.dialledNumber();
        if (dialled.length() < 0 || dialled.length() >= DialledNumber::kCapacity) __builtin_trap();
    }

private:
    void settle()
    {
        loop_.runPending();
        // What the client sent is not looked at; dropping it keeps long inputs cheap.
        transport_.take();
        stack_.log.take();
    }

    test::VirtualEventLoop loop_;
    test::FakeSkypeTransport transport_;
    test::MessengerStack stack_{loop_, transport_};
    std::string peer_;
};

}  // namespace tarnix::fuzz
