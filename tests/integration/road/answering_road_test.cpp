// A call nobody answers, taken by the answering machine of the real program on a real sound
// server: the caller hears the greeting, the message is an MP3 of what the caller said.
#include "call_road.h"

#include "audio/mp3_source.h"
#include "audio/wav_source.h"
#include "child_process.h"
#include "config/byte_stream.h"
#include "mp3_test_support.h"

#include <gtest/gtest.h>

#include <QProcess>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <numeric>

namespace tarnix::test {
namespace {

constexpr int kMessageRate = 48000;
constexpr int kEnvelopeMs = 10;

// Ring after 2 s; the messenger has the program's greeting.
std::string config()
{
    return std::string("<?xml version='1.0' encoding='UTF-8'?>\n<Config>\n<Voice value='1'>\n") +
           "<VoiceOnline value='1' secs='2' />\n<GreetingFile txt='" ANSWERING_DATA "greeting.wav' />\n" +
           "</Voice>\n</Config>\n";
}

bool runIn(const QProcessEnvironment& environment, const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// A private sound server in the session's runtime folder, the cables on it, and the handset's
// sound device beside them (a null device by the handset's name).
class SoundServer {
public:
    std::string start(ProgramSession& session)
    {
        const std::string home = session.folder().file("home");
        std::filesystem::create_directory(home);
        session.setHome(QString::fromStdString(home));
        const QProcessEnvironment& environment = session.environment();
        daemon_ = std::make_unique<ChildProcess>(
            "pulseaudio",
            QStringList{"-n", "--daemonize=no", "--exit-idle-time=-1", "--log-level=error",
                        "--load=module-native-protocol-unix"},
            environment);
        bool up = false;
        for (int i = 0; i < 50 && !up; ++i) {
            up = runIn(environment, "pactl", {"info"});
            if (!up) QProcess().waitForFinished(100);
        }
        if (!up) return "no sound server came up";
        if (!runIn(environment, VIRTUAL_CABLE_SCRIPT, {})) return "scripts/virtual-cable failed";
        session.folder().write("home/.asoundrc", session.folder().read("home/.asoundrc") +
                                                     "pcm.handset {\n  type null\n  hint {\n    show on\n"
                                                     "    description \"USB Audio Device\"\n  }\n}\n");
        return {};
    }

private:
    std::unique_ptr<ChildProcess> daemon_;
};

std::vector<std::int16_t> readAll(SoundSource& source)
{
    std::vector<std::int16_t> samples;
    std::vector<unsigned char> buffer(9600);
    for (;;) {
        int length = static_cast<int>(buffer.size());
        source.readPcm(buffer.data(), length);
        if (length <= 0) break;
        const std::size_t at = samples.size();
        samples.resize(at + static_cast<std::size_t>(length) / 2);
        std::memcpy(samples.data() + at, buffer.data(), static_cast<std::size_t>(length / 2) * 2);
    }
    return samples;
}

// The loudness of every 10 ms.
std::vector<double> envelope(const std::vector<std::int16_t>& samples, int rate)
{
    const auto window = static_cast<std::size_t>(rate * kEnvelopeMs / 1000);
    std::vector<double> out;
    for (std::size_t start = 0; start + window <= samples.size(); start += window) {
        double sum = 0;
        for (std::size_t i = start; i < start + window; ++i) sum += double(samples[i]) * samples[i];
        out.push_back(std::sqrt(sum / window));
    }
    return out;
}

// The best correlation of the two loudness curves over shifts of up to a second.
double bestCorrelation(const std::vector<double>& a, const std::vector<double>& b)
{
    double best = -1;
    for (int shift = -100; shift <= 100; ++shift) {
        std::vector<double> x, y;
        for (std::size_t i = 0; i < a.size(); ++i) {
            const long j = static_cast<long>(i) + shift;
            if (j >= 0 && j < static_cast<long>(b.size())) {
                x.push_back(a[i]);
                y.push_back(b[static_cast<std::size_t>(j)]);
            }
        }
        if (x.size() < 50) continue;
        const double mx = std::accumulate(x.begin(), x.end(), 0.0) / x.size();
        const double my = std::accumulate(y.begin(), y.end(), 0.0) / y.size();
        double sxy = 0, sxx = 0, syy = 0;
        for (std::size_t i = 0; i < x.size(); ++i) {
            sxy += (x[i] - mx) * (y[i] - my);
            sxx += (x[i] - mx) * (x[i] - mx);
            syy += (y[i] - my) * (y[i] - my);
        }
        if (sxx > 0 && syy > 0) best = std::max(best, sxy / std::sqrt(sxx * syy));
    }
    return best;
}

TEST(AnsweringRoad, ACallNobodyAnswersIsGreetedRecordedAndListed)
{
    SoundServer server;
    CallRoad::Extras extras;
    extras.prepare = [&server](ProgramSession& session) { return server.start(session); };
    extras.messengerArguments = {"--voice", ANSWERING_DATA "caller.wav"};
    CallRoad road(2, CallRoad::Messenger::OnBus, {}, config(), extras);
    ASSERT_EQ(road.failure(), "");

    road.messenger("wait-attach");
    road.messenger("ring 123 alice");
    ASSERT_TRUE(road.messengerHas("CMD GET AUDIO_IN"));
    ASSERT_TRUE(road.messengerHas("CMD SET CALL 123 STATUS INPROGRESS"));
    ASSERT_TRUE(road.messengerHas("CMD SET AUDIO_IN Virtual Cable 1 In"));
    ASSERT_TRUE(road.messengerHas("CMD SET AUDIO_OUT Virtual Cable 2 Out"));
    // The greeting (1.4 s) plays, then recording begins; the caller speaks and hangs up.
    road.messenger("sleep 3000");
    road.messenger("speak");
    road.messenger("end 123");
    road.messenger("heard");
    ASSERT_TRUE(road.messengerHas("EVENT spoke"));
    const std::string heard = road.messengerLineStarting("EVENT heard");
    double heardSecs = 0;
    int peak = 0;
    ASSERT_EQ(std::sscanf(heard.c_str(), "EVENT heard %lf peak %d", &heardSecs, &peak), 2) << heard;
    // 0.72 s of the greeting is loud; a sound server's slow start once cost its first blocks.
    EXPECT_GT(heardSecs, 0.58) << "the caller heard the whole greeting";
    EXPECT_GT(peak, 2000);
    // The messenger gets the handset's devices back.
    ASSERT_TRUE(road.messengerHas("CMD SET AUDIO_IN USB Audio Device"));
    ASSERT_TRUE(road.finish());

    TempFolder& folder = road.session().folder();
    std::vector<std::string> messages;
    for (const auto& entry : std::filesystem::directory_iterator(folder.file("messages"))) {
        messages.push_back(entry.path().string());
    }
    ASSERT_EQ(messages.size(), 1u);
    const std::string config = folder.read("config.xml");
    EXPECT_NE(config.find("<UserName value='alice'/>"), std::string::npos) << config;
    EXPECT_NE(config.find("<FileName value='" + messages[0] + "'/>"), std::string::npos) << config;

    Mp3Source message;
    ASSERT_EQ(message.openSource(FileStream::open(messages[0])), 1);
    const std::vector<std::int16_t> recorded = readAll(message);
    WavSource voice;
    ASSERT_EQ(voice.openSource(FileStream::open(ANSWERING_DATA "caller.wav")), 1);
    SoundFormat format;
    voice.getFormat(format);
    const std::vector<std::int16_t> said = readAll(voice);
    // What the caller said after the greeting: the voice from its first sound to its end.
    const auto first = std::find_if(said.begin(), said.end(), [](std::int16_t s) { return s != 0; });
    const double saidSecs = double(said.end() - first) / format.sampleRate;
    const double recordedSecs = double(recorded.size()) / kMessageRate;
    const double correlation =
        bestCorrelation(envelope(said, format.sampleRate), envelope(recorded, kMessageRate));
    const auto loud =
        std::find_if(recorded.begin(), recorded.end(), [](std::int16_t s) { return std::abs(s) > 1000; });
    std::printf(
        "said %.2f s, message %.2f s (first loud at %.2f s), loudness correlation %.3f, greeting heard %.2f "
        "s\n",
        saidSecs, recordedSecs, double(loud - recorded.begin()) / kMessageRate, correlation, heardSecs);
    EXPECT_NEAR(recordedSecs, saidSecs, 0.5);
    EXPECT_GT(correlation, 0.7);
}

}  // namespace
}  // namespace tarnix::test
