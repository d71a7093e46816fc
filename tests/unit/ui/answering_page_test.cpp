#include "ui/answering_page.h"

#include "config/config_file.h"
#include "config/locale_table.h"
#include "config/settings.h"
#include "folder_environment.h"
#include "temp_folder.h"
#include "ui_test_support.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>

namespace tarnix::test {
namespace {

using Page = AnsweringPage;

class AnsweringPageTest : public UiTest {
protected:
    void TearDown() override { processQtEvents(); }

    void open() { ASSERT_TRUE(page.CreatePage(nullptr)); }
    QCheckBox* check(int id) const { return qobject_cast<QCheckBox*>(page.GetDlgItem(id)); }
    QSpinBox* spin(int id) const { return qobject_cast<QSpinBox*>(page.GetDlgItem(id)); }
    QLineEdit* edit(int id) const { return qobject_cast<QLineEdit*>(page.GetDlgItem(id)); }
    // The settings as config.xml gives them back after a save.
    Settings reloaded()
    {
        EXPECT_TRUE(config.SaveSettings());
        Settings fresh;
        LocaleTable table;
        ConfigFile reader(fresh, table, environment);
        EXPECT_TRUE(reader.LoadSettings());
        EXPECT_FALSE(folder.exists("config.xml.unreadable")) << "the file must read back whole";
        return fresh;
    }

    TempFolder folder;
    FolderEnvironment environment{folder.path()};
    Settings settings;
    LocaleTable locale;
    ConfigFile config{settings, locale, environment};
    Page page{loop, settings};
};

TEST_F(AnsweringPageTest, ShowsTheSettingsAndAppliesWhatWasEditedThroughConfigXml)
{
    settings.voiceAnswering = 0;
    settings.voiceOnline = 1;
    settings.voiceOnlineSecs = 20;
    settings.voiceOffline = 0;
    settings.voiceOfflineSecs = 5;
    settings.voiceMaxTime = 3;
    settings.greetingFile = u"/home/user/greeting's & co.wav";
    settings.voiceBegin = 1;
    settings.voiceBeginText = u"Please leave a message";
    settings.voiceEndText = u"谢谢";
    open();
    EXPECT_FALSE(check(Page::kVoiceId)->isChecked());
    EXPECT_TRUE(check(Page::kOnlineId)->isChecked());
    EXPECT_EQ(spin(Page::kOnlineSecsId)->value(), 20);
    EXPECT_FALSE(check(Page::kOfflineId)->isChecked());
    EXPECT_EQ(spin(Page::kOfflineSecsId)->value(), 5);
    EXPECT_EQ(spin(Page::kMaxTimeId)->value(), 3);
    EXPECT_EQ(edit(Page::kGreetingId)->text(), QString::fromUtf8("/home/user/greeting's & co.wav"));
    EXPECT_TRUE(check(Page::kBeginId)->isChecked());
    EXPECT_EQ(edit(Page::kBeginTextId)->text(), "Please leave a message");
    EXPECT_FALSE(check(Page::kEndId)->isChecked());
    EXPECT_EQ(edit(Page::kEndTextId)->text(), QString::fromUtf8("谢谢"));

    check(Page::kVoiceId)->setChecked(true);
    check(Page::kOfflineId)->setChecked(true);
    spin(Page::kOfflineSecsId)->setValue(45);
    spin(Page::kMaxTimeId)->setValue(30);
    edit(Page::kGreetingId)->setText(QStringLiteral("/srv/hello.wav"));
    check(Page::kEndId)->setChecked(true);
    edit(Page::kEndTextId)->setText(QString::fromUtf8("留言已保存 <ok>"));
    page.ApplyPage();

    const Settings back = reloaded();
    EXPECT_EQ(back.voiceAnswering, 1);
    EXPECT_EQ(back.voiceOnline, 1);
    EXPECT_EQ(back.voiceOnlineSecs, 20);
    EXPECT_EQ(back.voiceOffline, 1);
    EXPECT_EQ(back.voiceOfflineSecs, 45);
    EXPECT_EQ(back.voiceMaxTime, 30);
    EXPECT_EQ(back.greetingFile, u"/srv/hello.wav");
    EXPECT_EQ(back.voiceBegin, 1);
    EXPECT_EQ(back.voiceBeginText, u"Please leave a message");
    EXPECT_EQ(back.voiceEnd, 1);
    EXPECT_EQ(back.voiceEndText, u"留言已保存 <ok>");
}

// The page shows what the machine makes of the stored numbers, and stores that.
TEST_F(AnsweringPageTest, NumbersOutsideWhatTheMachineTakesShowAndStoreItsReading)
{
    const struct {
        const char* name;
        int stored;
        int minutes;
    } maxTimes[] = {
        {"zero", 0, 10}, {"negative", -3, 10}, {"one", 1, 1}, {"a day", 1440, 1440}, {"beyond", 5000, 1440}};
    for (const auto& c : maxTimes) {
        SCOPED_TRACE(c.name);
        settings.voiceMaxTime = c.stored;
        Page answering(loop, settings);
        ASSERT_TRUE(answering.CreatePage(nullptr));
        EXPECT_EQ(qobject_cast<QSpinBox*>(answering.GetDlgItem(Page::kMaxTimeId))->value(), c.minutes);
        answering.ApplyPage();
        EXPECT_EQ(settings.voiceMaxTime, c.minutes);
    }
    for (auto [stored, secs] : {std::pair{-5, 0}, {0, 0}, {86400, 86400}, {90000, 86400}}) {
        SCOPED_TRACE(stored);
        settings.voiceOnlineSecs = stored;
        settings.voiceOfflineSecs = stored;
        Page answering(loop, settings);
        ASSERT_TRUE(answering.CreatePage(nullptr));
        answering.ApplyPage();
        EXPECT_EQ(settings.voiceOnlineSecs, secs);
        EXPECT_EQ(settings.voiceOfflineSecs, secs);
    }
}

// Long texts are kept whole and come back with every record after them.
TEST_F(AnsweringPageTest, LongTextsComeBackWholeFromConfigXml)
{
    open();
    const QString longest(2000, QChar(0x7559));  // 留, three bytes of UTF-8
    for (int id : {Page::kBeginTextId, Page::kEndTextId, Page::kGreetingId}) edit(id)->setText(longest);
    page.ApplyPage();
    MessageRecord record;
    record.userName = Utf8String("bob");
    settings.records.push_back(record);

    const Settings back = reloaded();
    EXPECT_EQ(back.voiceBeginText, longest.toStdU16String());
    EXPECT_EQ(back.voiceEndText, longest.toStdU16String());
    EXPECT_EQ(back.greetingFile, longest.toStdU16String());
    ASSERT_EQ(back.records.size(), 1u);
    EXPECT_EQ(back.records[0].userName.view(), "bob");
}

}  // namespace
}  // namespace tarnix::test
