#include "platform/linux/desktop/xdg_desktop.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "config/file_replace.h"
#include "config/locale_table.h"

namespace tarnix {

namespace {

std::string homeOfThisUser()
{
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') return home;
    const passwd* entry = ::getpwuid(::getuid());
    return entry != nullptr ? entry->pw_dir : "/";
}

// $variable, or else the folder under the home folder; the base-directory rules ignore a
// relative value.
std::string baseFolder(const char* variable, const char* underHome)
{
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') return value;
    return homeOfThisUser() + underHome;
}

bool inGroup(gid_t group)
{
    if (group == ::getegid()) return true;
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
    const int count = ::getgroups(static_cast<int>(groups.size()), groups.data());
    return std::find(groups.begin(), groups.begin() + std::max(count, 0), group) != groups.end();
}

// By the folder's mode bits as well as access(): root may write anywhere, yet a copy whose
// folder was made read-only is an installed one for root too.
bool writableByUser(const std::string& folder)
{
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || ::access(folder.c_str(), W_OK) != 0) return false;
    if (info.st_uid == ::geteuid()) return (info.st_mode & S_IWUSR) != 0;
    if (inGroup(info.st_gid)) return (info.st_mode & S_IWGRP) != 0;
    return (info.st_mode & S_IWOTH) != 0;
}

std::string asFolder(const std::filesystem::path& path)
{
    std::string folder = path.lexically_normal().string();
    if (!folder.ends_with('/')) folder.push_back('/');
    return folder;
}

// Exec= takes a command line: a path with blanks or shell characters is quoted, and inside the
// quotes ", `, $ and \ are escaped; "%" starts a field code and is doubled. The value itself
// then escapes backslashes and line breaks as every desktop-entry string does.
std::string execValue(const std::string& path)
{
    const bool needsQuotes = path.find_first_of(" \t\n\"'\\><~|&;$*?#()`") != std::string::npos;
    std::string command = needsQuotes ? "\"" : "";
    for (const char c : path) {
        if (needsQuotes && (c == '"' || c == '`' || c == '$' || c == '\\')) command.push_back('\\');
        if (c == '%') command.push_back('%');
        command.push_back(c);
    }
    if (needsQuotes) command.push_back('"');

    std::string value;
    for (const char c : command) {
        if (c == '\\') {
            value += "\\\\";
        } else if (c == '\n') {
            value += "\\n";
        } else if (c == '\r') {
            value += "\\r";
        } else {
            value.push_back(c);
        }
    }
    return value;
}

}  // namespace

XdgDesktop::XdgDesktop(Folders folders)
    : folders_(std::move(folders)), portable_(writableByUser(programFolder()))
{
}

XdgDesktop XdgDesktop::forThisProcess()
{
    std::error_code error;
    std::string executable =
        executableFromProcLink(std::filesystem::read_symlink("/proc/self/exe", error).string());
    return XdgDesktop({std::move(executable), baseFolder("XDG_CONFIG_HOME", "/.config"),
                       baseFolder("XDG_DATA_HOME", "/.local/share"), TARNIX_INSTALLED_DATA});
}

std::string XdgDesktop::programFolder() const
{
    const std::size_t slash = folders_.executablePath.rfind('/');
    return slash == std::string::npos ? std::string("./") : folders_.executablePath.substr(0, slash + 1);
}

std::string XdgDesktop::configFolder() const
{
    if (portable_) return programFolder();
    return asFolder(std::filesystem::path(folders_.configHome) / kFolderName);
}

std::string XdgDesktop::localeFolder() const
{
    if (portable_) return programFolder();
    const std::string own = configFolder();
    std::error_code error;
    if (std::filesystem::exists(own + LocaleTable::kFileName, error)) return own;
    return asFolder(std::filesystem::path(programFolder()) / folders_.installedData);
}

std::string XdgDesktop::messagesFolder() const
{
    if (portable_) return programFolder() + "messages/";
    return asFolder(std::filesystem::path(folders_.dataHome) / kFolderName / "messages");
}

std::string XdgDesktop::autostartPath() const
{
    return folders_.configHome + "/autostart/" + kAutostartName;
}

bool XdgDesktop::setAutostart(bool enabled)
{
    const std::string path = autostartPath();
    std::error_code error;
    if (!enabled) {
        std::filesystem::remove(path, error);
        return !error;
    }
    std::filesystem::create_directories(folders_.configHome + "/autostart", error);
    if (error) return false;
    return replaceFile(path, autostartEntry(folders_.executablePath));
}

std::string executableFromProcLink(std::string target)
{
    constexpr std::string_view kReplaced = " (deleted)";
    if (target.ends_with(kReplaced)) target.resize(target.size() - kReplaced.size());
    return target;
}

std::string autostartEntry(const std::string& executablePath)
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=QRV@Skype\n"
           "Exec=" +
           execValue(executablePath) +
           "\n"
           "X-GNOME-Autostart-enabled=true\n";
}

}  // namespace tarnix
