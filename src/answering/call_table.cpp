#include "answering/call_table.h"

#include "answering/call_clock.h"
#include "answering/command_sender.h"
#include "answering/front_window.h"
#include "answering/voice_answering.h"
#include "config/settings.h"

#include <algorithm>
#include <cstdio>

namespace tarnix {

CallTable::CallTable(Kind kind, const Ports& ports) : kind_(kind), ports_(ports) {}

CallEntry& CallTable::entryOf(std::int32_t id)
{
    auto [it, created] = calls_.try_emplace(id);
    if (created) {
        it->second.id = id;
        it->second.flags = kind_ == Skype ? CallEntry::Incoming : (CallEntry::QqCall | CallEntry::Incoming);
    }
    return it->second;
}

void CallTable::askPartner(const CallEntry& entry)
{
    if (!entry.partnerHandle.isEmpty() || entry.isQq()) return;
    char command[64];
    std::snprintf(command, sizeof command, "GET CALL %d PARTNER_HANDLE", entry.id);
    ports_.client.sendCommand(command);
}

void CallTable::markRouting(std::int32_t id)
{
    CallEntry& entry = entryOf(id);
    setStatus(entry, CallEntry::Routing);
    entry.flags = kind_ == Skype ? CallEntry::Outgoing : (CallEntry::QqCall | CallEntry::Outgoing);
    askPartner(entry);
}

void CallTable::markRinging(std::int32_t id)
{
    CallEntry& entry = entryOf(id);
    setStatus(entry, CallEntry::Ringing);
    if (entry.partnerHandle.isEmpty() && !entry.isQq()) {
        askPartner(entry);
        entry.record.ringTime = formatTimeText(ports_.clock.localTime());
    }
}

void CallTable::markInProgress(std::int32_t id)
{
    CallEntry& entry = entryOf(id);
    setStatus(entry, CallEntry::InProgress);
    askPartner(entry);
}

void CallTable::markEnded(std::int32_t id)
{
    const auto it = calls_.find(id);
    if (it == calls_.end()) return;
    setStatus(it->second, CallEntry::Ended);
    calls_.erase(it);
}

void CallTable::markAllEnded()
{
    while (!calls_.empty()) markEnded(calls_.begin()->first);
}

std::vector<std::int32_t> CallTable::ids() const
{
    std::vector<std::int32_t> out;
    out.reserve(calls_.size());
    for (const auto& call : calls_) out.push_back(call.first);
    return out;
}

CallEntry* CallTable::findCall(std::int32_t id)
{
    const auto it = calls_.find(id);
    return it == calls_.end() ? nullptr : &it->second;
}

void CallTable::setPartner(CallEntry& entry, const Utf8String& handle)
{
    entry.partnerHandle = handle;
    entry.record.userName = handle;
}

void CallTable::setPstnNumber(CallEntry& entry, const Utf8String& number)
{
    entry.pstnNumber = number;
}

void CallTable::setDuration(CallEntry& entry, const Utf8String& text)
{
    entry.record.duration = text;
}

void CallTable::setStatus(CallEntry& entry, std::int32_t status)
{
    const std::int64_t now = ports_.clock.tickMs();
    // The messenger repeats a status (its answer to a command, then the notification): only
    // entering the status acts.
    if (status == CallEntry::InProgress && entry.status != CallEntry::InProgress) {
        entry.answerTick = now;
        if (entry.armed && entry.isIncoming()) {
            if (ports_.settings.callAcceptToFront != 0) ports_.front.BringToFront();
            if (ports_.answering != nullptr) ports_.answering->startVoiceAnswering(entry);
        }
    } else if (status == CallEntry::Ended) {
        entry.endTick = now;
        if (entry.armed && entry.answeringActive && ports_.answering != nullptr) {
            ports_.answering->endVoiceAnswering(entry);
        }
    } else if (status == CallEntry::Ringing && entry.ringDeadline == 0) {
        entry.ringDeadline = now + static_cast<std::int64_t>(ports_.settings.voiceOnlineSecs) * 1000;
        entry.status = status;
        // The machine's delay runs from the first ring; it sets the deadline it keeps.
        if (ports_.answering != nullptr) ports_.answering->ringingStarted(entry);
        return;
    }
    entry.status = status;
}

bool CallTable::anyCallActive() const
{
    return std::any_of(calls_.begin(), calls_.end(), [](const auto& call) {
        const std::int32_t s = call.second.status;
        return s == CallEntry::InProgress || s == CallEntry::Ringing || s == CallEntry::Routing;
    });
}

bool CallTable::incomingRingingIdle() const
{
    bool ringing = false;
    for (const auto& [id, entry] : calls_) {
        if (entry.status == CallEntry::InProgress) return false;
        ringing = ringing || (entry.status == CallEntry::Ringing && entry.isIncoming());
    }
    return ringing;
}

bool CallTable::isIncomingRinging(std::int32_t id) const
{
    const auto it = calls_.find(id);
    return it != calls_.end() && it->second.status == CallEntry::Ringing && it->second.isIncoming();
}

std::int32_t CallTable::firstRingingId() const
{
    for (const auto& [id, entry] : calls_) {
        if (entry.status == CallEntry::Ringing) return id;
    }
    return 0;
}

std::int32_t CallTable::firstInProgressId() const
{
    for (const auto& [id, entry] : calls_) {
        if (entry.status == CallEntry::InProgress) return id;
    }
    return 0;
}

}  // namespace tarnix
