#pragma once

#include "answering/call_entry.h"

#include <cstdint>
#include <map>
#include <vector>

namespace tarnix {

class CallClock;
class CommandSender;
class FrontWindow;
class VoiceAnswering;
struct Settings;

// The calls of one messenger client by call id, created on first mention and removed when they
// end. Answers whether a call rings, is set up or goes on. Main thread only.
class CallTable {
public:
    enum Kind : std::int32_t {
        Qq = 0,
        Skype = 1,
    };

    struct Ports {
        CallClock& clock;
        const Settings& settings;
        FrontWindow& front;
        // The client the table's calls belong to; asked for partner handles.
        CommandSender& client;
        // Null while the program has no voice answering.
        VoiceAnswering* answering = nullptr;
    };

    CallTable(Kind kind, const Ports& ports);

    void markRouting(std::int32_t id);
    void markRinging(std::int32_t id);
    void markInProgress(std::int32_t id);
    // Ends and removes the call; an unknown id is ignored.
    void markEnded(std::int32_t id);
    // Ends and removes every call, as markEnded does one.
    void markAllEnded();

    CallEntry* findCall(std::int32_t id);
    void setPartner(CallEntry& entry, const Utf8String& handle);
    void setPstnNumber(CallEntry& entry, const Utf8String& number);
    void setDuration(CallEntry& entry, const Utf8String& text);
    void setStatus(CallEntry& entry, std::int32_t status);

    bool anyCallActive() const;
    // An incoming call rings and no call is in progress.
    bool incomingRingingIdle() const;
    bool isIncomingRinging(std::int32_t id) const;
    std::int32_t firstRingingId() const;
    std::int32_t firstInProgressId() const;
    std::size_t size() const { return calls_.size(); }
    // The ids of the calls in the table, ascending.
    std::vector<std::int32_t> ids() const;

private:
    CallEntry& entryOf(std::int32_t id);
    void askPartner(const CallEntry& entry);

    Kind kind_;
    Ports ports_;
    std::map<std::int32_t, CallEntry> calls_;
};

}  // namespace tarnix
