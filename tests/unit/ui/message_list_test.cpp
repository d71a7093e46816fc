#include "ui/message_list.h"
#include "main_window_fixture.h"
#include "ui/main_toolbar.h"

#include <QAction>
#include <QCoreApplication>
#include <QTreeWidget>

#include <filesystem>

namespace tarnix::test {
namespace {

class MessageListTest : public MainWindowTest {
protected:
    MessageListTest() { std::filesystem::create_directories(folder.path() + MainWindow::kMessagesFolder); }

    void start(const RecordList& records)
    {
        settings.records = records;
        ASSERT_TRUE(window.CreateMainWindow());
        list = qobject_cast<QTreeWidget*>(window.GetDlgItem(MessageList::kControlId));
    }
    void select(int row) { list->setCurrentItem(list->topLevelItem(row)); }
    bool bold(int row) const { return list->topLevelItem(row)->font(0).bold(); }
    std::string message(const std::string& name) const
    {
        return folder.path() + MainWindow::kMessagesFolder + name;
    }
    // Runs the command; answers a message box if one shows. Whether one showed.
    bool commandAnsweringBoxes(int id)
    {
        seen = {};
        answerNextMessageBox(QMessageBox::Ok);
        runLoop([&] {
            command(id);
            QCoreApplication::exit(0);
        });
        boxWatch.stop();
        return seen.shown;
    }
    std::vector<std::string> users() const
    {
        std::vector<std::string> out;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            out.push_back(list->topLevelItem(i)->text(0).toStdString());
        return out;
    }

    QTreeWidget* list = nullptr;
};

TEST_F(MessageListTest, RowsShowTheRecordsNewOnesBold)
{
    start({record("alice", "a.mp3", false), record("bob", "b.mp3", true)});
    ASSERT_EQ(list->topLevelItemCount(), 2);
    const QTreeWidgetItem& row = *list->topLevelItem(1);
    EXPECT_EQ(row.text(0), "bob");
    EXPECT_EQ(row.text(1), "Nick bob");
    EXPECT_EQ(row.text(2), "2026-12-08 07:00:00");
    EXPECT_EQ(row.text(3), "2026-12-08 07:00:15");
    EXPECT_EQ(row.text(4), "42");
    EXPECT_FALSE(bold(0));
    EXPECT_TRUE(bold(1));
    EXPECT_FALSE(row.icon(0).isNull());

    window.AddRecordItem(1, record("carol", "c.mp3"));
    EXPECT_EQ(users(), (std::vector<std::string>{"alice", "carol", "bob"}));
    EXPECT_TRUE(bold(1));
}

TEST_F(MessageListTest, WithoutASelectionEveryRecordActionAsksAndChangesNothing)
{
    start({});
    for (int id : {MainToolbar::kCommandPlay, MainToolbar::kCommandDelete, MainToolbar::kCommandMakeCall,
                   MainToolbar::kCommandSendIm}) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(commandAnsweringBoxes(id));
        EXPECT_EQ(seen.title, "USB Phone");
        EXPECT_EQ(seen.text, "Please select a message first.");
        EXPECT_EQ(seen.icon, QMessageBox::Question);
        EXPECT_EQ(seen.buttons, QMessageBox::Ok);
    }
    EXPECT_TRUE(skype.sent.empty());
    EXPECT_TRUE(playback.started.empty());
    EXPECT_FALSE(folder.exists("config.xml"));
}

TEST_F(MessageListTest, PlayMarksTheRowAtItsPositionAndSaves)
{
    // Two records name files that differ only by case; the second is played.
    start({record("alice", "Same.mp3"), record("bob", "same.mp3")});
    playback.playable = false;  // a missing file still counts as played
    select(1);
    command(MainToolbar::kCommandPlay);
    EXPECT_EQ(playback.started, (std::vector<std::string>{message("same.mp3")}));
    EXPECT_TRUE(bold(0));
    EXPECT_FALSE(bold(1));
    EXPECT_TRUE(settings.records[0].newFlag);
    EXPECT_FALSE(settings.records[1].newFlag);
    EXPECT_FALSE(window.messageList()->record(1).newFlag);
    const std::string saved = folder.read("config.xml");
    EXPECT_NE(saved.find("<Record newFlag='1'>"), std::string::npos) << saved;
    EXPECT_NE(saved.find("<Record newFlag='0'>"), std::string::npos) << saved;
    EXPECT_EQ(MainToolbar::imageOf(*window.toolbar()->action(MainToolbar::kCommandPlay)), 6);
}

TEST_F(MessageListTest, PlayShowsStopUntilThePlayerEnds)
{
    start({record("alice", "a.mp3"), record("bob", "b.mp3")});
    QAction& play = *window.toolbar()->action(MainToolbar::kCommandPlay);
    select(0);
    command(MainToolbar::kCommandPlay);
    EXPECT_EQ(MainToolbar::imageOf(play), 5);
    EXPECT_EQ(play.toolTip(), "Stop");
    loop.advance(MainWindow::kPlaybackWatchMs);
    EXPECT_EQ(MainToolbar::imageOf(play), 5);
    playback.playing = false;
    loop.advance(MainWindow::kPlaybackWatchMs);
    EXPECT_EQ(MainToolbar::imageOf(play), 6);
    EXPECT_EQ(play.toolTip(), "Play");

    // Pressed while playing, Play stops whatever row is selected.
    command(MainToolbar::kCommandPlay);
    select(1);
    command(MainToolbar::kCommandPlay);
    EXPECT_EQ(playback.stops, 1);
    EXPECT_EQ(playback.started.size(), 2u);
    EXPECT_EQ(MainToolbar::imageOf(play), 6);
}

TEST_F(MessageListTest, DeleteRemovesTheFileOnlyWhenItIsTheRecordsOwnMessage)
{
    struct Case {
        const char* name;
        std::string file;       // the deleted record's file
        std::string otherFile;  // the file of the record left
        bool fileRemoved;
    };
    TempFolder outside;
    outside.write("keep.mp3", "ID3");
    std::filesystem::create_symlink(outside.file("keep.mp3"), message("link.mp3"));
    folder.write(std::string(MainWindow::kMessagesFolder) + "own.mp3", "ID3");
    folder.write(std::string(MainWindow::kMessagesFolder) + "shared.mp3", "ID3");
    folder.write(std::string(MainWindow::kMessagesFolder) + "notes.txt", "text");
    const Case cases[] = {
        {"own message", message("own.mp3"), message("other.mp3"), true},
        {"file outside the messages folder", outside.file("keep.mp3"), message("other.mp3"), false},
        {"link out of the messages folder", message("link.mp3"), message("other.mp3"), false},
        {"not an mp3", message("notes.txt"), message("other.mp3"), false},
        {"named by the other record too", message("shared.mp3"), message("shared.mp3"), false},
        {"missing file", message("gone.mp3"), message("other.mp3"), false},
    };
    start({});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool existed = std::filesystem::exists(c.file);
        MessageRecord doomed = record("doomed", "x.mp3");
        doomed.fileName = Utf8String(c.file);
        MessageRecord other = record("other", "x.mp3");
        other.fileName = Utf8String(c.otherFile);
        settings.records = {doomed, other};
        window.AddRecordItem(0, doomed);
        window.AddRecordItem(1, other);
        select(0);
        command(MainToolbar::kCommandDelete);
        EXPECT_EQ(std::filesystem::exists(c.file), existed && !c.fileRemoved);
        ASSERT_EQ(settings.records.size(), 1u);
        EXPECT_EQ(users(), (std::vector<std::string>{"other"}));
        const std::string saved = folder.read("config.xml");
        EXPECT_EQ(saved.find("doomed"), std::string::npos);
        EXPECT_NE(saved.find("other"), std::string::npos);
        select(0);
        command(MainToolbar::kCommandDelete);
    }
    EXPECT_TRUE(std::filesystem::exists(outside.file("keep.mp3")));
}

TEST_F(MessageListTest, DeletingTheSecondOfThreeKeepsTheThirdInItsRowAndStopsItsPlayback)
{
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
        folder.write(std::string(MainWindow::kMessagesFolder) + name, "ID3");
    start({record("alice", "a.mp3"), record("bob", "b.mp3"), record("carol", "c.mp3")});
    select(1);
    command(MainToolbar::kCommandPlay);
    ASSERT_TRUE(playback.playing);
    command(MainToolbar::kCommandDelete);
    EXPECT_EQ(playback.stops, 1);
    EXPECT_FALSE(std::filesystem::exists(message("b.mp3")));
    EXPECT_TRUE(std::filesystem::exists(message("c.mp3")));
    EXPECT_EQ(users(), (std::vector<std::string>{"alice", "carol"}));
    ASSERT_EQ(settings.records.size(), 2u);
    EXPECT_EQ(settings.records[1].userName.view(), "carol");
    EXPECT_EQ(window.messageList()->record(1).userName.view(), "carol");
}

TEST_F(MessageListTest, CallAndChatTakeTheWholeHandleAndRefuseSeveral)
{
    const std::string longHandle(150, 'x');
    struct Case {
        std::string user;
        bool sent;
    };
    const Case cases[] = {
        {"alice", true},          {"live:.cid.123_abc", true},
        {longHandle, true},       {"张伟", true},
        {"a, b", false},          {"a,b", false},
        {"a b", false},           {"a\tb", false},
        {"a\nGET USER b", false}, {"", false},
    };
    start({});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.user);
        skype.sent.clear();
        const MessageRecord r = record(c.user, "x.mp3");
        settings.records = {r};
        window.AddRecordItem(0, r);
        select(0);
        command(MainToolbar::kCommandMakeCall);
        command(MainToolbar::kCommandSendIm);
        if (c.sent) {
            EXPECT_EQ(skype.sent, (std::vector<std::string>{"CALL " + c.user, "OPEN IM " + c.user}));
        } else {
            EXPECT_TRUE(skype.sent.empty());
        }
        command(MainToolbar::kCommandDelete);
    }
}

}  // namespace
}  // namespace tarnix::test
