#pragma once

namespace tarnix {

enum class InstanceClaim {
    Claimed,      // this process is the user's one running instance
    AnotherRuns,  // another instance holds the mark: end at once, silently, with exit code 0
    Unchecked,    // the mark could not be taken or tested; run, as a lone instance would
};

// The mark that one instance of the program runs for the user. It lasts while the marker object
// lives, and no longer than the process, so a crash releases it and a later copy starts.
class InstanceMarker {
public:
    virtual ~InstanceMarker() = default;

    virtual InstanceClaim claim() = 0;
};

}  // namespace tarnix
