#pragma once

#include <cstdint>
#include <string>

#include "config/message_record.h"

namespace tarnix {

// Every setting of the program and the list of recorded messages, with their defaults. Flags
// are integers where 0 means off; texts are UTF-16 in memory and UTF-8 in config.xml. Fields
// marked "stored only" are read and written back unchanged.
struct Settings {
    std::int32_t voiceAnswering = 1;
    std::int32_t textAnswering = 1;
    std::int32_t autoStart = 0;
    std::int32_t miniStart = 0;  // stored only
    std::int32_t newMessageToFront = 0;
    std::int32_t personalAlert = 0;  // stored only
    std::int32_t callAcceptToFront = 0;
    // 0 English, 1 Simplified Chinese, 2 Traditional Chinese; anything else reads as English.
    std::int32_t language = 0;
    std::int32_t voiceOnline = 0;        // stored only
    std::int32_t voiceOnlineSecs = 15;   // the answering time-out, in seconds
    std::int32_t voiceOffline = 0;       // stored only
    std::int32_t voiceOfflineSecs = 15;  // stored only
    std::int32_t voiceMaxTime = 10;      // minutes
    std::u16string greetingFile;
    std::int32_t voiceBegin = 0;
    std::u16string voiceBeginText;
    std::int32_t voiceEnd = 0;
    std::u16string voiceEndText;
    std::int32_t textOnline = 0;   // stored only
    std::int32_t textOffline = 0;  // stored only
    std::u16string textAuto;       // stored only
    std::u16string textBusy;       // stored only
    std::int32_t textBusyOn = 0;   // stored only
    std::int32_t skypeTone = 0;    // ring melody 0..11
    std::int32_t qqTone = 0;       // ring melody 0..11
    std::int32_t ringVolume = 0;   // 0..100
    RecordList records;

    bool voiceAnsweringOn() const { return voiceAnswering != 0; }
    void setVoiceAnswering(bool on) { voiceAnswering = on ? 1 : 0; }
    bool textAnsweringOn() const { return textAnswering != 0; }
    void setTextAnswering(bool on) { textAnswering = on ? 1 : 0; }
};

}  // namespace tarnix
