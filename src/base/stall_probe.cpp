#include "base/stall_probe.h"

#include "base/base_log.h"

#include <QAbstractEventDispatcher>

namespace tarnix {

StallProbe::StallProbe()
{
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (dispatcher == nullptr || !lcBase().isDebugEnabled()) return;
    // Tells a reader that no "busy" line means no stall, not no probe.
    qCDebug(lcBase, "stall probe on: busy stretches of %.1f ms or more follow", kReportMs);
    connect(dispatcher, &QAbstractEventDispatcher::awake, this, [this] { busy_.start(); });
    connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
        if (!busy_.isValid()) return;
        const double ms = double(busy_.nsecsElapsed()) / 1e6;
        busy_.invalidate();
        if (ms >= kReportMs) qCDebug(lcBase, "busy %.3f ms", ms);
    });
}

}  // namespace tarnix
