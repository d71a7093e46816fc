#include "platform/linux/dbus/dbus_command_client.h"

#include "platform/linux/dbus/bus_name_instance_marker.h"
#include "platform/linux/dbus/dbus_command_service.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace tarnix {
namespace {

constexpr int kReplyTimeoutMs = 5000;

}  // namespace

InstanceReply sendInstanceCommand(int id)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString service = QLatin1String(BusNameInstanceMarker::ServiceName);
    if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(service).value()) {
        return InstanceReply::NoInstance;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(service, QLatin1String(DbusCommandService::ObjectPath),
                                                       QLatin1String(DbusCommandService::InterfaceName),
                                                       QStringLiteral("Command"));
    call << id;
    // This process has no window to keep alive: it may wait for the answer.
    const QDBusMessage reply = bus.call(call, QDBus::Block, kReplyTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) return InstanceReply::NoInstance;
    const QList<QVariant> arguments = reply.arguments();
    return !arguments.isEmpty() && arguments.front().toBool() ? InstanceReply::Done : InstanceReply::Refused;
}

}  // namespace tarnix
