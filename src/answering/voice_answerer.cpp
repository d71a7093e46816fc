#include "answering/voice_answerer.h"

#include "answering/answer_route.h"
#include "answering/answering_client.h"
#include "answering/answering_log.h"
#include "answering/call_clock.h"
#include "answering/call_table.h"
#include "answering/front_window.h"
#include "answering/message_folder.h"
#include "answering/message_name.h"
#include "config/config_file.h"
#include "config/settings.h"
#include "config/text_utils.h"

#include <algorithm>
#include <string>

namespace tarnix {
namespace {

std::string narrow(const std::u16string& text)
{
    return std::string(fromWide(text).view());
}

}  // namespace

VoiceAnswerer::VoiceAnswerer(const Ports& ports) : ports_(ports) {}

VoiceAnswerer::~VoiceAnswerer()
{
    stopRingTimers();
    ports_.loop.stopTimer({&limitTimer_, 0});
    ports_.loop.stopTimer({&graceTimer_, 0});
}

void VoiceAnswerer::ringingStarted(CallEntry& entry)
{
    if (entry.isQq() || !entry.isIncoming()) return;
    const Settings& settings = ports_.settings;
    const bool online = ports_.client.userOnline();
    const int secs =
        std::clamp(online ? settings.voiceOnlineSecs : settings.voiceOfflineSecs, 0, kLongestDelaySecs);
    entry.ringDeadline = ports_.clock.tickMs() + static_cast<std::int64_t>(secs) * 1000;
    const int wanted = online ? settings.voiceOnline : settings.voiceOffline;
    if (!settings.voiceAnsweringOn() || wanted == 0) return;
    const std::int32_t id = entry.id;
    ringing_[id] = online;
    ports_.loop.startSingleShot({this, id}, secs * 1000, [this, id, online] { onRingDeadline(id, online); });
}

void VoiceAnswerer::onRingDeadline(std::int32_t id, bool online)
{
    ringing_.erase(id);
    if (const char* reason = refusalToArm(id, online)) {
        qCInfo(lcAnswering, "call %d is left ringing: %s", id, reason);
        return;
    }
    CallEntry& entry = *ports_.client.calls().findCall(id);
    entry.armed = true;
    armedId_ = id;
    qCInfo(lcAnswering, "answering call %d from %s", id, entry.partnerHandle.c_str());
    // The answers tell which devices to give back when no handset can take the call's sound.
    previousIn_.clear();
    previousOut_.clear();
    ports_.client.sendCommand("GET AUDIO_IN");
    ports_.client.sendCommand("GET AUDIO_OUT");
    ports_.client.answer(id);
}

const char* VoiceAnswerer::refusalToArm(std::int32_t id, bool online)
{
    const Settings& settings = ports_.settings;
    if (!settings.voiceAnsweringOn()) return "voice answering is off";
    if ((online ? settings.voiceOnline : settings.voiceOffline) == 0)
        return "answering is off for this status";
    CallTable& calls = ports_.client.calls();
    const CallEntry* entry = calls.findCall(id);
    if (entry == nullptr || entry->isQq() || !calls.isIncomingRinging(id)) return "it no longer rings";
    // A call armed earlier that ended before it went on holds nothing any more (its id may
    // since name a new call, which is not armed).
    if (const CallEntry* armed = armedId_ != 0 ? calls.findCall(armedId_) : nullptr;
        armed == nullptr || !armed->armed) {
        armedId_ = 0;
    }
    if (armedId_ != 0 || activeId_ != 0 || ports_.route.busy() || calls.firstInProgressId() != 0) {
        return "another call goes on";
    }
    if (ports_.client.handsetLifted()) return "the handset is lifted";
    if (!ports_.client.isAttached()) return "the messenger is not attached";
    if (!ports_.route.findDevices()) return "a virtual cable is missing";
    if (!folderReady()) return "no message can be written";
    return nullptr;
}

bool VoiceAnswerer::folderReady()
{
    if (ports_.folder.prepare()) {
        folderFaultLogged_ = false;
        return true;
    }
    if (!folderFaultLogged_) {
        qCWarning(lcAnswering, "the messages folder %s cannot be made or written",
                  ports_.folder.path().c_str());
        folderFaultLogged_ = true;
    }
    return false;
}

void VoiceAnswerer::startVoiceAnswering(CallEntry& entry)
{
    // No messenger but Skype has voice answering.
    if (entry.isQq()) return;
    AnsweringClient& client = ports_.client;
    client.sendCommandWide(std::u16string(u"SET AUDIO_IN ") + kCableIn);
    client.sendCommandWide(std::u16string(u"SET AUDIO_OUT ") + kCableOut);
    if (ports_.settings.voiceBegin != 0) sendChat(entry, ports_.settings.voiceBeginText);

    const std::tm now = ports_.clock.localTime();
    const std::string stem = messageFileStem(entry.partnerHandle, now);
    const std::string path = ports_.folder.reserve(stem);
    if (path.empty()) qCWarning(lcAnswering, "no message file %s could be made", stem.c_str());
    entry.record.fileName = Utf8String(path.empty() ? ports_.folder.path() + stem + ".mp3" : path);
    client.postAnsweringRequest(AnsweringClient::RequestStartAnswering, toWide(std::string_view(path)));

    entry.answeringActive = true;
    activeId_ = entry.id;
    armedId_ = entry.id;
    entry.maxRecordingMs = maxRecordingMs();
    entry.record.answerTime = formatTimeText(now);
    const std::int32_t id = entry.id;
    ports_.loop.startSingleShot({&limitTimer_, 0}, static_cast<int>(entry.maxRecordingMs),
                                [this, id] { onLengthLimit(id); });
}

std::int64_t VoiceAnswerer::maxRecordingMs() const
{
    return static_cast<std::int64_t>(maxMinutes(ports_.settings.voiceMaxTime)) * 60000;
}

void VoiceAnswerer::onLengthLimit(std::int32_t id)
{
    if (activeId_ != id) return;
    qCInfo(lcAnswering, "call %d reached the longest message; ending it", id);
    ports_.client.refuse(id);
    ports_.loop.startSingleShot({&graceTimer_, 0}, kFinishGraceMs, [this, id] { onFinishGraceOver(id); });
}

void VoiceAnswerer::onFinishGraceOver(std::int32_t id)
{
    if (activeId_ != id) return;
    CallEntry* entry = ports_.client.calls().findCall(id);
    if (entry == nullptr) return;
    qCInfo(lcAnswering, "the messenger did not end call %d; its message is filed", id);
    endVoiceAnswering(*entry);
}

void VoiceAnswerer::endVoiceAnswering(CallEntry& entry)
{
    if (entry.isQq()) return;
    if (ports_.settings.voiceEnd != 0) sendChat(entry, ports_.settings.voiceEndText);
    fileMessage(entry);
    giveDevicesBack();
}

void VoiceAnswerer::fileMessage(CallEntry& entry)
{
    MessageRecord record = entry.record;
    const Utf8String nick = ports_.client.friendName(entry.partnerHandle);
    if (!nick.isEmpty()) record.nickName = nick;
    if (record.duration.isEmpty()) {
        record.duration = Utf8String(std::to_string((ports_.clock.tickMs() - entry.answerTick) / 1000));
    }
    RecordList& records = ports_.settings.records;
    const int index = static_cast<int>(records.size());
    records.push_back(record);
    if (!ports_.config.SaveSettings())
        qCWarning(lcAnswering, "config.xml could not be saved with the message");
    ports_.front.AddRecordItem(index, record);
    if (ports_.settings.newMessageToFront != 0) ports_.front.BringToFront();
    ports_.client.postAnsweringRequest(AnsweringClient::RequestStopAnswering);

    entry.armed = false;
    entry.answeringActive = false;
    activeId_ = 0;
    armedId_ = 0;
    ports_.loop.stopTimer({&limitTimer_, 0});
    ports_.loop.stopTimer({&graceTimer_, 0});
}

void VoiceAnswerer::sendChat(const CallEntry& entry, const std::u16string& text)
{
    ports_.client.sendChat(toWide(entry.partnerHandle), text);
}

void VoiceAnswerer::giveDevicesBack()
{
    if (ports_.client.useHandsetAudio()) return;
    if (previousIn_.empty() && previousOut_.empty()) {
        qCInfo(lcAnswering, "no handset, and the messenger did not say which devices it used before");
        return;
    }
    if (!previousIn_.empty()) ports_.client.sendCommandWide(u"SET AUDIO_IN " + previousIn_);
    if (!previousOut_.empty()) ports_.client.sendCommandWide(u"SET AUDIO_OUT " + previousOut_);
}

void VoiceAnswerer::startAnswering(const std::u16string& greetingFile, const std::u16string& messagePath)
{
    const std::string path = narrow(messagePath);
    if (ports_.route.startAnswering(narrow(greetingFile), path) == 0 && !path.empty()) {
        qCWarning(lcAnswering, "the message %s could not be recorded", path.c_str());
        ports_.folder.remove(path);
    }
}

void VoiceAnswerer::stopAnswering()
{
    ports_.route.stopAnswering();
}

bool VoiceAnswerer::userTakesCall()
{
    stopRingTimers();
    CallTable& calls = ports_.client.calls();
    if (activeId_ == 0) {
        // Armed, not yet in progress: the person answers it.
        if (CallEntry* armed = armedId_ != 0 ? calls.findCall(armedId_) : nullptr) armed->armed = false;
        armedId_ = 0;
        return false;
    }
    CallEntry* entry = calls.findCall(activeId_);
    if (entry == nullptr) return false;
    qCInfo(lcAnswering, "the user takes call %d over", entry->id);
    fileMessage(*entry);
    giveDevicesBack();
    return true;
}

void VoiceAnswerer::noteAudioDevice(bool input, const std::u16string& name)
{
    // Only the answers to the questions asked when arming: later ones echo the cables.
    if (armedId_ == 0 || activeId_ != 0) return;
    (input ? previousIn_ : previousOut_) = name;
}

void VoiceAnswerer::finishBeforeExit()
{
    stopRingTimers();
    if (activeId_ == 0) return;
    CallEntry* entry = ports_.client.calls().findCall(activeId_);
    if (entry == nullptr) return;
    const std::int32_t id = entry->id;
    qCInfo(lcAnswering, "the program ends while call %d is recorded; its message is filed", id);
    fileMessage(*entry);
    // The loop ends before a posted stop would run.
    ports_.route.stopAnswering();
    ports_.client.refuse(id);
    giveDevicesBack();
}

void VoiceAnswerer::stopRingTimers()
{
    for (const auto& [id, online] : ringing_) ports_.loop.stopTimer({this, id});
    ringing_.clear();
}

}  // namespace tarnix
