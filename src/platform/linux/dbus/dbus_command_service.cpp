#include "platform/linux/dbus/dbus_command_service.h"

#include "app/command_target.h"

#include <QDBusConnection>

namespace tarnix {

DbusCommandService::~DbusCommandService()
{
    if (registered_) QDBusConnection::sessionBus().unregisterObject(QLatin1String(ObjectPath));
}

bool DbusCommandService::start()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    registered_ = bus.registerObject(QLatin1String(ObjectPath), this, QDBusConnection::ExportAllSlots);
    return registered_;
}

bool DbusCommandService::Command(int id)
{
    return target_.acceptCommand(id);
}

}  // namespace tarnix
