#include "config/config_format.h"

#include "config/text_utils.h"

namespace tarnix {

namespace {

// Builds the file piece by piece: each piece but the first starts on a new line after its tabs.
// A piece is a run of literal parts and values; numbers go in as decimal, texts escaped.
class PieceWriter {
public:
    explicit PieceWriter(std::string& out) : out_(out) {}

    PieceWriter& line(int tabs)
    {
        out_.push_back('\n');
        out_.append(static_cast<std::size_t>(tabs), '\t');
        return *this;
    }
    PieceWriter& operator<<(const char* literal)
    {
        out_ += literal;
        return *this;
    }
    PieceWriter& operator<<(std::int32_t number)
    {
        out_ += std::to_string(number);
        return *this;
    }
    PieceWriter& operator<<(const Utf8String& text)
    {
        out_ += xmlEscape(text).view();
        return *this;
    }
    PieceWriter& operator<<(const std::u16string& text) { return *this << fromWide(text); }

private:
    std::string& out_;
};

}  // namespace

std::string formatConfig(const Settings& s)
{
    std::string out;
    // Room for the settings and a typical record each, so a long list is not copied while it grows.
    out.reserve(2048 + s.records.size() * 384);
    PieceWriter w(out);
    w << "<?xml version='1.0' encoding='utf-8'?>\n<Config>";
    w.line(1) << "<General>";
    w.line(2) << "<AutoStart value='" << s.autoStart << "' />";
    w.line(2) << "<MiniStart value='" << s.miniStart << "' />";
    w.line(2) << "<NewMessage value='" << s.newMessageToFront << "' />";
    w.line(2) << "<Personal value='" << s.personalAlert << "' />";
    w.line(2) << "<CallAccept value='" << s.callAcceptToFront << "' />";
    w.line(2) << "<Language value='" << s.language << "' />";
    w.line(1) << "</General>";
    w.line(1) << "<Voice value='" << s.voiceAnswering << "'>";
    w.line(2) << "<VoiceOnline value='" << s.voiceOnline << "' secs='" << s.voiceOnlineSecs << "' />";
    w.line(2) << "<VoiceOffline value='" << s.voiceOffline << "' secs='" << s.voiceOfflineSecs << "' />";
    w.line(2) << "<VoiceMaxTime value='" << s.voiceMaxTime << "' />";
    w.line(2) << "<GreetingFile txt='" << s.greetingFile << "' />";
    w.line(2) << "<VoiceBegin value='" << s.voiceBegin << "' txt='" << s.voiceBeginText << "' />";
    w.line(2) << "<VoiceEnd value='" << s.voiceEnd << "' txt='" << s.voiceEndText << "' />";
    w.line(1) << "</Voice>";
    w.line(1) << "<Text value='" << s.textAnswering << "'>";
    w.line(2) << "<TextOnline value='" << s.textOnline << "' />";
    w.line(2) << "<TextOffline value='" << s.textOffline << "' />";
    w.line(2) << "<TextAuto txt='" << s.textAuto << "' />";
    w.line(2) << "<TextBusy value='" << s.textBusyOn << "' txt='" << s.textBusy << "' />";
    w.line(1) << "</Text>";
    w.line(1) << "<Records>";
    for (const MessageRecord& r : s.records) {
        w.line(2) << "<Record newFlag='" << (r.newFlag ? 1 : 0) << "'>";
        w.line(3) << "<UserName value='" << r.userName << "'/>";
        w.line(3) << "<NickName value='" << r.nickName << "'/>";
        w.line(3) << "<FileName value='" << r.fileName << "'/>";
        w.line(3) << "<RingTime value='" << r.ringTime << "'/>";
        w.line(3) << "<AnswerTime value='" << r.answerTime << "'/>";
        w.line(3) << "<Duration value='" << r.duration << "'/>";
        w.line(2) << "</Record>";
    }
    w.line(1) << "</Records>";
    w.line(1) << "<Tone Skype='" << s.skypeTone << "' QQ='" << s.qqTone << "' Volume='" << s.ringVolume
              << "'/>";
    w.line(0) << "</Config>";
    return out;
}

}  // namespace tarnix
