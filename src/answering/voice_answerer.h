#pragma once

#include "answering/voice_answering.h"
#include "base/event_loop.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>

namespace tarnix {

class AnswerRoute;
class AnsweringClient;
class CallClock;
class ConfigFile;
class FrontWindow;
class MessageFolder;
struct Settings;

// The answering machine of one messenger client: takes an incoming call nobody answers, has the
// route greet and record the caller, and lists the message. Main thread only.
class VoiceAnswerer final : public VoiceAnswering {
public:
    // After "SET CALL %d STATUS FINISHED" at the length limit, how long the messenger has to end
    // the call before the message is filed without it.
    static constexpr int kFinishGraceMs = 5000;
    static constexpr int kDefaultMaxMinutes = 10;
    static constexpr int kLongestMaxMinutes = 1440;
    // The longest message, in minutes, that a stored `VoiceMaxTime` stands for.
    static int maxMinutes(int stored)
    {
        return stored <= 0 ? kDefaultMaxMinutes : std::min(stored, kLongestMaxMinutes);
    }
    // The longest wait before a ringing call is taken, whatever the settings say.
    static constexpr int kLongestDelaySecs = 86400;
    static constexpr const char16_t* kCableIn = u"Virtual Cable 1 In";
    static constexpr const char16_t* kCableOut = u"Virtual Cable 2 Out";

    struct Ports {
        EventLoop& loop;
        CallClock& clock;
        Settings& settings;
        // Saves the settings with a new record.
        ConfigFile& config;
        FrontWindow& front;
        AnsweringClient& client;
        AnswerRoute& route;
        MessageFolder& folder;
    };

    explicit VoiceAnswerer(const Ports& ports);
    ~VoiceAnswerer() override;
    VoiceAnswerer(const VoiceAnswerer&) = delete;
    VoiceAnswerer& operator=(const VoiceAnswerer&) = delete;

    void ringingStarted(CallEntry& entry) override;
    void startVoiceAnswering(CallEntry& entry) override;
    void endVoiceAnswering(CallEntry& entry) override;
    void startAnswering(const std::u16string& greetingFile, const std::u16string& messagePath) override;
    void stopAnswering() override;
    bool userTakesCall() override;
    void noteAudioDevice(bool input, const std::u16string& name) override;
    void finishBeforeExit() override;

    // The call armed for the machine, and the one it answers; 0 when none.
    std::int32_t armedCall() const { return armedId_; }
    std::int32_t answeredCall() const { return activeId_; }

private:
    void onRingDeadline(std::int32_t id, bool online);
    // Why the call cannot be taken now; null when it can.
    const char* refusalToArm(std::int32_t id, bool online);
    bool folderReady();
    void onLengthLimit(std::int32_t id);
    void onFinishGraceOver(std::int32_t id);
    // Lists the message and ends the machine's part in the call; the call itself may go on.
    void fileMessage(CallEntry& entry);
    void sendChat(const CallEntry& entry, const std::u16string& text);
    void giveDevicesBack();
    void stopRingTimers();
    std::int64_t maxRecordingMs() const;

    Ports ports_;
    // Ringing calls waiting for their delay; their timers run under {this, id}.
    std::map<std::int32_t, bool> ringing_;
    std::int32_t armedId_ = 0;
    std::int32_t activeId_ = 0;
    // What the messenger used before the machine took its sound devices.
    std::u16string previousIn_;
    std::u16string previousOut_;
    bool folderFaultLogged_ = false;
    // Owners of the length-limit timers.
    char limitTimer_ = 0;
    char graceTimer_ = 0;
};

}  // namespace tarnix
