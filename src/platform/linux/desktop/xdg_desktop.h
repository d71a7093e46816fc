#pragma once

#include <string>

#include "config/program_environment.h"

namespace tarnix {

// The program's place on a freedesktop.org desktop: its folder is that of its executable, and
// it starts with the session through an XDG autostart entry.
class XdgDesktop final : public ProgramEnvironment {
public:
    static constexpr const char* kAutostartName = "QRV@Skype.desktop";

    // executablePath: the program's file; configHome: the XDG configuration folder, whose
    // "autostart" folder receives the entry.
    XdgDesktop(std::string executablePath, std::string configHome);
    // This process: /proc/self/exe, and $XDG_CONFIG_HOME or else ~/.config.
    static XdgDesktop forThisProcess();

    std::string programFolder() const override;
    bool setAutostart(bool enabled) override;

    const std::string& executablePath() const { return executablePath_; }
    std::string autostartPath() const;

private:
    std::string executablePath_;
    std::string configHome_;
};

// The text of the autostart entry that runs the executable.
std::string autostartEntry(const std::string& executablePath);

}  // namespace tarnix
