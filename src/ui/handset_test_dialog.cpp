#include "ui/handset_test_dialog.h"

#include "app/phone_controller.h"
#include "audio/device_lookup.h"
#include "audio/wave_resources.h"
#include "config/program_environment.h"
#include "device/error_reporter.h"
#include "device/handset_channel.h"
#include "device/handset_codes.h"
#include "ui/framework/control_id.h"
#include "ui/handset_test_layout.h"
#include "ui/ui_log.h"

#include <QComboBox>
#include <QDialog>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextCursor>

#include <filesystem>
#include <system_error>

namespace tarnix {
namespace {

constexpr const char* kErrorCaption = "Error";

const char* errorText(int code)
{
    switch (code) {
        case HandsetErrorInvalidParameter:
            return "Invalid Parameter";
        case HandsetErrorUnsupported:
            return "The USB phone doesn't support this function";
        case HandsetErrorBusy:
            return "Can't do this operator at this moment";
        default:
            return "";
    }
}

QString keyLabel(int code)
{
    if (code >= Key0 && code <= Key9) return QString(QChar(u'0' + code));
    switch (code) {
        case KeyStar:
            return QStringLiteral("*");
        case KeyHash:
            return QStringLiteral("#");
        case KeyNo:
            return QStringLiteral("[C]");
        case KeyUp:
            return QStringLiteral("[上]");
        case KeyYes:
            return QStringLiteral("[OK]");
        case KeyDown:
            return QStringLiteral("[下]");
        case HookOn:
            return QStringLiteral("[Hook On]");
        case HookOff:
            return QStringLiteral("[Hook Off]");
        case KeyMute:
            return QStringLiteral("[MUTE]");
        case KeyDelete:
            return QStringLiteral("[Delete]");
        default:
            return {};
    }
}

// The character a dialling key adds to the echo; 0 for the other events.
char echoCharacter(int code)
{
    if (code >= Key0 && code <= Key9) return static_cast<char>('0' + code);
    if (code == KeyStar) return '*';
    if (code == KeyHash) return '#';
    return 0;
}

}  // namespace

HandsetTestDialog::HandsetTestDialog(EventLoop& loop, const Parts& parts)
    : Dialog(loop),
      parts_(parts),
      keySound_(parts.waveDevices),
      testSound_(parts.waveDevices),
      loopback_(parts.waveDevices, [this](int level) {
          PostToDialog([this, level] {
              if (levelMeter_ && looping()) levelMeter_->setValue(level);
          });
      })
{
}

// The window goes first, so OnDestroy lets the handset go and stops the sound.
HandsetTestDialog::~HandsetTestDialog()
{
    if (Handle() != nullptr) DestroyWindow();
}

void HandsetTestDialog::Open(QWidget* owner)
{
    if (SetForegroundWindow()) return;
    owner_ = owner;
    DoModal(buildHandsetTest, owner);
}

bool HandsetTestDialog::OnInitDialog(QWidget* focus, LPARAM param)
{
    const bool result = Dialog::OnInitDialog(focus, param);
    HandsetChannel& channel = parts_.channel;
    SetDisplayText(parts_.controller.presence() == 0 ? QStringLiteral("USB Phone Found")
                                                     : QStringLiteral("USB Phone NOT Found"));
    if (channel.HandsetProperty(PropLcd) == 0) EnableDlgItem(kTestLcd, false);
    if (channel.HandsetProperty(PropMelodyFixed) == 1) EnableDlgItem(kSelectSong, false);
    if (channel.HandsetProperty(PropLight) == 0) {
        EnableDlgItem(kLightOn, false);
        EnableDlgItem(kLightOff, false);
    }
    levelMeter_ = addLevelMeter(*Handle(), kLevelMeter);
    parts_.controller.SetSubHandler(this);
    Handle()->adjustSize();
    CenterWindow(owner_);
    SetForegroundWindow();
    return result;
}

LRESULT HandsetTestDialog::OnCommand(WPARAM wparam, QWidget*)
{
    HandsetChannel& channel = parts_.channel;
    const int id = LOWORD(wparam);
    switch (id) {
        case kRingOn:
            RingOn();
            break;
        case kRingOff:
            channel.HandsetRing(0);
            break;
        case kLightOn:
            channel.HandsetLight(1);
            break;
        case kLightOff:
            channel.HandsetLight(0);
            break;
        case kSelectSong:
            SelectSong();
            break;
        case kPstn:
        case kIp:
            if (channel.HandsetProperty(PropLineSwitch) == 1) channel.HandsetSwitchLine(id == kPstn ? 1 : 0);
            break;
        case kTestLcd:
            TestLcd();
            break;
        case kPlay:
            PlayTestSound();
            break;
        case kRecord:
            ToggleLoop();
            break;
        case kExit:
            EndDialog(IDCANCEL);
            break;
        case IDOK:
        case IDCANCEL:
            EndDialog(id);
            break;
        default:
            break;
    }
    return 0;
}

void HandsetTestDialog::OnTimer(int id)
{
    if (id == kLoopTimer) {
        if (looping()) StopLoop();
        return;
    }
    Dialog::OnTimer(id);
}

// Everything that runs for the dialog ends before its controls go, and the handset is left as
// the rest of the program had it.
void HandsetTestDialog::OnDestroy()
{
    parts_.controller.SetSubHandler(nullptr);
    KillTimer(kLoopTimer);
    loopback_.stop();
    keySound_.stopPlayback();
    testSound_.stopPlayback();
    parts_.controller.ShowHandsetState();
    levelMeter_ = nullptr;
    Dialog::OnDestroy();
}

int HandsetTestDialog::level() const
{
    return levelMeter_ ? levelMeter_->value() : -1;
}

void HandsetTestDialog::OnHandsetKey(int code)
{
    HandsetTestMemory& memory = parts_.memory;
    AppendDisplayText(keyLabel(code));
    const bool afterStar = memory.previousEvent == KeyStar;
    if (afterStar) {
        switch (code) {
            case Key0:
                parts_.channel.HandsetLight(1);
                break;
            case Key1:
                TestLcd();
                break;
            case KeyNo:
                ToggleLoop();
                break;
            case KeyUp:
                parts_.channel.HandsetRing(1);
                break;
            case KeyYes:
                PlayTestSound();
                break;
            case KeyDown:
                parts_.channel.HandsetRing(0);
                break;
            default:
                break;
        }
    }
    if (!(afterStar && (code == KeyNo || code == KeyYes))) PlayKeySound();
    if (parts_.channel.HandsetProperty(PropLcd) == 1 && !(afterStar && code == Key1)) EchoOnLcd(code);
    memory.previousEvent = code;
}

int HandsetTestDialog::OnHandsetPresence(int present, int status)
{
    if (status != 0) return status;
    SetDisplayText(present ? QStringLiteral("USB Phone Found") : QStringLiteral("USB Phone No Found"));
    return 0;
}

void HandsetTestDialog::onPlaybackFinished(SoundPlayer&)
{
    PostToDialog([this] {
        EnableDlgItem(kRecord, true);
        EnableDlgItem(kPlay, true);
    });
}

void HandsetTestDialog::EchoOnLcd(int code)
{
    HandsetTestMemory& memory = parts_.memory;
    HandsetChannel& channel = parts_.channel;
    bool numberJustShown = false;
    if (const char c = echoCharacter(code); c != 0) {
        if (memory.echo.size() < HandsetTestMemory::kEchoLimit) memory.echo.push_back(c);
    } else if (code == KeyNo) {
        if (memory.numberShown) {
            channel.HandsetLcd(LcdIcon, 0, 0, nullptr, 0);
            memory.numberShown = false;
            memory.echo.clear();
        } else if (!memory.echo.empty()) {
            memory.echo.pop_back();
        }
    } else if (code == KeyYes && !memory.echo.empty()) {
        memory.numberShown = true;
        numberJustShown = true;
        channel.HandsetLcd(LcdIcon, 1, 0, nullptr, 0);
    }
    channel.HandsetLcd(LcdNumber, numberJustShown ? 1 : 0, 0, memory.echo.c_str(), 0);
}

void HandsetTestDialog::RingOn()
{
    if (parts_.channel.HandsetRing(1) == -1) ShowHandsetError();
}

void HandsetTestDialog::SelectSong()
{
    auto* list = qobject_cast<QComboBox*>(GetDlgItem(kMelodyList));
    const int index = list != nullptr ? list->currentIndex() : -1;
    if (parts_.channel.HandsetSelectMelody(index + 1) == -1) ShowHandsetError();
}

void HandsetTestDialog::TestLcd()
{
    if (parts_.channel.HandsetProperty(PropLcd) == 1) parts_.channel.HandsetLcd(LcdAllOn, 0, 0, nullptr, 0);
}

void HandsetTestDialog::ShowHandsetError()
{
    parts_.errors.showError(kErrorCaption, errorText(parts_.channel.HandsetLastError()));
}

// One test sound at a time, and none while the loop runs: Play is disabled meanwhile.
void HandsetTestDialog::PlayTestSound()
{
    if (!IsDlgItemEnabled(kPlay)) return;
    EnableDlgItem(kRecord, false);
    EnableDlgItem(kPlay, false);
    testSound_.setDeviceId(-1);
    const std::string path = FindSoundFile(kTestSound);
    if (path.empty() || testSound_.loadWavFile(path) == 0) {
        EnableDlgItem(kRecord, true);
        EnableDlgItem(kPlay, true);
        return;
    }
    testSound_.play(this, false);
}

void HandsetTestDialog::PlayKeySound()
{
    keySound_.setDeviceId(-1);
    const std::string path = FindSoundFile(kKeySound);
    if (path.empty() || keySound_.loadWavFile(path) == 0) {
        if (keySound_.loadWavResource(ClickToneResource) == 0) return;
    }
    keySound_.play(nullptr, false);
}

// Record is disabled while the test sound plays.
void HandsetTestDialog::ToggleLoop()
{
    if (looping()) {
        StopLoop();
    } else if (IsDlgItemEnabled(kRecord)) {
        StartLoop();
    }
}

void HandsetTestDialog::StartLoop()
{
    if (auto* record = qobject_cast<QPushButton*>(GetDlgItem(kRecord)))
        record->setText(QStringLiteral("录音中"));
    EnableDlgItem(kPlay, false);
    const int output = findHandsetOutput(parts_.waveDevices);
    const int input = findHandsetInput(parts_.waveDevices);
    SetTimer(kLoopTimer, kLoopMs);
    loopback_.start(output, input);
}

void HandsetTestDialog::StopLoop()
{
    if (auto* record = qobject_cast<QPushButton*>(GetDlgItem(kRecord)))
        record->setText(QStringLiteral("录音"));
    EnableDlgItem(kPlay, true);
    loopback_.stop();
    KillTimer(kLoopTimer);
    if (levelMeter_) levelMeter_->setValue(0);
}

void HandsetTestDialog::SetDisplayText(const QString& text)
{
    qCDebug(lcUi, "the test dialog shows %s", qUtf8Printable(text));
    if (auto* display = qobject_cast<QPlainTextEdit*>(GetDlgItem(kDisplay))) display->setPlainText(text);
}

void HandsetTestDialog::AppendDisplayText(const QString& text)
{
    auto* display = qobject_cast<QPlainTextEdit*>(GetDlgItem(kDisplay));
    if (display == nullptr || text.isEmpty()) return;
    qCDebug(lcUi, "the test dialog adds %s", qUtf8Printable(text));
    display->moveCursor(QTextCursor::End);
    display->insertPlainText(text);
}

std::string HandsetTestDialog::FindSoundFile(const char* name) const
{
    std::error_code error;
    const std::string candidates[] = {name, parts_.environment.programFolder() + name};
    for (const std::string& path : candidates) {
        if (std::filesystem::is_regular_file(path, error)) return path;
    }
    return {};
}

void HandsetTestDialog::PostToDialog(std::function<void()> task)
{
    Loop().post([alive = std::weak_ptr<HandsetTestDialog*>(self_), task = std::move(task)] {
        if (alive.lock()) task();
    });
}

}  // namespace tarnix
