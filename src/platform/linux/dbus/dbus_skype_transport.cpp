#include "platform/linux/dbus/dbus_skype_transport.h"

#include "platform/linux/dbus/dbus_link_log.h"
#include "platform/linux/dbus/messenger_text.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

namespace tarnix {
namespace {

QDBusMessage apiCall(const QString& destination, const QString& text)
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(destination, DbusSkypeTransport::kApiPath,
                                       DbusSkypeTransport::kApiInterface, QStringLiteral("Invoke"));
    call << text;
    // Nothing is to start a messenger on our behalf.
    call.setAutoStartService(false);
    return call;
}

QString replyText(const QDBusMessage& reply)
{
    return reply.arguments().isEmpty() ? QString() : reply.arguments().constFirst().toString();
}

}  // namespace

DbusSkypeTransport::DbusSkypeTransport(QDBusConnection bus) : bus_(std::move(bus)) {}

DbusSkypeTransport::~DbusSkypeTransport()
{
    if (bus_.isConnected()) bus_.unregisterObject(kClientPath);
}

bool DbusSkypeTransport::open()
{
    if (!bus_.isConnected()) {
        qCWarning(lcDbusLink, "no session bus (%s): the messenger cannot be reached",
                  qPrintable(bus_.lastError().message()));
        return false;
    }
    if (!bus_.registerObject(kClientPath, this, QDBusConnection::ExportAllSlots)) {
        qCWarning(lcDbusLink, "cannot offer %s on the bus", kClientPath);
        return false;
    }
    serviceWatcher_.setConnection(bus_);
    serviceWatcher_.setWatchMode(QDBusServiceWatcher::WatchForOwnerChange);
    serviceWatcher_.addWatchedService(kServiceName);
    connect(&serviceWatcher_, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) {
                // The messenger is whoever owns the service: one that gave it up, even while its
                // process lives on, is gone for us.
                if (newOwner != peer_) peerAlive_ = false;
                serviceOwned_ = !newOwner.isEmpty();
                if (!newOwner.isEmpty() && listener_ != nullptr)
                    listener_->onAttachMessage({}, AttachApiAvailable);
            });
    // Asked after the watch is set up: the bus answers in order with the changes it announces.
    QDBusMessage hasOwner = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    hasOwner << QString::fromLatin1(kServiceName);
    DbusAnswer::call(bus_, hasOwner, kCommandTimeoutMs, this, [this](const QDBusMessage& reply) {
        if (reply.type() != QDBusMessage::ErrorMessage && !reply.arguments().isEmpty())
            serviceOwned_ = reply.arguments().constFirst().toBool();
    });
    return true;
}

void DbusSkypeTransport::invoke(const QString& destination, const QString& text, int timeoutMs,
                                DbusAnswer::Handler onAnswer)
{
    DbusAnswer::call(bus_, apiCall(destination, text), timeoutMs, this, std::move(onAnswer));
}

void DbusSkypeTransport::discover()
{
    // One handshake at a time: the messenger may be asking its user about the one under way.
    if (handshaking_ || !bus_.isConnected()) return;
    // With nobody owning the service a NAME could only come back unknown; the watch says when
    // someone takes it. No call, no wake-ups of an idle program.
    if (!serviceOwned_) return;
    handshaking_ = true;
    invoke(kServiceName, QStringLiteral("NAME %1").arg(kClientName), kHandshakeTimeoutMs,
           [this](const QDBusMessage& reply) { onNameReply(reply); });
}

void DbusSkypeTransport::onNameReply(const QDBusMessage& reply)
{
    if (reply.type() == QDBusMessage::ErrorMessage) {
        if (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
            reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner")) {
            // No messenger runs: nothing to tell, as a broadcast nobody hears.
            handshaking_ = false;
            passHeldNotifications();
            return;
        }
        qCInfo(lcDbusLink, "no answer to NAME: %s", qPrintable(reply.errorMessage()));
        handshakeEnded({}, AttachNotAvailable);
        return;
    }
    if (replyText(reply) != QLatin1String("OK")) {
        qCInfo(lcDbusLink, "the messenger refused us: %s", qPrintable(replyText(reply)));
        handshakeEnded({}, AttachRefused);
        return;
    }
    // The rest of the handshake goes to the one messenger that said OK.
    invoke(reply.service(), QStringLiteral("PROTOCOL %1").arg(kProtocol), kCommandTimeoutMs,
           [this](const QDBusMessage& answer) { onProtocolReply(answer); });
}

void DbusSkypeTransport::onProtocolReply(const QDBusMessage& reply)
{
    if (reply.type() == QDBusMessage::ErrorMessage) {
        qCInfo(lcDbusLink, "no answer to PROTOCOL: %s", qPrintable(reply.errorMessage()));
        handshakeEnded({}, AttachNotAvailable);
        return;
    }
    followPeer(reply.service());
    handshakeEnded(reply.service().toStdString(), AttachSuccess);
}

void DbusSkypeTransport::handshakeEnded(const std::string& peer, int status)
{
    handshaking_ = false;
    if (listener_ != nullptr) listener_->onAttachMessage(peer, status);
    passHeldNotifications();
}

void DbusSkypeTransport::passHeldNotifications()
{
    for (const auto& [sender, text] : std::exchange(held_, {})) {
        if (listener_ != nullptr) listener_->onCopyData(sender, text);
    }
}

void DbusSkypeTransport::followPeer(const QString& peer)
{
    peer_ = peer;
    peerAlive_ = true;
    // The service may have changed hands before we followed the peer; the bus answers in order
    // with the owner changes it announces.
    QDBusMessage owner = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetNameOwner"));
    owner << QString::fromLatin1(kServiceName);
    DbusAnswer::call(bus_, owner, kCommandTimeoutMs, this, [this, peer](const QDBusMessage& reply) {
        if (peer != peer_) return;
        if (reply.type() == QDBusMessage::ErrorMessage) {
            // No owner; a bus that does not answer tells us nothing.
            if (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
                peerAlive_ = false;
            return;
        }
        if (replyText(reply) != peer) peerAlive_ = false;
    });
}

bool DbusSkypeTransport::peerExists(const std::string& peer) const
{
    return peerAlive_ && peer_.toStdString() == peer;
}

std::int64_t DbusSkypeTransport::peerProcess(const std::string& peer) const
{
    const QString name = QString::fromStdString(peer);
    if (name.isEmpty() || !bus_.isConnected()) return 0;
    if (name != pidPeer_) {
        const QDBusReply<uint> reply = bus_.interface()->servicePid(name);
        if (!reply.isValid()) return 0;
        pidPeer_ = name;
        pid_ = reply.value();
    }
    return pid_;
}

bool DbusSkypeTransport::send(const std::string& peer, std::string_view text)
{
    if (!bus_.isConnected()) return false;
    const QString command = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    invoke(QString::fromStdString(peer), command, kCommandTimeoutMs, [this, peer](const QDBusMessage& reply) {
        if (listener_ == nullptr) return;
        if (reply.type() == QDBusMessage::ErrorMessage) {
            qCInfo(lcDbusLink, "command to %s failed: %s", peer.c_str(), qPrintable(reply.errorMessage()));
            listener_->onSendFailed(peer);
            return;
        }
        // The reply is a notification like any other.
        listener_->onCopyData(reply.service().toStdString(), messengerText(replyText(reply)));
    });
    return true;
}

void DbusSkypeTransport::Notify(const QString& text)
{
    // The messenger may speak before its answer to PROTOCOL has reached us: held until the
    // attach is told, or it would come from a stranger.
    if (handshaking_) {
        if (held_.size() < kMaxHeldNotifications) {
            held_.emplace_back(message().service().toStdString(), messengerText(text));
        } else {
            qCDebug(lcDbusLink, "dropped a notification from %s during the handshake",
                    qPrintable(message().service()));
        }
        return;
    }
    if (listener_ != nullptr) listener_->onCopyData(message().service().toStdString(), messengerText(text));
}

}  // namespace tarnix
