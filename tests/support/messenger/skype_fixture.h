#pragma once

#include "messenger_stack.h"
#include "virtual_event_loop.h"
#include "virtual_handsets.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

namespace tarnix::test {

// The Skype client in the phone stack, a handset plugged in, the controller started and the
// client created; nothing attached yet.
template <typename Handset = sim::VirtualMelodyHandset>
class SkypeFixture : public ::testing::Test {
protected:
    static constexpr const char* kPeer = "sk";

    void SetUp() override
    {
        stack.bus.plug(handset);
        stack.controller.StartController();
        stack.skype.create();
        loop.runPending();
        forget();
    }
    void attach(const std::string& peer = kPeer)
    {
        transport.attach(peer);
        loop.runPending();
    }
    // A notification from the attached messenger, handled.
    void notify(std::string_view text)
    {
        transport.deliver(kPeer, text);
        loop.runPending();
    }
    // Drops what was sent, recorded and done to windows so far.
    void forget()
    {
        transport.take();
        stack.log.take();
        stack.windows.actions.clear();
    }

    VirtualEventLoop loop;
    FakeSkypeTransport transport;
    MessengerStack stack{loop, transport};
    std::shared_ptr<Handset> handset = std::make_shared<Handset>();
};

// The same with the messenger kPeer attached and its start commands forgotten.
template <typename Handset = sim::VirtualMelodyHandset>
class AttachedSkype : public SkypeFixture<Handset> {
protected:
    void SetUp() override
    {
        SkypeFixture<Handset>::SetUp();
        this->attach();
        this->forget();
    }
};

}  // namespace tarnix::test
