#pragma once

#include "app/instance_marker.h"

namespace tarnix {

// The instance mark as a well-known name on the session bus. The bus takes the name back when
// our connection closes, so a crashed instance leaves no stale mark. Without a session bus the
// fallback marker decides. Create and destroy it while the Qt application object exists.
class BusNameInstanceMarker final : public InstanceMarker {
public:
    static constexpr const char* ServiceName = "org.tarnix.VoxlanderWindow";

    explicit BusNameInstanceMarker(InstanceMarker& fallback);
    ~BusNameInstanceMarker() override;
    BusNameInstanceMarker(const BusNameInstanceMarker&) = delete;
    BusNameInstanceMarker& operator=(const BusNameInstanceMarker&) = delete;

    InstanceClaim claim() override;

private:
    InstanceMarker& fallback_;
    bool holdsName_ = false;
};

}  // namespace tarnix
