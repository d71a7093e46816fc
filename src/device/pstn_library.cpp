#include "device/pstn_library.h"

#include "device/device_log.h"

#include <QStringList>

#include <dlfcn.h>

namespace tarnix {

// The library's whole interface is looked up, also the functions nothing here calls, so the log
// tells which board library lacks what.
const std::array<const char*, PstnLibrary::kFunctionCount> PstnLibrary::kNames{
    "F3Load",
    "F3Close",
    "SlicRingPhone",
    "SlicStopRing",
    "SlicDetectDtmfCode",
    "FupReadEEProm",
    "FupWriteEEProm",
    "WriteByte",
    "ReadByte",
    "WriteDAARegister",
    "ReadDAARegister",
    "WriteProSlicDirectRegister",
    "ReadProSlicDirectRegister",
    "WriteProSlicInDirectRegister",
    "ReadProSlicInDirectRegister",
    "SlicPhoneUnhooked",
    "SlicPlayDialTone",
    "SlicStopDialTone",
    "DaaRingDetect",
    "DaaPstnHook",
    "FupPhoneSwitch",
    "FupInitDaa",
    "FupInitSlic",
    "FupPcmPathSelect",
    "FupDialDtmf",
    "DaaSetOnhook",
    "DaaSetOffhook",
    "FupCalledHangUpDetect",
};

int PstnLibrary::LoadPstnLibrary()
{
    if (!handle_) {
        handle_ = dlopen(file_.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle_) {
            qCWarning(lcDevice) << "PSTN board library not loaded:" << dlerror();
            return 0;
        }
        QStringList missing;
        for (std::size_t i = 0; i < kNames.size(); ++i) {
            functions_[i] = dlsym(handle_, kNames[i]);
            if (!functions_[i]) missing << QString::fromLatin1(kNames[i]);
        }
        if (!missing.isEmpty()) qCInfo(lcDevice) << "PSTN board library lacks" << missing.join(u' ');
    }
    if (auto* load = function<std::uint8_t(int, int)>(kF3Load)) {
        if (load(kBoardVendorId, kBoardProductId) == 0) return 0;
    }
    return 1;
}

void PstnLibrary::F3Close()
{
    if (auto* close = function<void()>(kF3Close)) close();
}

void PstnLibrary::SlicRingPhone()
{
    if (auto* ring = function<void()>(kSlicRingPhone)) ring();
}

void PstnLibrary::SlicStopRing()
{
    if (auto* stop = function<void()>(kSlicStopRing)) stop();
}

std::uint8_t PstnLibrary::SlicDetectDtmfCode()
{
    auto* detect = function<std::uint8_t()>(kSlicDetectDtmfCode);
    return detect ? detect() : 0;
}

std::optional<std::uint16_t> PstnLibrary::FupReadEEProm(std::uint8_t address)
{
    auto* read = function<std::uint16_t(std::uint8_t)>(kFupReadEEProm);
    if (!read) return std::nullopt;
    return read(address);
}

void PstnLibrary::FupWriteEEProm(std::uint8_t address, std::uint16_t word)
{
    if (auto* write = function<void(std::uint8_t, std::uint16_t)>(kFupWriteEEProm)) write(address, word);
}

}  // namespace tarnix
