#pragma once

#include "audio/wave_device.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace tarnix::test {

// What one opened fake device saw and what the test wants it to do next. The channel's thread
// and the test's thread both reach it, so every access holds the lock.
struct FakeDeviceState {
    std::mutex lock;
    int id = -1;
    PcmFormat format;
    std::vector<std::string> calls;
    // Buffers the device holds, oldest first.
    std::deque<WaveHeader*> held;
    // Positions in `held` to complete at the next update.
    std::vector<std::size_t> toComplete;
    // Copies of every block written for playback.
    std::vector<std::vector<unsigned char>> played;
    int unprepareBusyAnswers = 0;
    int closeBusyAnswers = 0;
    int addFailures = 0;
    unsigned char nextFill = 1;
    bool closed = false;
    // Devices of the same fake still open when this one opened.
    int othersOpen = 0;

    void completeNext(std::size_t count = 1);
    void completeAt(std::size_t position);
    std::size_t heldCount();
    // Every block written for playback, end to end.
    std::vector<unsigned char> playedBytes();
    std::vector<std::string> callLog();
};

// A platform with named devices whose buffers complete when the test says so.
class FakeWaveDevices : public WaveDevices {
public:
    std::vector<std::optional<std::string>> outputs;
    std::vector<std::optional<std::string>> inputs;
    bool failOpen = false;
    // When set, each output completes every buffer at once (a device that plays instantly).
    bool instantPlayback = false;

    int outputCount() const override { return static_cast<int>(outputs.size()); }
    int inputCount() const override { return static_cast<int>(inputs.size()); }
    bool outputName(int id, std::string& name) const override;
    bool inputName(int id, std::string& name) const override;
    std::unique_ptr<WaveInDevice> openInput(int id, const PcmFormat& format) override;
    std::unique_ptr<WaveOutDevice> openOutput(int id, const PcmFormat& format) override;

    std::size_t openedCount();
    std::shared_ptr<FakeDeviceState> opened(std::size_t index);

    // While held, closing an output blocks, as a device that is slow to let go.
    struct CloseGate {
        std::mutex lock;
        std::condition_variable released;
        bool held = false;
    };
    void holdCloses(bool held);

private:
    std::shared_ptr<FakeDeviceState> record(int id, const PcmFormat& format);

    std::mutex lock_;
    std::vector<std::shared_ptr<FakeDeviceState>> opened_;
    std::shared_ptr<CloseGate> closeGate_ = std::make_shared<CloseGate>();
};

// Polls until the condition holds or the time is up; returns the condition's last answer.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));

}  // namespace tarnix::test
