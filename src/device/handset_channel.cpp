#include "device/handset_channel.h"

namespace tarnix {

namespace {

int successToResult(int modelResult)
{
    return modelResult != 0 ? 0 : -1;
}

}  // namespace

template <typename Operation>
int HandsetChannel::withHandset(Operation operation)
{
    std::lock_guard guard(lock_);
    if (!current_) return -1;
    return operation(*current_);
}

int HandsetChannel::HandsetPresent() const
{
    std::lock_guard guard(lock_);
    return current_ ? 1 : 0;
}

int HandsetChannel::SetHandsetEventSink(HandsetEventSink* sink)
{
    sink_ = sink;
    return 0;
}

int HandsetChannel::HandsetRing(int on)
{
    return withHandset([on](HandsetDevice& h) { return successToResult(h.Ring(on == 1)); });
}

int HandsetChannel::HandsetRingMelody(int on, int melody)
{
    // Takes no lock: it is only ever called on the main thread, which also owns every change
    // of the current handset.
    HandsetDevice* handset = current_.get();
    if (!handset) return -1;
    handset->SelectMelody(melody);
    return successToResult(handset->Ring(on == 1));
}

int HandsetChannel::HandsetSetVolume(int level)
{
    return withHandset([level](HandsetDevice& h) { return h.SetVolume(level); });
}

int HandsetChannel::HandsetLight(int on)
{
    return withHandset([on](HandsetDevice& h) { return successToResult(h.Light(on == 1)); });
}

int HandsetChannel::HandsetLcd(int op, std::uint8_t flag, int level, const char* text, std::uint8_t clock)
{
    return withHandset([&](HandsetDevice& h) { return h.LcdCommand(0, op, flag, level, text, clock); });
}

int HandsetChannel::HandsetProperty(int index)
{
    return withHandset([index](HandsetDevice& h) { return h.Property(index); });
}

int HandsetChannel::HandsetSelectMelody(int melody)
{
    return withHandset([melody](HandsetDevice& h) { return h.SelectMelody(melody); });
}

int HandsetChannel::HandsetSwitchLine(int pstn)
{
    return withHandset([pstn](HandsetDevice& h) { return h.SwitchLine(pstn); });
}

int HandsetChannel::HandsetLastError()
{
    return withHandset([](HandsetDevice& h) { return h.LastError(); });
}

HandsetDevice* HandsetChannel::current() const
{
    std::lock_guard guard(lock_);
    return current_.get();
}

void HandsetChannel::setCurrent(std::unique_ptr<HandsetDevice> handset)
{
    std::lock_guard guard(lock_);
    current_ = std::move(handset);
}

std::unique_ptr<HandsetDevice> HandsetChannel::takeCurrent()
{
    std::lock_guard guard(lock_);
    return std::move(current_);
}

}  // namespace tarnix
