// A minimal program on the handset layer, for tests of handset-sim: it prints what the handset
// tells it ("present 1", "key 5", "presence 0") and answers like a small telephone: light on
// while a handset is there, the digits on the display, the call key rings (melody 5, ringer at 75 %),
// the hang-up key stops the ringing.
#include "base/qt_event_loop.h"
#include "device/handset_event_sink.h"
#include "device/handset_service.h"
#include "device/logging_error_reporter.h"
#include "device/system_device_clock.h"
#include "key_name.h"
#include "platform/linux/hid/udev_hid_bus.h"

#include <QCoreApplication>

#include <cstdio>
#include <string>

namespace tarnix {
namespace {

class ProbeSink final : public HandsetEventSink {
public:
    explicit ProbeSink(HandsetChannel& channel) : channel_(channel) {}

    void OnHandsetKey(int code) override
    {
        say("key " + test::keyName(code));
        if (code >= Key0 && code <= Key9) {
            digits_ += char('0' + code);
            channel_.HandsetLcd(LcdNumber, 0, 0, digits_.c_str(), 0);
        } else if (code == KeyYes) {
            channel_.HandsetSetVolume(75);
            channel_.HandsetRingMelody(1, 5);
        } else if (code == KeyNo) {
            channel_.HandsetRing(0);
            digits_.clear();
            channel_.HandsetLcd(LcdClear, 0, 0, nullptr, 0);
        }
    }

    int OnHandsetPresence(int present, int) override
    {
        say("presence " + std::to_string(present));
        if (present == 1) greet();
        return 0;
    }

    void greet()
    {
        digits_.clear();
        channel_.HandsetLight(1);
    }

    static void say(const std::string& line)
    {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    }

private:
    HandsetChannel& channel_;
    std::string digits_;
};

}  // namespace
}  // namespace tarnix

int main(int argc, char** argv)
{
    using namespace tarnix;
    QCoreApplication app(argc, argv);
    QtEventLoop loop;
    UdevHidBus bus(loop);
    LoggingErrorReporter errors;
    PstnLibrary pstn;
    SystemDeviceClock clock;
    HandsetService service(loop, bus, errors, pstn, clock);
    ProbeSink sink(service.channel());
    service.StartHandsetService(&sink);
    const int present = service.channel().HandsetPresent();
    ProbeSink::say("present " + std::to_string(present));
    if (present == 1) sink.greet();
    return app.exec();
}
