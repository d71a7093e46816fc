#include "platform/linux/desktop/xdg_desktop.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "config/config_file.h"
#include "temp_folder.h"

namespace tarnix::test {
namespace {

// Sets an environment variable for the scope of a test.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name)) previous_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (previous_.empty()) {
            ::unsetenv(name_);
        } else {
            ::setenv(name_, previous_.c_str(), 1);
        }
    }

private:
    const char* name_;
    std::string previous_;
};

TEST(XdgDesktop, ProgramFolderIsTheExecutablesFolder)
{
    const XdgDesktop desktop = XdgDesktop::forThisProcess();
    const std::string folder = desktop.programFolder();
    ASSERT_TRUE(folder.ends_with("/"));
    EXPECT_TRUE(std::filesystem::exists(folder + "desktop_test"));
    EXPECT_EQ(desktop.executablePath(), folder + "desktop_test");
    EXPECT_EQ(XdgDesktop("/opt/tarnix usb/bin/tarnix-usbphone", "/c").programFolder(),
              "/opt/tarnix usb/bin/");
}

TEST(XdgDesktop, AutostartEntryGoesUnderXdgConfigHomeOrHome)
{
    TempFolder home;
    const ScopedEnv homeEnv("HOME", home.path() + "user");
    {
        const ScopedEnv xdg("XDG_CONFIG_HOME", home.path() + "xdg");
        EXPECT_EQ(XdgDesktop::forThisProcess().autostartPath(),
                  home.path() + "xdg/autostart/QRV@Skype.desktop");
    }
    // A relative XDG_CONFIG_HOME is not a valid base folder and is ignored.
    const ScopedEnv relative("XDG_CONFIG_HOME", "relative/xdg");
    EXPECT_EQ(XdgDesktop::forThisProcess().autostartPath(),
              home.path() + "user/.config/autostart/QRV@Skype.desktop");
}

TEST(XdgDesktop, AutostartIsCreatedAndRemoved)
{
    TempFolder config;
    XdgDesktop desktop("/usr/lib/tarnix/tarnix-usbphone", config.path() + "fresh");
    ASSERT_TRUE(desktop.setAutostart(true));
    std::ifstream entry(desktop.autostartPath());
    const std::string text{std::istreambuf_iterator<char>(entry), std::istreambuf_iterator<char>()};
    EXPECT_EQ(text,
              "[Desktop Entry]\nType=Application\nName=QRV@Skype\nExec=/usr/lib/tarnix/tarnix-usbphone\n"
              "X-GNOME-Autostart-enabled=true\n");
    EXPECT_TRUE(desktop.setAutostart(true));
    EXPECT_TRUE(desktop.setAutostart(false));
    EXPECT_FALSE(std::filesystem::exists(desktop.autostartPath()));
    EXPECT_TRUE(desktop.setAutostart(false));  // already absent
}

TEST(XdgDesktop, AutostartFailureIsReported)
{
    TempFolder config;
    config.write("blocked", "a file where the folder should be");
    XdgDesktop desktop("/bin/prog", config.file("blocked"));
    EXPECT_FALSE(desktop.setAutostart(true));
}

TEST(XdgDesktop, ExecQuotesPathsThatNeedIt)
{
    const std::pair<std::string, std::string> cases[] = {
        {"/opt/tarnix/tarnix-usbphone", "Exec=/opt/tarnix/tarnix-usbphone\n"},
        {"/home/ann/My Apps/phone", "Exec=\"/home/ann/My Apps/phone\"\n"},
        {"/opt/100%/phone", "Exec=/opt/100%%/phone\n"},
        {"/opt/$x`y\"z/phone", "Exec=\"/opt/\\\\$x\\\\`y\\\\\"z/phone\"\n"},
        {"/opt/back\\slash/phone", "Exec=\"/opt/back\\\\\\\\slash/phone\"\n"},
    };
    for (const auto& [path, line] : cases) {
        EXPECT_NE(autostartEntry(path).find(line), std::string::npos) << path << "\n" << autostartEntry(path);
    }
}

TEST(XdgDesktop, ConfigSaveKeepsTheEntryInStepWithTheSetting)
{
    TempFolder folder;
    XdgDesktop desktop(folder.path() + "bin/tarnix-usbphone", folder.path() + "config");
    std::filesystem::create_directory(folder.path() + "bin");
    Settings settings;
    LocaleTable locale;
    ConfigFile config(settings, locale, desktop);
    settings.autoStart = 1;
    ASSERT_TRUE(config.SaveSettings());
    EXPECT_TRUE(folder.exists("bin/config.xml"));
    EXPECT_TRUE(std::filesystem::exists(desktop.autostartPath()));
    settings.autoStart = 0;
    ASSERT_TRUE(config.SaveSettings());
    EXPECT_FALSE(std::filesystem::exists(desktop.autostartPath()));
}

}  // namespace
}  // namespace tarnix::test
