#include "handset_sim.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tarnix::sim {
namespace {

constexpr char kPreload[] = "libumockdev-preload.so.0";
constexpr char kAsanLinkOrder[] = "verify_asan_link_order=0";
// How often the loop looks at the program and at new udev listeners when nothing else happens.
constexpr int kIdleMs = 20;
constexpr int kTermGraceMs = 3000;

std::atomic<int> caughtSignal{0};
int signalPipe = -1;

void onSignal(int number)
{
    caughtSignal = number;
    const char byte = 0;
    [[maybe_unused]] const ssize_t ignored = ::write(signalPipe, &byte, 1);
}

std::string exitLine(int status)
{
    if (WIFSIGNALED(status)) return "exited signal=" + std::to_string(WTERMSIG(status));
    return "exited code=" + std::to_string(WEXITSTATUS(status));
}

void drain(int fd)
{
    char buffer[64];
    while (::read(fd, buffer, sizeof buffer) > 0) {
    }
}

}  // namespace

int HandsetSim::run(const Options& options)
{
    HandsetSim sim(options);
    return sim.loop();
}

HandsetSim::HandsetSim(const Options& options) : options_(options), model_(options.model)
{
    if (::pipe2(wakeFds_, O_CLOEXEC | O_NONBLOCK) != 0) std::abort();
    bed_.setStateHandler([this](int, const std::string& state) {
        std::lock_guard lock(statesMutex_);
        states_.push_back(state);
        const char byte = 0;
        [[maybe_unused]] const ssize_t ignored = ::write(wakeFds_[1], &byte, 1);
    });
}

HandsetSim::~HandsetSim()
{
    ::close(wakeFds_[0]);
    ::close(wakeFds_[1]);
}

void HandsetSim::print(const std::string& line)
{
    if (options_.stamped) {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("%ld.%06ld ", static_cast<long>(now.tv_sec), now.tv_nsec / 1000);
    }
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int HandsetSim::loop()
{
    int signalFds[2];
    if (::pipe2(signalFds, O_CLOEXEC | O_NONBLOCK) != 0) return 1;
    signalPipe = signalFds[1];
    struct sigaction action {};
    action.sa_handler = onSignal;
    for (int number : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(number, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    scriptFd_ =
        options_.script.empty() ? STDIN_FILENO : ::open(options_.script.c_str(), O_RDONLY | O_CLOEXEC);
    if (scriptFd_ < 0) {
        print("error cannot read " + options_.script + ": " + std::strerror(errno));
        return kScriptError;
    }
    if (options_.plugged) execute({SimCommand::Kind::Plug, 0, model_, 0, {}});
    printStates();
    if (!startCommand()) return 127;

    for (;;) {
        bed_.findListeners();
        printStates();
        advanceScript();

        int status = 0;
        if (::waitpid(child_, &status, WNOHANG) == child_) {
            printStates();
            print(exitLine(status));
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (caughtSignal != 0 || failure_ == kExpectFailed || (scriptEnded_ && !waitUntil_ && !expecting_)) {
            print(exitLine(endCommand()));
            return caughtSignal != 0 ? 128 + caughtSignal : failure_;
        }

        int timeout = kIdleMs;
        if (waitUntil_) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(*waitUntil_ - Clock::now());
            timeout = std::clamp(static_cast<int>(left.count()), 0, kIdleMs);
        }
        pollfd watched[3] = {{wakeFds_[0], POLLIN, 0}, {signalFds[0], POLLIN, 0}, {scriptFd_, POLLIN, 0}};
        const bool readingScript = !scriptEnded_ && !waitUntil_ && !expecting_;
        ::poll(watched, readingScript ? 3 : 2, timeout);
        drain(wakeFds_[0]);
    }
}

bool HandsetSim::startCommand()
{
    // A signal must not reach the child while it still has our handlers: held until it has
    // its own.
    sigset_t all;
    sigset_t before;
    sigfillset(&all);
    ::sigprocmask(SIG_BLOCK, &all, &before);
    const pid_t pid = ::fork();
    if (pid != 0) ::sigprocmask(SIG_SETMASK, &before, nullptr);
    if (pid < 0) {
        print(std::string("error cannot start the program: ") + std::strerror(errno));
        return false;
    }
    if (pid == 0) {
        // The testbed put UMOCKDEV_DIR in this process's environment; the preload makes the
        // program see the testbed instead of the machine's devices.
        const char* preload = std::getenv("LD_PRELOAD");
        const std::string value =
            std::string(kPreload) + (preload && *preload ? std::string(":") + preload : "");
        ::setenv("LD_PRELOAD", value.c_str(), 1);
        // A program built with AddressSanitizer would refuse a preload ahead of its runtime.
        const char* asan = std::getenv("ASAN_OPTIONS");
        const std::string asanValue =
            std::string(asan && *asan ? std::string(asan) + ":" : "") + kAsanLinkOrder;
        ::setenv("ASAN_OPTIONS", asanValue.c_str(), 1);
        // The script is ours, not the program's.
        const int devNull = ::open("/dev/null", O_RDONLY);
        if (devNull >= 0) ::dup2(devNull, STDIN_FILENO);
        struct sigaction deflt {};
        deflt.sa_handler = SIG_DFL;
        for (int number : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) ::sigaction(number, &deflt, nullptr);
        ::sigprocmask(SIG_SETMASK, &before, nullptr);
        std::vector<char*> argv;
        for (const std::string& arg : options_.command) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        std::fprintf(stderr, "handset-sim: cannot run %s: %s\n", argv[0], std::strerror(errno));
        ::_exit(127);
    }
    child_ = pid;
    return true;
}

int HandsetSim::endCommand()
{
    int status = 0;
    // umockdev holds the program's signals while it serves one of its calls; the calls here
    // are answered at once, so the signal lands soon, and SIGKILL covers the rest.
    ::kill(child_, SIGTERM);
    const auto deadline = Clock::now() + std::chrono::milliseconds(kTermGraceMs);
    while (Clock::now() < deadline) {
        if (::waitpid(child_, &status, WNOHANG) == child_) return status;
        ::usleep(10'000);
    }
    ::kill(child_, SIGKILL);
    ::waitpid(child_, &status, 0);
    return status;
}

bool HandsetSim::readLine(std::string& line)
{
    for (;;) {
        const auto newline = pending_.find('\n');
        if (newline != std::string::npos) {
            line = pending_.substr(0, newline);
            pending_.erase(0, newline + 1);
            return true;
        }
        pollfd ready{scriptFd_, POLLIN, 0};
        if (::poll(&ready, 1, 0) <= 0) return false;
        char buffer[4096];
        const ssize_t got = ::read(scriptFd_, buffer, sizeof buffer);
        if (got <= 0) {
            if (got < 0 && errno == EINTR) continue;
            scriptEnded_ = true;
            // A last line without newline still counts.
            line = std::exchange(pending_, {});
            return !line.empty();
        }
        pending_.append(buffer, std::size_t(got));
    }
}

void HandsetSim::advanceScript()
{
    if (waitUntil_) {
        if (Clock::now() < *waitUntil_) return;
        waitUntil_.reset();
    }
    if (stormStep()) return;
    if (expecting_) {
        if (expectMet()) {
            expecting_.reset();
        } else if (Clock::now() >= expectDeadline_) {
            print("expect-failed " + expecting_->words);
            expecting_.reset();
            failure_ = kExpectFailed;
            return;
        } else {
            return;
        }
    }
    std::string line;
    while (!waitUntil_ && !expecting_ && !scriptEnded_ && failure_ != kExpectFailed && readLine(line)) {
        std::string error;
        const std::optional<SimCommand> command = parseSimCommand(line, error);
        if (!error.empty()) {
            print("error " + error);
            failure_ = kScriptError;
            continue;
        }
        if (!command) continue;
        print("> " + std::string(line.substr(0, line.find_last_not_of(" \t\r") + 1)));
        execute(*command);
        printStates();
    }
}

void HandsetSim::execute(const SimCommand& command)
{
    const auto needHandset = [this] {
        if (bed_.plugged(handset_)) return true;
        print("error no handset is plugged in");
        failure_ = kScriptError;
        return false;
    };
    const auto press = [this](int key) {
        if (bed_.press(handset_, key)) return true;
        print("error model " + std::to_string(model_) + " has no such key");
        failure_ = kScriptError;
        return false;
    };
    switch (command.kind) {
        case SimCommand::Kind::Press:
            if (needHandset() && press(command.key)) bed_.release(handset_);
            return;
        case SimCommand::Kind::Hold:
            if (needHandset()) press(command.key);
            return;
        case SimCommand::Kind::Release:
            if (needHandset()) bed_.release(handset_);
            return;
        case SimCommand::Kind::Lift:
            if (needHandset()) bed_.lift(handset_);
            return;
        case SimCommand::Kind::Replace:
            if (needHandset()) bed_.replace(handset_);
            return;
        case SimCommand::Kind::Unplug:
            if (needHandset()) unplug();
            return;
        case SimCommand::Kind::Plug:
            if (bed_.plugged(handset_)) {
                print("error a handset is plugged in already");
                failure_ = kScriptError;
                return;
            }
            if (command.number != 0) model_ = command.number;
            plug();
            return;
        case SimCommand::Kind::Wait:
            waitUntil_ = Clock::now() + std::chrono::milliseconds(command.number);
            return;
        case SimCommand::Kind::Storm:
            if (!needHandset()) return;
            stormSteps_ = 2 * command.number;
            stormGapMs_ = command.gapMs;
            stormStep();
            return;
        case SimCommand::Kind::Expect:
            expecting_ = command;
            expectDeadline_ = Clock::now() + std::chrono::milliseconds(options_.expectTimeoutMs);
            return;
        case SimCommand::Kind::Quit:
            scriptEnded_ = true;
            return;
    }
}

void HandsetSim::unplug()
{
    printStates();
    print("unplugged node=" + bed_.nodePath(handset_));
    bed_.unplug(handset_);
}

void HandsetSim::plug()
{
    handset_ = bed_.plug(model_);
    print("plugged model=" + std::to_string(model_) + " node=" + bed_.nodePath(handset_));
}

bool HandsetSim::stormStep()
{
    if (stormSteps_ == 0) return false;
    // Odd steps left: the handset is out; even: it is in.
    if (stormSteps_-- % 2 == 0) {
        unplug();
    } else {
        plug();
    }
    printStates();
    waitUntil_ = Clock::now() + std::chrono::milliseconds(stormGapMs_);
    return true;
}

void HandsetSim::printStates()
{
    std::deque<std::string> states;
    {
        std::lock_guard lock(statesMutex_);
        states.swap(states_);
    }
    for (std::string& state : states) {
        print("state " + state);
        lastState_ = std::move(state);
    }
}

bool HandsetSim::expectMet() const
{
    return bed_.plugged(handset_) && stateHoldsEveryWord(lastState_, expecting_->words);
}

}  // namespace tarnix::sim
