#pragma once

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QObject>

#include <functional>

namespace tarnix {

// One asynchronous call whose answer (or error, a timeout included) goes to a function. The
// answer is handed over the way the bus hands over an incoming call, so it keeps its place among
// the calls the other side makes on us afterwards: a pending-call watcher set up after sending
// can be overtaken by a call that came in after its answer.
class DbusAnswer final : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<void(const QDBusMessage& answer)>;

    // The handler runs on owner's thread; nothing runs once owner is gone.
    static void call(const QDBusConnection& bus, const QDBusMessage& message, int timeoutMs, QObject* owner,
                     Handler handler);

private Q_SLOTS:
    void answered(const QDBusMessage& answer);
    void failed(const QDBusError& error, const QDBusMessage& call);

private:
    DbusAnswer(Handler handler, QObject* owner);

    Handler handler_;
};

}  // namespace tarnix
