// The real program between a virtual handset and the messenger stand-in, during an answered call:
// from a digit's key report landing on the handset's /dev/hidrawN to "BTN_PRESSED <digit>"
// reaching the stand-in. Both ends read CLOCK_MONOTONIC: this process just before it queues the
// report, the stand-in in its record's stamp (microseconds).
#include "child_process.h"
#include "device/handset_codes.h"
#include "handset_bed.h"
#include "latency_samples.h"
#include "program_copy.h"
#include "program_session.h"
#include "stand_in_record.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QThread>

#include <csignal>
#include <functional>
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

void BM_DigitKeyReportToButtonCommand(benchmark::State& state)
{
    ensureQtApplication();
    ChildProcess bus("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    const QString address = QString::fromStdString(bus.readLine());
    if (address.isEmpty()) {
        state.SkipWithError("dbus-daemon did not start");
        return;
    }
    // The bed puts its UMOCKDEV_DIR in this process's environment, where the session takes it from.
    sim::HandsetBed bed;
    const int handset = bed.plug(2);
    ProgramSession session(PROGRAM_PATH, LOCALE_PATH);
    session.setBus(address);
    QProcessEnvironment programEnvironment = session.environment();
    programEnvironment.insert("LD_PRELOAD", "libumockdev-preload.so.0");

    auto simEnvironment = QProcessEnvironment::systemEnvironment();
    simEnvironment.remove("DISPLAY");
    simEnvironment.insert("DBUS_SESSION_BUS_ADDRESS", address);
    ChildProcess sim(SKYPE_SIM, {}, simEnvironment);
    if (!session.ready() || bench::stampOf(sim, "EVENT ready") == 0) {
        state.SkipWithError("the stand-in or the program copy is not ready");
        return;
    }
    ProgramCopy program(QString::fromStdString(session.folder().file("tarnix-usbphone")), programEnvironment);

    const std::string call = "123";
    // An answered call: it rings on the handset, the call key takes it, the messenger says so.
    sim.writeLine("wait-attach");
    sim.writeLine("ring " + call + " alice");
    const bool answered =
        waitUntil([&] { return bed.state(handset).find("ring=on") != std::string::npos; }) &&
        bed.press(handset, KeyYes) &&
        bench::stampOf(sim, "NOTIFY CALL " + call + " STATUS INPROGRESS") != 0 &&
        waitUntil([&] { return bed.state(handset).find("call=on") != std::string::npos; });
    if (!answered) {
        state.SkipWithError(
            ("the call was not answered; the program said:\n" + program.output()).toStdString().c_str());
        return;
    }

    // Reports land at any moment of the program's poll period.
    std::mt19937 random(1251);
    std::uniform_int_distribution<int> phaseMs(0, 9);
    std::vector<double> millis;
    int digit = 0;
    for (auto _ : state) {
        QThread::msleep(static_cast<unsigned long>(phaseMs(random)));
        digit = (digit + 1) % 10;
        const std::string name = std::to_string(digit);
        const double pressed = bench::monotonicSeconds();
        bed.press(handset, Key0 + digit);
        const double arrived = bench::stampOf(sim, "CMD BTN_PRESSED " + name);
        // The rest of the key's commands, so the next press starts from a quiet program.
        if (arrived == 0 || bench::stampOf(sim, "CMD SET CALL " + call + " DTMF " + name) == 0) {
            state.SkipWithError("a digit's commands never reached the stand-in");
            break;
        }
        state.SetIterationTime(arrived - pressed);
        millis.push_back((arrived - pressed) * 1e3);
    }
    if (!millis.empty()) {
        state.counters["p50_ms"] = bench::percentile(millis, 0.50);
        state.counters["p99_ms"] = bench::percentile(millis, 0.99);
    }
    // The program goes before the bed that serves its handset.
    program.signal(SIGTERM);
    program.waitForExit();
}
BENCHMARK(BM_DigitKeyReportToButtonCommand)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarnix::test

BENCHMARK_MAIN();
