#include "ui/main_window.h"

#include "answering/command_sender.h"
#include "app/messenger_link.h"
#include "config/config_file.h"
#include "config/locale_table.h"
#include "config/message_record.h"
#include "config/program_environment.h"
#include "config/settings.h"
#include "device/handset_codes.h"
#include "device/handset_service.h"
#include "ui/dialog_launcher.h"
#include "ui/framework/control_id.h"
#include "ui/handset_light_blinker.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/message_files.h"
#include "ui/message_list.h"
#include "ui/message_playback.h"
#include "ui/program_icons.h"
#include "ui/program_version.h"
#include "ui/tray_icon.h"
#include "ui/ui_log.h"
#include "ui/update_page.h"
#include "ui/user_handle.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <set>

namespace tarnix {
namespace {

constexpr int kInitialWidth = 560;
constexpr int kListFrame = 24;
constexpr int kExternalCommands[] = {MenuCommand::TestHandset, MenuCommand::ToggleVoiceAnswering,
                                     MenuCommand::ToggleTextAnswering, MenuCommand::ShowMainWindow};

// Ends every modal dialog that is open, innermost first: framework dialogs as their Cancel does,
// others (message boxes) with Rejected.
void endModalDialogs()
{
    std::set<QWidget*> ended;
    while (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        if (!ended.insert(dialog).second) break;
        if (auto* framework = dynamic_cast<Dialog*>(Window::FromHandle(dialog))) {
            framework->EndDialog(IDCANCEL);
        } else {
            dialog->done(QDialog::Rejected);
        }
    }
}

}  // namespace

MainWindow::MainWindow(EventLoop& loop, const Parts& parts)
    : Dialog(loop), parts_(parts), texts_(parts.locale), about_(loop)
{
    SetLanguageTexts(&texts_);
    about_.SetLanguageTexts(&texts_);
}

// A window still there goes with the base, quietly: only Exit and the session's end save and quit.
MainWindow::~MainWindow() = default;

bool MainWindow::CreateMainWindow()
{
    const auto build = [this](QDialog& dialog) {
        dialog.setMinimumSize(kMinimumWidth, kMinimumHeight);
        dialog.resize(kInitialWidth, kMinimumHeight);
        auto* layout = new QVBoxLayout(&dialog);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->setMenuBar(buildMenuBar(*this).release());
        layout->addWidget(new QToolBar(&dialog));
        layout->addWidget(new QTreeWidget(&dialog), 1);
        auto* status = new QStatusBar(&dialog);
        setControlId(*status, kStatusBarId);
        status->setSizeGripEnabled(true);
        layout->addWidget(status);
    };
    if (!CreateModeless(build, nullptr)) {
        qCWarning(lcUi, "the main window could not be made");
        return false;
    }
    lightBlinker_ = std::make_unique<HandsetLightBlinker>(Loop(), parts_.handsets.channel());
    return true;
}

void MainWindow::ShowConnectionStatus(int connected, int online)
{
    if (statusParts_[0] == nullptr) return;
    statusParts_[0]->setText(
        QString::fromLatin1(connected ? "Connected with Skype" : "Disconnected with Skype"));
    statusParts_[1]->setText(QString::fromLatin1(online ? "Skype is online" : "Skype is offline"));
}

QString MainWindow::statusText(int part) const
{
    const QLabel* label = part == 0 || part == 1 ? statusParts_[part] : nullptr;
    return label ? label->text() : QString();
}

void MainWindow::SetHandsetLightMode(int mode)
{
    if (lightBlinker_) lightBlinker_->SetHandsetLightMode(mode);
}

void MainWindow::AddRecordItem(int index, const MessageRecord& record)
{
    if (!list_) {
        qCInfo(lcUi, "message %d from %s arrived without a window", index, record.userName.c_str());
        return;
    }
    list_->AddRecordItem(index, record);
}

void MainWindow::BringToFront()
{
    QWidget* window = Handle();
    if (window == nullptr) return;
    window->show();
    window->raise();
    window->activateWindow();
}

bool MainWindow::acceptCommand(int id)
{
    for (int external : kExternalCommands) {
        if (id == external) return PostMessage(WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(id), 0), 0);
    }
    return false;
}

void MainWindow::EndSession()
{
    CloseAndQuit();
}

void MainWindow::TrayShowReady()
{
    if (tray_) tray_->ShowIcon(TrayIconId::Ready, QString::fromLatin1(kTipReady));
}

void MainWindow::TrayShowNoHandset()
{
    if (tray_) tray_->ShowIcon(TrayIconId::NoHandset, QString::fromLatin1(kTipNoHandset));
}

void MainWindow::TrayShowNoMessenger()
{
    if (parts_.qq.isAttached()) {
        TrayShowReady();
    } else if (tray_) {
        tray_->ShowIcon(TrayIconId::NoMessenger, QString::fromLatin1(kTipNoMessenger));
    }
}

void MainWindow::ApplyLanguage()
{
    Dialog::ApplyLanguage();
    QWidget* window = Handle();
    if (window == nullptr) return;
    if (auto* bar = window->findChild<QMenuBar*>()) {
        const auto menus = bar->actions();
        if (menus.size() > 1) {
            menus[0]->setText(Text(kTextFileMenu, u"&File"));
            menus[1]->setText(Text(kTextHelpMenu, u"&Help"));
        }
    }
    window->setWindowTitle(Text(kTextTitle, kDefaultTitle));
    window->update();
}

bool MainWindow::OnInitDialog(QWidget* focus, LPARAM param)
{
    // The language file first: config.xml names the language to switch to.
    const std::string folder = parts_.environment.localeFolder();
    if (!parts_.locale.LoadLocale(folder)) qCInfo(lcUi, "no language file in %s", folder.c_str());
    parts_.config.LoadSettings();
    const bool result = Dialog::OnInitDialog(focus, param);
    QWidget& window = *Handle();
    window.setWindowIcon(windowIcon());
    list_ = std::make_unique<MessageList>(*window.findChild<QTreeWidget*>());
    auto* bar = window.findChild<QToolBar*>();
    toolbar_ = std::make_unique<MainToolbar>(*bar, *this);
    SetVoiceAnswering(parts_.settings.voiceAnsweringOn());
    SetTextAnswering(parts_.settings.textAnsweringOn());
    // Wide enough to show every button and column at first.
    const int columns = list_->totalColumnWidth() + kListFrame;
    window.resize(std::max({window.width(), bar->sizeHint().width(), columns}), window.height());
    auto* status = static_cast<QStatusBar*>(GetDlgItem(kStatusBarId));
    for (QLabel*& part : statusParts_) part = new QLabel(status);
    statusParts_[0]->setFixedWidth(kStatusFirstPartWidth);
    status->addWidget(statusParts_[0]);
    status->addWidget(statusParts_[1], 1);
    if (auto* bar = window.findChild<QMenuBar*>()) {
        const auto menus = bar->actions();
        for (QAction* menu : menus) {
            if (menu->menu()) WatchPopups(*menu->menu());
        }
    }
    CreateTrayIcon();
    CenterWindow();
    list_->fill(parts_.settings.records);
    return result;
}

LRESULT MainWindow::OnCommand(WPARAM wparam, QWidget*)
{
    switch (LOWORD(wparam)) {
        case MenuCommand::About:
            about_.Open(Handle());
            break;
        case MenuCommand::Exit:
            if (AskExit()) CloseAndQuit();
            break;
        case MenuCommand::Options:
            OpenOptions();
            break;
        case MenuCommand::CheckUpdate:
            CheckUpdate();
            break;
        case MenuCommand::English:
            SetLanguage(0);
            break;
        case MenuCommand::SimpleChinese:
            SetLanguage(1);
            break;
        case MenuCommand::TraditionalChinese:
            SetLanguage(2);
            break;
        case MainToolbar::kCommandMakeCall:
            SendToUser("CALL ");
            break;
        case MainToolbar::kCommandSendIm:
            SendToUser("OPEN IM ");
            break;
        case MainToolbar::kCommandDelete:
            Delete();
            break;
        case MainToolbar::kCommandPlay:
            Play();
            break;
        case MainToolbar::kCommandVoiceAnswering:
            SetVoiceAnswering(toolbar_ && toolbar_->action(MainToolbar::kCommandVoiceAnswering)->isChecked());
            Save();
            break;
        case MainToolbar::kCommandTextAnswering:
            SetTextAnswering(toolbar_ && toolbar_->action(MainToolbar::kCommandTextAnswering)->isChecked());
            Save();
            break;
        case MenuCommand::TestHandset:
            if (parts_.dialogs) {
                parts_.dialogs->runHandsetTest(Handle());
            } else {
                qCInfo(lcUi, "the handset test dialog is not part of this program yet");
            }
            break;
        case MenuCommand::ToggleVoiceAnswering:
            SetVoiceAnswering(!parts_.settings.voiceAnsweringOn());
            Save();
            break;
        case MenuCommand::ToggleTextAnswering:
            SetTextAnswering(!parts_.settings.textAnsweringOn());
            Save();
            break;
        case MenuCommand::ShowMainWindow:
            BringToFront();
            break;
        case IDCANCEL:
            // Closing the window only hides it; Exit ends the program.
            if (QWidget* window = Handle()) window->hide();
            break;
        default:
            break;
    }
    return 0;
}

void MainWindow::OnTimer(int id)
{
    if (id != kTimerPlaybackWatch) {
        Dialog::OnTimer(id);
        return;
    }
    if (!parts_.playback.isPlaying()) {
        KillTimer(kTimerPlaybackWatch);
        playingFile_.clear();
        if (toolbar_) toolbar_->setPlaying(false);
    }
}

void MainWindow::OnDestroy()
{
    Dialog::OnDestroy();
    // Their widgets go with the window.
    list_.reset();
    toolbar_.reset();
    statusParts_[0] = statusParts_[1] = nullptr;
    SaveAndQuit();
}

bool MainWindow::AskExit()
{
    // Owned here, not by the window: the session may end the program while the question is open.
    QMessageBox question(QMessageBox::Question, Text(kTextMessageCaption, u""), Text(kTextExitQuestion, u""),
                         QMessageBox::Yes | QMessageBox::No);
    return question.exec() == QMessageBox::Yes && Handle();
}

void MainWindow::CloseAndQuit()
{
    // A dialog still running would go on over a window that is gone.
    endModalDialogs();
    if (Handle()) {
        DestroyWindow();
    } else {
        SaveAndQuit();
    }
}

void MainWindow::SaveAndQuit()
{
    if (parts_.beforeSave) parts_.beforeSave();
    Save();
    // Posted, as a quit message is: the loop ends once the current event is done.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

void MainWindow::Save()
{
    if (!parts_.config.SaveSettings()) qCWarning(lcUi, "config.xml could not be saved");
}

void MainWindow::CreateTrayIcon()
{
    auto menu = buildTrayMenu(*this);
    WatchPopups(*menu);
    const int icon =
        parts_.handsets.channel().HandsetPresent() ? TrayIconId::NoMessenger : TrayIconId::NoHandset;
    tray_ = std::make_unique<TrayIcon>(*this, std::move(menu), icon, QString());
}

void MainWindow::WatchPopups(QMenu& menu)
{
    QObject::connect(&menu, &QMenu::aboutToShow, &menu, [this, &menu] {
        HandsetChannel& handset = parts_.handsets.channel();
        const bool ringSettings = handset.HandsetPresent() && handset.HandsetProperty(PropRingSettings) > 0;
        PreparePopup(menu, {parts_.locale.language(), ringSettings}, &texts_);
    });
    const auto actions = menu.actions();
    for (QAction* action : actions) {
        if (action->menu()) WatchPopups(*action->menu());
    }
}

void MainWindow::Refresh()
{
    SetVoiceAnswering(parts_.settings.voiceAnsweringOn());
    SetTextAnswering(parts_.settings.textAnsweringOn());
    ApplyLanguage();
}

void MainWindow::SetVoiceAnswering(bool on)
{
    parts_.settings.setVoiceAnswering(on);
    if (toolbar_) toolbar_->setVoiceAnswering(on);
}

void MainWindow::SetTextAnswering(bool on)
{
    parts_.settings.setTextAnswering(on);
    if (toolbar_) toolbar_->setTextAnswering(on);
}

int MainWindow::SelectedRowOrAsk()
{
    const int row = list_ ? list_->selectedRow() : -1;
    if (row < 0) {
        QMessageBox box(QMessageBox::Question, Text(kTextMessageCaption, u""), Text(kTextNoSelection, u""),
                        QMessageBox::Ok);
        box.exec();
    }
    return row;
}

void MainWindow::Play()
{
    if (parts_.playback.isPlaying()) {
        StopPlayback();
        return;
    }
    const int row = SelectedRowOrAsk();
    RecordList& records = parts_.settings.records;
    if (row < 0 || static_cast<std::size_t>(row) >= records.size() || !list_) return;
    MessageRecord& record = records[static_cast<std::size_t>(row)];
    const std::string file(record.fileName.view());
    if (parts_.playback.startMessage(file)) {
        playingFile_ = file;
        toolbar_->setPlaying(true);
        SetTimer(kTimerPlaybackWatch, kPlaybackWatchMs);
    }
    // By position: two records may name the same file, and on this system names differ by case.
    list_->markPlayed(row);
    if (record.newFlag) {
        record.newFlag = false;
        Save();
    }
}

void MainWindow::StopPlayback()
{
    parts_.playback.stopMessage();
    KillTimer(kTimerPlaybackWatch);
    playingFile_.clear();
    if (toolbar_) toolbar_->setPlaying(false);
}

void MainWindow::Delete()
{
    const int row = SelectedRowOrAsk();
    if (row < 0 || !list_) return;
    list_->removeRow(row);
    RecordList& records = parts_.settings.records;
    const auto at = static_cast<std::size_t>(row);
    if (at >= records.size()) return;
    const std::string file(records[at].fileName.view());
    if (!playingFile_.empty() && playingFile_ == file) StopPlayback();
    const std::string folder = parts_.environment.messagesFolder();
    if (mayDeleteMessageFile(records, at, folder)) {
        std::error_code error;
        if (!std::filesystem::remove(file, error)) {
            qCInfo(lcUi, "the message file %s could not be removed: %s", file.c_str(),
                   error.message().c_str());
        }
    } else {
        qCInfo(lcUi,
               "the record of %s goes; the file stays (outside %s, not an .mp3, or named by another record)",
               file.c_str(), folder.c_str());
    }
    records.erase(records.begin() + row);
    Save();
}

void MainWindow::SendToUser(const char* command)
{
    const int row = SelectedRowOrAsk();
    if (row < 0) return;
    const Utf8String& user = list_->record(row).userName;
    if (user.isEmpty()) return;
    if (!isSingleHandle(user.view())) {
        qCWarning(lcUi, "refused to send \"%s\" to \"%s\": not one handle", command, user.c_str());
        return;
    }
    parts_.skype.sendCommand((std::string(command) + std::string(user.view())).c_str());
}

void MainWindow::SetLanguage(int language)
{
    parts_.config.SetLanguage(language);
    Save();
    Refresh();
}

void MainWindow::OpenOptions()
{
    if (parts_.dialogs == nullptr) {
        qCInfo(lcUi, "the options dialog is not part of this program yet");
        return;
    }
    const auto saveAndRefresh = [this] {
        Save();
        Refresh();
    };
    // The program may have ended while the dialog ran: then there is no window to refresh.
    if (!parts_.dialogs->runOptions(Handle(), saveAndRefresh) || !Handle()) return;
    saveAndRefresh();
}

void MainWindow::CheckUpdate()
{
    QDesktopServices::openUrl(
        updatePageUrl(QStringLiteral(TARNIX_UPDATE_HOST), QLatin1String(kProgramVersion)));
}

QString MainWindow::Text(int id, std::u16string_view defaultText) const
{
    return texts_.text(id, defaultText);
}

}  // namespace tarnix
