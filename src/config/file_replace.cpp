#include "config/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace tarnix {

namespace {

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

bool replaceFile(const std::string& path, std::string_view bytes)
{
    const std::string temporary = path + ".tmp-" + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    struct stat old {};
    bool ok = ::stat(path.c_str(), &old) != 0 || ::fchmod(fd, old.st_mode & 07777) == 0;
    // The data must be on disk before the rename, or a crash could leave an empty file behind
    // the new name.
    ok = ok && writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(temporary.c_str());
    return ok;
}

bool ensureFolder(const std::string& path)
{
    namespace fs = std::filesystem;
    fs::path folder;
    for (const fs::path& part : fs::path(path).lexically_normal()) {
        folder /= part;
        if (part.empty() || ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST) continue;
        return false;
    }
    std::error_code error;
    return fs::is_directory(folder, error);
}

std::string keepCopy(const std::string& path)
{
    namespace fs = std::filesystem;
    for (int n = 1; n <= 100; ++n) {
        const std::string copy = path + ".unreadable" + (n == 1 ? "" : "." + std::to_string(n));
        std::error_code error;
        if (fs::copy_file(path, copy, fs::copy_options::none, error)) return copy;
        if (error != std::errc::file_exists) return {};
    }
    return {};
}

}  // namespace tarnix
