#pragma once

#include <cstdint>
#include <string>

#include "config/locale_table.h"
#include "config/program_environment.h"
#include "config/settings.h"

namespace tarnix {

// config.xml in the program environment's configuration folder: loads it into Settings, writes Settings back
// to it, and keeps the autostart entry in step with the autostart setting.
class ConfigFile {
public:
    static constexpr const char* kFileName = "config.xml";

    ConfigFile(Settings& settings, LocaleTable& locale, ProgramEnvironment& environment);

    std::string path() const;

    // Reads config.xml into the settings without clearing them first. Returns false when there
    // is no readable file; the settings then keep what they hold. A file that is not
    // well-formed applies what came before the fault, and is copied aside first so the next
    // save cannot cost its later contents.
    bool LoadSettings();
    // Writes all settings to config.xml in one step, then creates or removes the autostart
    // entry. Returns false when the file could not be written: the old file and the autostart
    // entry then stay as they were.
    bool SaveSettings();
    // Stores the language and switches the interface texts to it at once.
    void SetLanguage(std::int32_t language);

private:
    Settings& settings_;
    LocaleTable& locale_;
    ProgramEnvironment& environment_;
};

}  // namespace tarnix
