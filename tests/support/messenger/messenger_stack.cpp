#include "messenger_stack.h"

namespace tarnix::test {

void PhoneSurroundings::ShowConnectionStatus(int connected, int online)
{
    log_.note(std::string("status ") + (connected ? "Connected with Skype" : "Disconnected with Skype") +
              " / " + (online ? "Skype is online" : "Skype is offline"));
}

void PhoneSurroundings::SetHandsetLightMode(int mode)
{
    log_.note("light " + std::to_string(mode));
    blinker_.SetHandsetLightMode(mode);
}

HandsetTones PhoneSurroundings::tones()
{
    return {[this](int id) { log_.note("tone " + std::to_string(id)); },
            [this](int index) { log_.note("key tone " + std::to_string(index)); }};
}

bool FakeSkypeTransport::send(const std::string& peer, std::string_view text)
{
    if (!sendsGoOut) return false;
    sent.push_back(peer + ": " + std::string(text));
    return true;
}

void FakeSkypeTransport::attach(const std::string& peer, int status)
{
    if (status == AttachSuccess) alive.insert(peer);
    listener_->onAttachMessage(peer, status);
}

MessengerStack::MessengerStack(EventLoop& eventLoop, SkypeTransport& transport)
    : loop(eventLoop),
      skype({eventLoop, transport, controller, service.channel(), around, settings, callClock, skypeWindows,
             around, &answerer, around.tones()})
{
}

}  // namespace tarnix::test
