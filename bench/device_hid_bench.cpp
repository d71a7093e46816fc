// The handset layer on the UI thread over the real hidraw adapter: what an idle poll tick costs,
// and how long a key report that arrives on the node takes to reach OnHandsetKey.
#include "base/qt_event_loop.h"
#include "device/handset_event_sink.h"
#include "device/handset_service.h"
#include "device/logging_error_reporter.h"
#include "device/system_device_clock.h"
#include "handset_bed.h"
#include "latency_samples.h"
#include "platform/linux/hid/udev_hid_bus.h"
#include "umockdev_hid_bed.h"
#include "virtual_event_loop.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

namespace tarnix {
namespace {

using Clock = std::chrono::steady_clock;

class TimingSink final : public HandsetEventSink {
public:
    void OnHandsetKey(int) override { keyAt = Clock::now(); }
    int OnHandsetPresence(int, int) override { return 0; }
    std::optional<Clock::time_point> keyAt;
};

// The layer as the program builds it, on one handset of the LCD model.
template <typename Loop>
struct Layer {
    explicit Layer(int model) : handset(bed.plug(model)) { service.StartHandsetService(&sink); }

    sim::HandsetBed bed;
    int handset;
    Loop loop;
    UdevHidBus bus{loop};
    LoggingErrorReporter errors;
    PstnLibrary pstn{"/nonexistent/libF3Voip.so"};
    SystemDeviceClock clock;
    TimingSink sink;
    HandsetService service{loop, bus, errors, pstn, clock};
};

// Sleeps in the event loop (a busy loop would starve umockdev's thread that serves the node).
void runEventsFor(std::chrono::milliseconds span)
{
    QEventLoop loop;
    QTimer::singleShot(span, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// UI-thread time of one 10 ms tick while the handset sends nothing: the tick only asks the node
// whether a report has arrived.
void BM_IdlePollTick(benchmark::State& state)
{
    Layer<test::VirtualEventLoop> layer(static_cast<int>(state.range(0)));
    layer.loop.runPending();
    for (auto _ : state) layer.loop.advance(HandsetService::kPollPeriodMs);
}
BENCHMARK(BM_IdlePollTick)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMicrosecond);

// A key report lands on the node at a random moment of the poll period; the time until the
// sink hears the key, on Qt's event loop with the real 10 ms timer.
void BM_KeyReportToOnHandsetKey(benchmark::State& state)
{
    Layer<QtEventLoop> layer(2);
    runEventsFor(std::chrono::milliseconds(50));
    std::mt19937 random(1251);
    std::uniform_int_distribution<int> phaseMs(0, HandsetService::kPollPeriodMs - 1);
    std::vector<double> millis;
    int key = Key5;
    for (auto _ : state) {
        runEventsFor(std::chrono::milliseconds(phaseMs(random)));
        layer.sink.keyAt.reset();
        // Keys alternate, so each report is a change the layer reports.
        key = key == Key5 ? Key6 : Key5;
        const Clock::time_point sent = Clock::now();
        layer.bed.press(layer.handset, key);
        const QDeadlineTimer deadline(1000);
        while (!layer.sink.keyAt && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        if (!layer.sink.keyAt) {
            state.SkipWithError("the key never arrived");
            break;
        }
        const double seconds = std::chrono::duration<double>(*layer.sink.keyAt - sent).count();
        state.SetIterationTime(seconds);
        millis.push_back(seconds * 1e3);
    }
    state.counters["p50_ms"] = bench::percentile(millis, 0.50);
    state.counters["p99_ms"] = bench::percentile(millis, 0.99);
}
BENCHMARK(BM_KeyReportToOnHandsetKey)->UseManualTime()->Iterations(300)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarnix

int main(int argc, char** argv)
{
    // The emulated node exists only for a process running with umockdev's preload library.
    if (!tarnix::test::UmockdevHidBed::preloaded()) {
        const char* preload = std::getenv("LD_PRELOAD");
        const std::string value =
            std::string("libumockdev-preload.so.0") + (preload != nullptr ? std::string(":") + preload : "");
        setenv("LD_PRELOAD", value.c_str(), 1);
        execv("/proc/self/exe", argv);
        std::perror("device_hid_bench: cannot re-run under umockdev");
        return 1;
    }
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
