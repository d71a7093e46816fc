#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace tarnix {

// The PSTN line board's own library, loaded at run time. The program keeps one of these for its
// whole run, so the library is loaded and its functions looked up once; a failed load is tried
// again by the next LoadPstnLibrary(). It is never unloaded. A function the library lacks makes
// the call that needs it do nothing.
class PstnLibrary {
public:
    static constexpr const char* kDefaultFile = "libF3Voip.so";
    static constexpr int kBoardVendorId = 0xB3;
    static constexpr int kBoardProductId = 0x20;

    explicit PstnLibrary(std::string file = kDefaultFile) : file_(std::move(file)) {}
    PstnLibrary(const PstnLibrary&) = delete;
    PstnLibrary& operator=(const PstnLibrary&) = delete;

    // Loads the library if needed and readies the board. 1 ready, 0 not.
    int LoadPstnLibrary();

    void F3Close();
    void SlicRingPhone();
    void SlicStopRing();
    // 0 when no digit was detected (or the function is missing).
    std::uint8_t SlicDetectDtmfCode();
    // Empty when the library lacks the function.
    std::optional<std::uint16_t> FupReadEEProm(std::uint8_t address);
    void FupWriteEEProm(std::uint8_t address, std::uint16_t word);

private:
    enum Function : std::size_t {
        kF3Load,
        kF3Close,
        kSlicRingPhone,
        kSlicStopRing,
        kSlicDetectDtmfCode,
        kFupReadEEProm,
        kFupWriteEEProm,
        kFunctionCount = 28,
    };
    static const std::array<const char*, kFunctionCount> kNames;

    template <typename Signature>
    Signature* function(Function f) const
    {
        return reinterpret_cast<Signature*>(functions_[f]);
    }

    std::string file_;
    void* handle_ = nullptr;
    std::array<void*, kFunctionCount> functions_{};
};

}  // namespace tarnix
