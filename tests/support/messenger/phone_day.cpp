#include "phone_day.h"

#include "device/handset_codes.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <regex>

namespace tarnix::test {
namespace {

constexpr std::int64_t kMinuteMs = 60'000;
constexpr std::int64_t kHourMs = 60 * kMinuteMs;
constexpr int kCallsPerHour = 15;
// The machine takes a call that rang this long; answered calls are taken sooner, missed ones
// end before.
constexpr std::int64_t kMachineDelayMs = 20'000;
// The run starts at midnight on 9 December 2026.
constexpr std::time_t kMidnight = 1'796'774'400;

const char* nameOf(int kind)
{
    static constexpr const char* kNames[] = {"answered", "missed", "given up", "refused", "machine"};
    return kNames[kind];
}

}  // namespace

PhoneDay::PhoneDay()
{
    stack_.wave.outputs = {"Speakers", "Virtual Cable 1 Out"};
    stack_.wave.inputs = {"Microphone", "Virtual Cable 2 In"};
    stack_.settings.voiceOnline = 1;
    stack_.settings.voiceOnlineSecs = static_cast<std::int32_t>(kMachineDelayMs / 1000);
    stack_.bus.offerDescriptors();
    handset_ = std::make_shared<sim::VirtualLcdHandset>();
    handsetPath_ = stack_.bus.plug(handset_);
    advance(0);
    stack_.controller.StartController();
    stack_.skype.create();
    peer_ = "skype-" + std::to_string(++peers_);
    transport_.attach(peer_);
    notify("USERS alice bob");
    // The first hook event only tells where the handset is.
    lift();
    replace();
    advance(2000);
    forget();
    descriptors_ = openDescriptors();
}

int PhoneDay::openDescriptors()
{
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
    // Less the one the listing itself had open.
    return count - 1;
}

void PhoneDay::playHour()
{
    const std::int64_t start = std::int64_t{hours_} * kHourMs;
    for (int slot = 0; slot < kCallsPerHour; ++slot) {
        const int minute = slot * 60 / kCallsPerHour;
        advance(start + minute * kMinuteMs - loop_.nowMs());
        const auto kind = static_cast<Call>(calls_ % 5);
        const bool half = slot == kCallsPerHour / 2;
        // Before the call at the half hour: the messenger exits in even hours, the handset is
        // put back in every fourth. In the call itself: odd hours lose the link, every fourth
        // hour pulls the handset out.
        if (half && hours_ % 2 == 0) messengerExits();
        if (half && hours_ % 4 == 1) replug();
        const bool dropInCall = half && hours_ % 2 == 1;
        const bool replugInCall = half && hours_ % 4 == 3;
        // The half hour's call is answered at the handset, so the hook and keys of a handset put
        // back are used at once.
        playCall(half ? Call::Answered : kind, replugInCall, dropInCall);
        forget();
    }
    ++hours_;
    advance(start + kHourMs - loop_.nowMs());
}

void PhoneDay::playCall(Call kind, bool replugInCall, bool linkDropsInCall)
{
    current_ = nameOf(static_cast<int>(kind));
    ++calls_;
    const int id = nextCallId_++;
    switch (kind) {
        case Call::Answered:
            answered(id, replugInCall, linkDropsInCall);
            break;
        case Call::Missed:
            missed(id);
            break;
        case Call::CallerGaveUp:
            callerGivesUp(id);
            break;
        case Call::Refused:
            refused(id);
            break;
        case Call::Machine:
            takenByTheMachine(id);
            break;
    }
    checkAtRest();
}

void PhoneDay::answered(int id, bool replugInCall, bool linkDropsInCall)
{
    const std::string call = "CALL " + std::to_string(id);
    notify(call + " STATUS RINGING");
    notify(call + " PARTNER_HANDLE alice");
    advance(3000);
    if (!handset_->ringing()) leftover("the handset did not ring");
    lift();
    press(KeyYes);
    expectSent("SET " + call + " STATUS INPROGRESS");
    notify(call + " STATUS INPROGRESS");
    if (replugInCall) {
        replug();
        // The person holds the handset put back off its cradle.
        handset_->lift();
        advance(200);
    }
    for (int digit : {Key1, Key2, Key3}) {
        press(digit);
        expectSent("SET " + call + " DTMF " + std::to_string(digit));
    }
    advance(kMinuteMs);
    if (linkDropsInCall) {
        // The end said while the link is down is lost; the list of active calls at the next
        // attach tells it.
        transport_.failSend(peer_);
        loop_.runPending();
        notify(call + " STATUS FINISHED");
        advance(SkypeClient::kWatchPeriodMs);
        transport_.attach(peer_);
        loop_.runPending();
        expectSent("SEARCH ACTIVECALLS");
        notify("CALLS ");
    }
    replace();
    expectSent("HOOK ON");
    if (!linkDropsInCall) notify(call + " STATUS FINISHED");
}

void PhoneDay::missed(int id)
{
    const std::string call = "CALL " + std::to_string(id);
    notify(call + " STATUS RINGING");
    notify(call + " PARTNER_HANDLE bob");
    advance(kMachineDelayMs - 5000);
    notify(call + " STATUS MISSED");
}

// The caller hangs up in a word the client does not take as an end: the messenger's list of
// active calls, asked for after a quiet half minute, ends the call.
void PhoneDay::callerGivesUp(int id)
{
    const std::string call = "CALL " + std::to_string(id);
    notify(call + " STATUS RINGING");
    advance(5000);
    notify(call + " STATUS CANCELLED");
    advance(31'000);
    expectSent("SEARCH ACTIVECALLS");
    notify("CALLS ");
}

void PhoneDay::refused(int id)
{
    const std::string first = "CALL " + std::to_string(id);
    const std::string second = "CALL " + std::to_string(nextCallId_++);
    notify(first + " STATUS RINGING");
    advance(2000);
    lift();
    press(KeyYes);
    expectSent("SET " + first + " STATUS INPROGRESS");
    notify(first + " STATUS INPROGRESS");
    advance(10'000);
    notify(second + " STATUS RINGING");
    expectSent("SET " + second + " STATUS FINISHED");
    notify(second + " STATUS FINISHED");
    advance(1000);
    if (handset_->ringing()) leftover("the refused call rang");
    press(Key5);
    expectSent("SET " + first + " DTMF 5");
    advance(20'000);
    replace();
    expectSent("HOOK ON");
    notify(first + " STATUS FINISHED");
}

void PhoneDay::takenByTheMachine(int id)
{
    const std::string call = "CALL " + std::to_string(id);
    const std::size_t records = stack_.settings.records.size();
    notify(call + " STATUS RINGING");
    notify(call + " PARTNER_HANDLE alice");
    advance(kMachineDelayMs + 500);
    expectSent("SET " + call + " STATUS INPROGRESS");
    notify("AUDIO_IN Microphone");
    notify("AUDIO_OUT Speakers");
    notify(call + " STATUS INPROGRESS");
    notify(call + " STATUS INPROGRESS");
    advance(30'000);
    notify(call + " DURATION 30");
    notify(call + " STATUS FINISHED");
    if (stack_.settings.records.size() != records + 1) leftover("no message was filed");
}

void PhoneDay::messengerExits()
{
    current_ = "messenger exits";
    transport_.alive.clear();
    advance(SkypeClient::kWatchPeriodMs);
    if (stack_.skype.isAttached()) leftover("the messenger that went is still attached");
    peer_ = "skype-" + std::to_string(++peers_);
    transport_.attach(peer_);
    loop_.runPending();
    expectSent("SEARCH ACTIVECALLS");
    notify("CALLS ");
}

void PhoneDay::replug()
{
    stack_.bus.unplug(handsetPath_);
    advance(300);
    handset_ = std::make_shared<sim::VirtualLcdHandset>();
    handsetPath_ = stack_.bus.plug(handset_);
    advance(300);
}

void PhoneDay::advance(std::int64_t ms)
{
    loop_.advance(ms);
    stack_.callClock.tick = loop_.nowMs();
    const std::time_t now = kMidnight + static_cast<std::time_t>(loop_.nowMs() / 1000);
    gmtime_r(&now, &stack_.callClock.local);
    stack_.deviceClock.local = stack_.callClock.local;
    loop_.runPending();
}

void PhoneDay::notify(const std::string& text)
{
    transport_.deliver(peer_, text);
    loop_.runPending();
}

void PhoneDay::press(int key)
{
    handset_->press(key);
    advance(60);
    handset_->release();
    advance(240);
}

void PhoneDay::lift()
{
    handset_->lift();
    advance(200);
}

void PhoneDay::replace()
{
    handset_->replace();
    advance(200);
}

bool PhoneDay::sent(const std::string& command)
{
    for (std::string& line : transport_.take()) sent_.push_back(std::move(line));
    const std::string wanted = peer_ + ": " + command;
    return std::find(sent_.begin(), sent_.end(), wanted) != sent_.end();
}

void PhoneDay::expectSent(const std::string& command)
{
    if (!sent(command)) leftover("\"" + command + "\" did not go out");
}

void PhoneDay::checkAtRest()
{
    // Long enough for a blink period and the link's own waits to pass.
    advance(3000);
    static const std::regex clock(R"(.* lcd="\d\d-\d\d +\d\d:\d\d" call=off .*)");
    if (stack_.skype.inCall()) leftover("the client is still in a call");
    if (const std::size_t left = stack_.skype.calls().size(); left != 0) {
        leftover(std::to_string(left) + " calls are left in the table");
    }
    if (handset_->ringing()) leftover("the handset still rings");
    if (handset_->light()) leftover("the light is on");
    if (const std::string shown = handset_->describe(); !std::regex_match(shown, clock)) {
        leftover("the handset shows " + shown);
    }
    if (stack_.controller.dialledNumber().length() != 0) {
        leftover(std::string("the number ") + stack_.controller.dialledNumber().c_str() +
                 " is still dialled");
    }
    if (stack_.route.busy()) leftover("the answering machine is still busy");
    if (const int open = openDescriptors(); open != descriptors_) {
        leftover(std::to_string(open) + " descriptors are open, " + std::to_string(descriptors_) +
                 " at the start");
    }
}

void PhoneDay::leftover(const std::string& what)
{
    const std::int64_t minutes = loop_.nowMs() / kMinuteMs;
    char at[16];
    std::snprintf(at, sizeof at, "%02d:%02d", static_cast<int>(minutes / 60), static_cast<int>(minutes % 60));
    leftovers_.push_back("call " + std::to_string(calls_) + " (" + current_ + ") at " + at + ": " + what);
}

void PhoneDay::forget()
{
    transport_.take();
    sent_.clear();
    stack_.log.take();
    stack_.windows.actions.clear();
    stack_.deviceClock.pauses.clear();
    stack_.errors.shown.clear();
}

}  // namespace tarnix::test
