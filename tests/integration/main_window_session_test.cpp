#include "child_process.h"
#include "program_session.h"
#include "tray_display.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QThread>

#include <functional>
#include <memory>

namespace tarnix::test {
namespace {

constexpr const char* kWindowClass = "tarnix-usbphone";

bool waitFor(const std::function<bool()>& condition, int timeoutMs = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        if (condition()) return true;
        QThread::msleep(50);
    }
    return condition();
}

// The real program on an X display with a tray host and a private session bus, as a user's
// desktop runs it.
class MainWindowSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureQtApplication();
        ASSERT_TRUE(session.ready());
        ASSERT_FALSE(display.name().isEmpty()) << "Xvfb did not start";
        ASSERT_TRUE(display.startTrayHost());
        bus = std::make_unique<ChildProcess>("dbus-daemon",
                                             QStringList{"--session", "--nofork", "--print-address=1"});
        busAddress = QString::fromStdString(bus->readLine());
        ASSERT_FALSE(busAddress.isEmpty()) << "dbus-daemon did not start";
        session.setDisplay(display.name());
        session.setBus(busAddress);
    }
    void TearDown() override { QDBusConnection::disconnectFromBus(busAddress); }

    // The answer of the running program's Command method; nullopt when the call failed.
    std::optional<bool> command(int id)
    {
        QDBusConnection connection = QDBusConnection::connectToBus(busAddress, busAddress);
        QDBusMessage call = QDBusMessage::createMethodCall(
            "org.tarnix.VoxlanderWindow", "/org/tarnix/UsbPhone", "org.tarnix.UsbPhone", "Command");
        call << id;
        const QDBusMessage reply = connection.call(call, QDBus::Block, 5000);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return std::nullopt;
        return reply.arguments().front().toBool();
    }

    ProgramSession session{PROGRAM_PATH, LOCALE_PATH};
    TrayDisplay display;
    std::unique_ptr<ChildProcess> bus;
    QString busAddress;
};

TEST_F(MainWindowSessionTest, TheTrayAndOtherProgramsReachTheWindowAndExitSavesAndEndsWithZero)
{
    auto program = session.start();
    ASSERT_TRUE(program->waitForOutput(ProgramSession::kRunning)) << program->output().toStdString();
    ASSERT_TRUE(waitFor([&] { return display.embedded(kWindowClass); }));
    EXPECT_FALSE(display.hasWindow("VEZ Main Window"));

    EXPECT_EQ(command(32788), std::optional<bool>(true));
    EXPECT_TRUE(waitFor([&] { return display.hasWindow("VEZ Main Window"); }));
    EXPECT_EQ(command(1), std::optional<bool>(false));

    // A second start with a command passes it on and ends; a plain one ends silently.
    for (const QStringList& arguments : {QStringList{"--toggle-voice-answering"}, QStringList{}}) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        auto second = session.start(arguments);
        ASSERT_TRUE(second->waitForExit()) << second->output().toStdString();
        EXPECT_EQ(second->exitCode(), 0);
    }
    EXPECT_TRUE(waitFor(
        [&] { return session.folder().read("config.xml").find("<Voice value='0'>") != std::string::npos; }));

    // The tray popup's last item is Exit; the question's default answer is Yes.
    const std::optional<QPoint> icon = display.trayIconAt(kWindowClass);
    ASSERT_TRUE(icon);
    ASSERT_TRUE(display.xdotool(
        {"mousemove", QString::number(icon->x() + 8), QString::number(icon->y() + 8), "click", "3"}));
    QThread::msleep(500);
    ASSERT_TRUE(display.xdotool({"key", "Up", "Return"}));
    ASSERT_TRUE(waitFor([&] { return display.hasWindow("USB Phone"); })) << program->output().toStdString();
    ASSERT_TRUE(display.xdotool({"key", "Return"}));

    ASSERT_TRUE(program->waitForExit()) << program->output().toStdString();
    EXPECT_EQ(program->exitCode(), 0);
    EXPECT_NE(session.folder().read("config.xml").find("<Config>"), std::string::npos);
}

}  // namespace
}  // namespace tarnix::test
