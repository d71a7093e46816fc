#pragma once

#include "app/instance_marker.h"

#include <string>

namespace tarnix {

// The instance mark where there is no session bus: an exclusive flock on a per-user file. The
// kernel drops the lock with the last descriptor, so a crashed instance leaves no stale mark.
class LockFileInstanceMarker final : public InstanceMarker {
public:
    explicit LockFileInstanceMarker(std::string path);
    ~LockFileInstanceMarker() override;
    LockFileInstanceMarker(const LockFileInstanceMarker&) = delete;
    LockFileInstanceMarker& operator=(const LockFileInstanceMarker&) = delete;

    InstanceClaim claim() override;

    // "$XDG_RUNTIME_DIR/org.tarnix.VoxlanderWindow.lock", or, when the variable is unset,
    // "/tmp/org.tarnix.VoxlanderWindow-<uid>.lock".
    static std::string defaultPath();

private:
    std::string path_;
    int fd_ = -1;
};

}  // namespace tarnix
