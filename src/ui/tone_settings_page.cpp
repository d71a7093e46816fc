#include "ui/tone_settings_page.h"

#include "config/settings.h"
#include "device/handset_channel.h"
#include "ui/framework/control_id.h"
#include "ui/framework/window_text.h"

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace tarnix {
namespace {

constexpr int kSliderWidth = 220;

// A group box framing a melody list and its Test button.
QGroupBox* melodyGroup(QWidget& page, int groupId, const char* title, int listId, int buttonId)
{
    auto* group = new QGroupBox(QString::fromLatin1(title), &page);
    setControlId(*group, groupId);
    auto* list = new QComboBox(group);
    setControlId(*list, listId);
    auto* test = new QPushButton(QStringLiteral("Test"), group);
    setControlId(*test, buttonId);
    test->setAutoDefault(false);
    auto* row = new QHBoxLayout(group);
    row->addWidget(list, 1);
    row->addWidget(test);
    return group;
}

void buildTonePage(QDialog& page)
{
    using Page = ToneSettingsPage;
    QGroupBox* skype = melodyGroup(page, Page::kSkypeGroupId, "Skype tone selecting", Page::kSkypeListId,
                                   Page::kSkypeTestId);
    // The QQ controls are there, filled and applied, but nothing shows them.
    QGroupBox* qq =
        melodyGroup(page, Page::kQqGroupId, "QQ tone selecting", Page::kQqListId, Page::kQqTestId);
    qq->hide();
    auto* volume = new QGroupBox(QStringLiteral("Volume control"), &page);
    setControlId(*volume, Page::kVolumeGroupId);
    auto* slider = new QSlider(Qt::Horizontal, volume);
    setControlId(*slider, Page::kVolumeSliderId);
    slider->setRange(0, 100);
    slider->setPageStep(5);
    slider->setMinimumWidth(kSliderWidth);
    auto* row = new QHBoxLayout(volume);
    row->addWidget(slider);
    auto* layout = new QVBoxLayout(&page);
    layout->addWidget(skype);
    layout->addWidget(qq);
    layout->addWidget(volume);
    layout->addStretch(1);
}

int selection(const QWidget* list)
{
    const auto* combo = qobject_cast<const QComboBox*>(list);
    return combo ? combo->currentIndex() : -1;
}

void fillMelodies(QWidget* list, int melody)
{
    auto* combo = qobject_cast<QComboBox*>(list);
    if (combo == nullptr) return;
    for (int n = 1; n <= ToneSettingsPage::kMelodies; ++n) combo->addItem(QStringLiteral("tone %1").arg(n));
    // A melody the list does not have leaves it without a selection.
    combo->setCurrentIndex(melody >= 0 && melody < ToneSettingsPage::kMelodies ? melody : -1);
}

}  // namespace

ToneSettingsPage::ToneSettingsPage(EventLoop& loop, HandsetChannel& handset, Settings& settings)
    : OptionsPage(loop), handset_(handset), settings_(settings), slider_(loop)
{
}

// The window goes here, while this page's OnDestroy can still run.
ToneSettingsPage::~ToneSettingsPage()
{
    DestroyWindow();
}

bool ToneSettingsPage::CreatePage(QWidget* parent)
{
    return CreateModeless(buildTonePage, parent, 0, true);
}

bool ToneSettingsPage::OnInitDialog(QWidget* focus, LPARAM param)
{
    const bool result = OptionsPage::OnInitDialog(focus, param);
    fillMelodies(GetDlgItem(kSkypeListId), settings_.skypeTone);
    fillMelodies(GetDlgItem(kQqListId), settings_.qqTone);
    slider_.Attach(GetDlgItem(kVolumeSliderId));
    slider_.SetPosition(settings_.ringVolume);
    testState_ = TestNone;
    return result;
}

LRESULT ToneSettingsPage::OnCommand(WPARAM wparam, QWidget* control)
{
    switch (LOWORD(wparam)) {
        case kSkypeTestId:
            ToggleTest(TestSkype, kSkypeListId, kQqTestId);
            return 0;
        case kQqTestId:
            ToggleTest(TestQq, kQqListId, kSkypeTestId);
            return 0;
        default:
            return OptionsPage::OnCommand(wparam, control);
    }
}

void ToneSettingsPage::ToggleTest(TestState state, int listId, int otherButtonId)
{
    const int buttonId = state == TestSkype ? kSkypeTestId : kQqTestId;
    if (testState_ == TestNone) {
        testState_ = state;
        EnableDlgItem(otherButtonId, false);
        SetTestText(buttonId, true);
        handset_.HandsetRingMelody(1, selection(GetDlgItem(listId)));
    } else if (testState_ == state) {
        EndTest();
    }
}

void ToneSettingsPage::EndTest()
{
    if (testState_ != TestNone) handset_.HandsetRing(0);
    testState_ = TestNone;
    for (int id : {kSkypeTestId, kQqTestId}) {
        EnableDlgItem(id, true);
        SetTestText(id, false);
    }
}

void ToneSettingsPage::SetTestText(int buttonId, bool testing)
{
    QWidget* button = GetDlgItem(buttonId);
    if (button == nullptr) return;
    setWindowText(*button, testing ? Text(kTextStop, kDefaultStop) : Text(kTextTest, kDefaultTest));
}

void ToneSettingsPage::OnHScroll(int code, int, QWidget* control)
{
    if (control == nullptr || control != slider_.Handle()) return;
    pendingVolume_ = slider_.GetPosition();
    if (code == SB_ENDSCROLL || code == SB_THUMBPOSITION) {
        // The drag is over: the handset gets where it ended at once.
        StopVolumeTimer();
        if (pendingVolume_ != sentVolume_) SendVolume(pendingVolume_);
        return;
    }
    if (volumeTimer_) return;
    SendVolume(pendingVolume_);
    volumeTimer_ = SetTimer(kVolumeTimerId, kVolumeIntervalMs);
}

void ToneSettingsPage::OnTimer(int id)
{
    if (id != kVolumeTimerId) return;
    if (pendingVolume_ != sentVolume_) {
        SendVolume(pendingVolume_);
        return;
    }
    StopVolumeTimer();
}

void ToneSettingsPage::StopVolumeTimer()
{
    KillTimer(kVolumeTimerId);
    volumeTimer_ = false;
}

void ToneSettingsPage::SendVolume(int level)
{
    sentVolume_ = level;
    volumeUnsaved_ = true;
    handset_.HandsetSetVolume(level);
}

void ToneSettingsPage::ApplyPage()
{
    // Without its controls the page has nothing to say (a slider that is not there reads 0).
    if (Handle() == nullptr) return;
    if (const int melody = selection(GetDlgItem(kSkypeListId)); melody >= 0) settings_.skypeTone = melody;
    if (const int melody = selection(GetDlgItem(kQqListId)); melody >= 0) settings_.qqTone = melody;
    StopVolumeTimer();
    settings_.ringVolume = slider_.GetPosition();
    handset_.HandsetSetVolume(settings_.ringVolume);
    sentVolume_ = pendingVolume_ = settings_.ringVolume;
    volumeUnsaved_ = false;
    // Only a ring this page started: a call ringing meanwhile goes on ringing.
    EndTest();
}

void ToneSettingsPage::OnDestroy()
{
    StopVolumeTimer();
    const bool restore = volumeUnsaved_ || testState_ != TestNone;
    if (testState_ != TestNone) handset_.HandsetRing(0);
    testState_ = TestNone;
    if (restore) handset_.HandsetSetVolume(std::clamp(settings_.ringVolume, 0, 100));
    volumeUnsaved_ = false;
    OptionsPage::OnDestroy();
}

}  // namespace tarnix
