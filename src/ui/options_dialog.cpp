#include "ui/options_dialog.h"

#include "ui/framework/control_id.h"
#include "ui/program_icons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tarnix {
namespace {

void buildOptions(QDialog& dialog)
{
    auto* tabs = new QTabWidget(&dialog);
    setControlId(*tabs, OptionsDialog::kTabControlId);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const struct {
        int id;
        const char* text;
    } specs[] = {{OptionsDialog::kOkId, "OK"},
                 {OptionsDialog::kCancelId, "Cancel"},
                 {OptionsDialog::kApplyId, "Apply"}};
    for (const auto& spec : specs) {
        auto* button = new QPushButton(QString::fromLatin1(spec.text), &dialog);
        setControlId(*button, spec.id);
        button->setAutoDefault(false);
        button->setDefault(spec.id == OptionsDialog::kOkId);
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(tabs);
    layout->addLayout(buttons);
    // The dialog takes the size of its largest page, as the tab control's display area does.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace

OptionsDialog::OptionsDialog(EventLoop& loop, PageMaker makePages)
    : Dialog(loop), makePages_(std::move(makePages))
{
}

int OptionsDialog::Open(QWidget* owner, std::function<void()> refresh)
{
    if (SetForegroundWindow()) return IDOK;
    owner_ = owner;
    refresh_ = std::move(refresh);
    const int result = DoModal(buildOptions, owner);
    // The pages' windows went with the dialog's.
    pages_.clear();
    refresh_ = nullptr;
    return result;
}

OptionsPage* OptionsDialog::PageAt(int index) const
{
    if (index < 0 || index >= PageCount()) return nullptr;
    return pages_[static_cast<std::size_t>(index)].get();
}

void OptionsDialog::ApplyLanguage()
{
    Dialog::ApplyLanguage();
    QWidget* dialog = Handle();
    if (dialog == nullptr) return;
    if (QTabWidget* tabs = Tabs()) {
        for (int i = 0; i < tabs->count(); ++i) {
            const OptionsPage* page = PageAt(i);
            if (page) tabs->setTabText(i, languageText(Texts(), page->TabTextId(), page->DefaultTabText()));
        }
    }
    dialog->setWindowTitle(languageText(Texts(), kTextTitle, kDefaultTitle));
}

bool OptionsDialog::OnInitDialog(QWidget* focus, LPARAM param)
{
    CreatePages();
    const bool result = Dialog::OnInitDialog(focus, param);
    Handle()->setWindowIcon(windowIcon());
    FitAndShowPages();
    CenterWindow(owner_);
    SetForegroundWindow();
    return result;
}

LRESULT OptionsDialog::OnCommand(WPARAM wparam, QWidget*)
{
    switch (LOWORD(wparam)) {
        case kOkId:
        case IDOK:
            ApplyPages();
            EndDialog(IDOK);
            break;
        case kCancelId:
        case IDCANCEL:
            EndDialog(IDCANCEL);
            break;
        case kApplyId:
            ApplyPages();
            if (refresh_) refresh_();
            ApplyLanguage();
            if (QWidget* dialog = Handle()) dialog->update();
            break;
        default:
            break;
    }
    return 0;
}

void OptionsDialog::CreatePages()
{
    pages_ = makePages_ ? makePages_() : Pages{};
    QTabWidget* tabs = Tabs();
    for (auto it = pages_.begin(); it != pages_.end();) {
        OptionsPage& page = **it;
        page.SetLanguageTexts(Texts());
        if (!page.CreatePage(Handle())) {
            it = pages_.erase(it);
            continue;
        }
        tabs->addTab(page.Handle(), languageText(Texts(), page.TabTextId(), page.DefaultTabText()));
        ++it;
    }
}

void OptionsDialog::FitAndShowPages()
{
    QTabWidget* tabs = Tabs();
    // Each page at its own best size; the tab control's display area takes the largest.
    for (const auto& page : pages_) page->Handle()->adjustSize();
    tabs->setCurrentIndex(0);
    Handle()->adjustSize();
}

void OptionsDialog::ApplyPages()
{
    for (const auto& page : pages_) page->ApplyPage();
}

QTabWidget* OptionsDialog::Tabs() const
{
    return qobject_cast<QTabWidget*>(GetDlgItem(kTabControlId));
}

}  // namespace tarnix
