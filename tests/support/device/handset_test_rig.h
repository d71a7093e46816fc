#pragma once

#include "device/device_clock.h"
#include "device/error_reporter.h"
#include "device/handset_event_sink.h"
#include "device/handset_service.h"
#include "device/pstn_library.h"
#include "fake_hid_bus.h"
#include "key_name.h"
#include "virtual_event_loop.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tarnix::test {

// The first n bytes of a report, or the whole report padded with zeros, as "00 01 0C".
inline std::string hexHead(const std::vector<std::uint8_t>& report, std::size_t n)
{
    std::string out;
    static const char* kDigits = "0123456789ABCDEF";
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t b = i < report.size() ? report[i] : 0;
        if (i) out += ' ';
        out += kDigits[b >> 4];
        out += kDigits[b & 0xF];
    }
    return out;
}

// Everything the sink hears, in order: "key Yes", "presence 1".
class RecordingSink final : public HandsetEventSink {
public:
    void OnHandsetKey(int code) override { events.push_back("key " + keyName(code)); }
    int OnHandsetPresence(int present, int status) override
    {
        events.push_back("presence " + std::to_string(present) + (status != 0 ? " status" : ""));
        return 0;
    }
    std::vector<std::string> take() { return std::exchange(events, {}); }

    std::vector<std::string> events;
};

class RecordingErrors final : public ErrorReporter {
public:
    void showError(std::string_view title, std::string_view text) override
    {
        shown.push_back(std::string(title) + ": " + std::string(text));
    }
    std::vector<std::string> shown;
};

// Pauses cost no time; the local time is whatever the test sets.
class FakeDeviceClock final : public DeviceClock {
public:
    void pause(int ms) override { pauses.push_back(ms); }
    std::tm localTime() const override { return local; }

    std::vector<int> pauses;
    std::tm local{};
};

// The handset layer on a fake bus and a virtual clock.
struct HandsetTestRig {
    explicit HandsetTestRig(std::string pstnLibrary = "/nonexistent/libF3Voip.so")
        : pstn(std::move(pstnLibrary))
    {
    }

    // Starts the layer and lets it settle.
    void start()
    {
        service.StartHandsetService(&sink);
        loop.runPending();
    }
    HandsetChannel& channel() { return service.channel(); }
    HandsetDevice& current() { return *service.channel().current(); }
    // Poll ticks of 10 ms each.
    void ticks(int n) { loop.advance(std::int64_t{10} * n); }

    VirtualEventLoop loop;
    FakeHidBus bus{loop};
    RecordingErrors errors;
    FakeDeviceClock clock;
    PstnLibrary pstn;
    RecordingSink sink;
    HandsetService service{loop, bus, errors, pstn, clock};
};

}  // namespace tarnix::test
