#include "platform/linux/session/lock_file_instance_marker.h"

#include "platform/linux/session/session_log.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnix {
namespace {

constexpr const char* MarkName = "org.tarnix.VoxlanderWindow";

}  // namespace

LockFileInstanceMarker::LockFileInstanceMarker(std::string path) : path_(std::move(path)) {}

LockFileInstanceMarker::~LockFileInstanceMarker()
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::string LockFileInstanceMarker::defaultPath()
{
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (runtimeDir && *runtimeDir) {
        return std::string(runtimeDir) + "/" + MarkName + ".lock";
    }
    return std::string("/tmp/") + MarkName + "-" + std::to_string(::getuid()) + ".lock";
}

InstanceClaim LockFileInstanceMarker::claim()
{
    if (fd_ >= 0) {
        return InstanceClaim::Claimed;
    }
    // /tmp is shared: never follow a planted link, and never trust a file another user owns (a
    // lock held on it would keep us from starting).
    const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        qCWarning(lcSession, "cannot open the instance lock %s: %s", path_.c_str(), std::strerror(errno));
        return InstanceClaim::Unchecked;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_uid != ::getuid()) {
        qCWarning(lcSession, "the instance lock %s is not ours; not using it", path_.c_str());
        ::close(fd);
        return InstanceClaim::Unchecked;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK) {
            return InstanceClaim::AnotherRuns;
        }
        qCWarning(lcSession, "cannot lock %s: %s", path_.c_str(), std::strerror(error));
        return InstanceClaim::Unchecked;
    }
    fd_ = fd;
    return InstanceClaim::Claimed;
}

}  // namespace tarnix
