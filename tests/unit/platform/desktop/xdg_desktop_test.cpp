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

// An install tree in a temporary folder: bin/ with the executable and share/tarnix-usbphone/.
class InstallTree {
public:
    InstallTree()
    {
        std::filesystem::create_directories(root.path() + "usr/share/tarnix-usbphone");
        std::filesystem::create_directories(root.path() + "usr/bin");
        root.write("usr/bin/tarnix-usbphone", "");
    }
    ~InstallTree() { setWritable(true); }

    void setWritable(bool writable) const
    {
        std::filesystem::permissions(root.path() + "usr/bin", writable
                                                                  ? std::filesystem::perms::owner_all
                                                                  : std::filesystem::perms::owner_read |
                                                                        std::filesystem::perms::owner_exec);
    }
    XdgDesktop desktop() const
    {
        return XdgDesktop({root.path() + "usr/bin/tarnix-usbphone", root.path() + "home/.config",
                           root.path() + "home/.local/share", "../share/tarnix-usbphone"});
    }

    TempFolder root;
};

TEST(XdgDesktop, AWritableProgramFolderKeepsEverythingBesideTheExecutable)
{
    const InstallTree tree;
    const XdgDesktop desktop = tree.desktop();
    const std::string bin = tree.root.path() + "usr/bin/";
    EXPECT_TRUE(desktop.portable());
    EXPECT_EQ(desktop.configFolder(), bin);
    EXPECT_EQ(desktop.localeFolder(), bin);
    EXPECT_EQ(desktop.messagesFolder(), bin + "messages/");
}

TEST(XdgDesktop, AReadOnlyProgramFolderIsAnInstalledCopyUsingTheXdgFolders)
{
    const InstallTree tree;
    tree.setWritable(false);
    const XdgDesktop desktop = tree.desktop();
    const std::string& root = tree.root.path();
    EXPECT_FALSE(desktop.portable());
    EXPECT_EQ(desktop.configFolder(), root + "home/.config/tarnix-usbphone/");
    EXPECT_EQ(desktop.messagesFolder(), root + "home/.local/share/tarnix-usbphone/messages/");
    EXPECT_EQ(desktop.localeFolder(), root + "usr/share/tarnix-usbphone/");

    // The user's own language file beside config.xml comes first.
    std::filesystem::create_directories(desktop.configFolder());
    tree.root.write("home/.config/tarnix-usbphone/locale.xml", "<Locale/>");
    EXPECT_EQ(desktop.localeFolder(), desktop.configFolder());

    // config.xml goes to the configuration folder, which is made on the first save.
    std::filesystem::remove_all(root + "home");
    Settings settings;
    LocaleTable locale;
    XdgDesktop installed = tree.desktop();
    ConfigFile config(settings, locale, installed);
    ASSERT_TRUE(config.SaveSettings());
    EXPECT_TRUE(tree.root.exists("home/.config/tarnix-usbphone/config.xml"));
    EXPECT_FALSE(tree.root.exists("usr/bin/config.xml"));
}

TEST(XdgDesktop, ProgramFolderIsTheExecutablesFolder)
{
    const XdgDesktop desktop = XdgDesktop::forThisProcess();
    const std::string folder = desktop.programFolder();
    ASSERT_TRUE(folder.ends_with("/"));
    EXPECT_TRUE(std::filesystem::exists(folder + "desktop_test"));
    EXPECT_EQ(desktop.executablePath(), folder + "desktop_test");
    EXPECT_EQ(XdgDesktop({"/opt/tarnix usb/bin/tarnix-usbphone", "/c", "/d", "."}).programFolder(),
              "/opt/tarnix usb/bin/");
}

TEST(XdgDesktop, AProgramRunningOnAfterAnUpgradeStillNamesItsInstalledFile)
{
    EXPECT_EQ(executableFromProcLink("/usr/bin/tarnix-usbphone (deleted)"), "/usr/bin/tarnix-usbphone");
    EXPECT_EQ(executableFromProcLink("/opt/my (deleted) apps/phone"), "/opt/my (deleted) apps/phone");
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
    XdgDesktop desktop({"/usr/lib/tarnix/tarnix-usbphone", config.path() + "fresh", config.path(), "."});
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
    XdgDesktop desktop({"/bin/prog", config.file("blocked"), config.path(), "."});
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
    std::filesystem::create_directory(folder.path() + "bin");
    XdgDesktop desktop({folder.path() + "bin/tarnix-usbphone", folder.path() + "config", folder.path(), "."});
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
