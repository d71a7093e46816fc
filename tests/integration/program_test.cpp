#include "child_process.h"
#include "program_session.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>

#include <csignal>
#include <memory>

namespace tarnix::test {
namespace {

constexpr const char* kInstanceName = "org.tarnix.VoxlanderWindow";

enum class Session { WithBus, WithoutBus };

// The real program in a private user session, with a private session bus or none.
class ProgramTest : public ::testing::TestWithParam<Session> {
protected:
    void SetUp() override
    {
        ensureQtApplication();
        ASSERT_TRUE(session.ready());
        if (GetParam() == Session::WithBus) {
            bus = std::make_unique<ChildProcess>("dbus-daemon",
                                                 QStringList{"--session", "--nofork", "--print-address=1"});
            busAddress = QString::fromStdString(bus->readLine());
            ASSERT_FALSE(busAddress.isEmpty()) << "dbus-daemon did not start";
            session.setBus(busAddress);
        }
    }

    std::unique_ptr<ProgramCopy> start()
    {
        auto copy = session.start();
        EXPECT_TRUE(copy->started());
        return copy;
    }

    // A copy that has come up.
    std::unique_ptr<ProgramCopy> startRunning()
    {
        auto copy = start();
        EXPECT_TRUE(copy->waitForOutput(ProgramSession::kRunning)) << copy->output().toStdString();
        return copy;
    }

    static void endWith(ProgramCopy& copy, int signal)
    {
        copy.signal(signal);
        ASSERT_TRUE(copy.waitForExit()) << copy.output().toStdString();
        EXPECT_EQ(copy.exitCode(), 0) << copy.output().toStdString();
    }

    // With a bus: the process that holds the instance name.
    qint64 nameOwnerPid()
    {
        QDBusConnection connection = QDBusConnection::connectToBus(busAddress, busAddress);
        const qint64 pid = connection.interface()->servicePid(kInstanceName).value();
        QDBusConnection::disconnectFromBus(busAddress);
        return pid;
    }

    ProgramSession session{PROGRAM_PATH, LOCALE_PATH};
    TempFolder& folder = session.folder();
    std::unique_ptr<ChildProcess> bus;
    QString busAddress;
};

TEST_P(ProgramTest, StartsHeadlessWithoutHandsetAndSaysWhatItLacksOnce)
{
    auto program = startRunning();
    EXPECT_TRUE(program->output().contains("running; no handset"));
    EXPECT_EQ(program->output().count("no system tray"), 1);
    EXPECT_EQ(program->output().count("no X display"), 1);
    EXPECT_FALSE(program->waitForExit(300));
    endWith(*program, SIGTERM);
}

TEST_P(ProgramTest, SecondCopyLeavesAtOnceWithZeroAndTheFirstRunsOn)
{
    auto first = startRunning();

    QElapsedTimer clock;
    clock.start();
    auto second = start();
    ASSERT_TRUE(second->waitForExit(5000));
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_FALSE(second->output().contains(ProgramSession::kRunning));
    EXPECT_FALSE(folder.exists("config.xml"));

    EXPECT_TRUE(first->running());
    if (GetParam() == Session::WithBus) {
        EXPECT_EQ(nameOwnerPid(), first->pid());
    }
    endWith(*first, SIGTERM);
}

TEST_P(ProgramTest, CopyStartedAfterTheFirstHasEndedStartsNormally)
{
    // Ended in order, or killed as a crash would end it: either way the mark goes with it.
    for (int signal : {SIGTERM, SIGKILL}) {
        SCOPED_TRACE(signal);
        auto first = startRunning();
        first->signal(signal);
        ASSERT_TRUE(first->waitForExit());

        auto later = startRunning();
        if (GetParam() == Session::WithBus) {
            EXPECT_EQ(nameOwnerPid(), later->pid());
        }
        endWith(*later, SIGTERM);
    }
}

TEST_P(ProgramTest, TerminationSignalsSaveTheSettingsLikeExit)
{
    for (int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        folder.write(
            "config.xml",
            "<?xml version='1.0' encoding='utf-8'?>\n<Config>\n\t<General>\n\t\t<Language value='2' "
            "/>\n\t</General>\n\t<Voice value='0'>\n\t\t<VoiceMaxTime value='7' />\n\t</Voice>\n</Config>\n");
        auto program = startRunning();
        endWith(*program, signal);

        // What was read comes back, written out in full.
        const std::string saved = folder.read("config.xml");
        for (const char* part : {"<Language value='2' />", "<Voice value='0'>", "<VoiceMaxTime value='7' />",
                                 "<AutoStart value='0' />", "<TextAuto txt='' />", "</Config>"}) {
            EXPECT_NE(saved.find(part), std::string::npos) << part << " missing from\n" << saved;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sessions, ProgramTest, ::testing::Values(Session::WithBus, Session::WithoutBus),
                         [](const auto& info) {
                             return info.param == Session::WithBus ? "WithBus" : "WithoutBus";
                         });

}  // namespace
}  // namespace tarnix::test
