#pragma once

#include <pulse/pulseaudio.h>

#include <memory>
#include <string>
#include <vector>

namespace tarnix {

// How the sound server lists us among its clients.
inline constexpr const char* PulseClientName = "Tarnix USB Phone Driver";

// A sink or source of the sound server.
struct PulseDevice {
    std::string serverName;  // the server's own identifier, e.g. "alsa_output.usb-...-00.analog-stereo"
    // "<card>, <pcm>" as the ALSA device list names it (for example "USB Audio Device, USB Audio")
    // for devices the server drives through ALSA; the description the desktop shows otherwise.
    std::string productName;
    std::string description;
    bool monitor = false;  // a source that is a sink's monitor: the sink's sound, not a device of its own
};

// One blocking connection to the running sound server, on the caller's thread. Every request
// waits at most a second for the server.
class PulseConnection {
public:
    // Connected and ready, or null when no server answers. Never starts a server.
    static std::unique_ptr<PulseConnection> open();
    ~PulseConnection();
    PulseConnection(const PulseConnection&) = delete;
    PulseConnection& operator=(const PulseConnection&) = delete;

    // False once the server has hung up; takes in what happened since the last request.
    bool alive();
    pa_context* context() const { return context_; }

    // Sinks (playback) or sources (record), in the server's order; empty when the request fails.
    std::vector<PulseDevice> devices(bool playback);
    // Waits for an operation the callbacks complete; false when it failed or timed out.
    bool finish(pa_operation* operation);

private:
    PulseConnection();
    template <typename Done>
    bool runUntil(Done done);
    bool ready() const;

    pa_mainloop* loop_;
    pa_context* context_ = nullptr;
};

}  // namespace tarnix
