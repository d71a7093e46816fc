#include "ui/answering_page.h"

#include "answering/voice_answerer.h"
#include "config/settings.h"
#include "ui/framework/control_id.h"

#include <QCheckBox>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tarnix {
namespace {

using Page = AnsweringPage;

constexpr int kEditWidth = 320;

template <typename Control>
Control* withId(int id, Control* control)
{
    setControlId(*control, id);
    return control;
}

QSpinBox* spin(QWidget& parent, int id, int minimum, int maximum)
{
    auto* box = withId(id, new QSpinBox(&parent));
    box->setRange(minimum, maximum);
    return box;
}

QLineEdit* edit(QWidget& parent, int id)
{
    auto* line = withId(id, new QLineEdit(&parent));
    // Room for a path or a sentence, whatever the language of the labels.
    line->setMinimumWidth(kEditWidth);
    return line;
}

QLabel* label(QWidget& parent, int id, const char* text)
{
    return withId(id, new QLabel(QString::fromLatin1(text), &parent));
}

QCheckBox* check(QWidget& parent, int id, const char* text)
{
    return withId(id, new QCheckBox(QString::fromLatin1(text), &parent));
}

void buildAnsweringPage(QDialog& page)
{
    auto* group = withId(Page::kGroupId, new QGroupBox(QStringLiteral("Answering machine"), &page));
    auto* grid = new QGridLayout(group);
    int row = 0;
    grid->addWidget(check(*group, Page::kVoiceId, "Answer calls nobody takes"), row++, 0, 1, 3);
    grid->addWidget(check(*group, Page::kOnlineId, "When I am online, answer after"), row, 0);
    grid->addWidget(spin(*group, Page::kOnlineSecsId, 0, VoiceAnswerer::kLongestDelaySecs), row, 1);
    grid->addWidget(label(*group, Page::kOnlineSecsUnitId, "seconds"), row++, 2);
    grid->addWidget(check(*group, Page::kOfflineId, "When I am not online, answer after"), row, 0);
    grid->addWidget(spin(*group, Page::kOfflineSecsId, 0, VoiceAnswerer::kLongestDelaySecs), row, 1);
    grid->addWidget(label(*group, Page::kOfflineSecsUnitId, "seconds"), row++, 2);
    grid->addWidget(label(*group, Page::kMaxTimeLabelId, "Longest message:"), row, 0);
    grid->addWidget(spin(*group, Page::kMaxTimeId, 1, VoiceAnswerer::kLongestMaxMinutes), row, 1);
    grid->addWidget(label(*group, Page::kMaxTimeUnitId, "minutes"), row++, 2);
    grid->addWidget(label(*group, Page::kGreetingLabelId, "Greeting (WAV file):"), row++, 0, 1, 3);
    auto* greeting = new QHBoxLayout;
    greeting->addWidget(edit(*group, Page::kGreetingId), 1);
    auto* browse = withId(Page::kBrowseId, new QPushButton(QStringLiteral("Browse..."), group));
    browse->setAutoDefault(false);
    greeting->addWidget(browse);
    grid->addLayout(greeting, row++, 0, 1, 3);
    grid->addWidget(check(*group, Page::kBeginId, "When answering starts, send this chat text:"), row++, 0, 1,
                    3);
    grid->addWidget(edit(*group, Page::kBeginTextId), row++, 0, 1, 3);
    grid->addWidget(check(*group, Page::kEndId, "After the message is saved, send this chat text:"), row++, 0,
                    1, 3);
    grid->addWidget(edit(*group, Page::kEndTextId), row++, 0, 1, 3);
    grid->setColumnStretch(0, 1);
    auto* layout = new QVBoxLayout(&page);
    layout->addWidget(group);
    layout->addStretch(1);
}

}  // namespace

AnsweringPage::AnsweringPage(EventLoop& loop, Settings& settings) : OptionsPage(loop), settings_(settings) {}

bool AnsweringPage::CreatePage(QWidget* parent)
{
    return CreateModeless(buildAnsweringPage, parent, 0, true);
}

bool AnsweringPage::OnInitDialog(QWidget* focus, LPARAM param)
{
    const bool result = OptionsPage::OnInitDialog(focus, param);
    const auto setCheck = [this](int id, std::int32_t flag) {
        if (auto* box = qobject_cast<QCheckBox*>(GetDlgItem(id))) box->setChecked(flag != 0);
    };
    const auto setSpin = [this](int id, int value) {
        // The box clamps to its range, as the machine does with what it reads.
        if (auto* box = qobject_cast<QSpinBox*>(GetDlgItem(id))) box->setValue(value);
    };
    const auto setEdit = [this](int id, const std::u16string& text) {
        if (auto* line = qobject_cast<QLineEdit*>(GetDlgItem(id)))
            line->setText(QString::fromStdU16String(text));
    };
    setCheck(kVoiceId, settings_.voiceAnswering);
    setCheck(kOnlineId, settings_.voiceOnline);
    setSpin(kOnlineSecsId, settings_.voiceOnlineSecs);
    setCheck(kOfflineId, settings_.voiceOffline);
    setSpin(kOfflineSecsId, settings_.voiceOfflineSecs);
    setSpin(kMaxTimeId, VoiceAnswerer::maxMinutes(settings_.voiceMaxTime));
    setEdit(kGreetingId, settings_.greetingFile);
    setCheck(kBeginId, settings_.voiceBegin);
    setEdit(kBeginTextId, settings_.voiceBeginText);
    setCheck(kEndId, settings_.voiceEnd);
    setEdit(kEndTextId, settings_.voiceEndText);
    return result;
}

void AnsweringPage::ApplyPage()
{
    const auto flag = [this](int id) -> std::int32_t {
        const auto* box = qobject_cast<const QCheckBox*>(GetDlgItem(id));
        return box && box->isChecked() ? 1 : 0;
    };
    const auto number = [this](int id, std::int32_t current) -> std::int32_t {
        const auto* box = qobject_cast<const QSpinBox*>(GetDlgItem(id));
        return box ? box->value() : current;
    };
    const auto text = [this](int id, const std::u16string& current) {
        const auto* line = qobject_cast<const QLineEdit*>(GetDlgItem(id));
        return line ? line->text().toStdU16String() : current;
    };
    if (Handle() == nullptr) return;
    settings_.voiceAnswering = flag(kVoiceId);
    settings_.voiceOnline = flag(kOnlineId);
    settings_.voiceOnlineSecs = number(kOnlineSecsId, settings_.voiceOnlineSecs);
    settings_.voiceOffline = flag(kOfflineId);
    settings_.voiceOfflineSecs = number(kOfflineSecsId, settings_.voiceOfflineSecs);
    settings_.voiceMaxTime = number(kMaxTimeId, settings_.voiceMaxTime);
    settings_.greetingFile = text(kGreetingId, settings_.greetingFile);
    settings_.voiceBegin = flag(kBeginId);
    settings_.voiceBeginText = text(kBeginTextId, settings_.voiceBeginText);
    settings_.voiceEnd = flag(kEndId);
    settings_.voiceEndText = text(kEndTextId, settings_.voiceEndText);
}

LRESULT AnsweringPage::OnCommand(WPARAM wparam, QWidget* control)
{
    if (LOWORD(wparam) == kBrowseId) {
        ChooseGreeting();
        return 0;
    }
    return OptionsPage::OnCommand(wparam, control);
}

void AnsweringPage::ChooseGreeting()
{
    // The chooser runs its own loop: the program's end may take the page's window meanwhile.
    const QPointer<QLineEdit> line = qobject_cast<QLineEdit*>(GetDlgItem(kGreetingId));
    if (line == nullptr) return;
    const QString chosen = QFileDialog::getOpenFileName(
        Handle(), Text(kTextChooserTitle, kDefaultChooserTitle), QFileInfo(line->text()).absolutePath(),
        Text(kTextChooserFilter, kDefaultChooserFilter));
    if (chosen.isEmpty() || line == nullptr) return;
    line->setText(chosen);
}

}  // namespace tarnix
