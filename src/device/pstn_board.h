#pragma once

#include "device/handset_device.h"
#include "device/handset_properties.h"
#include "device/pstn_library.h"

#include <memory>

namespace tarnix {

// Model 3: the PSTN line board. Its library does the work; the board only reports DTMF digits
// dialled on the telephone connected to it, and never a hook state.
class PstnBoard final : public HandsetDevice {
public:
    static constexpr int kModel = 3;
    static constexpr HandsetProperties kProperties{{.vendorId = 0x00B3,
                                                    .productId = 0x0020,
                                                    .volume = 0,
                                                    .memorySize = 64,
                                                    .lcd = 0,
                                                    .melodyFixed = 1,
                                                    .lineSwitch = 0,
                                                    .light = 1,
                                                    .ringSettings = 0}};

    PstnBoard(HandsetHost& host, PstnLibrary& library) : HandsetDevice(host), library_(library) {}

    // The HandsetKey of a detected DTMF code (its low four bits); KeyNone for none.
    static int decodeDtmf(std::uint8_t code);

    int ModelType() const override { return kModel; }
    int Property(int index) const override { return kProperties[index]; }
    int ReadMemory(int address, std::span<std::uint8_t> buffer) override;
    int WriteMemory(int address, std::span<const std::uint8_t> buffer) override;
    int Ring(bool on) override;
    int Light(bool) override { return 0; }
    std::optional<int> ReadKey() override { return decodeDtmf(library_.SlicDetectDtmfCode()); }
    int Open() override;
    int Close() override;
    int AfterOpen() override { return 1; }

private:
    PstnLibrary& library_;
    std::unique_ptr<HidDevice> device_;
};

}  // namespace tarnix
