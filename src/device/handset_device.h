#pragma once

#include "device/handset_codes.h"
#include "device/handset_host.h"

#include <cstdint>
#include <optional>
#include <span>

namespace tarnix {

// One opened handset, owned by the handset layer. Models override the operations they support;
// the rest record HandsetErrorUnsupported and fail.
//
// Two result conventions meet here, as the models define them: the commands the channel passes
// on (Start, SwitchLine, SelectMelody, SetVolume, LcdCommand, ReadMemory, WriteMemory) answer 0
// on success and -1 on failure; the device primitives (Ring, Light, Open, Close, AfterOpen,
// Halt) answer 1 on success and 0 on failure. HandsetChannel turns the latter into 0/-1.
class HandsetDevice {
public:
    static constexpr int kVersion = 536;

    explicit HandsetDevice(HandsetHost& host) : host_(host) {}
    virtual ~HandsetDevice() = default;
    HandsetDevice(const HandsetDevice&) = delete;
    HandsetDevice& operator=(const HandsetDevice&) = delete;

    // 1, 2 or 4 for the handsets, 3 for the line board.
    virtual int ModelType() const = 0;
    // Opens the device, then polls it and runs AfterOpen(); the hook state goes on from the
    // handset before. 0 started, -1 not found.
    virtual int Start();
    virtual int Version() const { return kVersion; }
    // 0 done, -1 failed (the line board alone switches lines).
    virtual int SwitchLine(int pstn);
    // 0 done, -1 failed; the melody number is the model's (0 = the first).
    virtual int SelectMelody(int melody);
    // Ringer volume step of the model; 0 done, -1 failed.
    virtual int SetVolume(int level);
    // One LCD operation (HandsetLcdOp); 0 done, -1 failed.
    virtual int LcdCommand(int reserved, int op, std::uint8_t flag, int level, const char* text,
                           std::uint8_t clock);
    // A HandsetProperty value (report sizes, memory size in bytes, capabilities as 0/1).
    virtual int Property(int index) const = 0;
    // address and buffer.size() are in bytes. 0 done, -1 failed.
    virtual int ReadMemory(int address, std::span<std::uint8_t> buffer) = 0;
    virtual int WriteMemory(int address, std::span<const std::uint8_t> buffer) = 0;
    // 1 when the report went out, 0 when not.
    virtual int Ring(bool on) = 0;
    virtual int Light(bool on) = 0;
    // A HandsetKey (KeyNone when none was read). Empty while the read a tick started is still
    // waiting for a report: the tick then derives nothing.
    virtual std::optional<int> ReadKey() = 0;
    // 1 when the device node is open, 0 when it cannot be opened.
    virtual int Open() = 0;
    // 1; closing an unopened device does nothing.
    virtual int Close() = 0;
    // The model's first reports after opening (power on, light off); 1 (the reports' own
    // failures are not told).
    virtual int AfterOpen() = 0;
    // True once the opened device has failed (unplugged). A device replugged before its removal
    // is handled shows the same ids as before, so the ids alone cannot tell it was replaced.
    virtual bool DeviceLost() const { return false; }
    // See HidDevice::readableFd; -1 for a handset that has to be polled on the timer.
    virtual int readableFd() const { return -1; }

    // Returns the last error and clears it.
    int LastError();
    // Tells the sink the handset is gone, then halts it.
    void Stop();
    // Stops polling, forgets the hook and key states and closes the device. 1.
    int Halt();
    // One poll tick: at most one event to the sink, and only on a change.
    void Poll();
    // True when a hook change has been read but not yet delivered (the next Poll delivers it).
    bool hookChangePending() const { return hookState_ != reportedHook_ && hookState_ != -1; }
    // True when ticks without a report would derive nothing: no hook change waits and no key is
    // held, so only a new report can make an event.
    bool quiet() const { return !hookChangePending() && (reportedCode_ == -1 || reportedCode_ == KeyNone); }

protected:
    int fail(HandsetError error);
    HandsetHost& host() const { return host_; }
    void setHookState(int onCradle) { hookState_ = onCradle; }
    void forgetHookState() { hookState_ = -1; }

private:
    HandsetHost& host_;
    int lastError_ = HandsetErrorNone;
    int hookState_ = -1;
    int reportedHook_ = -1;
    int reportedCode_ = -1;
};

}  // namespace tarnix
