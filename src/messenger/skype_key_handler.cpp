#include "messenger/skype_key_handler.h"

#include "app/phone_controller.h"
#include "device/handset_codes.h"
#include "messenger/main_window_port.h"
#include "messenger/messenger_log.h"
#include "messenger/skype_client.h"
#include "messenger/skype_windows.h"
#include "messenger/volume_panel.h"

#include <string>

namespace tarnix {
namespace {

// The key tone of a dialling character, -1 for any other.
int keyToneIndex(char key)
{
    if (key >= '0' && key <= '9') return key - '0';
    if (key == '*') return 10;
    if (key == '#') return 11;
    return -1;
}

}  // namespace

void SkypeKeyHandler::onKey(int code)
{
    if (code >= Key0 && code <= Key9) {
        const char digit = static_cast<char>('0' + code);
        focus();
        pressKey(digit);
        appendDial(digit);
        return;
    }
    // clang-format off
    switch (code) {
        case KeyStar: onStar(); break;
        case KeyHash: onHash(); break;
        case KeyNo: onNo(); break;
        case KeyUp: onUpDown(true); break;
        case KeyDown: onUpDown(false); break;
        case KeyYes: onYes(); break;
        case HookOn: onHookOn(); break;
        case HookOff: onHookOff(); break;
        case KeyMute: onMute(); break;
        case KeyDelete: onDelete(); break;
        default: break;
    }
    // clang-format on
}

void SkypeKeyHandler::pressButton(std::string_view name)
{
    SkypeClient& client = ports_.client;
    const std::string button(name);
    client.sendNarrow("BTN_PRESSED " + button);
    client.holdCommands(kButtonHoldMs);
    client.sendNarrow("BTN_RELEASED " + button);
    const int tone = name.empty() ? -1 : keyToneIndex(name.front());
    if (tone < 0) return;
    if (!client.inCall()) {
        ports_.tones.playKey(tone);
        return;
    }
    // A call that only rings takes no tones.
    if (const std::int32_t id = client.calls().firstInProgressId(); id != 0) {
        client.sendNarrow("SET CALL " + std::to_string(id) + " DTMF " + name.front());
    }
}

void SkypeKeyHandler::appendDial(char key)
{
    ports_.controller.appendDialled(key);
}

void SkypeKeyHandler::onStar()
{
    if (ports_.client.inCall()) {
        focus();
        pressKey('*');
        appendDial('*');
        return;
    }
    click();
    focus();
    pressButton("SKYPE");
}

void SkypeKeyHandler::onHash()
{
    focus();
    if (ports_.client.inCall()) {
        pressKey('#');
        appendDial('#');
        return;
    }
    click();
    pressKey('+');
    appendDial('+');
}

void SkypeKeyHandler::onNo()
{
    click();
    pressButton("NO");
    ports_.controller.clearDialled();
    SkypeWindows& windows = ports_.windows;
    windows.clearEntryBox();
    const WindowId main = windows.findMainWindow();
    const WindowId popup = windows.findPopup();
    if (popup != 0 && popup != main) {
        windows.closeWindow(popup);
    } else if (windows.isOnScreen(main)) {
        windows.closeWindow(main);
    } else {
        // Nothing of the messenger's left to close: the next keys go to the other client first.
        qCInfo(lcMessenger, "handset handed over to the other messenger");
        ports_.controller.preferQq();
    }
}

void SkypeKeyHandler::onUpDown(bool up)
{
    if (ports_.client.calls().firstInProgressId() != 0) {
        ports_.volume.ShowPopup();
        if (up) {
            ports_.volume.VolumeUp();
        } else {
            ports_.volume.VolumeDown();
        }
        return;
    }
    click();
    focus();
    ports_.windows.tabFromEntryBox();
    pressButton(up ? "UP" : "DOWN");
}

void SkypeKeyHandler::onYes()
{
    click();
    if (ports_.client.userTakesCall()) return;
    CallTable& calls = ports_.client.calls();
    if (calls.incomingRingingIdle()) {
        if (const std::int32_t id = calls.firstRingingId(); id != 0) ports_.client.answer(id);
        return;
    }
    SkypeWindows& windows = ports_.windows;
    const WindowId main = windows.findMainWindow();
    const WindowId popup = main == 0 ? 0 : windows.findPopup();
    if (popup != 0 && popup != main) {
        windows.closeWindow(popup);
        return;
    }
    focus();
    if (windows.isOnScreen(main)) pressButton("YES");
}

void SkypeKeyHandler::onHookOn()
{
    PhoneController& controller = ports_.controller;
    const std::int32_t was = controller.hookState();
    if (was == 1) return;
    controller.setHookState(1);
    // The first hook event after start only tells where the handset is.
    if (was == -1) return;
    ports_.client.sendCommand("HOOK ON");
    SkypeWindows& windows = ports_.windows;
    const WindowId main = windows.findMainWindow();
    const WindowId popup = windows.findPopup();
    if (popup != 0 && popup != main) windows.closeWindow(popup);
    ports_.controller.clearDialled();
    windows.clearEntryBox();
    windows.closeWindow(windows.findMainWindow());
}

void SkypeKeyHandler::onHookOff()
{
    PhoneController& controller = ports_.controller;
    const std::int32_t was = controller.hookState();
    if (was == 0) return;
    controller.setHookState(0);
    if (was == -1) return;
    ports_.client.userTakesCall();
    focus();
    ports_.client.sendCommand("HOOK OFF");
}

void SkypeKeyHandler::onMute()
{
    SkypeClient& client = ports_.client;
    if (!client.inCall()) {
        ports_.mainWindow.SetHandsetLightMode(LightOff);
        return;
    }
    if (client.muteState() == SkypeClient::Muted) {
        client.sendCommand("SET MUTE OFF");
    } else if (client.muteState() == SkypeClient::NotMuted) {
        // The messenger takes this one in this very letter case.
        client.sendCommand("Set MUTE ON");
    } else {
        return;
    }
    click();
    // The answer sets the mute state and the light.
    client.sendCommand("GET MUTE");
}

void SkypeKeyHandler::onDelete()
{
    click();
    ports_.windows.backspaceEntryBox();
    ports_.controller.removeLastDialled();
}

void SkypeKeyHandler::click()
{
    ports_.tones.play(kClickTone);
}

void SkypeKeyHandler::focus()
{
    ports_.client.sendCommand("FOCUS");
}

}  // namespace tarnix
