#pragma once

#include "ui/framework/dialog.h"
#include "ui/options_page.h"

#include <functional>
#include <memory>
#include <vector>

class QTabWidget;

namespace tarnix {

// The modal "Options" dialog: a tab per page above OK, Cancel and Apply. At most one is open;
// asking for another brings the open one to the front. The pages are made for each opening by
// the function given at construction, so the container takes any number of them.
class OptionsDialog final : public Dialog {
public:
    static constexpr int kTemplateId = 2001;
    static constexpr int kTabControlId = 1087;
    static constexpr int kOkId = 1088;
    static constexpr int kApplyId = 1089;
    static constexpr int kCancelId = 1090;
    static constexpr int kTextTitle = 2001;
    static constexpr const char16_t* kDefaultTitle = u"Options";

    using Pages = std::vector<std::unique_ptr<OptionsPage>>;
    using PageMaker = std::function<Pages()>;

    OptionsDialog(EventLoop& loop, PageMaker makePages);

    // Runs the dialog modally over the owner: 1 when it ended with OK, 2 with Cancel. When one is
    // open already it only comes to the front, and the result is 1. `refresh` runs after Apply
    // has applied the pages (the owner saves and shows the settings).
    int Open(QWidget* owner, std::function<void()> refresh);

    int PageCount() const { return static_cast<int>(pages_.size()); }
    // Null outside 0..PageCount()-1.
    OptionsPage* PageAt(int index) const;

    void ApplyLanguage() override;
    bool OnInitDialog(QWidget* focus, LPARAM param) override;
    LRESULT OnCommand(WPARAM wparam, QWidget* control) override;

private:
    void CreatePages();
    void FitAndShowPages();
    void ApplyPages();
    QTabWidget* Tabs() const;

    PageMaker makePages_;
    Pages pages_;
    QWidget* owner_ = nullptr;
    std::function<void()> refresh_;
};

}  // namespace tarnix
