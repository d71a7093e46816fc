#pragma once

#include "handset_bed.h"
#include "sim_command.h"

#include <chrono>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace tarnix::sim {

// The handset-sim command: one virtual handset in a umockdev testbed, a program run against it
// under the umockdev preload, and a script (or a person) acting on the handset while every
// change of what it shows and rings is printed, one line each:
//   > press 5                              an action of the script, as written
//   plugged model=2 node=/dev/hidraw0      a handset was plugged in
//   unplugged node=/dev/hidraw0            ... and pulled out
//   state model=2 handset=on-cradle ring=off light=off lcd="" call=off bars=0 link=off day=-
//   expect-failed WORDS                    an expect ran out of time
//   error TEXT                             a script line that could not be carried out
//   exited code=N | exited signal=N        the program ended
class HandsetSim {
public:
    struct Options {
        int model = 2;
        bool plugged = true;
        // The script file; empty: standard input.
        std::string script;
        int expectTimeoutMs = 5000;
        // Each line begins with the monotonic clock in seconds, as skype-sim's record does.
        bool stamped = false;
        std::vector<std::string> command;
    };

    // The exit status: the program's own when it ended by itself; otherwise 0, or 2 after a
    // script error, 3 after a failed expect, 128+N after signal N to handset-sim.
    static int run(const Options& options);

private:
    static constexpr int kScriptError = 2;
    static constexpr int kExpectFailed = 3;

    explicit HandsetSim(const Options& options);
    ~HandsetSim();
    int loop();
    bool startCommand();
    // Reads and carries out script lines until one has to wait (or the script ends).
    void advanceScript();
    void execute(const SimCommand& command);
    void unplug();
    void plug();
    // Takes the storm's next step once its wait is over; false when no storm goes on.
    bool stormStep();
    bool readLine(std::string& line);
    void printStates();
    bool expectMet() const;
    // Ends the program (SIGTERM, then SIGKILL); returns its wait status.
    int endCommand();
    void print(const std::string& line);

    using Clock = std::chrono::steady_clock;

    Options options_;
    HandsetBed bed_;
    int handset_ = -1;
    int model_;
    pid_t child_ = -1;
    int scriptFd_ = -1;
    bool scriptEnded_ = false;
    std::string pending_;
    std::optional<Clock::time_point> waitUntil_;
    // Unplugs and plugs still to come in a storm, and the wait after each.
    int stormSteps_ = 0;
    int stormGapMs_ = 0;
    std::optional<SimCommand> expecting_;
    Clock::time_point expectDeadline_{};
    int failure_ = 0;
    std::string lastState_;

    std::mutex statesMutex_;
    std::deque<std::string> states_;
    int wakeFds_[2] = {-1, -1};
};

}  // namespace tarnix::sim
