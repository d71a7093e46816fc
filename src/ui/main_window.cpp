#include "ui/main_window.h"

#include "app/messenger_link.h"
#include "config/config_file.h"
#include "config/locale_table.h"
#include "config/message_record.h"
#include "config/program_environment.h"
#include "device/handset_service.h"
#include "ui/framework/control_id.h"
#include "ui/handset_light_blinker.h"
#include "ui/tray_icon.h"
#include "ui/ui_log.h"

#include <QCoreApplication>
#include <QDialog>
#include <QMenu>
#include <QMessageBox>

namespace tarnix {
namespace {

void buildMainWindow(QDialog& dialog)
{
    dialog.setMinimumSize(MainWindow::kMinimumWidth, MainWindow::kMinimumHeight);
    dialog.resize(560, MainWindow::kMinimumHeight);
}

}  // namespace

MainWindow::MainWindow(EventLoop& loop, const Parts& parts) : Dialog(loop), parts_(parts) {}

// A window still there goes with the base, quietly: only Exit and the session's end save and quit.
MainWindow::~MainWindow() = default;

bool MainWindow::CreateMainWindow()
{
    if (!CreateModeless(buildMainWindow, nullptr)) {
        qCWarning(lcUi, "the main window could not be made");
        return false;
    }
    lightBlinker_ = std::make_unique<HandsetLightBlinker>(Loop(), parts_.handsets.channel());
    return true;
}

void MainWindow::ShowConnectionStatus(int connected, int online)
{
    qCInfo(lcUi, "%s; %s", connected ? "Connected with Skype" : "Disconnected with Skype",
           online ? "Skype is online" : "Skype is offline");
}

void MainWindow::SetHandsetLightMode(int mode)
{
    if (lightBlinker_) lightBlinker_->SetHandsetLightMode(mode);
}

void MainWindow::AddRecordItem(int index, const MessageRecord& record)
{
    qCInfo(lcUi, "message %d from %s: %s", index, record.userName.c_str(), record.fileName.c_str());
}

void MainWindow::BringToFront()
{
    QWidget* window = Handle();
    if (window == nullptr) return;
    window->show();
    window->raise();
    window->activateWindow();
}

void MainWindow::EndSession()
{
    if (Handle()) {
        DestroyWindow();
    } else {
        SaveAndQuit();
    }
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
    if (QWidget* window = Handle()) window->setWindowTitle(Text(kTextTitle, kDefaultTitle));
}

bool MainWindow::OnInitDialog(QWidget* focus, LPARAM param)
{
    // The language file first: config.xml names the language to switch to.
    const std::string folder = parts_.environment.localeFolder();
    if (!parts_.locale.LoadLocale(folder)) qCInfo(lcUi, "no language file in %s", folder.c_str());
    parts_.config.LoadSettings();
    const bool result = Dialog::OnInitDialog(focus, param);
    CreateTrayIcon();
    CenterWindow();
    return result;
}

LRESULT MainWindow::OnCommand(WPARAM wparam, QWidget*)
{
    switch (LOWORD(wparam)) {
        case kCommandExit:
            if (AskExit()) DestroyWindow();
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

void MainWindow::OnDestroy()
{
    Dialog::OnDestroy();
    SaveAndQuit();
}

bool MainWindow::AskExit()
{
    // Owned here, not by the window: the session may end the program while the question is open.
    QMessageBox question(QMessageBox::Question, Text(kTextMessageCaption, u""), Text(kTextExitQuestion, u""),
                         QMessageBox::Yes | QMessageBox::No);
    return question.exec() == QMessageBox::Yes && Handle();
}

void MainWindow::SaveAndQuit()
{
    if (parts_.beforeSave) parts_.beforeSave();
    if (!parts_.config.SaveSettings()) qCWarning(lcUi, "config.xml could not be saved");
    // Posted, as a quit message is: the loop ends once the current event is done.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

void MainWindow::CreateTrayIcon()
{
    auto menu = std::make_unique<QMenu>();
    QAction* exit = menu->addAction(QStringLiteral("E&xit"));
    BindCommand(*exit, kCommandExit);
    // Each item shows the language file's text for its id, in the language of the moment.
    QMenu& shown = *menu;
    QObject::connect(&shown, &QMenu::aboutToShow, &shown, [this, &shown] {
        const auto actions = shown.actions();
        for (QAction* action : actions) {
            if (const int id = controlId(*action)) action->setText(Text(id, action->text().toStdU16String()));
        }
    });
    const int icon =
        parts_.handsets.channel().HandsetPresent() ? TrayIconId::NoMessenger : TrayIconId::NoHandset;
    tray_ = std::make_unique<TrayIcon>(*this, std::move(menu), icon, QString());
}

QString MainWindow::Text(int id, std::u16string_view defaultText) const
{
    return QString::fromStdU16String(parts_.locale.LocaleText(id, defaultText));
}

}  // namespace tarnix
