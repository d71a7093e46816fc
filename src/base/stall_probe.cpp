#include "base/stall_probe.h"

#include "base/base_log.h"

namespace tarnix {

StallProbe::StallProbe() : on_(lcBase().isDebugEnabled())
{
    // Tells a reader that no "busy" line means no stall, not no probe.
    if (on_) qCDebug(lcBase, "stall probe on: callbacks of %.1f ms or more follow", kReportMs);
}

void StallProbe::enter()
{
    if (on_ && depth_++ == 0) busy_.start();
}

void StallProbe::leave()
{
    if (!on_ || --depth_ != 0) return;
    const double ms = double(busy_.nsecsElapsed()) / 1e6;
    if (ms >= kReportMs) qCDebug(lcBase, "busy %.3f ms", ms);
}

}  // namespace tarnix
