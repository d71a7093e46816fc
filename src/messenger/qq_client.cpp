#include "messenger/qq_client.h"

#include "messenger/messenger_log.h"

namespace tarnix {

QqClient::QqClient(CallClock& clock, const Settings& settings, FrontWindow& front)
    : calls_(CallTable::Qq, {clock, settings, front, *this})
{
}

void QqClient::onHandsetKey(int code)
{
    qCDebug(lcMessenger, "handset key %d: no QQ to pass it to", code);
}

void QqClient::useHandsetOutput(const std::string&, int deviceId)
{
    qCDebug(lcMessenger, "handset output #%d: no QQ to tell", deviceId);
}

int QqClient::sendCommand(const char*)
{
    return 0;
}

}  // namespace tarnix
