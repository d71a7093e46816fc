#include "ui/about_dialog.h"

#include "ui/framework/control_id.h"
#include "ui/framework/language_texts.h"
#include "ui/program_icons.h"
#include "ui/program_version.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarnix {
namespace {

constexpr int kIconSize = 48;

void buildAbout(QDialog& dialog)
{
    auto* icon = new QLabel(&dialog);
    icon->setPixmap(windowIcon().pixmap(kIconSize, kIconSize));
    auto* name = new QLabel(QStringLiteral("Tarnix USB Phone Driver"), &dialog);
    auto* version = new QLabel(QStringLiteral("Version %1").arg(QLatin1String(kProgramVersion)), &dialog);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    setControlId(*ok, IDOK);
    ok->setDefault(true);

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(version);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(top);
    layout->addWidget(ok, 0, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace

void AboutDialog::Open(QWidget* owner)
{
    if (SetForegroundWindow()) return;
    owner_ = owner;
    DoModal(buildAbout, owner);
}

void AboutDialog::ApplyLanguage()
{
    Dialog::ApplyLanguage();
    QWidget* dialog = Handle();
    if (dialog == nullptr) return;
    const std::optional<QString> title = Texts() ? Texts()->text(kTextTitle) : std::nullopt;
    dialog->setWindowTitle(title.value_or(QString::fromStdU16String(kDefaultTitle)));
}

bool AboutDialog::OnInitDialog(QWidget* focus, LPARAM param)
{
    const bool result = Dialog::OnInitDialog(focus, param);
    Handle()->setWindowIcon(windowIcon());
    Handle()->adjustSize();
    CenterWindow(owner_);
    SetForegroundWindow();
    return result;
}

LRESULT AboutDialog::OnCommand(WPARAM wparam, QWidget*)
{
    const unsigned id = LOWORD(wparam);
    if (id == IDOK || id == IDCANCEL) EndDialog(static_cast<int>(id));
    return 0;
}

}  // namespace tarnix
