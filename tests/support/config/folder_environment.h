#pragma once

#include "config/program_environment.h"

#include <string>
#include <vector>

namespace tarnix::test {

// The program folder is a test's own folder; autostart changes are only written down.
class FolderEnvironment final : public ProgramEnvironment {
public:
    explicit FolderEnvironment(std::string folder) : folder_(std::move(folder)) {}
    std::string programFolder() const override { return folder_; }
    bool setAutostart(bool enabled) override
    {
        autostartCalls.push_back(enabled);
        return true;
    }

    std::vector<bool> autostartCalls;

private:
    std::string folder_;
};

}  // namespace tarnix::test
