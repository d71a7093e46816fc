#pragma once

#include <string>

#include "config/program_environment.h"

namespace tarnix {

// The program's place on a freedesktop.org desktop. Where the executable's folder is the user's
// to write (a build tree, an unpacked copy) everything lives beside the executable; otherwise the
// program is installed: config.xml goes to the XDG configuration folder, messages to the XDG data
// folder, and locale.xml comes from the installed data folder unless the user keeps a copy of
// their own beside config.xml. The program starts with the session through an XDG autostart entry.
class XdgDesktop final : public ProgramEnvironment {
public:
    static constexpr const char* kAutostartName = "QRV@Skype.desktop";
    // The program's own folder inside each XDG base folder.
    static constexpr const char* kFolderName = "tarnix-usbphone";

    struct Folders {
        std::string executablePath;
        std::string configHome;  // its "autostart" folder receives the entry
        std::string dataHome;
        // The installed data folder as a path from the executable's folder.
        std::string installedData;
    };
    explicit XdgDesktop(Folders folders);
    // This process: /proc/self/exe, $XDG_CONFIG_HOME and $XDG_DATA_HOME or their defaults under
    // the home folder, and the data folder this build installs to.
    static XdgDesktop forThisProcess();

    std::string configFolder() const override;
    std::string localeFolder() const override;
    std::string messagesFolder() const override;
    bool setAutostart(bool enabled) override;

    // True when everything lives beside the executable.
    bool portable() const { return portable_; }
    std::string programFolder() const override;
    const std::string& executablePath() const { return folders_.executablePath; }
    std::string autostartPath() const;

private:
    Folders folders_;
    bool portable_;
};

// The executable named by /proc/self/exe's target. After an upgrade replaced the file under the
// running program the target reads "<path> (deleted)"; the path is still where it is installed.
std::string executableFromProcLink(std::string target);

// The text of the autostart entry that runs the executable.
std::string autostartEntry(const std::string& executablePath);

}  // namespace tarnix
