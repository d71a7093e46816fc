#pragma once

namespace tarnix {

// The handset speaker's volume panel as the key mapping drives it during a call.
class VolumePanel {
public:
    virtual ~VolumePanel() = default;
    // Shows the panel (or keeps it up a while longer).
    virtual void ShowPopup() = 0;
    // One step louder (quieter), within the handset's range.
    virtual void VolumeUp() = 0;
    virtual void VolumeDown() = 0;
};

}  // namespace tarnix
