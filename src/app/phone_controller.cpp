#include "app/phone_controller.h"

#include "app/default_device_mover.h"
#include "app/messenger_link.h"
#include "app/tray_status.h"
#include "audio/wave_device.h"
#include "device/handset_codes.h"
#include "device/handset_service.h"

#include <functional>
#include <string>

namespace tarnix {
namespace {

struct FoundDevice {
    int id = -1;
    std::string name;
    explicit operator bool() const { return id >= 0; }
};

// The handset's device (the first whose name contains "USB") and the computer's own (the first
// whose name contains neither "USB" nor "Virtual"), in device-number order.
struct DevicePair {
    FoundDevice handset;
    FoundDevice computer;
};

DevicePair findDevicePair(int count, const std::function<bool(int, std::string&)>& nameOf)
{
    DevicePair pair;
    for (int id = 0; id < count; ++id) {
        std::string name;
        if (!nameOf(id, name)) continue;
        const bool usb = name.find("USB") != std::string::npos;
        if (usb && !pair.handset) {
            pair.handset = {id, name};
        } else if (!usb && name.find("Virtual") == std::string::npos && !pair.computer) {
            pair.computer = {id, name};
        }
    }
    return pair;
}

}  // namespace

PhoneController::PhoneController(const Ports& ports) : ports_(ports), emulator_(ports.keys, hookState_) {}

void PhoneController::StartController()
{
    ports_.handsets.StartHandsetService(this);
    HandsetChannel& channel = ports_.handsets.channel();
    if (channel.HandsetPresent()) {
        presence_ = 0;
        channel.HandsetLcd(LcdClock, 1, 6, "", 1);
        channel.HandsetLcd(LcdBars, 1, 6, "", 1);
    } else {
        ports_.tray.TrayShowNoHandset();
        presence_ = -1;
    }
}

void PhoneController::UpdateStatus()
{
    if (presence_ != 0) {
        ports_.tray.TrayShowNoHandset();
        return;
    }
    if (messengerAttached()) {
        ShowLink(1);
        ports_.tray.TrayShowReady();
        SetupUsbAudio();
    } else {
        ShowLink(0);
        ports_.tray.TrayShowNoMessenger();
    }
}

int PhoneController::OnHandsetPresence(int present, int status)
{
    presence_ = present != 0 ? 0 : -1;
    UpdateStatus();
    if (subHandler_ != nullptr) {
        return subHandler_->OnHandsetPresence(present, status);
    }
    return 0;
}

void PhoneController::OnHandsetKey(int code)
{
    if (subHandler_ != nullptr) {
        subHandler_->OnHandsetKey(code);
        return;
    }
    MessengerLink& skype = ports_.skype;
    MessengerLink& qq = ports_.qq;
    if (skype.isAttached()) {
        if (skype.callInProgress()) {
            skype.onHandsetKey(code);
        } else if (qq.isAttached() && qq.callInProgress()) {
            qq.onHandsetKey(code);
        } else if (preferredClient_ == 1 && qq.isAttached()) {
            qq.onHandsetKey(code);
        } else {
            skype.onHandsetKey(code);
        }
    } else if (qq.isAttached()) {
        qq.onHandsetKey(code);
    } else {
        emulator_.EmulateKey(code);
    }
}

void PhoneController::ShowCallActive(int active)
{
    HandsetChannel& channel = ports_.handsets.channel();
    channel.HandsetLcd(LcdIcon, static_cast<std::uint8_t>(active), 0, nullptr, 0);
    channel.HandsetLight(active);
}

void PhoneController::ShowLink(int on)
{
    ports_.handsets.channel().HandsetLcd(LcdBars, static_cast<std::uint8_t>(on), on ? 6 : 0, nullptr, 0);
}

void PhoneController::ShowNumber(const char* text, std::int32_t length)
{
    ports_.handsets.channel().HandsetLcd(length > 0 ? LcdNumber : LcdClock, 1, 6, text, 1);
}

void PhoneController::ShowHandsetState()
{
    const MessengerLink& skype = ports_.skype;
    const MessengerLink& qq = ports_.qq;
    if (!skype.callRinging() && !qq.callRinging()) ports_.handsets.channel().HandsetRing(0);
    ShowLink(messengerAttached() ? 1 : 0);
    ShowDialledNumber();
    ShowCallActive(skype.callInProgress() || qq.callInProgress() ? 1 : 0);
}

void PhoneController::SetupUsbAudio()
{
    const WaveDevices& devices = ports_.waveDevices;
    const DevicePair outputs = findDevicePair(
        devices.outputCount(), [&](int id, std::string& name) { return devices.outputName(id, name); });
    const DevicePair inputs = findDevicePair(
        devices.inputCount(), [&](int id, std::string& name) { return devices.inputName(id, name); });

    if (outputs.handset) {
        ports_.skype.useHandsetOutput(outputs.handset.name, outputs.handset.id);
        ports_.qq.useHandsetOutput(outputs.handset.name, outputs.handset.id);
    }
    if (outputs.computer) {
        ports_.defaultDevices.move(SoundDirection::Playback, outputs.computer.name);
    }
    if (inputs.handset) {
        ports_.skype.useHandsetInput(inputs.handset.name);
    }
    if (inputs.computer) {
        ports_.defaultDevices.move(SoundDirection::Record, inputs.computer.name);
    }
}

bool PhoneController::messengerAttached() const
{
    return ports_.skype.isAttached() || ports_.qq.isAttached();
}

void PhoneController::OnSoundDevicesChanged()
{
    if (presence_ == 0 && messengerAttached()) SetupUsbAudio();
}

void PhoneController::appendDialled(char c)
{
    dialled_.append(c);
    ShowDialledNumber();
}

void PhoneController::removeLastDialled()
{
    dialled_.removeLast();
    ShowDialledNumber();
}

void PhoneController::clearDialled()
{
    dialled_.clear();
    ShowDialledNumber();
}

void PhoneController::showPstnNumber(std::string_view number)
{
    dialled_.assign(number);
    ShowDialledNumber();
}

}  // namespace tarnix
