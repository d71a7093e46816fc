#pragma once

namespace tarnix {

// The three states the tray icon shows.
class TrayStatus {
public:
    virtual ~TrayStatus() = default;
    virtual void TrayShowReady() = 0;
    virtual void TrayShowNoHandset() = 0;
    virtual void TrayShowNoMessenger() = 0;
};

}  // namespace tarnix
