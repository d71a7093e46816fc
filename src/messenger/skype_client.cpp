#include "messenger/skype_client.h"

#include "answering/voice_answering.h"
#include "app/phone_controller.h"
#include "base/event_loop.h"
#include "config/settings.h"
#include "config/text_match.h"
#include "config/text_utils.h"
#include "device/handset_channel.h"
#include "messenger/main_window_port.h"
#include "messenger/messenger_log.h"
#include "messenger/notification_text.h"
#include "messenger/skype_windows.h"

#include <array>
#include <string>

namespace tarnix {
namespace {

constexpr std::array<std::string_view, 8> kUserStatusWords = {
    "UNKNOWN", "ONLINE", "OFFLINE", "AWAY", "NA", "DND", "INVISIBLE", "LOGGEDOUT",
};

}  // namespace

SkypeClient::SkypeClient(const Ports& ports)
    : ports_(ports),
      pacer_(ports.loop, [this](std::string_view text) { return transmit(text); }),
      keys_({*this, ports.controller, ports.windows, ports.volume, ports.mainWindow, ports_.tones}),
      calls_(CallTable::Skype, {ports.clock, ports.settings, ports.mainWindow, *this, ports.answering}),
      activeCalls_(ports.loop, calls_, [this] { sendCommand("SEARCH ACTIVECALLS"); })
{
    ports_.transport.setListener(this);
}

SkypeClient::~SkypeClient()
{
    ports_.loop.stopTimer({this, kWatchTimerId});
    ports_.transport.setListener(nullptr);
}

int SkypeClient::create()
{
    ports_.transport.discover();
    ports_.loop.startTimer({this, kWatchTimerId}, kWatchPeriodMs, [this] { onWatchTick(); });
    return 1;
}

void SkypeClient::onWatchTick()
{
    if (!apiWindow_.empty()) {
        if (ports_.transport.peerExists(apiWindow_)) return;
        qCInfo(lcMessenger, "the messenger at %s has gone", apiWindow_.c_str());
        apiWindow_.clear();
        forgetCalls();
        onAttachChanged();
        return;
    }
    // Detached by a lost command: the messenger may have gone since, and its calls with it.
    if (!callsPeer_.empty() && !ports_.transport.peerExists(callsPeer_)) {
        forgetCalls();
        callsPeer_.clear();
    }
    // A lost command detaches without telling anyone; the user must not go on seeing the link
    // as up, so the tick tells them, and looks for the messenger again at once.
    if (shownAttached_) onAttachChanged();
    ports_.transport.discover();
}

// The carrier's calls are only copied and posted: the sender is released at once and the texts
// are handled later, in order, on the main thread.
void SkypeClient::onAttachMessage(const std::string& peer, int status)
{
    postMessage({MsgSkypeAttachStatus, peer, {}, status, {}});
}

void SkypeClient::onCopyData(const std::string& sender, std::string_view text)
{
    if (text.empty() || text.size() >= kMaxTextBytes) {
        qCDebug(lcMessenger, "dropped a text of %zu bytes from %s", text.size(), sender.c_str());
        return;
    }
    postMessage({MsgSkypeNotification, sender, std::string(text), 0, {}});
}

void SkypeClient::onSendFailed(const std::string& peer)
{
    // A failure for a messenger we have since left (or re-attached to) says nothing about now.
    if (peer != apiWindow_) return;
    qCInfo(lcMessenger, "a command to %s was not delivered; detached", peer.c_str());
    apiWindow_.clear();
}

void SkypeClient::postAnsweringRequest(int request, std::u16string messagePath)
{
    postMessage({MsgAnsweringRequest, {}, {}, request, std::move(messagePath)});
}

void SkypeClient::postMessage(PostedMessage posted)
{
    ports_.loop.post([this, posted = std::move(posted)] { DefaultProc(posted); });
}

void SkypeClient::DefaultProc(const PostedMessage& posted)
{
    switch (posted.message) {
        case MsgSkypeNotification:
            onNotification(posted.peer, posted.text);
            break;
        case MsgSkypeAttachStatus:
            onAttachStatus(posted.peer, posted.param);
            break;
        case MsgAnsweringRequest:
            onAnsweringRequest(posted.param, posted.path);
            break;
    }
}

void SkypeClient::onAnsweringRequest(int request, const std::u16string& messagePath)
{
    if (ports_.answering == nullptr) {
        qCWarning(lcMessenger, "answering request %d without voice answering", request);
        return;
    }
    if (request == RequestStartAnswering) {
        ports_.answering->startAnswering(ports_.settings.greetingFile, messagePath);
    } else if (request == RequestStopAnswering) {
        ports_.answering->stopAnswering();
    }
}

void SkypeClient::onAttachStatus(const std::string& peer, int status)
{
    if (status == AttachApiAvailable) {
        ports_.transport.discover();
        return;
    }
    if (status != AttachSuccess) {
        qCInfo(lcMessenger, "the messenger did not let us attach (status %d)", status);
        return;
    }
    qCInfo(lcMessenger, "attached to the messenger at %s", peer.c_str());
    // Calls of another messenger (one that went without our noticing) cannot go on here.
    if (peer != callsPeer_) {
        forgetCalls();
        callsPeer_ = peer;
    }
    apiWindow_ = peer;
    ports_.windows.forgetMainWindow();
    friends_.clear();
    sendCommand("GET SKYPEVERSION");
    sendCommand("SEARCH FRIENDS");
    sendCommand("SEARCH ACTIVECALLS");
    onAttachChanged();
}

void SkypeClient::onAttachChanged()
{
    ports_.controller.UpdateStatus();
    shownAttached_ = isAttached();
    const int attached = shownAttached_ ? 1 : 0;
    ports_.mainWindow.ShowConnectionStatus(attached, attached);
}

int SkypeClient::sendCommand(const char* text)
{
    return sendCommand(std::string_view(text));
}

int SkypeClient::sendCommand(std::string_view text)
{
    if (apiWindow_.empty()) {
        qCDebug(lcMessenger, "not attached; lost: %.*s", static_cast<int>(text.size()), text.data());
        return 0;
    }
    return pacer_.send(text);
}

// A command held back by a button press may find the messenger gone by the time it is due.
int SkypeClient::transmit(std::string_view text)
{
    if (apiWindow_.empty()) {
        qCDebug(lcMessenger, "not attached; lost: %.*s", static_cast<int>(text.size()), text.data());
        return 0;
    }
    qCDebug(lcMessenger, "-> %.*s", static_cast<int>(text.size()), text.data());
    if (ports_.transport.send(apiWindow_, text)) return 1;
    apiWindow_.clear();
    return 0;
}

int SkypeClient::sendCommandWide(std::u16string_view text)
{
    return sendWide(text, kWideArea);
}

int SkypeClient::sendChat(std::u16string_view handle, std::u16string_view text)
{
    return sendWide(u"MESSAGE " + std::u16string(handle) + u" " + std::u16string(text), kChatArea);
}

int SkypeClient::sendWide(std::u16string_view text, std::size_t area)
{
    const Utf8String utf8 = fromWide(text);
    if (text.size() >= area) {
        qCWarning(lcMessenger, "refused a command of %zu characters, too long for its area of %zu: %.40s...",
                  text.size(), area, utf8.view().data());
        return 0;
    }
    return sendCommand(utf8.view());
}

int SkypeClient::sendNarrow(std::string_view text)
{
    if (text.size() >= kNarrowArea) {
        qCWarning(lcMessenger, "refused a command of %zu bytes, too long for its area of %zu: %.40s...",
                  text.size(), kNarrowArea, text.data());
        return 0;
    }
    return sendCommand(text);
}

int SkypeClient::answer(std::int32_t id)
{
    return sendNarrow("SET CALL " + std::to_string(id) + " STATUS INPROGRESS");
}

int SkypeClient::refuse(std::int32_t id)
{
    return sendNarrow("SET CALL " + std::to_string(id) + " STATUS FINISHED");
}

void SkypeClient::onHandsetKey(int code)
{
    keys_.onKey(code);
}

void SkypeClient::useHandsetOutput(const std::string& name, int)
{
    const std::u16string device = toWide(std::string_view(name));
    sendCommandWide(u"SET AUDIO_OUT " + device);
    sendCommandWide(u"SET RINGER " + device);
}

void SkypeClient::useHandsetInput(const std::string& name)
{
    sendCommandWide(u"SET AUDIO_IN " + toWide(std::string_view(name)));
}

int SkypeClient::onNotification(const std::string& sender, std::string_view text)
{
    if (sender.empty() || sender != apiWindow_) return 0;
    qCDebug(lcMessenger, "<- %.*s", static_cast<int>(text.size()), text.data());
    const auto rest = [&](std::string_view prefix) { return text.substr(prefix.size()); };
    if (startsWithIgnoringCase(text, "MUTE OFF")) {
        muteState_ = NotMuted;
        ports_.mainWindow.SetHandsetLightMode(LightSteady);
    } else if (startsWithIgnoringCase(text, "MUTE ON")) {
        muteState_ = Muted;
        ports_.mainWindow.SetHandsetLightMode(LightMuted);
    } else if (startsWithIgnoringCase(text, "CALL ")) {
        onCallNotification(rest("CALL "));
    } else if (startsWithIgnoringCase(text, "USERSTATUS ")) {
        onUserStatus(rest("USERSTATUS "));
    } else if (startsWithIgnoringCase(text, "CONNSTATUS ") ||
               startsWithIgnoringCase(text, "CURRENTUSERHANDLE ")) {
        // Known, and nothing to do.
    } else if (startsWithIgnoringCase(text, "USER ")) {
        onUserProperty(rest("USER "));
    } else if (startsWithIgnoringCase(text, "USERS ")) {
        onUsers(rest("USERS "));
    } else if (startsWithIgnoringCase(text, "SKYPEVERSION ")) {
        skypeVersion_ = Utf8String(rest("SKYPEVERSION "));
    } else if (startsWithIgnoringCase(text, "CALLS ")) {
        onActiveCalls(rest("CALLS "));
    } else if (startsWithIgnoringCase(text, "AUDIO_IN ")) {
        onAudioDevice(true, rest("AUDIO_IN "));
    } else if (startsWithIgnoringCase(text, "AUDIO_OUT ")) {
        onAudioDevice(false, rest("AUDIO_OUT "));
    }
    return 1;
}

void SkypeClient::onUserStatus(std::string_view rest)
{
    for (std::size_t value = 0; value < kUserStatusWords.size(); ++value) {
        if (rest == kUserStatusWords[value]) {
            userStatus_ = static_cast<std::int32_t>(value);
            return;
        }
    }
}

void SkypeClient::onAudioDevice(bool input, std::string_view name)
{
    if (ports_.answering != nullptr) ports_.answering->noteAudioDevice(input, toWide(name));
}

bool SkypeClient::userTakesCall()
{
    return ports_.answering != nullptr && ports_.answering->userTakesCall();
}

bool SkypeClient::userOnline() const
{
    return userStatus_ == StatusOnline || userStatus_ == StatusUnknown;
}

Utf8String SkypeClient::friendName(const Utf8String& handle) const
{
    const FriendRecord* record = friends_.find(handle);
    return record == nullptr ? Utf8String() : record->name;
}

bool SkypeClient::handsetLifted() const
{
    return ports_.controller.hookState() == 0;
}

bool SkypeClient::useHandsetAudio()
{
    if (ports_.controller.presence() != 0) return false;
    ports_.controller.SetupUsbAudio();
    return true;
}

void SkypeClient::onUsers(std::string_view rest)
{
    for (const std::string_view handle : splitHandles(rest)) {
        friends_.insertOrUpdate(Utf8String(handle), true);
        const std::string user = "GET USER " + std::string(handle);
        const std::string fullName = user + " FULLNAME";
        const std::string displayName = user + " DISPLAYNAME";
        // Both names or none: a full name must not stand where the display name was refused.
        if (displayName.size() >= kNarrowArea) {
            qCWarning(lcMessenger, "a handle of %zu bytes is too long to ask for its names", handle.size());
            continue;
        }
        sendNarrow(fullName);
        sendNarrow(displayName);
    }
}

void SkypeClient::onUserProperty(std::string_view rest)
{
    const Utf8String handle(takeToken(rest));
    const std::string_view property = takeToken(rest);
    const Utf8String value(skipBlanks(rest));
    FriendRecord* record = friends_.find(handle);
    if (record == nullptr || value.isEmpty()) return;
    // A display name always wins over a full name, whichever comes first.
    if (equalsIgnoringCase(property, "DISPLAYNAME") ||
        (equalsIgnoringCase(property, "FULLNAME") && record->name.isEmpty())) {
        friends_.setName(*record, value);
    }
}

void SkypeClient::onCallNotification(std::string_view rest)
{
    const std::int32_t id = leadingInteger(std::string(takeToken(rest)).c_str());
    if (id <= 0) return;
    const std::string_view property = takeToken(rest);
    const std::string_view value = takeToken(rest);
    if (property == "STATUS") {
        onCallStatus(id, value);
    } else {
        onCallProperty(id, property, value);
    }
    activeCalls_.heard();
}

void SkypeClient::onCallProperty(std::int32_t id, std::string_view property, std::string_view value)
{
    CallEntry* entry = calls_.findCall(id);
    if (property == "PARTNER_HANDLE") {
        if (entry != nullptr) calls_.setPartner(*entry, Utf8String(value));
    } else if (property == "DURATION") {
        if (entry != nullptr) calls_.setDuration(*entry, Utf8String(value));
    } else if (equalsIgnoringCase(property, "PSTN_NUMBER")) {
        if (entry != nullptr) calls_.setPstnNumber(*entry, Utf8String(value));
        // Shown even for a call we do not know: the number is what the user wants to see.
        ports_.controller.showPstnNumber(value);
    }
}

void SkypeClient::onCallStatus(std::int32_t id, std::string_view status)
{
    HandsetChannel& handset = ports_.handset;
    if (status == "FAILED" || status == "UNPLACED") {
        calls_.markEnded(id);
        // As below: a second call that fails leaves the one going on alone.
        if (calls_.anyCallActive()) return;
        setInCall(false);
        handset.HandsetRing(0);
        ports_.mainWindow.SetHandsetLightMode(LightOff);
    } else if (status == "ROUTING") {
        calls_.markRouting(id);
    } else if (status == "RINGING") {
        onRinging(id);
    } else if (status == "INPROGRESS") {
        setInCall(true);
        handset.HandsetRing(0);
        calls_.markInProgress(id);
        ports_.mainWindow.SetHandsetLightMode(LightSteady);
    } else if (status == "FINISHED" || status == "MISSED" || status == "REFUSED") {
        calls_.markEnded(id);
        // A second call that ends (refused by us, or its caller gave up first) must leave the
        // call still going on alone: its light, number and in-call state stay.
        if (!calls_.anyCallActive()) endCallSteps();
    }
    // "ONHOLD", "BUSY" and other words change nothing.
}

void SkypeClient::onRinging(std::int32_t id)
{
    setInCall(true);
    calls_.markRinging(id);
    if (calls_.incomingRingingIdle()) {
        if (userStatus_ != StatusDoNotDisturb) {
            ports_.handset.HandsetSetVolume(ports_.settings.ringVolume);
            ports_.handset.HandsetRingMelody(1, ports_.settings.skypeTone);
        }
        ports_.mainWindow.SetHandsetLightMode(LightRinging);
        return;
    }
    if (calls_.isIncomingRinging(id)) {
        refuse(id);
    }
}

void SkypeClient::onActiveCalls(std::string_view list)
{
    // As for any end: a call still going on keeps its light, number and in-call state.
    if (activeCalls_.reconcile(list) && !calls_.anyCallActive()) endCallSteps();
}

// Its calls went with the messenger: left in the table, an "in progress" call would keep the
// handset's icon and light on and have every later incoming call refused.
void SkypeClient::forgetCalls()
{
    if (calls_.size() == 0 && !inCall_) return;
    qCInfo(lcMessenger, "the calls of %s are over with it", callsPeer_.c_str());
    calls_.markAllEnded();
    activeCalls_.heard();
    endCallSteps();
}

void SkypeClient::endCallSteps()
{
    setInCall(false);
    ports_.handset.HandsetRing(0);
    ports_.controller.clearDialled();
    ports_.mainWindow.SetHandsetLightMode(LightOff);
}

void SkypeClient::setInCall(bool flag)
{
    ports_.controller.ShowCallActive(flag ? 1 : 0);
    inCall_ = flag;
    if (flag) muteState_ = NotMuted;
}

}  // namespace tarnix
