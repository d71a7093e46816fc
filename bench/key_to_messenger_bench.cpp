// The real program between a virtual handset and the messenger stand-in on a private bus: from a
// key report landing on the handset's /dev/hidrawN to the matching command at the stand-in, from
// the stand-in's "RINGING" to the handset's ring report, the longest callback of the program's
// main thread meanwhile, and what the program costs while nobody calls. Both ends read
// CLOCK_MONOTONIC: this process just before it queues a report (or as the bed hears the ring),
// the stand-in in its record's stamp (microseconds). Each latency benchmark runs twice: as the
// machine is (awake:0) and with its CPUs held awake (awake:1, see AwakeCpus): on a virtual machine
// the first adds the host's wake-up time of idle vCPUs to every hop. TARNIX_BENCH_PROGRAM names
// another build of the program to measure instead (an older one, for figures side by side).
#include "awake_cpus.h"
#include "child_process.h"
#include "device/handset_codes.h"
#include "handset_bed.h"
#include "latency_samples.h"
#include "program_copy.h"
#include "program_session.h"
#include "program_under_test.h"
#include "stand_in_record.h"

#include <benchmark/benchmark.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace tarnix::test {
namespace {

bool waitUntil(const std::function<bool()>& done, int timeoutMs = 15000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) return false;
        QThread::msleep(5);
    }
    return true;
}

// Context switches of every thread of the process (each one a wake-up) and the time its threads
// spent on a CPU, from the scheduler's own accounting (nanoseconds, unlike the 10 ms ticks of
// /proc/<pid>/stat). Wake-ups are also kept by thread name, so a figure says who wakes.
struct ProcessCost {
    double wakeUps = 0;
    double cpuSeconds = 0;
    std::map<std::string, double> wakeUpsByThread;

    static ProcessCost of(qint64 pid)
    {
        ProcessCost cost;
        std::error_code error;
        for (const auto& task :
             std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
            std::ifstream comm(task.path() / "comm");
            std::string thread;
            std::getline(comm, thread);
            std::ifstream status(task.path() / "status");
            for (std::string line; std::getline(status, line);) {
                if (line.find("ctxt_switches:") != std::string::npos) {
                    const double switches = std::stod(line.substr(line.find(':') + 1));
                    cost.wakeUps += switches;
                    cost.wakeUpsByThread[thread] += switches;
                }
            }
            std::ifstream schedstat(task.path() / "schedstat");
            double onCpuNs = 0;
            if (schedstat >> onCpuNs) cost.cpuSeconds += onCpuNs / 1e9;
        }
        return cost;
    }
};

// The program on a private bus, with a virtual handset of the model (none for 0) and with or
// without an attached stand-in.
class Road {
public:
    Road(int model, bool withMessenger)
    {
        const bool withHandset = model != 0;
        ensureQtApplication();
        address_ = QString::fromStdString(bus_.readLine());
        if (address_.isEmpty()) {
            error = "dbus-daemon did not start";
            return;
        }
        if (withHandset) handset = bed.plug(model);
        session_ = std::make_unique<ProgramSession>(bench::programUnderTest(), LOCALE_PATH);
        session_->setBus(address_);
        QProcessEnvironment environment = session_->environment();
        // The bed puts its UMOCKDEV_DIR in this process's environment, where the session takes it from.
        if (withHandset) environment.insert("LD_PRELOAD", "libumockdev-preload.so.0");
        environment.insert("QT_LOGGING_RULES", "tarnix.base.debug=true");
        if (withMessenger) {
            auto simEnvironment = QProcessEnvironment::systemEnvironment();
            simEnvironment.remove("DISPLAY");
            simEnvironment.insert("DBUS_SESSION_BUS_ADDRESS", address_);
            sim = std::make_unique<ChildProcess>(SKYPE_SIM, QStringList{}, simEnvironment);
            if (bench::stampOf(*sim, "EVENT ready") == 0) {
                error = "the stand-in is not ready";
                return;
            }
        }
        if (!session_->ready()) {
            error = "the program copy is not ready";
            return;
        }
        program = std::make_unique<ProgramCopy>(
            QString::fromStdString(session_->folder().file("tarnix-usbphone")), environment);
        // What every build prints once its tray is up, whichever category it logs it under.
        if (!program->waitForOutput(": running; ")) error = "the program did not come up";
        if (withMessenger) sim->writeLine("wait-attach");
    }
    ~Road()
    {
        // The program goes before the bed that serves its handset.
        if (!program) return;
        program->signal(SIGTERM);
        program->waitForExit();
    }

    bool handsetShows(const std::string& text) const
    {
        return waitUntil([&] { return bed.state(handset).find(text) != std::string::npos; });
    }

    // The longest callback the program's stall probe logged since `from` characters of its output
    // and the most CPU one took, in the benchmark's counters, and what the longest was (the
    // receiver's class and event type) in its label; -1 when the program logs none (a build
    // without the probe). A callback far longer than its CPU time waited (for a core, or the host).
    void reportLongestStall(benchmark::State& state, qsizetype from)
    {
        static const QRegularExpression busy(QStringLiteral("busy ([0-9.]+) ms( \\(.*\\))?"));
        static const QRegularExpression cpu(QStringLiteral("cpu ([0-9.]+) ms"));
        const QString out = program->output();
        double longest = out.contains(QStringLiteral("stall probe on")) ? 0 : -1;
        double mostCpu = longest;
        QString what;
        for (auto it = busy.globalMatch(out.mid(from)); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            if (match.captured(1).toDouble() > longest) {
                longest = match.captured(1).toDouble();
                what = match.captured(2).trimmed();
            }
            mostCpu = std::max(mostCpu, cpu.match(match.captured(2)).captured(1).toDouble());
        }
        state.counters["stall_max_ms"] = longest;
        state.counters["stall_cpu_max_ms"] = mostCpu;
        if (!what.isEmpty()) state.SetLabel("longest stall " + what.toStdString());
    }

    const QString& busAddress() const { return address_; }

    std::string error;
    sim::HandsetBed bed;
    int handset = -1;
    std::unique_ptr<ChildProcess> sim;
    std::unique_ptr<ProgramCopy> program;

private:
    ChildProcess bus_{"dbus-daemon", {"--session", "--nofork", "--print-address=1"}};
    QString address_;
    std::unique_ptr<ProgramSession> session_;
};

// Rings call `call` and takes it with the call key of a handset with a call icon; the key is
// released afterwards.
bool answer(Road& road, const std::string& call)
{
    road.sim->writeLine("ring " + call + " alice");
    const bool answered = road.handsetShows("ring=on") && road.bed.press(road.handset, KeyYes) &&
                          bench::stampOf(*road.sim, "NOTIFY CALL " + call + " STATUS INPROGRESS") != 0 &&
                          road.handsetShows("call=on");
    road.bed.release(road.handset);
    return answered;
}

// A pause of 0-9 ms before each press, so reports land at any moment of whatever period the
// program may keep; seeded, so runs repeat.
class Jitter {
public:
    explicit Jitter(unsigned seed) : random_(seed) {}
    void pause() { QThread::msleep(static_cast<unsigned long>(ms_(random_))); }

private:
    std::mt19937 random_;
    std::uniform_int_distribution<int> ms_{0, 9};
};

// The program's own share of a key's way, in ms: from its read of the key's report to the command at
// the stand-in. The rest is the emulated node's (its reads and writes are each a round trip to
// umockdev's thread in this process).
double programShareMs(const Road& road, double pressed, double arrived)
{
    const double taken = road.bed.reportTakenSince(road.handset, pressed);
    return taken == 0 ? -1 : (arrived - taken) * 1e3;
}

// Every CPU held awake for the awake:1 run of a latency benchmark, none for awake:0.
std::unique_ptr<bench::AwakeCpus> awakeIfAsked(const benchmark::State& state)
{
    return state.range(0) != 0 ? std::make_unique<bench::AwakeCpus>() : nullptr;
}

// A latency benchmark's two runs, each timed by its own clock reads, in milliseconds.
void latencyRuns(benchmark::internal::Benchmark* benchmark)
{
    benchmark->ArgName("awake")->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);
}

void report(benchmark::State& state, const std::string& name, const std::vector<double>& millis)
{
    if (millis.empty()) return;
    state.counters[name + "_p50_ms"] = bench::percentile(millis, 0.50);
    state.counters[name + "_p99_ms"] = bench::percentile(millis, 0.99);
}

// A digit during an answered call: its key report to "BTN_PRESSED <digit>".
void BM_DigitKeyReportToButtonCommand(benchmark::State& state)
{
    const auto awake = awakeIfAsked(state);
    Road road(2, true);
    if (!road.error.empty() || !answer(road, "123")) {
        state.SkipWithError(("no answered call: " + road.error).c_str());
        return;
    }
    const qsizetype callStart = road.program->output().size();
    Jitter jitter(1251);
    std::vector<double> millis;
    std::vector<double> program;
    int digit = 0;
    for (auto _ : state) {
        jitter.pause();
        digit = (digit + 1) % 10;
        const std::string name = std::to_string(digit);
        const double pressed = bench::monotonicSeconds();
        road.bed.press(road.handset, Key0 + digit);
        const double arrived = bench::stampOf(*road.sim, "CMD BTN_PRESSED " + name);
        // The rest of the key's commands, so the next press starts from a quiet program.
        if (arrived == 0 || bench::stampOf(*road.sim, "CMD SET CALL 123 DTMF " + name) == 0) {
            state.SkipWithError("a digit's commands never reached the stand-in");
            break;
        }
        state.SetIterationTime(arrived - pressed);
        millis.push_back((arrived - pressed) * 1e3);
        program.push_back(programShareMs(road, pressed, arrived));
        road.program->output();  // keeps the program's log pipe from filling
    }
    report(state, "key", millis);
    report(state, "key_program", program);
    road.reportLongestStall(state, callStart);
}
BENCHMARK(BM_DigitKeyReportToButtonCommand)->Apply(latencyRuns)->Iterations(500);

// Outside a call: a digit (its key tone plays after the command) and the red key (its click
// plays before), each from its key report to "BTN_PRESSED <key>".
void BM_DigitAndCancelOutsideACall(benchmark::State& state)
{
    const auto awake = awakeIfAsked(state);
    Road road(2, true);
    // The program asks for the active calls once it has attached.
    if (!road.error.empty() || bench::stampOf(*road.sim, "CMD SEARCH ACTIVECALLS") == 0) {
        state.SkipWithError(("not attached: " + road.error).c_str());
        return;
    }
    const qsizetype start = road.program->output().size();
    Jitter jitter(1252);
    std::vector<double> digits;
    std::vector<double> cancels;
    std::vector<double> program;
    int round = 0;
    for (auto _ : state) {
        const bool cancel = ++round % 2 == 0;
        const int key = cancel ? KeyNo : Key0 + round % 10;
        const std::string button = cancel ? "NO" : std::to_string(round % 10);
        jitter.pause();
        const double pressed = bench::monotonicSeconds();
        road.bed.press(road.handset, key);
        const double arrived = bench::stampOf(*road.sim, "CMD BTN_PRESSED " + button);
        road.bed.release(road.handset);
        if (arrived == 0 || bench::stampOf(*road.sim, "CMD BTN_RELEASED " + button) == 0) {
            state.SkipWithError("a key's commands never reached the stand-in");
            break;
        }
        state.SetIterationTime(arrived - pressed);
        (cancel ? cancels : digits).push_back((arrived - pressed) * 1e3);
        program.push_back(programShareMs(road, pressed, arrived));
        road.program->output();  // keeps the program's log pipe from filling
    }
    report(state, "digit", digits);
    report(state, "cancel", cancels);
    report(state, "key_program", program);
    road.reportLongestStall(state, start);
}
BENCHMARK(BM_DigitAndCancelOutsideACall)->Apply(latencyRuns)->Iterations(400);

// The floor under the key figures: a QtDBus client's call to the stand-in, from its send to the
// stand-in's record of it. It is the last leg of every key's way, without the program or the node.
void BM_BusCallToStandIn(benchmark::State& state)
{
    const auto awake = awakeIfAsked(state);
    Road road(0, true);
    if (!road.error.empty()) {
        state.SkipWithError(road.error.c_str());
        return;
    }
    QDBusConnection bus = QDBusConnection::connectToBus(road.busAddress(), QStringLiteral("bench"));
    Jitter jitter(1253);
    std::vector<double> millis;
    int round = 0;
    for (auto _ : state) {
        jitter.pause();
        const QString command = QStringLiteral("GET FLOOR %1").arg(++round);
        QDBusMessage call =
            QDBusMessage::createMethodCall(QStringLiteral("com.Skype.API"), QStringLiteral("/com/Skype"),
                                           QStringLiteral("com.Skype.API"), QStringLiteral("Invoke"));
        call << command;
        const double sent = bench::monotonicSeconds();
        if (!bus.send(call)) {
            state.SkipWithError("the bench could not call the stand-in");
            break;
        }
        const double arrived = bench::stampOf(*road.sim, "CMD " + command.toStdString());
        if (arrived == 0) {
            state.SkipWithError("the call never reached the stand-in");
            break;
        }
        state.SetIterationTime(arrived - sent);
        millis.push_back((arrived - sent) * 1e3);
    }
    report(state, "call", millis);
    QDBusConnection::disconnectFromBus(QStringLiteral("bench"));
}
BENCHMARK(BM_BusCallToStandIn)->Apply(latencyRuns)->Iterations(500);

// Whole calls on model 4: "RINGING" to the handset's first report (the light) and to its ringing
// (volume first, then the melody once the ringer has settled for 100 ms), the call
// key to "SET CALL n STATUS INPROGRESS", the volume keys, two digits, hanging up by the hook to
// "HOOK ON", and the longest stall of the program's main thread over all of it.
void BM_CallRingAnswerHangUp(benchmark::State& state)
{
    const auto awake = awakeIfAsked(state);
    Road road(4, true);
    if (!road.error.empty()) {
        state.SkipWithError(road.error.c_str());
        return;
    }
    std::atomic<double> firstAt{0};
    std::atomic<double> rangAt{0};
    road.bed.setStateHandler([&](int, const std::string& shown) {
        const double now = bench::monotonicSeconds();
        if (firstAt == 0) firstAt = now;
        if (rangAt == 0 && shown.find("ring=on") != std::string::npos) rangAt = now;
    });
    const qsizetype start = road.program->output().size();
    std::vector<double> first;
    std::vector<double> ring;
    std::vector<double> answerKey;
    std::vector<double> hook;
    std::vector<double> program;
    int call = 200;
    static constexpr int kDigits[] = {5, 6};
    for (auto _ : state) {
        const std::string id = std::to_string(++call);
        firstAt = 0;
        rangAt = 0;
        road.sim->writeLine("ring " + id + " alice");
        const double ringing = bench::stampOf(*road.sim, "NOTIFY CALL " + id + " STATUS RINGING");
        if (ringing == 0 || !waitUntil([&] { return rangAt != 0; })) {
            state.SkipWithError("the handset never rang");
            break;
        }
        first.push_back((firstAt - ringing) * 1e3);
        ring.push_back((rangAt - ringing) * 1e3);
        QThread::msleep(150);  // past the ringer's settle time, as a person would be

        double pressed = bench::monotonicSeconds();
        road.bed.press(road.handset, KeyYes);
        const double answered = bench::stampOf(*road.sim, "CMD SET CALL " + id + " STATUS INPROGRESS");
        road.bed.release(road.handset);
        if (answered == 0 || !road.handsetShows("ring=off")) {
            state.SkipWithError("the call key did not answer");
            break;
        }
        answerKey.push_back((answered - pressed) * 1e3);
        program.push_back(programShareMs(road, pressed, answered));
        for (int key : {KeyUp, KeyDown}) {
            road.bed.press(road.handset, key);
            road.bed.release(road.handset);
            QThread::msleep(50);
        }
        const bool dialled = std::all_of(std::begin(kDigits), std::end(kDigits), [&](int digit) {
            road.bed.press(road.handset, Key0 + digit);
            road.bed.release(road.handset);
            return bench::stampOf(*road.sim, "CMD SET CALL " + id + " DTMF " + std::to_string(digit)) != 0;
        });
        if (!dialled) {
            state.SkipWithError("a digit in the call never reached the stand-in");
            break;
        }

        road.bed.lift(road.handset);
        QThread::msleep(50);
        pressed = bench::monotonicSeconds();
        road.bed.replace(road.handset);
        const double hungUp = bench::stampOf(*road.sim, "CMD HOOK ON");
        road.sim->writeLine("end " + id);
        if (hungUp == 0 || bench::stampOf(*road.sim, "NOTIFY CALL " + id + " STATUS FINISHED") == 0) {
            state.SkipWithError("hanging up did not end the call");
            break;
        }
        hook.push_back((hungUp - pressed) * 1e3);
        program.push_back(programShareMs(road, pressed, hungUp));
        state.SetIterationTime(answered - ringing);
        road.program->output();  // keeps the program's log pipe from filling
        QThread::msleep(150);
    }
    report(state, "first_report", first);
    report(state, "ring", ring);
    report(state, "answer", answerKey);
    report(state, "hook", hook);
    report(state, "key_program", program);
    road.reportLongestStall(state, start);
}
BENCHMARK(BM_CallRingAnswerHangUp)->Apply(latencyRuns)->Iterations(100);

// The program left alone for 10 s once up: wake-ups (context switches of all its threads) per
// second and CPU in percent of one core. With a handset and an attached stand-in, and with neither.
void idle(benchmark::State& state, bool attached)
{
    Road road(attached ? 4 : 0, attached);
    if (!road.error.empty()) {
        state.SkipWithError(road.error.c_str());
        return;
    }
    if (attached && !road.handsetShows("ring=off")) {
        state.SkipWithError("the handset was never seen");
        return;
    }
    QThread::msleep(3000);  // past start-up and attaching
    for (auto _ : state) {
        const ProcessCost before = ProcessCost::of(road.program->pid());
        const double from = bench::monotonicSeconds();
        QThread::msleep(10000);
        const ProcessCost after = ProcessCost::of(road.program->pid());
        const double seconds = bench::monotonicSeconds() - from;
        state.SetIterationTime(seconds);
        state.counters["wakeups_per_s"] = (after.wakeUps - before.wakeUps) / seconds;
        state.counters["cpu_percent"] = (after.cpuSeconds - before.cpuSeconds) / seconds * 100;
        std::string label = "wake-ups by thread:";
        for (const auto& [thread, switches] : after.wakeUpsByThread) {
            const auto earlier = before.wakeUpsByThread.find(thread);
            const double woke = switches - (earlier == before.wakeUpsByThread.end() ? 0 : earlier->second);
            if (woke > 0) label += " " + thread + " " + std::to_string(static_cast<int>(woke));
        }
        state.SetLabel(label);
    }
}

void BM_IdleWithHandsetAndMessenger(benchmark::State& state)
{
    idle(state, true);
}
BENCHMARK(BM_IdleWithHandsetAndMessenger)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

void BM_IdleAlone(benchmark::State& state)
{
    idle(state, false);
}
BENCHMARK(BM_IdleAlone)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace tarnix::test

BENCHMARK_MAIN();
