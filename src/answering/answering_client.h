#pragma once

#include "config/utf8_string.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tarnix {

class CallTable;

// The messenger client whose calls the answering machine takes, as far as the machine needs it.
// Main thread only, except postAnsweringRequest.
class AnsweringClient {
public:
    // Requests posted to the client's own queue, so the route is started and stopped outside
    // the handling of a notification.
    enum AnsweringRequest : int {
        RequestStartAnswering = 1,
        RequestStopAnswering = 2,
    };

    virtual ~AnsweringClient() = default;
    // Nonzero when the command went out (or waits its turn).
    virtual int sendCommand(const char* text) = 0;
    // A command carrying user data; 0 when it does not fit its area (nothing sent).
    virtual int sendCommandWide(std::u16string_view text) = 0;
    // A chat text to a contact; 0 when it does not fit its area (nothing sent).
    virtual int sendChat(std::u16string_view handle, std::u16string_view text) = 0;
    // "SET CALL %d STATUS INPROGRESS" and "SET CALL %d STATUS FINISHED".
    virtual int answer(std::int32_t id) = 0;
    virtual int refuse(std::int32_t id) = 0;
    // Handled later on the main thread; safe from any thread.
    virtual void postAnsweringRequest(int request, std::u16string messagePath = {}) = 0;
    virtual bool isAttached() const = 0;
    // The user's status is online, or not known yet.
    virtual bool userOnline() const = 0;
    // The contact's display name; empty when the handle is not a friend or has no name.
    virtual Utf8String friendName(const Utf8String& handle) const = 0;
    // The handset is off its cradle.
    virtual bool handsetLifted() const = 0;
    // Gives the messenger the handset's sound devices; false when no handset is there.
    virtual bool useHandsetAudio() = 0;
    virtual CallTable& calls() = 0;
};

}  // namespace tarnix
