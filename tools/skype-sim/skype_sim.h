#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>

namespace tarnix::sim {

class SimAudio;
class SimTranscript;

// The messenger as this driver meets it on the session bus: owns com.Skype.API, answers the
// NAME/PROTOCOL handshake and the commands the driver sends, accepts the rest, and sends its
// notifications to the client that attached last.
class SkypeSim final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.Skype.API")

public:
    enum class NameAnswer { Ok, Refuse, Late };
    struct Options {
        NameAnswer nameAnswer = NameAnswer::Ok;
        int nameDelayMs = 3000;
        QStringList friends{QStringLiteral("alice"), QStringLiteral("bob")};
        QString version = QStringLiteral("2.0.0.72");
        // The WAV file the caller says on "speak"; without one the call has no sound.
        QString voice;
    };

    SkypeSim(QDBusConnection bus, SimTranscript& transcript, Options options);
    ~SkypeSim() override;

    // Offers the API and takes the service name; false when either is refused.
    bool start();
    // Gives the service name up and lives on, as a messenger that signs out of its API does.
    void releaseName();
    bool attached() const { return !client_.isEmpty(); }

    // What a script makes the messenger do.
    void ringCall(int id, const QString& partner);
    void setCallStatus(int id, const QString& status);
    void setUserStatus(const QString& word);
    void setMute(bool on);
    void notify(const QString& text);
    // The caller says the voice file into the call; what the messenger's input hears is told.
    void speak(std::function<void()> done);
    void reportHeard();
    // A notification that comes from another connection than the messenger's own.
    void notifyFrom(QDBusConnection other, const QString& text);

public Q_SLOTS:
    QString Invoke(const QString& command);

Q_SIGNALS:
    void clientAttached();

private:
    struct Call {
        QString partner;
        QString status;
    };

    QString answer(const QString& command);
    QString answerName();
    QString answerGet(const QStringList& words);
    QString answerSetCall(int id, const QStringList& words);
    QString answerSetAudio(const QString& device, const QString& name);
    QString activeCalls() const;
    void sendNotify(QDBusConnection& from, const char* kind, const QString& text);

    QDBusConnection bus_;
    SimTranscript& transcript_;
    Options options_;
    QString client_;
    std::map<int, Call> calls_;
    bool muted_ = false;
    QString userStatus_ = QStringLiteral("ONLINE");
    std::map<QString, QString> audio_{{QStringLiteral("AUDIO_IN"), {}}, {QStringLiteral("AUDIO_OUT"), {}}};
    std::unique_ptr<SimAudio> sound_;
};

}  // namespace tarnix::sim
