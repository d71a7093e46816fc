#pragma once

#include "config/message_record.h"
#include "config/utf8_string.h"

#include <cstdint>

namespace tarnix {

// One messenger call with the bookkeeping voice answering needs.
struct CallEntry {
    enum Status : std::int32_t {
        Ended = 1,
        InProgress = 2,
        Ringing = 3,
        Routing = 4,
    };
    enum Flags : std::uint32_t {
        Outgoing = 0x0001,
        Incoming = 0x0002,
        QqCall = 0x8000,
    };

    std::int32_t id = 0;
    std::int32_t status = Ended;
    std::uint32_t flags = 0;
    Utf8String partnerHandle;
    Utf8String pstnNumber;
    std::int64_t answerTick = 0;
    std::int64_t endTick = 0;
    bool armed = false;
    bool answeringActive = false;
    std::int64_t maxRecordingMs = 0;
    std::int64_t ringDeadline = 0;
    MessageRecord record;

    bool isIncoming() const { return (flags & Incoming) != 0; }
    bool isQq() const { return (flags & QqCall) != 0; }
};

}  // namespace tarnix
