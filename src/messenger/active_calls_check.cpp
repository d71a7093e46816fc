#include "messenger/active_calls_check.h"

#include "answering/call_table.h"
#include "base/event_loop.h"
#include "config/utf8_string.h"
#include "messenger/messenger_log.h"
#include "messenger/notification_text.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tarnix {

ActiveCallsCheck::ActiveCallsCheck(EventLoop& loop, CallTable& calls, std::function<void()> ask)
    : loop_(loop), calls_(calls), ask_(std::move(ask))
{
}

ActiveCallsCheck::~ActiveCallsCheck()
{
    loop_.stopTimer({this, kTimerId});
}

void ActiveCallsCheck::heard()
{
    if (!calls_.anyCallActive()) {
        loop_.stopTimer({this, kTimerId});
        return;
    }
    loop_.startTimer({this, kTimerId}, kQuietMs, [this] {
        if (calls_.anyCallActive()) {
            ask_();
        } else {
            loop_.stopTimer({this, kTimerId});
        }
    });
}

bool ActiveCallsCheck::reconcile(std::string_view list)
{
    std::vector<std::int32_t> listed;
    for (const std::string_view id : splitHandles(list))
        listed.push_back(leadingInteger(std::string(id).c_str()));
    std::vector<std::int32_t> gone = calls_.ids();
    std::erase_if(
        gone, [&](std::int32_t id) { return std::find(listed.begin(), listed.end(), id) != listed.end(); });
    for (const std::int32_t id : gone) {
        qCInfo(lcMessenger, "call %d is no longer among the messenger's active calls; ended", id);
        calls_.markEnded(id);
    }
    heard();
    return !gone.empty();
}

}  // namespace tarnix
