#pragma once

#include "device/handset_codes.h"
#include "device/handset_host.h"

#include <cstdint>
#include <optional>
#include <span>

namespace tarnix {

// One opened handset, owned by the handset layer. Models override the operations they support;
// the rest record HandsetErrorUnsupported and fail.
class HandsetDevice {
public:
    static constexpr int kVersion = 536;

    explicit HandsetDevice(HandsetHost& host) : host_(host) {}
    virtual ~HandsetDevice() = default;
    HandsetDevice(const HandsetDevice&) = delete;
    HandsetDevice& operator=(const HandsetDevice&) = delete;

    virtual int ModelType() const = 0;
    // Opens the device, then polls it and runs AfterOpen(). 0 started, -1 not found.
    virtual int Start();
    virtual int Version() const { return kVersion; }
    virtual int SwitchLine(int pstn);
    virtual int SelectMelody(int melody);
    virtual int SetVolume(int level);
    virtual int LcdCommand(int reserved, int op, std::uint8_t flag, int level, const char* text,
                           std::uint8_t clock);
    virtual int Property(int index) const = 0;
    // address and buffer.size() are in bytes. 0 done, -1 failed.
    virtual int ReadMemory(int address, std::span<std::uint8_t> buffer) = 0;
    virtual int WriteMemory(int address, std::span<const std::uint8_t> buffer) = 0;
    virtual int Ring(bool on) = 0;
    virtual int Light(bool on) = 0;
    // A HandsetKey (KeyNone when none was read). Empty while the read a tick started is still
    // waiting for a report: the tick then derives nothing.
    virtual std::optional<int> ReadKey() = 0;
    virtual int Open() = 0;
    virtual int Close() = 0;
    virtual int AfterOpen() = 0;
    // True once the opened device has failed (unplugged). A device replugged before its removal
    // is handled shows the same ids as before, so the ids alone cannot tell it was replaced.
    virtual bool DeviceLost() const { return false; }

    // Returns the last error and clears it.
    int LastError();
    // Tells the sink the handset is gone, then halts it.
    void Stop();
    // Stops polling, forgets the hook and key states and closes the device.
    int Halt();
    // One poll tick: at most one event to the sink, and only on a change.
    void Poll();

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
