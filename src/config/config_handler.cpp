#include "config/config_handler.h"

#include <string_view>
#include <utility>

#include "config/text_utils.h"

namespace tarnix {

namespace {

// A number attribute; absent gives the fallback, no digits give 0.
std::int32_t number(const XmlAttributes& attributes, std::string_view name, std::int32_t absent = 0)
{
    const char* value = attributes.find(name);
    return value == nullptr ? absent : leadingInteger(value);
}

std::u16string wideText(const XmlAttributes& attributes, std::string_view name)
{
    const char* value = attributes.find(name);
    return value == nullptr ? std::u16string() : toWide(std::string_view(value));
}

Utf8String narrowText(const XmlAttributes& attributes, std::string_view name)
{
    return Utf8String(attributes.find(name));
}

}  // namespace

ConfigHandler::ConfigHandler(Settings& settings, LanguageSetter setLanguage)
    : settings_(settings), setLanguage_(std::move(setLanguage))
{
}

void ConfigHandler::startElement(const char* name, const XmlAttributes& a)
{
    started_ = true;
    ++depth_;
    Settings& s = settings_;
    const std::string_view element(name);
    if (element == "Voice") {
        s.voiceAnswering = number(a, "value");
    } else if (element == "Text") {
        s.textAnswering = number(a, "value");
    } else if (element == "Record") {
        record_ = MessageRecord{};
        if (const char* flag = a.find("newFlag")) record_.newFlag = leadingInteger(flag) != 0;
    } else if (element == "AutoStart") {
        s.autoStart = number(a, "value");
    } else if (element == "MiniStart") {
        s.miniStart = number(a, "value");
    } else if (element == "NewMessage") {
        s.newMessageToFront = number(a, "value");
    } else if (element == "Personal") {
        s.personalAlert = number(a, "value");
    } else if (element == "CallAccept") {
        s.callAcceptToFront = number(a, "value");
    } else if (element == "Language") {
        setLanguage_(number(a, "value"));
    } else if (element == "VoiceOnline") {
        s.voiceOnline = number(a, "value");
        s.voiceOnlineSecs = number(a, "secs");
    } else if (element == "VoiceOffline") {
        s.voiceOffline = number(a, "value");
        s.voiceOfflineSecs = number(a, "secs");
    } else if (element == "VoiceMaxTime") {
        s.voiceMaxTime = number(a, "value");
    } else if (element == "TextOnline") {
        s.textOnline = number(a, "value");
    } else if (element == "TextOffline") {
        s.textOffline = number(a, "value");
    } else if (element == "GreetingFile") {
        s.greetingFile = wideText(a, "txt");
    } else if (element == "TextAuto") {
        s.textAuto = wideText(a, "txt");
    } else if (element == "VoiceBegin") {
        s.voiceBegin = number(a, "value");
        s.voiceBeginText = wideText(a, "txt");
    } else if (element == "VoiceEnd") {
        s.voiceEnd = number(a, "value");
        s.voiceEndText = wideText(a, "txt");
    } else if (element == "TextBusy") {
        s.textBusyOn = number(a, "value");
        s.textBusy = wideText(a, "txt");
    } else if (element == "UserName") {
        record_.userName = narrowText(a, "value");
    } else if (element == "NickName") {
        record_.nickName = narrowText(a, "value");
    } else if (element == "FileName") {
        record_.fileName = narrowText(a, "value");
    } else if (element == "RingTime") {
        record_.ringTime = narrowText(a, "value");
    } else if (element == "AnswerTime") {
        record_.answerTime = narrowText(a, "value");
    } else if (element == "Duration") {
        record_.duration = narrowText(a, "value");
    } else if (element == "Tone") {
        s.skypeTone = number(a, "Skype");
        s.qqTone = number(a, "QQ");
        s.ringVolume = number(a, "Volume", 50);
    }
}

void ConfigHandler::endElement(const char* name)
{
    if (depth_ > 0) --depth_;
    if (std::string_view(name) != "Record") return;
    record_.index = static_cast<int>(settings_.records.size());
    settings_.records.push_back(record_);
}

}  // namespace tarnix
