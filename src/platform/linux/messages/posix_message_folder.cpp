#include "platform/linux/messages/posix_message_folder.h"

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnix {

PosixMessageFolder::PosixMessageFolder(std::string folder) : folder_(std::move(folder)) {}

bool PosixMessageFolder::prepare()
{
    if (::mkdir(folder_.c_str(), 0700) != 0 && errno != EEXIST) return false;
    return ::access(folder_.c_str(), W_OK | X_OK) == 0;
}

std::string PosixMessageFolder::reserve(const std::string& stem)
{
    for (int n = 1; n <= kMaxSuffix; ++n) {
        const std::string path = folder_ + stem + (n == 1 ? std::string() : "-" + std::to_string(n)) + ".mp3";
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        if (errno != EEXIST) return {};
    }
    return {};
}

bool PosixMessageFolder::remove(const std::string& path)
{
    return ::unlink(path.c_str()) == 0;
}

}  // namespace tarnix
