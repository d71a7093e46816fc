#pragma once

#include "messenger/skype_transport.h"
#include "platform/linux/dbus/dbus_answer.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tarnix {

// The messenger's text API on the session bus. The messenger owns kServiceName and answers
// Invoke(s)->s on kApiPath; it hands us its notifications by calling Notify(s) on kClientPath.
// Discovery is the NAME/PROTOCOL handshake; a peer is the messenger's unique bus name. Every
// call is asynchronous, so the main thread never waits for the messenger, and replies and
// notifications come back in the order the messenger sent them.
class DbusSkypeTransport final : public QObject, public SkypeTransport, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.Skype.API.Client")

public:
    static constexpr const char* kServiceName = "com.Skype.API";
    static constexpr const char* kApiPath = "/com/Skype";
    static constexpr const char* kApiInterface = "com.Skype.API";
    static constexpr const char* kClientPath = "/com/Skype/Client";
    static constexpr const char* kClientName = "TarnixUsbPhone";
    static constexpr int kProtocol = 5;
    static constexpr int kCommandTimeoutMs = 1000;
    // The messenger answers NAME once the user has granted access, which may take a while.
    static constexpr int kHandshakeTimeoutMs = 30000;
    // Notifications held while a handshake is under way; anyone on the bus may call Notify.
    static constexpr std::size_t kMaxHeldNotifications = 256;

    explicit DbusSkypeTransport(QDBusConnection bus = QDBusConnection::sessionBus());
    ~DbusSkypeTransport() override;

    // Offers Notify on the bus and follows the messenger's service. False without a bus.
    bool open();

    void setListener(SkypeTransportListener* listener) override { listener_ = listener; }
    void discover() override;
    bool peerExists(const std::string& peer) const override;
    bool send(const std::string& peer, std::string_view text) override;
    // The process behind a peer's bus connection; 0 when it cannot be told.
    std::int64_t peerProcess(const std::string& peer) const;

public Q_SLOTS:
    void Notify(const QString& text);

private:
    void invoke(const QString& destination, const QString& text, int timeoutMs, DbusAnswer::Handler onAnswer);
    void onNameReply(const QDBusMessage& reply);
    void onProtocolReply(const QDBusMessage& reply);
    void handshakeEnded(const std::string& peer, int status);
    void passHeldNotifications();
    void followPeer(const QString& peer);

    QDBusConnection bus_;
    SkypeTransportListener* listener_ = nullptr;
    // The owner of kServiceName: the messenger is the peer only while it owns the service.
    QDBusServiceWatcher serviceWatcher_;
    // Whether anyone owns kServiceName, as the bus last said; true until it has said.
    bool serviceOwned_ = true;
    QString peer_;
    bool peerAlive_ = false;
    bool handshaking_ = false;
    // Notifications that came while a handshake was under way: sender, text.
    std::vector<std::pair<std::string, std::string>> held_;
    // A unique bus name never passes to another process, so its answer is kept.
    mutable QString pidPeer_;
    mutable std::int64_t pid_ = 0;
};

}  // namespace tarnix
