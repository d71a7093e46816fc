#include "program_session.h"
#include "tray_display.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>

#include <csignal>

namespace tarnix::test {
namespace {

constexpr const char* kWindowClass = "tarnix-usbphone";

// The program on an X display of its own, where a tray host may run.
class TrayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureQtApplication();
        ASSERT_TRUE(session.ready());
        ASSERT_FALSE(display.name().isEmpty()) << "Xvfb did not start";
        session.setDisplay(display.name());
    }

    bool waitForEmbedding() const
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 5000) {
            if (display.embedded(kWindowClass)) return true;
            QThread::msleep(50);
        }
        return false;
    }

    ProgramSession session{PROGRAM_PATH, LOCALE_PATH};
    TrayDisplay display;
};

TEST_F(TrayTest, IconSitsInTheTrayOfTheDisplay)
{
    ASSERT_TRUE(display.startTrayHost());
    auto program = session.start();
    ASSERT_TRUE(program->waitForOutput(ProgramSession::kRunning)) << program->output().toStdString();
    EXPECT_TRUE(waitForEmbedding());
    // On a display with XTest and a tray, nothing is missing.
    EXPECT_FALSE(program->output().contains("no system tray"));
    EXPECT_FALSE(program->output().contains("no X display"));
    program->signal(SIGTERM);
    ASSERT_TRUE(program->waitForExit());
    EXPECT_EQ(program->exitCode(), 0);
}

TEST_F(TrayTest, IconJoinsATrayThatStartsLater)
{
    auto program = session.start();
    ASSERT_TRUE(program->waitForOutput(ProgramSession::kRunning)) << program->output().toStdString();
    EXPECT_TRUE(program->output().contains("no system tray"));
    ASSERT_TRUE(display.startTrayHost());
    EXPECT_TRUE(waitForEmbedding());
}

}  // namespace
}  // namespace tarnix::test
