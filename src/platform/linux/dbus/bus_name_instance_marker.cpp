#include "platform/linux/dbus/bus_name_instance_marker.h"

#include "platform/linux/dbus/dbus_instance_log.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

namespace tarnix {

BusNameInstanceMarker::BusNameInstanceMarker(InstanceMarker& fallback) : fallback_(fallback) {}

BusNameInstanceMarker::~BusNameInstanceMarker()
{
    if (holdsName_) {
        QDBusConnection::sessionBus().unregisterService(ServiceName);
    }
}

InstanceClaim BusNameInstanceMarker::claim()
{
    if (holdsName_) {
        return InstanceClaim::Claimed;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()) {
        qCInfo(lcDbusInstance, "no session bus (%s); marking the instance with a lock file",
               qPrintable(bus.lastError().message()));
        return fallback_.claim();
    }
    // Neither queue for the name nor let a later copy take it over: while we hold it, a second
    // copy is refused.
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus.interface()->registerService(ServiceName, QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid()) {
        qCWarning(lcDbusInstance, "cannot request %s: %s; marking the instance with a lock file", ServiceName,
                  qPrintable(reply.error().message()));
        return fallback_.claim();
    }
    if (reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        return InstanceClaim::AnotherRuns;
    }
    holdsName_ = true;
    return InstanceClaim::Claimed;
}

}  // namespace tarnix
