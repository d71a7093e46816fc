#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tarnix::test {

using Transcript = std::vector<std::string>;

// One transcript that several recording doubles write to, so a test sees their lines in the order
// they happened.
class TranscriptLog {
public:
    void note(std::string line)
    {
        if (onLine) onLine(line);
        lines_.push_back(std::move(line));
    }
    Transcript take() { return std::exchange(lines_, {}); }

    // Also hands each line to this as it happens.
    std::function<void(const std::string&)> onLine;

private:
    Transcript lines_;
};

}  // namespace tarnix::test
