#pragma once

namespace tarnix {

// Receives what the current handset reports. Calls arrive on the main thread.
class HandsetEventSink {
public:
    virtual ~HandsetEventSink() = default;

    // One HandsetKey event per change (a held key is reported once).
    virtual void OnHandsetKey(int code) = 0;
    // present 1: a handset was found and started; 0: it went away. status is always 0 and the
    // result is ignored.
    virtual int OnHandsetPresence(int present, int status) = 0;
};

}  // namespace tarnix
