#pragma once

#include "messenger_stack.h"
#include "virtual_event_loop.h"
#include "virtual_handsets.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tarnix::test {

// Days of calls on the phone stack (the answering machine on, an LCD handset on a node that can
// be watched) on the virtual clock, hour after hour: a call every four minutes in turn answered
// at the handset with digits and hung up, missed, given up by the caller, refused as a second
// call during one, or taken by the answering machine; every hour the messenger goes (it exits,
// or the link drops in a call whose end it says meanwhile) and attaches again; every other hour
// the handset is pulled out and put back (between calls, or in one). After every call the phone
// must be back at rest; what was not is kept, one line each.
class PhoneDay {
public:
    PhoneDay();
    PhoneDay(const PhoneDay&) = delete;
    PhoneDay& operator=(const PhoneDay&) = delete;

    void playHour();

    int hoursPlayed() const { return hours_; }
    int callsPlayed() const { return calls_; }
    // "call 17 (missed) at 01:08: the handset still rings", in order.
    const std::vector<std::string>& leftovers() const { return leftovers_; }

    // The descriptors this process has open.
    static int openDescriptors();

private:
    enum class Call { Answered, Missed, CallerGaveUp, Refused, Machine };

    void playCall(Call kind, bool replugInCall, bool linkDropsInCall);
    void answered(int id, bool replugInCall, bool linkDropsInCall);
    void missed(int id);
    void callerGivesUp(int id);
    void refused(int id);
    void takenByTheMachine(int id);
    void messengerExits();
    void replug();

    void advance(std::int64_t ms);
    void notify(const std::string& text);
    void press(int key);
    void lift();
    void replace();
    // Whether the command went out since the last look (which forgets what went).
    bool sent(const std::string& command);
    void expectSent(const std::string& command);
    // The rest after a call: no call, no ringing, light off, the clock on the display, nothing
    // dialled, the machine idle, no descriptor more than at the start.
    void checkAtRest();
    void leftover(const std::string& what);
    // Forgets what the doubles recorded, so a long run does not grow them.
    void forget();

    VirtualEventLoop loop_;
    FakeSkypeTransport transport_;
    MessengerStack stack_{loop_, transport_};
    std::shared_ptr<sim::VirtualLcdHandset> handset_;
    std::string handsetPath_;
    std::string peer_;
    int peers_ = 0;
    int hours_ = 0;
    int calls_ = 0;
    int nextCallId_ = 100;
    std::string current_;
    // The commands that went out since the last forget().
    Transcript sent_;
    int descriptors_ = 0;
    std::vector<std::string> leftovers_;
};

}  // namespace tarnix::test
