#include "handset_test_rig.h"
#include "virtual_handsets.h"

#include <benchmark/benchmark.h>

namespace tarnix::test {
namespace {

// UI-thread time of one 10 ms tick of the handset layer with a handset that sends nothing.
void BM_IdleTick(benchmark::State& state)
{
    HandsetTestRig rig;
    rig.bus.plug(std::make_shared<sim::VirtualLcdHandset>());
    rig.start();
    for (auto _ : state) rig.ticks(1);
}
BENCHMARK(BM_IdleTick);

// A tick that takes a key report and delivers its event (and one that takes the release).
void BM_KeyTick(benchmark::State& state)
{
    HandsetTestRig rig;
    auto handset = std::make_shared<sim::VirtualLcdHandset>();
    rig.bus.plug(handset);
    rig.start();
    for (auto _ : state) {
        handset->press(Key5);
        handset->release();
        rig.ticks(2);
        rig.sink.events.clear();
    }
    state.counters["ticks"] = benchmark::Counter(double(state.iterations()) * 2);
}
BENCHMARK(BM_KeyTick);

}  // namespace
}  // namespace tarnix::test
