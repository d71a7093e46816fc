#include "base/qt_event_loop.h"
#include "child_process.h"
#include "latency_samples.h"
#include "messenger_stack.h"
#include "platform/linux/dbus/dbus_skype_transport.h"
#include "stand_in_record.h"
#include "virtual_handsets.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tarnix::test {
namespace {

bool runUntil(const std::function<bool()>& done, int timeoutMs = 2000)
{
    const double end = bench::monotonicSeconds() + timeoutMs / 1000.0;
    while (!done()) {
        if (bench::monotonicSeconds() > end) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    return true;
}

// From "CALL n STATUS RINGING" leaving the messenger stand-in (its record's stamp, taken just
// before sending) to the ring report written to a melody handset, across a private session
// bus. Each round ends the call again so every ring is a first ring.
void BM_RingNotificationToRingReport(benchmark::State& state)
{
    ChildProcess bus("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    const std::string address = bus.readLine();
    if (address.empty()) {
        state.SkipWithError("dbus-daemon did not start");
        return;
    }
    setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    ChildProcess sim(SKYPE_SIM, {}, env);

    QtEventLoop loop;
    DbusSkypeTransport transport(QDBusConnection::connectToBus(QString::fromStdString(address), "bench"));
    MessengerStack stack(loop, transport);
    auto handset = std::make_shared<sim::VirtualMelodyHandset>();
    stack.bus.plug(handset);
    if (!transport.open()) {
        state.SkipWithError("no bus");
        return;
    }
    stack.skype.create();
    stack.controller.StartController();
    if (!runUntil([&] { return stack.skype.isAttached(); }, 5000)) {
        state.SkipWithError("the stand-in did not attach");
        return;
    }

    std::vector<double> samples;
    int call = 1;
    for (auto _ : state) {
        const std::string id = std::to_string(call++);
        sim.writeLine("ring " + id + " carol");
        if (!runUntil([&] { return handset->ringing(); })) {
            state.SkipWithError("the handset did not ring");
            return;
        }
        const double rang = bench::monotonicSeconds();
        const double sent = bench::stampOf(sim, "NOTIFY CALL " + id + " STATUS RINGING");
        samples.push_back(rang - sent);
        state.SetIterationTime(rang - sent);
        sim.writeLine("end " + id);
        runUntil([&] { return !handset->ringing(); });
    }
    state.counters["p50_us"] = bench::percentile(samples, 0.50) * 1e6;
    state.counters["p99_us"] = bench::percentile(samples, 0.99) * 1e6;
    sim.writeLine("quit");
    sim.waitForExit();
}
BENCHMARK(BM_RingNotificationToRingReport)->Iterations(500)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Notifications through the client's mailbox and parser: contact names, call progress and
// mute, as a call brings them.
void BM_NotificationsParsed(benchmark::State& state)
{
    VirtualEventLoop loop;
    FakeSkypeTransport transport;
    MessengerStack stack(loop, transport);
    stack.bus.plug(std::make_shared<sim::VirtualMelodyHandset>());
    stack.controller.StartController();
    stack.skype.create();
    transport.attach("sk");
    transport.deliver("sk", "USERS alice, bob, carol, dave");
    loop.runPending();
    const std::vector<std::string> texts = {
        "USER alice DISPLAYNAME Alice",
        "USER bob FULLNAME Bob Smith",
        "CALL 12 STATUS ROUTING",
        "CALL 12 PARTNER_HANDLE carol",
        "CALL 12 STATUS INPROGRESS",
        "CALL 12 DURATION 42",
        "MUTE ON",
        "MUTE OFF",
        "USERSTATUS ONLINE",
        "CONNSTATUS ONLINE",
        "CALL 12 STATUS FINISHED",
        "SKYPEVERSION 2.0.0.72",
    };
    for (auto _ : state) {
        for (const std::string& text : texts) transport.deliver("sk", text);
        loop.runPending();
        transport.sent.clear();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(texts.size()));
}
BENCHMARK(BM_NotificationsParsed);

}  // namespace
}  // namespace tarnix::test

int main(int argc, char** argv)
{
    tarnix::ensureQtApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
