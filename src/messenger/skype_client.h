#pragma once

#include "answering/answering_client.h"
#include "answering/call_table.h"
#include "answering/command_sender.h"
#include "app/messenger_link.h"
#include "config/utf8_string.h"
#include "messenger/active_calls_check.h"
#include "messenger/command_pacer.h"
#include "messenger/friend_list.h"
#include "messenger/skype_key_handler.h"
#include "messenger/skype_transport.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tarnix {

class CallClock;
class EventLoop;
class HandsetChannel;
class MainWindowPort;
class PhoneController;
class SkypeWindows;
class VoiceAnswering;
class VolumePanel;
struct Settings;

// The link to the Skype messenger: attaches to it, keeps the attachment alive, sends commands
// and follows what it reports (user status, mute, contacts and calls), ringing the handset and
// driving its display and light; while it has the handset, the handset's keys act on it.
// Main thread only, except postAnsweringRequest.
class SkypeClient final : public MessengerLink,
                          public CommandSender,
                          public AnsweringClient,
                          private SkypeTransportListener {
public:
    static constexpr int kWatchTimerId = 1001;
    static constexpr int kWatchPeriodMs = 2000;
    // What the client posts to itself, so that nothing is handled inside the carrier's call.
    enum PrivateMessage : int {
        MsgSkypeNotification = 1040,
        MsgSkypeAttachStatus = 1041,
        MsgAnsweringRequest = 1042,
    };
    // Texts of this many bytes or more are dropped, as are empty ones.
    static constexpr std::size_t kMaxTextBytes = 16384;
    // Commands are built in areas of fixed size, the terminating NUL included: bytes for the
    // plain ones, UTF-16 units for those carrying user data. A command that does not fit is
    // refused whole: a cut handle or text would reach the wrong user or say something else.
    static constexpr std::size_t kNarrowArea = 100;
    static constexpr std::size_t kWideArea = 100;
    static constexpr std::size_t kChatArea = 1024;

    enum MuteState : std::int32_t {
        MuteUnknown = 0,
        Muted = 1,
        NotMuted = 2,
    };
    enum UserStatus : std::int32_t {
        StatusUnknown = 0,
        StatusOnline = 1,
        StatusOffline = 2,
        StatusAway = 3,
        StatusNotAvailable = 4,
        StatusDoNotDisturb = 5,
        StatusInvisible = 6,
        StatusLoggedOut = 7,
    };
    struct Ports {
        EventLoop& loop;
        SkypeTransport& transport;
        PhoneController& controller;
        HandsetChannel& handset;
        MainWindowPort& mainWindow;
        const Settings& settings;
        CallClock& clock;
        SkypeWindows& windows;
        VolumePanel& volume;
        // Null while the program has no voice answering.
        VoiceAnswering* answering = nullptr;
        HandsetTones tones = {};
    };

    explicit SkypeClient(const Ports& ports);
    ~SkypeClient() override;
    SkypeClient(const SkypeClient&) = delete;
    SkypeClient& operator=(const SkypeClient&) = delete;

    // Looks for the messenger once and starts the watch timer that keeps looking. Returns 1.
    int create();

    // Sends one command; nonzero when it went out, or waits its turn behind a held button.
    // Delivery is confirmed later: a command the messenger does not take within 1000 ms
    // detaches the client.
    int sendCommand(const char* text) override;
    int sendCommand(std::string_view text);
    // For commands carrying user data held as wide text: sent as UTF-8. 0 when the text does
    // not fit its area (nothing sent).
    int sendCommandWide(std::u16string_view text) override;
    // "MESSAGE %s %s": a chat text to a contact, in the larger area of chat commands.
    int sendChat(std::u16string_view handle, std::u16string_view text) override;
    // A command built in a narrow area; 0 when it does not fit (nothing sent).
    int sendNarrow(std::string_view text);
    // The commands sent from now on go out once ms have passed, in order; nothing waits for it.
    void holdCommands(int ms) { pacer_.pause(ms); }
    // Takes (ends) the call.
    int answer(std::int32_t id) override;
    int refuse(std::int32_t id) override;

    // Tells the phone controller and the main window that the attachment may have changed.
    void onAttachChanged();
    // One received text, handed over from the mailbox. 0 when the sender is not the attached
    // messenger (nothing done), else 1.
    int onNotification(const std::string& sender, std::string_view text);
    // Voice answering's requests; safe from any thread, handled on the main thread.
    void postAnsweringRequest(int request, std::u16string messagePath = {}) override;
    // The handset's call key or hook was used: a call the answering machine has goes on with
    // the person. True when the machine had one.
    bool userTakesCall();

    // MessengerLink
    bool isAttached() const override { return !apiWindow_.empty(); }
    // A call rings or goes on.
    bool callInProgress() const override { return inCall_; }
    bool callRinging() const override
    {
        return calls_.incomingRingingIdle() && userStatus_ != StatusDoNotDisturb;
    }
    void onHandsetKey(int code) override;
    void useHandsetOutput(const std::string& name, int deviceId) override;
    void useHandsetInput(const std::string& name) override;

    const std::string& apiWindow() const { return apiWindow_; }
    bool inCall() const { return inCall_; }
    std::int32_t muteState() const { return muteState_; }
    std::int32_t userStatus() const { return userStatus_; }
    const Utf8String& skypeVersion() const { return skypeVersion_; }
    const FriendList& friends() const { return friends_; }
    CallTable& calls() override { return calls_; }

    // AnsweringClient
    bool userOnline() const override;
    Utf8String friendName(const Utf8String& handle) const override;
    bool handsetLifted() const override;
    bool useHandsetAudio() override;

private:
    // SkypeTransportListener
    void onAttachMessage(const std::string& peer, int status) override;
    void onCopyData(const std::string& sender, std::string_view text) override;
    void onSendFailed(const std::string& peer) override;

    void onWatchTick();
    int transmit(std::string_view text);
    int sendWide(std::u16string_view text, std::size_t area);
    // One message of the client's mailbox; which fields count depends on the message.
    struct PostedMessage {
        PrivateMessage message;
        // 1040: the sender; 1041: the messenger's address.
        std::string peer;
        // 1040: the received text.
        std::string text;
        // 1041: the attach status; 1042: the request.
        int param = 0;
        // 1042, start: the message file.
        std::u16string path;
    };
    void postMessage(PostedMessage posted);
    void DefaultProc(const PostedMessage& posted);
    void onAttachStatus(const std::string& peer, int status);
    void onAnsweringRequest(int request, const std::u16string& messagePath);

    void setInCall(bool flag);
    void onUserStatus(std::string_view rest);
    void onAudioDevice(bool input, std::string_view name);
    void onUsers(std::string_view rest);
    void onUserProperty(std::string_view rest);
    void onCallNotification(std::string_view rest);
    void onCallProperty(std::int32_t id, std::string_view property, std::string_view value);
    void onCallStatus(std::int32_t id, std::string_view status);
    void onRinging(std::int32_t id);
    void onActiveCalls(std::string_view list);
    void endCallSteps();
    void forgetCalls();

    Ports ports_;
    CommandPacer pacer_;
    SkypeKeyHandler keys_;
    // The attached messenger's address; empty while detached.
    std::string apiWindow_;
    // The messenger the call table's calls belong to.
    std::string callsPeer_;
    // What onAttachChanged last told the rest of the program.
    bool shownAttached_ = false;
    bool inCall_ = false;
    std::int32_t muteState_ = MuteUnknown;
    std::int32_t userStatus_ = StatusUnknown;
    Utf8String skypeVersion_;
    FriendList friends_;
    CallTable calls_;
    ActiveCallsCheck activeCalls_;
};

}  // namespace tarnix
