#include "device/handset_device.h"

#include "device/handset_event_sink.h"

namespace tarnix {

int HandsetDevice::Start()
{
    if (!Open()) return -1;
    reportedHook_ = host_.lastHookState();
    host_.StartPollTimer();
    AfterOpen();
    return 0;
}

int HandsetDevice::SwitchLine(int)
{
    return fail(HandsetErrorUnsupported);
}

int HandsetDevice::SelectMelody(int)
{
    return fail(HandsetErrorUnsupported);
}

int HandsetDevice::SetVolume(int)
{
    return fail(HandsetErrorUnsupported);
}

int HandsetDevice::LcdCommand(int, int, std::uint8_t, int, const char*, std::uint8_t)
{
    return fail(HandsetErrorUnsupported);
}

int HandsetDevice::LastError()
{
    const int error = lastError_;
    lastError_ = HandsetErrorNone;
    return error;
}

void HandsetDevice::Stop()
{
    if (HandsetEventSink* sink = host_.eventSink()) sink->OnHandsetPresence(0, 0);
    Halt();
}

int HandsetDevice::Halt()
{
    host_.StopPollTimer();
    hookState_ = -1;
    reportedHook_ = -1;
    reportedCode_ = -1;
    Close();
    return 1;
}

void HandsetDevice::Poll()
{
    int event = KeyNone;
    bool hookEvent = false;
    if (hookChangePending()) {
        // The first hook state the program sees only initialises.
        if (reportedHook_ != -1) {
            event = hookState_ != 0 ? HookOn : HookOff;
            hookEvent = true;
        }
        reportedHook_ = hookState_;
        host_.setLastHookState(reportedHook_);
    }
    if (!hookEvent) {
        const std::optional<int> key = ReadKey();
        if (!key) return;
        event = *key & 0xFF;
    }
    const bool changed = event != reportedCode_;
    // Noted before the sink hears it: a sink that runs a nested event loop (a modal dialog) polls
    // again from inside the call and must not hear the same key twice.
    reportedCode_ = event;
    if (changed && event != -1 && event != KeyNone) {
        if (HandsetEventSink* sink = host_.eventSink()) sink->OnHandsetKey(event);
    }
}

int HandsetDevice::fail(HandsetError error)
{
    lastError_ = error;
    return -1;
}

}  // namespace tarnix
