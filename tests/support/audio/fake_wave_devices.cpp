#include "fake_wave_devices.h"

#include <algorithm>
#include <cstring>
#include <thread>

namespace tarnix::test {

namespace {

// One fake stands for both directions: the operations they share have the same signatures.
class FakeWaveDevice final : public WaveInDevice, public WaveOutDevice {
public:
    FakeWaveDevice(std::shared_ptr<FakeDeviceState> state, bool instant)
        : state_(std::move(state)), instant_(instant)
    {
    }

    void closeThrough(std::shared_ptr<FakeWaveDevices::CloseGate> gate) { gate_ = std::move(gate); }

    int start() override { return log("start"); }
    int stop() override { return log("stop"); }
    int pause() override { return log("pause"); }

    int reset() override
    {
        std::lock_guard guard(state_->lock);
        state_->calls.emplace_back("reset");
        for (WaveHeader* header : state_->held) {
            header->flags = (header->flags & ~WaveHeader::InQueue) | WaveHeader::Done;
        }
        state_->held.clear();
        state_->toComplete.clear();
        return WaveOk;
    }

    int prepareHeader(WaveHeader& header) override
    {
        header.flags |= WaveHeader::Prepared;
        return WaveOk;
    }

    int unprepareHeader(WaveHeader& header) override
    {
        std::lock_guard guard(state_->lock);
        state_->calls.emplace_back("unprepare");
        if (state_->unprepareBusyAnswers > 0) {
            --state_->unprepareBusyAnswers;
            return WaveStillPlaying;
        }
        header.flags &= ~WaveHeader::Prepared;
        return WaveOk;
    }

    int addBuffer(WaveHeader& header) override
    {
        std::lock_guard guard(state_->lock);
        if (state_->addFailures > 0) {
            --state_->addFailures;
            return WaveError;
        }
        hold(header);
        return WaveOk;
    }

    int write(WaveHeader& header) override
    {
        std::lock_guard guard(state_->lock);
        state_->played.emplace_back(header.data, header.data + header.bufferLength);
        hold(header);
        if (instant_) {
            state_->toComplete.push_back(state_->held.size() - 1);
        }
        return WaveOk;
    }

    void update() override
    {
        std::lock_guard guard(state_->lock);
        std::vector<std::size_t> positions = state_->toComplete;
        state_->toComplete.clear();
        std::sort(positions.rbegin(), positions.rend());
        std::vector<WaveHeader*> done;
        for (std::size_t position : positions) {
            if (position < state_->held.size()) {
                done.push_back(state_->held[position]);
                state_->held.erase(state_->held.begin() + static_cast<std::ptrdiff_t>(position));
            }
        }
        std::reverse(done.begin(), done.end());
        for (WaveHeader* completed : done) {
            WaveHeader& header = *completed;
            if (header.bytesRecorded == 0) {
                std::memset(header.data, state_->nextFill++, header.bufferLength);
                header.bytesRecorded = header.bufferLength;
            }
            header.flags = (header.flags & ~WaveHeader::InQueue) | WaveHeader::Done;
        }
    }

    int close() override
    {
        if (gate_ != nullptr) {
            std::unique_lock wait(gate_->lock);
            gate_->released.wait(wait, [this] { return !gate_->held; });
        }
        std::lock_guard guard(state_->lock);
        state_->calls.emplace_back("close");
        if (state_->closeBusyAnswers > 0) {
            --state_->closeBusyAnswers;
            return WaveStillPlaying;
        }
        state_->closed = true;
        return WaveOk;
    }

private:
    int log(const char* call)
    {
        std::lock_guard guard(state_->lock);
        state_->calls.emplace_back(call);
        return WaveOk;
    }

    void hold(WaveHeader& header)
    {
        header.flags |= WaveHeader::InQueue;
        state_->held.push_back(&header);
    }

    std::shared_ptr<FakeDeviceState> state_;
    bool instant_;
    std::shared_ptr<FakeWaveDevices::CloseGate> gate_;
};

bool nameAt(const std::vector<std::optional<std::string>>& names, int id, std::string& name)
{
    if (id < 0 || id >= static_cast<int>(names.size()) || !names[static_cast<std::size_t>(id)]) {
        return false;
    }
    name = *names[static_cast<std::size_t>(id)];
    return true;
}

}  // namespace

void FakeDeviceState::completeNext(std::size_t count)
{
    std::lock_guard guard(lock);
    for (std::size_t i = 0; i < count; ++i) {
        toComplete.push_back(i);
    }
}

void FakeDeviceState::completeAt(std::size_t position)
{
    std::lock_guard guard(lock);
    toComplete.push_back(position);
}

std::size_t FakeDeviceState::heldCount()
{
    std::lock_guard guard(lock);
    return held.size();
}

std::vector<unsigned char> FakeDeviceState::playedBytes()
{
    std::lock_guard guard(lock);
    std::vector<unsigned char> all;
    for (const auto& block : played) all.insert(all.end(), block.begin(), block.end());
    return all;
}

std::vector<std::string> FakeDeviceState::callLog()
{
    std::lock_guard guard(lock);
    return calls;
}

bool FakeWaveDevices::outputName(int id, std::string& name) const
{
    return nameAt(outputs, id, name);
}

bool FakeWaveDevices::inputName(int id, std::string& name) const
{
    return nameAt(inputs, id, name);
}

std::unique_ptr<WaveInDevice> FakeWaveDevices::openInput(int id, const PcmFormat& format)
{
    if (failOpen) {
        return nullptr;
    }
    return std::make_unique<FakeWaveDevice>(record(id, format), false);
}

std::unique_ptr<WaveOutDevice> FakeWaveDevices::openOutput(int id, const PcmFormat& format)
{
    if (failOpen) {
        return nullptr;
    }
    auto device = std::make_unique<FakeWaveDevice>(record(id, format), instantPlayback);
    device->closeThrough(closeGate_);
    return device;
}

void FakeWaveDevices::holdCloses(bool held)
{
    {
        std::lock_guard guard(closeGate_->lock);
        closeGate_->held = held;
    }
    closeGate_->released.notify_all();
}

std::shared_ptr<FakeDeviceState> FakeWaveDevices::record(int id, const PcmFormat& format)
{
    auto state = std::make_shared<FakeDeviceState>();
    state->id = id;
    state->format = format;
    std::lock_guard guard(lock_);
    for (const auto& other : opened_) {
        std::lock_guard otherGuard(other->lock);
        if (!other->closed) ++state->othersOpen;
    }
    opened_.push_back(state);
    return state;
}

std::size_t FakeWaveDevices::openedCount()
{
    std::lock_guard guard(lock_);
    return opened_.size();
}

std::shared_ptr<FakeDeviceState> FakeWaveDevices::opened(std::size_t index)
{
    std::lock_guard guard(lock_);
    return index < opened_.size() ? opened_[index] : nullptr;
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return condition();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace tarnix::test
