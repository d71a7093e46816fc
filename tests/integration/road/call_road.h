#pragma once

#include "child_process.h"
#include "program_session.h"

#include <gtest/gtest.h>

#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tarnix::test {

using Lines = std::vector<std::string>;

// What a road needs beyond the usual: done before any process starts.
struct CallRoadExtras {
    // Prepares the session (a sound server, files in its home); a failure text, else empty.
    std::function<std::string(ProgramSession&)> prepare;
    QStringList messengerArguments;
    // An installed executable to run where it is, instead of a copy of the one built.
    QString installed;
    // The program's log lines come among handset-sim's lines (handsetSays finds them).
    bool programLog = false;
};

// The road of a call through separate processes, as on a desktop: the real program in a session
// of its own under a virtual handset, and a private session bus with the messenger stand-in on it.
// The test plays both the person at the handset and the messenger, a script line at a time, and
// waits on what each of them shows or receives. Every wait goes on from the line the previous
// wait of the same side stopped at, so a row of waits also checks their order.
class CallRoad {
public:
    enum class Messenger {
        OnBus,          // the stand-in runs on the program's session bus
        BusWithoutOne,  // a session bus, no messenger on it
        NoBus,          // the session bus cannot be reached
    };
    using Extras = CallRoadExtras;
    // display: none when empty; config: the text of config.xml beside the program, none when empty.
    explicit CallRoad(int model, Messenger messenger = Messenger::OnBus, const QString& display = {},
                      const std::string& config = {}, const Extras& extras = {});
    ~CallRoad();
    CallRoad(const CallRoad&) = delete;
    CallRoad& operator=(const CallRoad&) = delete;

    // Empty when every part started; else what did not.
    const std::string& failure() const { return failure_; }

    // A script line for handset-sim, and one for the messenger stand-in.
    void handset(const std::string& line);
    void messenger(const std::string& line);

    // The next handset state line that holds every word (as handset-sim's expect reads them).
    ::testing::AssertionResult handsetShows(const std::string& words);
    // The next handset state line with the date and time on the display, and every word.
    ::testing::AssertionResult handsetShowsClock(const std::string& words = {});
    // The next line of handset-sim's own output that is exactly this.
    ::testing::AssertionResult handsetSays(const std::string& line);
    // The next line of the stand-in's record that is exactly this, without its time stamp:
    // "CMD SET CALL 123 DTMF 5", "NOTIFY CALL 123 STATUS INPROGRESS".
    ::testing::AssertionResult messengerHas(const std::string& line);
    // The next line of the stand-in's record that starts with prefix; empty when none comes.
    std::string messengerLineStarting(const std::string& prefix);

    // Ends the run: handset-sim quits and ends the program, then the stand-in quits. True when
    // the program ended cleanly.
    bool finish();

    // How many descriptors the program has open (not counting the preload's); -1 when it is
    // not running.
    int programDescriptors() const;

    const ProgramSession& session() const { return session_; }
    const Lines& handsetLines() const { return handset_.lines; }
    ProgramSession& session() { return session_; }
    const Lines& messengerLines() const { return messenger_.lines; }
    // How many handset lines were read by the waits so far: a mark to look at what came after.
    std::size_t handsetMark() const { return handset_.next; }

private:
    // One child's output, read as far as the waits needed.
    struct Output {
        std::unique_ptr<ChildProcess> process;
        Lines lines;
        std::size_t next = 0;
        bool stamped = false;

        bool waitFor(const std::function<bool(const std::string&)>& matches);
        void readToEnd();
        // Whatever has come by now.
        void readWaiting();
        void add(const std::string& line);
    };

    // Success, or what did not come with all that both sides said.
    ::testing::AssertionResult came(bool found, const std::string& what);

    ProgramSession session_;
    std::unique_ptr<ChildProcess> bus_;
    Output messenger_;
    Output handset_;
    std::string failure_;
};

}  // namespace tarnix::test
