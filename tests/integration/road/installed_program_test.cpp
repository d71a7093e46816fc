// The program installed with `cmake --install` into a prefix of its own and run from there as
// from /usr: the prefix is read-only, so the program keeps the user's files in the XDG folders.
#include "call_road.h"

#include <gtest/gtest.h>

#include <QProcess>

#include <filesystem>
#include <map>
#include <string>

#include "temp_folder.h"

namespace tarnix::test {
namespace {

namespace fs = std::filesystem;

class InstalledProgram : public testing::Test {
protected:
    void SetUp() override
    {
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(CMAKE_COMMAND,
                      {"--install", BUILD_DIR, "--prefix", QString::fromStdString(prefix.path())});
        ASSERT_TRUE(install.waitForFinished(60000));
        ASSERT_EQ(install.exitCode(), 0) << install.readAll().toStdString();
        setWritable(false);
    }
    void TearDown() override { setWritable(true); }

    // Root may write anywhere; the program reads the mode bits.
    void setWritable(bool writable) const
    {
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(prefix.path())) {
            if (entry.is_directory()) {
                fs::permissions(entry.path(), fs::perms::owner_write | fs::perms::group_write,
                                writable ? fs::perm_options::add : fs::perm_options::remove);
            }
        }
        fs::permissions(prefix.path(), fs::perms::owner_write,
                        writable ? fs::perm_options::add : fs::perm_options::remove);
    }

    // Every file under the prefix with its size.
    std::map<std::string, std::uintmax_t> contents() const
    {
        std::map<std::string, std::uintmax_t> files;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(prefix.path())) {
            files[entry.path().string()] = entry.is_regular_file() ? entry.file_size() : 0;
        }
        return files;
    }

    QString executable() const { return QString::fromStdString(prefix.file("bin/tarnix-usbphone")); }

    TempFolder prefix;
};

TEST_F(InstalledProgram, PrintsTheVersionItWasBuiltAs)
{
    QProcess program;
    program.start(executable(), {"--version"});
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(program.readAllStandardOutput().toStdString(), "tarnix-usbphone " PROJECT_VERSION "\n");
}

TEST_F(InstalledProgram, AttachesAndSavesToTheXdgConfigFolderWritingNothingUnderThePrefix)
{
    const auto before = contents();
    CallRoad::Extras extras;
    extras.installed = executable();
    CallRoad road(2, CallRoad::Messenger::OnBus, {}, {}, extras);
    ASSERT_EQ(road.failure(), "");
    road.messenger("wait-attach");
    ASSERT_TRUE(road.handsetShows("link=on"));
    ASSERT_TRUE(road.finish());

    const TempFolder& home = road.session().home();
    const std::string saved = home.read(".config/tarnix-usbphone/config.xml");
    EXPECT_NE(saved.find("</Config>"), std::string::npos) << saved;
    EXPECT_EQ(contents(), before);
}

}  // namespace
}  // namespace tarnix::test
