#include "base/stall_probe.h"

#include "base/base_log.h"

#include <sys/resource.h>

#include <ctime>

namespace tarnix {
namespace {

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The thread's context switches so far: those it made itself (it blocked) and those forced on it.
std::pair<long, long> threadSwitches()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return {usage.ru_nvcsw, usage.ru_nivcsw};
}

}  // namespace

StallProbe::StallProbe() : on_(lcBase().isDebugEnabled())
{
    // Tells a reader that no "busy" line means no stall, not no probe.
    if (on_) qCDebug(lcBase, "stall probe on: callbacks of %.1f ms or more follow", kReportMs);
}

void StallProbe::enter(const char* receiverClass, int eventType)
{
    if (!on_ || depth_++ != 0) return;
    receiverClass_ = receiverClass;
    eventType_ = eventType;
    cpuAtEnterMs_ = threadCpuMs();
    switchesAtEnter_ = threadSwitches();
    busy_.start();
}

void StallProbe::leave()
{
    if (!on_ || --depth_ != 0) return;
    const double ms = double(busy_.nsecsElapsed()) / 1e6;
    if (ms >= kReportMs) {
        const auto [blocked, preempted] = threadSwitches();
        qCDebug(lcBase, "busy %.3f ms (%s, event %d, cpu %.3f ms, blocked %ld, preempted %ld)", ms,
                receiverClass_, eventType_, threadCpuMs() - cpuAtEnterMs_, blocked - switchesAtEnter_.first,
                preempted - switchesAtEnter_.second);
    }
}

}  // namespace tarnix
