#include "call_road.h"

#include "sim_command.h"

#include <QElapsedTimer>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace tarnix::test {
namespace {

// Generous: the machine may be busy with builds; a wait ends as soon as its line comes.
constexpr int kWaitMs = 20000;

bool isState(const std::string& line)
{
    return line.starts_with("state ");
}

// "12.345678 CMD GET MUTE" -> "CMD GET MUTE"
std::string withoutStamp(const std::string& line)
{
    const auto blank = line.find(' ');
    return blank == std::string::npos ? line : line.substr(blank + 1);
}

}  // namespace

CallRoad::CallRoad(int model, Messenger messenger, const QString& display, const std::string& config,
                   const Extras& extras)
    : session_(extras.installed.isEmpty() ? QString(PROGRAM_PATH) : extras.installed,
               extras.installed.isEmpty() ? QString(LOCALE_PATH) : QString())
{
    ensureQtApplication();
    if (!session_.ready()) {
        failure_ = "the program could not be copied";
        return;
    }
    if (!config.empty()) session_.folder().write("config.xml", config);
    if (!display.isEmpty()) session_.setDisplay(display);
    if (extras.prepare) {
        failure_ = extras.prepare(session_);
        if (!failure_.empty()) return;
    }
    if (messenger == Messenger::NoBus) {
        // An address nobody listens on: also keeps the bus library from starting one of its own.
        session_.setBus("unix:path=" + QString::fromStdString(session_.folder().file("no-bus")));
    } else {
        bus_ = std::make_unique<ChildProcess>("dbus-daemon",
                                              QStringList{"--session", "--nofork", "--print-address=1"});
        const QString address = QString::fromStdString(bus_->readLine());
        if (address.isEmpty()) {
            failure_ = "dbus-daemon did not start";
            return;
        }
        session_.setBus(address);
    }
    if (messenger == Messenger::OnBus) {
        messenger_.stamped = true;
        messenger_.process =
            std::make_unique<ChildProcess>(SKYPE_SIM_PATH, extras.messengerArguments, session_.environment());
        if (!messenger_.waitFor([](const std::string& line) { return line == "EVENT ready"; })) {
            failure_ = "skype-sim did not come up";
            return;
        }
    }
    handset_.process = std::make_unique<ChildProcess>(
        HANDSET_SIM_PATH, QStringList{"--model", QString::number(model), "--", session_.executable()},
        session_.environment(), extras.programLog);
    if (!handset_.process->started()) failure_ = "handset-sim did not start";
}

CallRoad::~CallRoad()
{
    // handset-sim ends the program on SIGTERM even in the middle of an expect; a kill would
    // leave the program behind.
    if (handset_.process && handset_.process->running()) {
        ::kill(static_cast<pid_t>(handset_.process->pid()), SIGTERM);
        handset_.process->waitForExit(10000);
    }
}

void CallRoad::handset(const std::string& line)
{
    handset_.process->writeLine(line);
}

void CallRoad::messenger(const std::string& line)
{
    messenger_.process->writeLine(line);
}

::testing::AssertionResult CallRoad::handsetShows(const std::string& words)
{
    const auto shown = [&](const std::string& line) {
        return isState(line) && sim::stateHoldsEveryWord(line, words);
    };
    return came(handset_.waitFor(shown), "a handset state with " + words);
}

::testing::AssertionResult CallRoad::handsetShowsClock(const std::string& words)
{
    static const std::regex clock(R"(^state .* lcd="\d\d-\d\d +\d\d:\d\d" .*)");
    const auto shown = [&](const std::string& line) {
        return std::regex_match(line, clock) && sim::stateHoldsEveryWord(line, words);
    };
    return came(handset_.waitFor(shown), "the clock on the handset, with " + words);
}

::testing::AssertionResult CallRoad::handsetSays(const std::string& said)
{
    // Another writer of the shared stream (ALSA's messages come in pieces) may have left an
    // unended line in front of the program's.
    return came(handset_.waitFor([&](const std::string& line) { return line.ends_with(said); }), said);
}

::testing::AssertionResult CallRoad::messengerHas(const std::string& wanted)
{
    return came(messenger_.waitFor([&](const std::string& line) { return line == wanted; }), wanted);
}

std::string CallRoad::messengerLineStarting(const std::string& prefix)
{
    if (!messenger_.waitFor([&](const std::string& line) { return line.starts_with(prefix); })) return {};
    return messenger_.lines[messenger_.next - 1];
}

int CallRoad::programDescriptors() const
{
    if (!handset_.process || !handset_.process->running()) return -1;
    // The program is handset-sim's one child.
    const std::string sim = std::to_string(handset_.process->pid());
    std::ifstream children("/proc/" + sim + "/task/" + sim + "/children");
    std::string program;
    if (!(children >> program)) return -1;
    // umockdev's preload keeps an unnamed socket for every /dev path it cannot serve (ALSA's
    // card probe alone makes hundreds); those are not the program's.
    std::set<std::string> unnamed;
    std::ifstream unix("/proc/net/unix");
    for (std::string line; std::getline(unix, line);) {
        std::istringstream fields(line);
        std::string field[8];
        int n = 0;
        while (n < 8 && fields >> field[n]) ++n;
        if (n == 7) unnamed.insert("socket:[" + field[6] + "]");
    }
    std::error_code error;
    int count = 0;
    for (std::filesystem::directory_iterator it("/proc/" + program + "/fd", error), end; !error && it != end;
         it.increment(error)) {
        std::error_code unreadable;
        if (unnamed.count(std::filesystem::read_symlink(it->path(), unreadable).string()) == 0) ++count;
    }
    return error ? -1 : count;
}

bool CallRoad::finish()
{
    handset("quit");
    handset_.readToEnd();
    if (messenger_.process) {
        messenger_.process->closeInput();
        messenger_.readToEnd();
    }
    return !handset_.lines.empty() && handset_.lines.back() == "exited code=0";
}

::testing::AssertionResult CallRoad::came(bool found, const std::string& what)
{
    if (found) return ::testing::AssertionSuccess();
    handset_.readWaiting();
    if (messenger_.process) messenger_.readWaiting();
    std::string all = "\nthe handset:";
    for (const std::string& line : handset_.lines) all += "\n  " + line;
    all += "\nthe messenger:";
    for (const std::string& line : messenger_.lines) all += "\n  " + line;
    return ::testing::AssertionFailure() << "\"" << what << "\" did not come;" << all;
}

bool CallRoad::Output::waitFor(const std::function<bool(const std::string&)>& matches)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        for (; next < lines.size(); ++next) {
            if (matches(lines[next])) {
                ++next;
                return true;
            }
        }
        const int left = kWaitMs - static_cast<int>(clock.elapsed());
        if (left <= 0) break;
        const std::string line = process->readLine(left);
        if (line.empty() && !process->running()) break;
        if (!line.empty()) add(line);
    }
    return false;
}

void CallRoad::Output::readWaiting()
{
    for (std::string line = process->readLine(100); !line.empty(); line = process->readLine(100)) {
        add(line);
    }
}

void CallRoad::Output::readToEnd()
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kWaitMs) {
        const std::string line = process->readLine(1000);
        if (!line.empty()) {
            add(line);
        } else if (!process->running()) {
            break;
        }
    }
    process->waitForExit(kWaitMs);
}

void CallRoad::Output::add(const std::string& line)
{
    std::string own = stamped ? withoutStamp(line) : line;
    // The program's stderr shares the stream, and ALSA writes its messages in pieces: a state
    // line may come after the front of one.
    if (const std::size_t state = own.find("state model="); state != 0 && state != std::string::npos) {
        own.erase(0, state);
    }
    lines.push_back(std::move(own));
}

}  // namespace tarnix::test
