#pragma once

#include <string>

#include "config/settings.h"

namespace tarnix {

// The bytes of config.xml for these settings, exactly as the program has always written them
// (line feeds, tabs, the blank before "/>" of the settings elements, the record children's
// order), with no limit on the length of a line.
std::string formatConfig(const Settings& settings);

}  // namespace tarnix
