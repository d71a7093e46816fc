#include "platform/linux/dbus/dbus_answer.h"

#include <utility>

namespace tarnix {

DbusAnswer::DbusAnswer(Handler handler, QObject* owner) : QObject(owner), handler_(std::move(handler)) {}

void DbusAnswer::call(const QDBusConnection& bus, const QDBusMessage& message, int timeoutMs, QObject* owner,
                      Handler handler)
{
    // Lives until it has answered; a call that never answers at all goes with its owner.
    auto* answer = new DbusAnswer(std::move(handler), owner);
    bus.callWithCallback(message, answer, SLOT(answered(QDBusMessage)),
                         SLOT(failed(QDBusError, QDBusMessage)), timeoutMs);
}

void DbusAnswer::answered(const QDBusMessage& answer)
{
    deleteLater();
    handler_(answer);
}

void DbusAnswer::failed(const QDBusError& error, const QDBusMessage&)
{
    deleteLater();
    handler_(QDBusMessage::createError(error));
}

}  // namespace tarnix
