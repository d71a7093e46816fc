#include "platform/linux/session/lock_file_instance_marker.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <unistd.h>

namespace tarnix {
namespace {

namespace fs = std::filesystem;

class LockFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/lockfile-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const char* name) const { return (dir_ / name).string(); }

    fs::path dir_;
};

// flock locks belong to the open file, so two markers in one process meet as two copies would.
TEST_F(LockFileTest, SecondMarkerIsRefusedUntilTheFirstGoes)
{
    std::optional<LockFileInstanceMarker> first(std::in_place, path("mark.lock"));
    ASSERT_EQ(first->claim(), InstanceClaim::Claimed);
    EXPECT_EQ(first->claim(), InstanceClaim::Claimed);

    LockFileInstanceMarker second(path("mark.lock"));
    EXPECT_EQ(second.claim(), InstanceClaim::AnotherRuns);

    first.reset();
    EXPECT_EQ(second.claim(), InstanceClaim::Claimed);
}

TEST_F(LockFileTest, UntrustworthyLockFilesAreNotUsed)
{
    fs::create_symlink(path("elsewhere"), path("planted.lock"));
    std::ofstream(path("foreign.lock")) << "";
    const bool canChown = ::chown(path("foreign.lock").c_str(), 65534, 65534) == 0;

    EXPECT_EQ(LockFileInstanceMarker(path("planted.lock")).claim(), InstanceClaim::Unchecked);
    EXPECT_FALSE(fs::exists(path("elsewhere"))) << "followed a planted link";
    EXPECT_EQ(LockFileInstanceMarker(path("missing/dir.lock")).claim(), InstanceClaim::Unchecked);
    if (canChown) {
        EXPECT_EQ(LockFileInstanceMarker(path("foreign.lock")).claim(), InstanceClaim::Unchecked);
    }
}

TEST(LockFilePath, LivesInTheRuntimeDirectoryOrAPerUserFileInTmp)
{
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string restore = saved ? saved : "";

    ::setenv("XDG_RUNTIME_DIR", "/run/user/1234", 1);
    EXPECT_EQ(LockFileInstanceMarker::defaultPath(), "/run/user/1234/org.tarnix.VoxlanderWindow.lock");
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(LockFileInstanceMarker::defaultPath(),
              "/tmp/org.tarnix.VoxlanderWindow-" + std::to_string(::getuid()) + ".lock");

    if (saved) {
        ::setenv("XDG_RUNTIME_DIR", restore.c_str(), 1);
    }
}

}  // namespace
}  // namespace tarnix
