// Report delivery through the hidraw adapter: how long after a report is made available on the
// emulated node readReport() hands it over, and what a poll tick pays when nothing is pending.
#include "platform/linux/hid/udev_hid_bus.h"

#include "latency_samples.h"
#include "umockdev_hid_bed.h"
#include "vendor_report_descriptor.h"
#include "virtual_event_loop.h"

#include <benchmark/benchmark.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using tarnix::test::UmockdevHidBed;

struct Bench {
    tarnix::test::VirtualEventLoop loop;
    UmockdevHidBed bed;
    tarnix::test::UmockdevHidNode& node =
        bed.plug({0x04B4, 0x0304, tarnix::test::vendorReportDescriptor(8, 8), ""});
    tarnix::UdevHidBus bus{loop};
    std::unique_ptr<tarnix::HidDevice> device = bus.open(node.path());
};

// The reader already waits in readReport() when the key report arrives, as the poll tick does.
void BM_KeyReportArrivalToReadReport(benchmark::State& state)
{
    Bench bench;
    std::atomic<bool> readerWaiting{false};
    std::atomic<bool> done{false};
    std::atomic<Clock::rep> sentAt{0};
    std::thread handset([&] {
        while (!done) {
            if (!readerWaiting.exchange(false)) {
                std::this_thread::yield();
                continue;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            sentAt = Clock::now().time_since_epoch().count();
            bench.node.sendInputReport({1, 8, 1, 0, 0, 0, 0, 0});
        }
    });

    std::vector<double> micros;
    std::array<std::uint8_t, 9> report{};
    for (auto _ : state) {
        readerWaiting = true;
        const int got = bench.device->readReport(report, 1000);
        const auto receivedAt = Clock::now().time_since_epoch().count();
        if (got != 9) {
            state.SkipWithError("no report");
            break;
        }
        const auto elapsed = Clock::duration(receivedAt - sentAt.load());
        const double seconds = std::chrono::duration<double>(elapsed).count();
        state.SetIterationTime(seconds);
        micros.push_back(seconds * 1e6);
    }
    done = true;
    handset.join();
    state.counters["p50_us"] = tarnix::bench::percentile(micros, 0.50);
    state.counters["p99_us"] = tarnix::bench::percentile(micros, 0.99);
}
BENCHMARK(BM_KeyReportArrivalToReadReport)->UseManualTime()->Iterations(2000)->Unit(benchmark::kMicrosecond);

// An idle handset: what each poll tick pays to learn that nothing has arrived.
void BM_ReadReportWithNothingPending(benchmark::State& state)
{
    Bench bench;
    std::array<std::uint8_t, 9> report{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(bench.device->readReport(report, 0));
    }
}
BENCHMARK(BM_ReadReportWithNothingPending)->Unit(benchmark::kNanosecond);

}  // namespace

int main(int argc, char** argv)
{
    // The emulated node exists only for a process running with umockdev's preload library.
    if (!UmockdevHidBed::preloaded()) {
        const char* preload = std::getenv("LD_PRELOAD");
        const std::string value =
            std::string("libumockdev-preload.so.0") + (preload != nullptr ? std::string(":") + preload : "");
        setenv("LD_PRELOAD", value.c_str(), 1);
        execv("/proc/self/exe", argv);
        std::perror("hid_bench: cannot re-run under umockdev");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
