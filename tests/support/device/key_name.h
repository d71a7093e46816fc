#pragma once

#include <string>

namespace tarnix::test {

// A handset event by its name ("5", "Star", "Down", "HookOn"); an unknown code as its number.
std::string keyName(int code);

}  // namespace tarnix::test
