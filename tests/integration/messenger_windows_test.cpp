// The real program on the messenger stand-in's windows: keys of a virtual handset edit the entry
// box and close the pop-up and the main form on an X display of its own.
#include "child_process.h"
#include "program_session.h"
#include "tray_display.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <memory>
#include <string>
#include <vector>

namespace tarnix::test {
namespace {

// The stand-in's record, read as it comes, without the time stamps.
class Transcript {
public:
    explicit Transcript(ChildProcess& sim) : sim_(sim) {}

    // The first line from here on that starts with prefix; empty when none comes in time.
    std::string waitFor(const std::string& prefix, int timeoutMs = 15000)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            const std::string line = sim_.readLine(static_cast<int>(timeoutMs - clock.elapsed()));
            if (line.empty()) continue;
            const std::string text = line.substr(line.find(' ') + 1);
            seen_ += "\n  " + text;
            if (text.rfind(prefix, 0) == 0) return text;
        }
        return {};
    }

    const std::string& seen() const { return seen_; }

private:
    ChildProcess& sim_;
    std::string seen_;
};

std::string windowOf(const std::string& line)
{
    return line.substr(line.rfind(' ') + 1);
}

// A private session bus for the stand-in and the program.
class MessengerWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureQtApplication();
        address = QString::fromStdString(bus.readLine());
        ASSERT_FALSE(address.isEmpty()) << "dbus-daemon did not start";
    }

    ChildProcess bus{"dbus-daemon", {"--session", "--nofork", "--print-address=1"}};
    QString address;
};

TEST_F(MessengerWindowsTest, HandsetKeysEditTheEntryBoxAndCloseThePopupThenTheMainForm)
{
    TrayDisplay display;
    ASSERT_FALSE(display.name().isEmpty()) << "Xvfb did not start";
    ProgramSession session(PROGRAM_PATH, LOCALE_PATH);
    ASSERT_TRUE(session.ready());
    session.setDisplay(display.name());
    session.setBus(address);

    session.folder().write("messenger", "entry 123\npopup Call from alice\n");
    ChildProcess sim(SKYPE_SIM_PATH, {"--script", QString::fromStdString(session.folder().file("messenger"))},
                     session.environment());
    Transcript transcript(sim);
    const std::string form = windowOf(transcript.waitFor("WINDOW form 0x"));
    ASSERT_FALSE(transcript.waitFor("WINDOW text 123").empty()) << transcript.seen();
    const std::string popup = windowOf(transcript.waitFor("WINDOW popup 0x"));
    ASSERT_NE(popup.rfind("0x", 0), std::string::npos) << transcript.seen();

    // The handset's keys go to the messenger once it is attached: Delete takes a character off
    // the entry box, Up moves the focus on from it, No empties it and closes the pop-up, and
    // putting the handset down closes the main form.
    ChildProcess handset(HANDSET_SIM_PATH,
                         {"--model", "2", "--expect-timeout", "15000", "--",
                          QString::fromStdString(session.folder().file("tarnix-usbphone"))},
                         session.environment());
    handset.write("expect link=on\npress delete\npress up\npress no\nlift\nreplace\n");
    for (const std::string& line :
         std::vector<std::string>{"WINDOW text 12", "WINDOW focus", "WINDOW tab", "WINDOW text",
                                  "WINDOW closed " + popup, "WINDOW closed " + form}) {
        const std::string seen = transcript.waitFor(line);
        EXPECT_EQ(seen, line) << transcript.seen();
        if (seen != line) break;
    }

    // Ended through the script, so handset-sim ends the program in turn.
    handset.writeLine("quit");
    ASSERT_TRUE(handset.waitForExit(15000));
    EXPECT_EQ(handset.exitCode(), 0);
}

TEST_F(MessengerWindowsTest, WithoutDisplayTheStandInSaysSoOnceAndWindowLinesDoNothing)
{
    auto env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.insert("DBUS_SESSION_BUS_ADDRESS", address);
    ChildProcess sim(SKYPE_SIM_PATH, {}, env);
    sim.write("popup Call\nentry 12\niconify\nquit\n");
    std::vector<std::string> lines;
    for (std::string line = sim.readLine(); !line.empty(); line = sim.readLine()) {
        lines.push_back(line.substr(line.find(' ') + 1));
    }
    ASSERT_TRUE(sim.waitForExit());
    EXPECT_EQ(sim.exitCode(), 0);
    EXPECT_EQ(lines, (std::vector<std::string>{"EVENT ready", "EVENT no display: no windows"}));
}

}  // namespace
}  // namespace tarnix::test
