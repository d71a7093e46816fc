#include "program/application.h"

#include "folder_environment.h"
#include "platform/linux/session/lock_file_instance_marker.h"
#include "temp_folder.h"
#include "ui/tray_icon.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>
#include <memory>

namespace tarnix::test {
namespace {

// The whole program in this process, headless, with no session bus: the instance mark is a lock
// file in a private runtime folder.
class ApplicationTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static TempFolder runtime;
        setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
        unsetenv("DISPLAY");
        static int argc = 1;
        static char arg0[] = "application_test";
        static char* argv[] = {arg0, nullptr};
        // Kept to the end of the process: Qt must not be torn down by static destructors.
        static QApplication* const app = std::make_unique<QApplication>(argc, argv).release();
        Q_UNUSED(app);
    }

    TempFolder folder;
    FolderEnvironment environment{folder.path()};
};

TEST_F(ApplicationTest, ProgramObjectsComeUpInStartOrderAndGoInReverse)
{
    Application application(environment);
    // Members are made in the order of their addresses and destroyed in reverse: the main
    // window first, then the phone controller, the handset layer and the Skype client, which
    // holds the handset's channel and so goes before it at the end.
    const auto* window = reinterpret_cast<const char*>(&application.mainWindow());
    const auto* phone = reinterpret_cast<const char*>(&application.phoneController());
    const auto* handsets = reinterpret_cast<const char*>(&application.handsetService());
    const auto* skype = reinterpret_cast<const char*>(&application.skypeClient());
    EXPECT_LT(window, phone);
    EXPECT_LT(phone, handsets);
    EXPECT_LT(handsets, skype);
}

TEST_F(ApplicationTest, StartsHiddenWithoutAHandsetWithTheNoHandsetTray)
{
    Application application(environment);
    ASSERT_EQ(application.Initialise(), 1);
    ASSERT_NE(application.mainWindow().Handle(), nullptr);
    EXPECT_FALSE(application.mainWindow().Handle()->isVisible());
    EXPECT_EQ(application.phoneController().presence(), -1);
    const TrayIcon* tray = application.mainWindow().trayIcon();
    ASSERT_NE(tray, nullptr);
    EXPECT_EQ(tray->iconId(), TrayIconId::NoHandset);
    EXPECT_EQ(tray->tip(), "Tarnix USB Device Driver (Please Connect USB Phone)");
    // Starting saves nothing.
    EXPECT_FALSE(folder.exists("config.xml"));
}

TEST_F(ApplicationTest, RefusesToStartWhileAnotherInstanceHoldsTheMark)
{
    LockFileInstanceMarker other(LockFileInstanceMarker::defaultPath());
    ASSERT_EQ(other.claim(), InstanceClaim::Claimed);

    Application application(environment);
    EXPECT_EQ(application.Initialise(), 0);
    EXPECT_EQ(application.mainWindow().Handle(), nullptr);
    EXPECT_EQ(application.mainWindow().trayIcon(), nullptr);
}

}  // namespace
}  // namespace tarnix::test
