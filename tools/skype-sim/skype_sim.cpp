#include "skype_sim.h"

#include "sim_audio.h"
#include "sim_transcript.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QTimer>

namespace tarnix::sim {
namespace {

constexpr const char* kService = "com.Skype.API";
constexpr const char* kApiPath = "/com/Skype";
constexpr const char* kClientPath = "/com/Skype/Client";
constexpr const char* kClientInterface = "com.Skype.API.Client";

QString capitalised(const QString& handle)
{
    return handle.left(1).toUpper() + handle.mid(1);
}

}  // namespace

SkypeSim::SkypeSim(QDBusConnection bus, SimTranscript& transcript, Options options)
    : bus_(std::move(bus)), transcript_(transcript), options_(std::move(options))
{
    if (!options_.voice.isEmpty()) sound_ = std::make_unique<SimAudio>(transcript_, options_.voice);
}

SkypeSim::~SkypeSim() = default;

bool SkypeSim::start()
{
    if (!bus_.isConnected() || !bus_.registerObject(kApiPath, this, QDBusConnection::ExportAllSlots))
        return false;
    return bus_.interface()->registerService(kService, QDBusConnectionInterface::DontQueueService).value() ==
           QDBusConnectionInterface::ServiceRegistered;
}

void SkypeSim::releaseName()
{
    bus_.interface()->unregisterService(kService);
}

QString SkypeSim::Invoke(const QString& command)
{
    transcript_.write("CMD", command);
    if (command.startsWith(QLatin1String("NAME "), Qt::CaseInsensitive)) return answerName();
    const QString reply = answer(command);
    if (!reply.isEmpty()) transcript_.write("REPLY", reply);
    return reply;
}

QString SkypeSim::answerName()
{
    const QString client = message().service();
    switch (options_.nameAnswer) {
        case NameAnswer::Refuse:
            transcript_.write("REPLY", QStringLiteral("ERROR 68"));
            return QStringLiteral("ERROR 68");
        case NameAnswer::Late: {
            // As when the user takes a while to grant access.
            setDelayedReply(true);
            const QDBusMessage reply = message().createReply(QStringLiteral("OK"));
            QTimer::singleShot(options_.nameDelayMs, this, [this, reply] {
                transcript_.write("REPLY", QStringLiteral("OK"));
                bus_.send(reply);
            });
            return {};
        }
        case NameAnswer::Ok:
            break;
    }
    transcript_.write("REPLY", QStringLiteral("OK"));
    return QStringLiteral("OK");
}

QString SkypeSim::answer(const QString& command)
{
    const QStringList words = command.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString verb = words.value(0).toUpper();
    if (verb == QLatin1String("PROTOCOL")) {
        if (client_ != message().service()) {
            client_ = message().service();
            QTimer::singleShot(0, this, &SkypeSim::clientAttached);
        }
        return QStringLiteral("PROTOCOL 5");
    }
    if (verb == QLatin1String("GET")) return answerGet(words);
    if (verb == QLatin1String("SEARCH") && words.value(1) == QLatin1String("FRIENDS")) {
        return QStringLiteral("USERS ") + options_.friends.join(QLatin1String(", "));
    }
    if (verb == QLatin1String("SEARCH") && words.value(1) == QLatin1String("ACTIVECALLS")) {
        return QStringLiteral("CALLS ") + activeCalls();
    }
    if (verb == QLatin1String("SET") && words.value(1).toUpper() == QLatin1String("MUTE")) {
        muted_ = words.value(2).toUpper() == QLatin1String("ON");
        return muted_ ? QStringLiteral("MUTE ON") : QStringLiteral("MUTE OFF");
    }
    if (verb == QLatin1String("SET") && words.value(1) == QLatin1String("CALL")) {
        return answerSetCall(words.value(2).toInt(), words);
    }
    if (verb == QLatin1String("SET") && audio_.count(words.value(1)) != 0) {
        return answerSetAudio(words.value(1), command.section(QLatin1Char(' '), 2));
    }
    // Buttons, hook, focus, sound devices and the rest: taken as they come.
    return command;
}

QString SkypeSim::answerGet(const QStringList& words)
{
    const QString what = words.value(1);
    if (what == QLatin1String("SKYPEVERSION")) return QStringLiteral("SKYPEVERSION ") + options_.version;
    if (what == QLatin1String("MUTE")) return muted_ ? QStringLiteral("MUTE ON") : QStringLiteral("MUTE OFF");
    if (what == QLatin1String("USERSTATUS")) return QStringLiteral("USERSTATUS ") + userStatus_;
    if (audio_.count(what) != 0) return what + QLatin1Char(' ') + audio_[what];
    if (what == QLatin1String("USER") && words.size() >= 4) {
        const QString& handle = words[2];
        const QString value = words[3] == QLatin1String("FULLNAME")
                                  ? capitalised(handle) + QStringLiteral(" Smith")
                                  : capitalised(handle);
        return QStringLiteral("USER %1 %2 %3").arg(handle, words[3], value);
    }
    if (what == QLatin1String("CALL") && words.value(3) == QLatin1String("PARTNER_HANDLE")) {
        const auto call = calls_.find(words.value(2).toInt());
        if (call == calls_.end()) return QStringLiteral("ERROR 11 Invalid call id");
        return QStringLiteral("CALL %1 PARTNER_HANDLE %2").arg(call->first).arg(call->second.partner);
    }
    return QStringLiteral("ERROR 7 GET: invalid WHAT");
}

QString SkypeSim::answerSetCall(int id, const QStringList& words)
{
    const auto call = calls_.find(id);
    if (call == calls_.end()) return QStringLiteral("ERROR 11 Invalid call id");
    if (words.value(3) != QLatin1String("STATUS")) return words.mid(1).join(QLatin1Char(' '));
    const QString status = words.value(4);
    // The echo answers the command; the status change follows as a notification.
    QTimer::singleShot(0, this, [this, id, status] { setCallStatus(id, status); });
    return QStringLiteral("CALL %1 STATUS %2").arg(id).arg(status);
}

QString SkypeSim::answerSetAudio(const QString& device, const QString& name)
{
    audio_[device] = name;
    if (sound_ && device == QLatin1String("AUDIO_IN")) sound_->setInput(name);
    if (sound_ && device == QLatin1String("AUDIO_OUT")) sound_->setOutput(name);
    return device + QLatin1Char(' ') + name;
}

void SkypeSim::speak(std::function<void()> done)
{
    if (sound_) {
        sound_->speak(std::move(done));
    } else {
        done();
    }
}

void SkypeSim::reportHeard()
{
    if (sound_) sound_->reportHeard();
}

QString SkypeSim::activeCalls() const
{
    // Every other word (FINISHED, MISSED, REFUSED, FAILED, CANCELLED, ...) leaves a call over.
    static const QStringList active{QStringLiteral("ROUTING"), QStringLiteral("RINGING"),
                                    QStringLiteral("INPROGRESS"), QStringLiteral("ONHOLD")};
    QStringList ids;
    for (const auto& [id, call] : calls_) {
        if (active.contains(call.status)) ids << QString::number(id);
    }
    return ids.join(QLatin1String(", "));
}

void SkypeSim::ringCall(int id, const QString& partner)
{
    calls_[id] = {partner, QStringLiteral("RINGING")};
    notify(QStringLiteral("CALL %1 STATUS RINGING").arg(id));
}

void SkypeSim::setCallStatus(int id, const QString& status)
{
    calls_[id].status = status;
    notify(QStringLiteral("CALL %1 STATUS %2").arg(id).arg(status));
}

void SkypeSim::setUserStatus(const QString& word)
{
    userStatus_ = word;
    notify(QStringLiteral("USERSTATUS ") + word);
}

void SkypeSim::setMute(bool on)
{
    muted_ = on;
    notify(on ? QStringLiteral("MUTE ON") : QStringLiteral("MUTE OFF"));
}

void SkypeSim::notify(const QString& text)
{
    sendNotify(bus_, "NOTIFY", text);
}

void SkypeSim::notifyFrom(QDBusConnection other, const QString& text)
{
    sendNotify(other, "FOREIGN", text);
}

void SkypeSim::sendNotify(QDBusConnection& from, const char* kind, const QString& text)
{
    if (client_.isEmpty() || !from.isConnected()) {
        transcript_.write("UNSENT", text);
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(client_, kClientPath, kClientInterface, QStringLiteral("Notify"));
    call << text;
    transcript_.write(kind, text);
    from.send(call);
}

}  // namespace tarnix::sim
