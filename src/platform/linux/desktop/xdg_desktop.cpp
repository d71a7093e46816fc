#include "platform/linux/desktop/xdg_desktop.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

#include "config/file_replace.h"

namespace tarnix {

namespace {

std::string configHomeOfThisUser()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    // The base-directory rules ignore a relative XDG_CONFIG_HOME.
    if (xdg != nullptr && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
        const passwd* entry = ::getpwuid(::getuid());
        home = entry != nullptr ? entry->pw_dir : "/";
    }
    return std::string(home) + "/.config";
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

XdgDesktop::XdgDesktop(std::string executablePath, std::string configHome)
    : executablePath_(std::move(executablePath)), configHome_(std::move(configHome))
{
}

XdgDesktop XdgDesktop::forThisProcess()
{
    std::error_code error;
    std::string executable = std::filesystem::read_symlink("/proc/self/exe", error).string();
    return XdgDesktop(std::move(executable), configHomeOfThisUser());
}

std::string XdgDesktop::programFolder() const
{
    const std::size_t slash = executablePath_.rfind('/');
    return slash == std::string::npos ? std::string("./") : executablePath_.substr(0, slash + 1);
}

std::string XdgDesktop::autostartPath() const
{
    return configHome_ + "/autostart/" + kAutostartName;
}

bool XdgDesktop::setAutostart(bool enabled)
{
    const std::string path = autostartPath();
    std::error_code error;
    if (!enabled) {
        std::filesystem::remove(path, error);
        return !error;
    }
    std::filesystem::create_directories(configHome_ + "/autostart", error);
    if (error) return false;
    return replaceFile(path, autostartEntry(executablePath_));
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
