#pragma once

#include "ui/options_page.h"

namespace tarnix {

struct Settings;

// The "Answering" page: whether and when the answering machine takes a call, the longest
// message, the greeting file and the chat texts sent before and after.
class AnsweringPage final : public OptionsPage {
public:
    static constexpr int kTemplateId = 2100;
    static constexpr int kGroupId = 2101;
    static constexpr int kVoiceId = 2102;
    static constexpr int kOnlineId = 2103;
    static constexpr int kOnlineSecsId = 2104;
    static constexpr int kOnlineSecsUnitId = 2105;
    static constexpr int kOfflineId = 2106;
    static constexpr int kOfflineSecsId = 2107;
    static constexpr int kOfflineSecsUnitId = 2108;
    static constexpr int kMaxTimeLabelId = 2109;
    static constexpr int kMaxTimeId = 2110;
    static constexpr int kMaxTimeUnitId = 2111;
    static constexpr int kGreetingLabelId = 2112;
    static constexpr int kGreetingId = 2113;
    static constexpr int kBrowseId = 2114;
    static constexpr int kBeginId = 2115;
    static constexpr int kBeginTextId = 2116;
    static constexpr int kEndId = 2117;
    static constexpr int kEndTextId = 2118;
    static constexpr int kTextTab = 65570;
    static constexpr int kTextChooserTitle = 65571;
    static constexpr int kTextChooserFilter = 65572;
    static constexpr const char16_t* kDefaultTab = u"Answering";
    static constexpr const char16_t* kDefaultChooserTitle = u"Choose the greeting";
    static constexpr const char16_t* kDefaultChooserFilter = u"WAV files (*.wav)";

    AnsweringPage(EventLoop& loop, Settings& settings);

    bool CreatePage(QWidget* parent) override;
    int TabTextId() const override { return kTextTab; }
    std::u16string_view DefaultTabText() const override { return kDefaultTab; }
    void ApplyPage() override;

    bool OnInitDialog(QWidget* focus, LPARAM param) override;
    LRESULT OnCommand(WPARAM wparam, QWidget* control) override;

private:
    void ChooseGreeting();

    Settings& settings_;
};

}  // namespace tarnix
