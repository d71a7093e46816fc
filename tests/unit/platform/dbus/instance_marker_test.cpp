#include "platform/linux/dbus/bus_name_instance_marker.h"

#include "child_process.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace tarnix {
namespace {

enum class Session { WithBus, WithoutBus };

// Copies of the probe in one user session: with a private session bus, or with none at all.
class InstanceMarkerTest : public ::testing::TestWithParam<Session> {
protected:
    void SetUp() override
    {
        ensureQtApplication();
        ASSERT_TRUE(runtimeDir_.isValid());
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert("XDG_RUNTIME_DIR", runtimeDir_.path());
        // Without these nothing could start a bus behind our back.
        env_.remove("DISPLAY");
        env_.remove("DBUS_SESSION_BUS_ADDRESS");
        if (GetParam() == Session::WithBus) {
            bus_ = std::make_unique<ChildProcess>("dbus-daemon",
                                                  QStringList{"--session", "--nofork", "--print-address=1"});
            busAddress_ = QString::fromStdString(bus_->readLine());
            ASSERT_FALSE(busAddress_.isEmpty()) << "dbus-daemon did not start";
            env_.insert("DBUS_SESSION_BUS_ADDRESS", busAddress_);
        }
    }

    std::unique_ptr<ChildProcess> startCopy()
    {
        auto copy = std::make_unique<ChildProcess>(INSTANCE_PROBE, QStringList{}, env_);
        EXPECT_TRUE(copy->started());
        return copy;
    }

    // Who holds the mark, as a later copy would find it.
    void expectMarkHeldBy(ChildProcess& holder)
    {
        if (GetParam() == Session::WithBus) {
            // Each test has its own bus; the address names the connection.
            QDBusConnection bus = QDBusConnection::connectToBus(busAddress_, busAddress_);
            ASSERT_TRUE(bus.isConnected());
            EXPECT_EQ(bus.interface()->servicePid(BusNameInstanceMarker::ServiceName).value(),
                      static_cast<uint>(holder.pid()));
            QDBusConnection::disconnectFromBus(busAddress_);
        } else {
            EXPECT_TRUE(QFile::exists(runtimeDir_.filePath("org.tarnix.VoxlanderWindow.lock")));
        }
    }

    QTemporaryDir runtimeDir_;
    QProcessEnvironment env_;
    std::unique_ptr<ChildProcess> bus_;
    QString busAddress_;
};

TEST_P(InstanceMarkerTest, SecondCopyLeavesAtOnceWithZeroAndTheFirstKeepsRunning)
{
    auto first = startCopy();
    ASSERT_EQ(first->readLine(), "claimed");

    auto second = startCopy();
    EXPECT_EQ(second->readLine(), "another");
    ASSERT_TRUE(second->waitForExit(2000));
    EXPECT_EQ(second->exitCode(), 0);

    EXPECT_TRUE(first->running());
    expectMarkHeldBy(*first);
}

TEST_P(InstanceMarkerTest, CopyStartedAfterTheFirstEndedRunsNormally)
{
    auto first = startCopy();
    ASSERT_EQ(first->readLine(), "claimed");
    first->closeInput();
    ASSERT_TRUE(first->waitForExit());
    EXPECT_EQ(first->exitCode(), 0);

    auto later = startCopy();
    EXPECT_EQ(later->readLine(), "claimed");
    expectMarkHeldBy(*later);
}

TEST_P(InstanceMarkerTest, CrashedCopyLeavesNoStaleMark)
{
    auto first = startCopy();
    ASSERT_EQ(first->readLine(), "claimed");
    first->crash();

    auto later = startCopy();
    EXPECT_EQ(later->readLine(), "claimed");
}

INSTANTIATE_TEST_SUITE_P(Sessions, InstanceMarkerTest,
                         ::testing::Values(Session::WithBus, Session::WithoutBus), [](const auto& info) {
                             return info.param == Session::WithBus ? "WithBus" : "WithoutBus";
                         });

}  // namespace
}  // namespace tarnix
