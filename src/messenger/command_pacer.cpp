#include "messenger/command_pacer.h"

#include <utility>

namespace tarnix {

CommandPacer::CommandPacer(EventLoop& loop, Transmit transmit) : loop_(loop), transmit_(std::move(transmit))
{
}

CommandPacer::~CommandPacer()
{
    loop_.stopTimer({this, kTimerId});
}

int CommandPacer::send(std::string_view text)
{
    if (!holding_) return transmit_(text);
    waiting_.push_back({std::string(text), 0});
    return 1;
}

void CommandPacer::pause(int ms)
{
    if (ms <= 0) return;
    if (holding_) {
        waiting_.push_back({{}, ms});
        return;
    }
    holding_ = true;
    loop_.startSingleShot({this, kTimerId}, ms, [this] { resume(); });
}

void CommandPacer::resume()
{
    holding_ = false;
    while (!waiting_.empty()) {
        Waiting next = std::move(waiting_.front());
        waiting_.pop_front();
        if (next.pauseMs > 0) {
            pause(next.pauseMs);
            return;
        }
        transmit_(next.text);
    }
}

}  // namespace tarnix
