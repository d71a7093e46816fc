// From process start to the tray icon being up (the program logs that it runs right after it
// has put the icon up), and the resident memory of the program then. TARNIX_BENCH_PROGRAM names
// another build to measure instead.
#include "program_session.h"
#include "program_under_test.h"
#include "tray_display.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>

#include <csignal>
#include <fstream>
#include <string>

namespace {

using tarnix::test::ProgramSession;
using tarnix::test::TrayDisplay;

// VmRSS of the process, in KiB.
double residentKiB(qint64 pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6));
    }
    return 0;
}

void startToTray(benchmark::State& state, const QString& display)
{
    tarnix::ensureQtApplication();
    ProgramSession session(tarnix::bench::programUnderTest(), LOCALE_PATH);
    if (!display.isEmpty()) session.setDisplay(display);
    double resident = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        auto program = session.start();
        if (!program->waitForOutput(ProgramSession::kRunning)) {
            state.SkipWithError("the program did not come up");
            break;
        }
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        resident = residentKiB(program->pid());
        program->signal(SIGTERM);
        program->waitForExit();
    }
    state.counters["rss_KiB"] = resident;
}

void BM_StartToTrayOffscreen(benchmark::State& state)
{
    startToTray(state, QString());
}
BENCHMARK(BM_StartToTrayOffscreen)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// On an X display with a tray host running.
void BM_StartToTrayOnXvfb(benchmark::State& state)
{
    tarnix::ensureQtApplication();
    static TrayDisplay display;
    static const bool trayUp = !display.name().isEmpty() && display.startTrayHost();
    if (!trayUp) {
        state.SkipWithError("Xvfb or its tray host did not start");
        return;
    }
    startToTray(state, display.name());
}
BENCHMARK(BM_StartToTrayOnXvfb)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
