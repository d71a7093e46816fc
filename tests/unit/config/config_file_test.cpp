#include "config/config_file.h"

#include "config/config_format.h"
#include "config/text_utils.h"
#include "folder_environment.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <optional>
#include <string>
#include <vector>

namespace tarnix::test {
namespace {

class ConfigFileTest : public testing::Test {
protected:
    // Loads the text as config.xml into fresh settings.
    bool load(std::string_view xml)
    {
        folder.write("config.xml", xml);
        return config.LoadSettings();
    }

    TempFolder folder;
    FolderEnvironment environment{folder.path()};
    Settings settings;
    LocaleTable locale;
    ConfigFile config{settings, locale, environment};
};

constexpr std::string_view kDefaultsFile =
    "<?xml version='1.0' encoding='utf-8'?>\n"
    "<Config>\n"
    "\t<General>\n"
    "\t\t<AutoStart value='0' />\n"
    "\t\t<MiniStart value='0' />\n"
    "\t\t<NewMessage value='0' />\n"
    "\t\t<Personal value='0' />\n"
    "\t\t<CallAccept value='0' />\n"
    "\t\t<Language value='0' />\n"
    "\t</General>\n"
    "\t<Voice value='1'>\n"
    "\t\t<VoiceOnline value='0' secs='15' />\n"
    "\t\t<VoiceOffline value='0' secs='15' />\n"
    "\t\t<VoiceMaxTime value='10' />\n"
    "\t\t<GreetingFile txt='' />\n"
    "\t\t<VoiceBegin value='0' txt='' />\n"
    "\t\t<VoiceEnd value='0' txt='' />\n"
    "\t</Voice>\n"
    "\t<Text value='1'>\n"
    "\t\t<TextOnline value='0' />\n"
    "\t\t<TextOffline value='0' />\n"
    "\t\t<TextAuto txt='' />\n"
    "\t\t<TextBusy value='0' txt='' />\n"
    "\t</Text>\n"
    "\t<Records>\n"
    "\t</Records>\n"
    "\t<Tone Skype='0' QQ='0' Volume='0'/>\n"
    "</Config>";

Settings everyFieldSet()
{
    Settings s;
    s.voiceAnswering = 0;
    s.textAnswering = 7;
    s.autoStart = 1;
    s.miniStart = 1;
    s.newMessageToFront = 1;
    s.personalAlert = 1;
    s.callAcceptToFront = 1;
    s.language = 2;
    s.voiceOnline = 1;
    s.voiceOnlineSecs = 30;
    s.voiceOffline = 1;
    s.voiceOfflineSecs = -5;
    s.voiceMaxTime = 3;
    s.greetingFile = u"/home/ann/Tom & Jerry's <greeting>.wav";
    s.voiceBegin = 1;
    s.voiceBeginText = u"\u8BF7\u7559\u8A00 \"after the tone\"";
    s.voiceEnd = 1;
    s.voiceEndText = u"Thanks!";
    s.textOnline = 1;
    s.textOffline = 1;
    s.textAuto = u"Away \U0001F600";
    s.textBusy = u"Busy";
    s.textBusyOn = 1;
    s.skypeTone = 11;
    s.qqTone = 4;
    s.ringVolume = 100;
    MessageRecord played;
    played.userName = "echo123";
    played.nickName = "Echo \xE5\x9B\x9E\xE5\xA3\xB0";
    played.fileName = "/opt/tarnix/messages/echo1232026-12-07#10-00-00.mp3";
    played.ringTime = "2026-12-07 10:00:00";
    played.answerTime = "2026-12-07 10:00:15";
    played.duration = "00:01:02";
    played.newFlag = false;
    MessageRecord fresh;
    fresh.userName = "o'neil&co";
    s.records = {played, fresh};
    return s;
}

constexpr std::string_view kEveryFieldFile =
    "<?xml version='1.0' encoding='utf-8'?>\n"
    "<Config>\n"
    "\t<General>\n"
    "\t\t<AutoStart value='1' />\n"
    "\t\t<MiniStart value='1' />\n"
    "\t\t<NewMessage value='1' />\n"
    "\t\t<Personal value='1' />\n"
    "\t\t<CallAccept value='1' />\n"
    "\t\t<Language value='2' />\n"
    "\t</General>\n"
    "\t<Voice value='0'>\n"
    "\t\t<VoiceOnline value='1' secs='30' />\n"
    "\t\t<VoiceOffline value='1' secs='-5' />\n"
    "\t\t<VoiceMaxTime value='3' />\n"
    "\t\t<GreetingFile txt='/home/ann/Tom &amp; Jerry&apos;s &lt;greeting&gt;.wav' />\n"
    "\t\t<VoiceBegin value='1' txt='\xE8\xAF\xB7\xE7\x95\x99\xE8\xA8\x80 &quot;after the tone&quot;' />\n"
    "\t\t<VoiceEnd value='1' txt='Thanks!' />\n"
    "\t</Voice>\n"
    "\t<Text value='7'>\n"
    "\t\t<TextOnline value='1' />\n"
    "\t\t<TextOffline value='1' />\n"
    "\t\t<TextAuto txt='Away \xF0\x9F\x98\x80' />\n"
    "\t\t<TextBusy value='1' txt='Busy' />\n"
    "\t</Text>\n"
    "\t<Records>\n"
    "\t\t<Record newFlag='0'>\n"
    "\t\t\t<UserName value='echo123'/>\n"
    "\t\t\t<NickName value='Echo \xE5\x9B\x9E\xE5\xA3\xB0'/>\n"
    "\t\t\t<FileName value='/opt/tarnix/messages/echo1232026-12-07#10-00-00.mp3'/>\n"
    "\t\t\t<RingTime value='2026-12-07 10:00:00'/>\n"
    "\t\t\t<AnswerTime value='2026-12-07 10:00:15'/>\n"
    "\t\t\t<Duration value='00:01:02'/>\n"
    "\t\t</Record>\n"
    "\t\t<Record newFlag='1'>\n"
    "\t\t\t<UserName value='o&apos;neil&amp;co'/>\n"
    "\t\t\t<NickName value=''/>\n"
    "\t\t\t<FileName value=''/>\n"
    "\t\t\t<RingTime value=''/>\n"
    "\t\t\t<AnswerTime value=''/>\n"
    "\t\t\t<Duration value=''/>\n"
    "\t\t</Record>\n"
    "\t</Records>\n"
    "\t<Tone Skype='11' QQ='4' Volume='100'/>\n"
    "</Config>";

void expectSameSettings(const Settings& a, const Settings& b)
{
    EXPECT_EQ(formatConfig(a), formatConfig(b));
    ASSERT_EQ(a.records.size(), b.records.size());
    for (std::size_t i = 0; i < a.records.size(); ++i) {
        EXPECT_EQ(a.records[i].index, b.records[i].index);
    }
}

TEST_F(ConfigFileTest, SaveWritesTheExactBytes)
{
    ASSERT_TRUE(config.SaveSettings());
    EXPECT_EQ(folder.read("config.xml"), kDefaultsFile);

    settings = everyFieldSet();
    ASSERT_TRUE(config.SaveSettings());
    EXPECT_EQ(folder.read("config.xml"), kEveryFieldFile);
}

TEST_F(ConfigFileTest, LoadSaveLoadKeepsEveryFieldEscapesAndUtf8)
{
    ASSERT_TRUE(load(kEveryFieldFile));
    Settings expected = everyFieldSet();
    expected.records[0].index = 0;
    expected.records[1].index = 1;
    expectSameSettings(settings, expected);
    EXPECT_EQ(settings.greetingFile, u"/home/ann/Tom & Jerry's <greeting>.wav");
    EXPECT_EQ(settings.textAuto, u"Away \U0001F600");
    EXPECT_EQ(locale.language(), 2);

    ASSERT_TRUE(config.SaveSettings());
    EXPECT_EQ(folder.read("config.xml"), kEveryFieldFile);
    Settings reloaded;
    ConfigFile again(reloaded, locale, environment);
    ASSERT_TRUE(again.LoadSettings());
    expectSameSettings(reloaded, settings);
}

TEST_F(ConfigFileTest, MissingFileKeepsTheDefaultsAndTheNextSaveCreatesIt)
{
    EXPECT_FALSE(config.LoadSettings());
    expectSameSettings(settings, Settings{});
    EXPECT_TRUE(config.SaveSettings());
    EXPECT_TRUE(folder.exists("config.xml"));
}

TEST_F(ConfigFileTest, EmptyConfigLeavesDefaultsAndSavesTheWholeSchema)
{
    ASSERT_TRUE(load("<Config/>"));
    expectSameSettings(settings, Settings{});
    EXPECT_EQ(settings.ringVolume, 0);
    ASSERT_TRUE(config.SaveSettings());
    EXPECT_EQ(folder.read("config.xml"), kDefaultsFile);
    EXPECT_FALSE(folder.exists("config.xml.unreadable"));
}

TEST_F(ConfigFileTest, ListedElementsWithoutAttributesGiveZeroExceptToneVolume)
{
    ASSERT_TRUE(
        load("<Config><Tone Skype='3'/><VoiceOnline value='1'/><VoiceBegin txt='hi'/>"
             "<Voice/><GreetingFile/><Language value='x'/></Config>"));
    EXPECT_EQ(settings.skypeTone, 3);
    EXPECT_EQ(settings.qqTone, 0);
    EXPECT_EQ(settings.ringVolume, 50);
    EXPECT_EQ(settings.voiceOnline, 1);
    EXPECT_EQ(settings.voiceOnlineSecs, 0);
    EXPECT_EQ(settings.voiceBegin, 0);
    EXPECT_EQ(settings.voiceBeginText, u"hi");
    EXPECT_EQ(settings.voiceAnswering, 0);
    EXPECT_EQ(settings.textAnswering, 1);  // not in the file: kept
    EXPECT_EQ(settings.voiceMaxTime, 10);
    EXPECT_EQ(settings.language, 0);
}

TEST_F(ConfigFileTest, ElementsActWhateverTheirNestingAndFirstAttributeWins)
{
    ASSERT_TRUE(
        load("<Config><Records><Deep><VoiceMaxTime value='42' value='7'/></Deep></Records>"
             "<voicemaxtime value='9'/><Language value=' +1z'/></Config>"));
    EXPECT_EQ(settings.voiceMaxTime, 42);
    EXPECT_EQ(settings.language, 1);
    EXPECT_EQ(locale.language(), 1);
}

TEST_F(ConfigFileTest, RecordsAppendInFileOrderWithTheirNewFlags)
{
    settings.records.push_back(MessageRecord{});  // one made by the answering machine earlier
    ASSERT_TRUE(
        load("<Config><Records>"
             "<Record><FileName value='a.mp3'/></Record>"
             "<Record newFlag='0'><FileName value='a.mp3'/></Record>"
             "<Record newFlag='7'/>"
             "</Records></Config>"));
    ASSERT_EQ(settings.records.size(), 4u);
    EXPECT_EQ(settings.records[0].index, -1);
    const std::vector<bool> newFlags = {true, true, false, true};
    for (std::size_t i = 1; i < settings.records.size(); ++i) {
        EXPECT_EQ(settings.records[i].index, static_cast<int>(i)) << i;
        EXPECT_EQ(settings.records[i].newFlag, newFlags[i]) << i;
    }
    EXPECT_STREQ(settings.records[2].fileName.c_str(), "a.mp3");
    EXPECT_TRUE(settings.records[3].fileName.isEmpty());
    ASSERT_TRUE(config.SaveSettings());
    EXPECT_NE(folder.read("config.xml")
                  .find("<Record newFlag='1'>\n\t\t\t<UserName value=''/>\n"
                        "\t\t\t<NickName value=''/>\n\t\t\t<FileName value=''/>"),
              std::string::npos);
}

TEST_F(ConfigFileTest, SetLanguageSwitchesTheInterfaceAtOnce)
{
    LocaleItem item;
    item.id = 2001;
    item.english = u"Options";
    item.simpleChinese = u"\u9009\u9879";
    locale.add(item);
    config.SetLanguage(1);
    EXPECT_EQ(settings.language, 1);
    EXPECT_EQ(locale.LocaleText(2001, u"Options"), u"\u9009\u9879");
}

TEST_F(ConfigFileTest, AutostartFollowsEachSuccessfulSave)
{
    ASSERT_TRUE(config.SaveSettings());
    settings.autoStart = 5;
    ASSERT_TRUE(config.SaveSettings());
    EXPECT_EQ(environment.autostartCalls, (std::vector<bool>{false, true}));
}

TEST_F(ConfigFileTest, PiecesLongerThanAnyLineBufferAreWrittenInFull)
{
    const std::u16string longPath = u"/media/" + std::u16string(3000, u'\u00E9') + u"/greeting.wav";
    settings.greetingFile = longPath;
    MessageRecord record;
    record.nickName = Utf8String(std::string(4000, '&'));
    settings.records.push_back(record);
    ASSERT_TRUE(config.SaveSettings());
    const std::string saved = folder.read("config.xml");
    const std::string path = fromWide(longPath).c_str();
    EXPECT_NE(saved.find("<GreetingFile txt='" + path + "' />\n"), std::string::npos);
    std::string escaped;
    for (int i = 0; i < 4000; ++i) escaped += "&amp;";
    EXPECT_NE(saved.find("<NickName value='" + escaped + "'/>\n"), std::string::npos);
    EXPECT_TRUE(saved.ends_with("</Config>"));
}

// What a save writes loads back: texts far beyond any fixed buffer (CJK, three bytes a character)
// and ten thousand records, none lost behind a long one.
TEST_F(ConfigFileTest, LongestTextsAndTenThousandRecordsLoadBack)
{
    const std::u16string cjk(2000, u'\u7559');
    settings.greetingFile = u"/home/ann/" + cjk + u".wav";
    settings.voiceBeginText = cjk;
    settings.voiceEndText = cjk + u"!";
    settings.textAuto = cjk;
    settings.textBusy = cjk;
    for (int i = 0; i < 10000; ++i) {
        MessageRecord record;
        record.userName = Utf8String("caller" + std::to_string(i));
        record.nickName = Utf8String(std::string(i == 5000 ? 3000 : 10, 'n'));
        record.fileName = Utf8String("/messages/caller" + std::to_string(i) + "2026-12-07#10-00-00.mp3");
        record.newFlag = i % 2 == 0;
        settings.records.push_back(record);
    }
    ASSERT_TRUE(config.SaveSettings());

    Settings reloaded;
    ConfigFile again(reloaded, locale, environment);
    ASSERT_TRUE(again.LoadSettings());
    for (int i = 0; i < 10000; ++i) settings.records[static_cast<std::size_t>(i)].index = i;
    expectSameSettings(reloaded, settings);
    EXPECT_EQ(reloaded.voiceBeginText, cjk);
}

// A file that cannot be read to its end is kept aside before any save can replace it; what came
// before the fault is used.
TEST_F(ConfigFileTest, DamagedFileIsKeptAsideAndItsGoodPartUsed)
{
    const std::vector<std::string> damaged = {
        "<Config><General><AutoStart value='1' /></General><!-- note --><Records></Records></Config>",
        "<Config><General><AutoStart value='1' /></General><Records><Record newFlag='0'>",  // cut off
    };
    for (const std::string& xml : damaged) {
        TempFolder other;
        FolderEnvironment env(other.path());
        Settings s;
        ConfigFile file(s, locale, env);
        other.write("config.xml", xml);
        ASSERT_TRUE(file.LoadSettings());
        EXPECT_EQ(s.autoStart, 1) << xml;
        EXPECT_TRUE(s.records.empty()) << xml;
        EXPECT_EQ(other.read("config.xml.unreadable"), xml);
        ASSERT_TRUE(file.SaveSettings());
        EXPECT_EQ(other.read("config.xml.unreadable"), xml);
    }
}

TEST_F(ConfigFileTest, EarlierKeptCopiesAreNeverOverwritten)
{
    folder.write("config.xml.unreadable", "first");
    ASSERT_TRUE(load("<Config><!-- -->"));
    EXPECT_EQ(folder.read("config.xml.unreadable"), "first");
    EXPECT_EQ(folder.read("config.xml.unreadable.2"), "<Config><!-- -->");
}

TEST_F(ConfigFileTest, WellFormedAndEmptyFilesAreNotCopied)
{
    ASSERT_TRUE(load(""));
    ASSERT_TRUE(load("<?xml version='1.0'?>\n<Config>\n</Config>\n"));
    EXPECT_FALSE(folder.exists("config.xml.unreadable"));
}

// Stands in for a full disk: writes beyond the limit fail with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST_F(ConfigFileTest, FailedSaveKeepsTheOldFileAndTheAutostartEntry)
{
    settings.autoStart = 1;
    ASSERT_TRUE(config.SaveSettings());
    const std::string before = folder.read("config.xml");
    settings.records.resize(200);
    settings.autoStart = 0;
    {
        const FileSizeLimit full(before.size() + 100);
        EXPECT_FALSE(config.SaveSettings());
    }
    EXPECT_EQ(folder.read("config.xml"), before);
    EXPECT_EQ(environment.autostartCalls, (std::vector<bool>{true}));
    EXPECT_FALSE(folder.exists("config.xml.tmp-" + std::to_string(::getpid())));

    TempFolder blocked;
    blocked.write("file", "a file where a folder should be");
    FolderEnvironment noFolder(blocked.path() + "file/tarnix/");
    ConfigFile nowhere(settings, locale, noFolder);
    EXPECT_FALSE(nowhere.SaveSettings());
    EXPECT_TRUE(noFolder.autostartCalls.empty());
}

TEST_F(ConfigFileTest, SaveCreatesAMissingConfigFolderForTheUserOnly)
{
    FolderEnvironment fresh(folder.path() + "config/tarnix-usbphone/");
    ConfigFile config(settings, locale, fresh);
    ASSERT_TRUE(config.SaveSettings());
    EXPECT_TRUE(folder.exists("config/tarnix-usbphone/config.xml"));
    struct stat info {};
    ASSERT_EQ(::stat(fresh.configFolder().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

}  // namespace
}  // namespace tarnix::test
