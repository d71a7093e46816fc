#include "app/default_device_change.h"
#include "app/default_device_mover.h"
#include "fake_default_sound_devices.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace tarnix::test {
namespace {

struct ChangeCase {
    const char* what;
    bool running;
    SoundDirection direction;
    std::string currentDefault;
    std::string name;
    int result;
    std::string defaultAfter;
};

TEST(DefaultDeviceChange, MovesOnlyAUsbDefaultAndReportsEachFailure)
{
    const std::string pc = "HDA Intel PCH, ALC892 Analog";
    const std::string usb = "USB Audio Device, USB Audio";
    const auto play = SoundDirection::Playback;
    const auto rec = SoundDirection::Record;
    const ChangeCase cases[] = {
        {"usb playback default moves", true, play, usb, pc, 0, pc},
        {"usb record default moves", true, rec, usb, pc, 0, pc},
        {"usb anywhere in the name", true, play, "Headset (USB)", pc, 0, pc},
        {"other default stays", true, play, "Built-in Audio", pc, 0, "Built-in Audio"},
        {"lower-case usb is not USB", true, play, "usb headset", pc, 0, "usb headset"},
        {"no default stays none", true, rec, "", pc, 0, ""},
        {"no name", true, play, usb, "", -10, usb},
        {"no server", false, play, usb, pc, -20, usb},
        {"unknown playback device", true, play, usb, "Gone", -30, usb},
        {"unknown record device", true, rec, usb, "Gone", -40, usb},
    };
    for (const auto& c : cases) {
        FakeDefaultSoundDevices server;
        server.running = c.running;
        server.devices = {pc, usb};
        server.defaults[c.direction] = c.currentDefault;
        EXPECT_EQ(changeDefaultDevice(server, c.direction, c.name), c.result) << c.what;
        EXPECT_EQ(server.defaults[c.direction], c.defaultAfter) << c.what;
    }
}

// A server that holds every request until the test lets it through, as a hung one would; test-local
// because only this test needs a server that blocks the mover's thread.
class HeldDefaults final : public DefaultSoundDevices {
public:
    bool open() override { return true; }
    std::string currentDefault(SoundDirection) override { return "USB Audio Device"; }
    bool setDefault(SoundDirection direction, const std::string& name) override
    {
        std::unique_lock lock(mutex_);
        ++arrived_;
        changed_.notify_all();
        changed_.wait(lock, [this] { return released_; });
        moves.push_back(std::string(direction == SoundDirection::Playback ? "playback " : "record ") + name);
        return true;
    }
    void waitForArrivals(int count)
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return arrived_ >= count; });
    }
    void release()
    {
        const std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }

    std::vector<std::string> moves;  // read once the mover is idle or gone

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int arrived_ = 0;
    bool released_ = false;
};

TEST(DefaultDeviceMover, WorksOffTheCallersThreadAndOnlyTheLastWaitingRequestPerDirectionCounts)
{
    HeldDefaults server;
    DefaultDeviceMover mover(server);
    mover.move(SoundDirection::Playback, "A");
    server.waitForArrivals(1);  // the caller is free while the server holds "A"
    mover.move(SoundDirection::Playback, "B");
    mover.move(SoundDirection::Record, "C");
    mover.move(SoundDirection::Playback, "D");
    server.release();
    mover.waitUntilIdle();
    EXPECT_EQ(server.moves, (std::vector<std::string>{"playback A", "playback D", "record C"}));
}

}  // namespace
}  // namespace tarnix::test
