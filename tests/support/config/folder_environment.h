#pragma once

#include "config/program_environment.h"

#include <string>
#include <utility>
#include <vector>

namespace tarnix::test {

// Every file of the program in a test's own folder, as in the portable layout; autostart changes
// are only written down.
class FolderEnvironment final : public ProgramEnvironment {
public:
    explicit FolderEnvironment(std::string folder) : folder_(std::move(folder)) {}
    std::string configFolder() const override { return folder_; }
    std::string localeFolder() const override { return folder_; }
    std::string messagesFolder() const override { return folder_ + "messages/"; }
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
