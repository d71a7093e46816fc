#include "platform/linux/pulse/pulse_device_watch.h"

#include "private_pulse.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <chrono>
#include <cstdlib>

namespace tarnix {
namespace {

// Generous: with no server the watch looks again after 2 s, then 4 s, 8 s...; a slow machine may
// start the server after the first look again.
bool waitFor(const std::atomic<int>& changes, int atLeast)
{
    for (int i = 0; i < 1000 && changes < atLeast; ++i) QThread::msleep(20);
    return changes >= atLeast;
}

// The desktop's sound server may start after the program, as at log-in.
TEST(PulseDeviceWatch, AServerThatStartsLaterAndItsDevicesAreTold)
{
    QTemporaryDir nowhere;
    ::setenv("PULSE_SERVER", ("unix:" + nowhere.filePath("native")).toUtf8().constData(), 1);
    std::atomic<int> changes = 0;
    PulseDeviceWatch watch([&] { ++changes; });
    QThread::msleep(200);
    EXPECT_EQ(changes, 0);  // no server at the first look is nothing to tell

    PrivatePulse server("");
    ASSERT_TRUE(server.ready());
    ASSERT_TRUE(waitFor(changes, 1)) << "the server's arrival was not told";
    ASSERT_TRUE(server.pactl({"load-module", "module-null-sink", "sink_name=headset"}));
    EXPECT_TRUE(waitFor(changes, 2));

    const int before = changes;
    ASSERT_TRUE(server.pactl({"set-sink-volume", "headset", "50%"}));
    QThread::msleep(200);
    EXPECT_EQ(changes, before);  // a volume change leaves the lists as they are

    server.crash();
    EXPECT_TRUE(waitFor(changes, before + 1));
}

}  // namespace
}  // namespace tarnix
