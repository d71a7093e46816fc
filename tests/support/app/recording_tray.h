#pragma once

#include "app/tray_status.h"
#include "transcript.h"

namespace tarnix::test {

// "tray ready", "tray no handset", "tray no messenger".
class RecordingTray final : public TrayStatus {
public:
    explicit RecordingTray(TranscriptLog& log) : log_(log) {}
    void TrayShowReady() override { log_.note("tray ready"); }
    void TrayShowNoHandset() override { log_.note("tray no handset"); }
    void TrayShowNoMessenger() override { log_.note("tray no messenger"); }

private:
    TranscriptLog& log_;
};

}  // namespace tarnix::test
