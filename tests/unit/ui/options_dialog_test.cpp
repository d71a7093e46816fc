#include "ui/options_dialog.h"

#include "config/locale_table.h"
#include "config/settings.h"
#include "handset_test_rig.h"
#include "temp_folder.h"
#include "ui/answering_page.h"
#include "ui/framework/control_id.h"
#include "ui/locale_texts.h"
#include "ui/tone_settings_page.h"
#include "ui_test_support.h"

#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <map>
#include <sstream>

namespace tarnix::test {
namespace {

constexpr int kEscape = -1;
// Half a frame's width and height, both ways.
constexpr int kFrameSlack = 4;

QPoint middle(const QRect& r)
{
    return {r.x() + r.width() / 2, r.y() + r.height() / 2};
}

// A page that only says when it applies.
class RecordingPage final : public OptionsPage {
public:
    RecordingPage(EventLoop& loop, std::vector<std::string>& log, std::string name, QSize size)
        : OptionsPage(loop), log_(log), name_(std::move(name)), size_(size)
    {
    }
    bool CreatePage(QWidget* parent) override
    {
        return CreateModeless(
            [this](QDialog& page) {
                auto* button = new QPushButton(QString::fromStdString(name_), &page);
                button->setAutoDefault(false);
                page.setMinimumSize(size_);
            },
            parent, 0, true);
    }
    int TabTextId() const override { return 0; }
    std::u16string_view DefaultTabText() const override { return u"page"; }
    void ApplyPage() override { log_.push_back("apply " + name_); }

private:
    std::vector<std::string>& log_;
    std::string name_;
    QSize size_;
};

class OptionsDialogTest : public UiTest {
protected:
    void TearDown() override { processQtEvents(); }

    // Opens the dialog over the owner and runs the action once it is up; the end code.
    int run(OptionsDialog& dialog, const std::function<void(QDialog&)>& action, QWidget* owner = nullptr)
    {
        QTimer::singleShot(0, [&dialog, action] {
            auto* widget = static_cast<QDialog*>(dialog.Handle());
            ASSERT_NE(widget, nullptr);
            // A test that fails before ending the dialog must not hang.
            QTimer::singleShot(5000, widget, [&dialog] { dialog.EndDialog(-5); });
            action(*widget);
        });
        return dialog.Open(owner, [this] { log.emplace_back("refresh"); });
    }
    static void press(QDialog& dialog, int id)
    {
        if (id == kEscape) {
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &dialog,
                            Qt::Key_Escape);
            return;
        }
        QTest::mouseClick(findControl(dialog, id), Qt::LeftButton);
    }

    std::vector<std::string> log;
    OptionsDialog recording{
        loop, [this] {
            OptionsDialog::Pages pages;
            pages.push_back(std::make_unique<RecordingPage>(loop, log, "one", QSize(200, 80)));
            pages.push_back(std::make_unique<RecordingPage>(loop, log, "two", QSize(120, 240)));
            return pages;
        }};
};

TEST_F(OptionsDialogTest, OkAppliesEveryPageInOrderCancelNone)
{
    const struct {
        const char* name;
        int control;
        int result;
        std::vector<std::string> log;
    } cases[] = {
        {"OK", OptionsDialog::kOkId, 1, {"apply one", "apply two"}},
        {"Cancel", OptionsDialog::kCancelId, 2, {}},
        {"Escape on a page", kEscape, 2, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        log.clear();
        EXPECT_EQ(run(recording, [&c](QDialog& d) { press(d, c.control); }), c.result);
        EXPECT_EQ(log, c.log);
        EXPECT_EQ(recording.Handle(), nullptr);
        EXPECT_EQ(recording.PageCount(), 0) << "pages go with the dialog";
    }
    log.clear();
    EXPECT_EQ(run(recording, [](QDialog& d) { d.close(); }), 2) << "the close box cancels";
    EXPECT_TRUE(log.empty());
}

TEST_F(OptionsDialogTest, ApplyAppliesAndRefreshesButKeepsTheDialogOpen)
{
    bool stillOpen = false;
    const int result = run(recording, [&](QDialog& d) {
        press(d, OptionsDialog::kApplyId);
        stillOpen = d.isVisible();
        press(d, OptionsDialog::kCancelId);
    });
    EXPECT_EQ(result, 2);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(log, (std::vector<std::string>{"apply one", "apply two", "refresh"}));
}

TEST_F(OptionsDialogTest, ASecondOpenOnlyBringsTheOpenOneToTheFront)
{
    int second = 0;
    int shown = 0;
    const int result = run(recording, [&](QDialog& d) {
        second = recording.Open(nullptr, [this] { log.emplace_back("second refresh"); });
        for (QWidget* top : QApplication::topLevelWidgets())
            shown += top->isVisible() && top->windowTitle() == "Options";
        press(d, OptionsDialog::kCancelId);
    });
    EXPECT_EQ(second, 1);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(result, 2);
    EXPECT_TRUE(log.empty());
}

TEST_F(OptionsDialogTest, TabsShowOnePageAtATimeInAnAreaForTheLargest)
{
    run(recording, [this](QDialog& d) {
        auto* tabs = qobject_cast<QTabWidget*>(findControl(d, OptionsDialog::kTabControlId));
        ASSERT_EQ(tabs->count(), 2);
        EXPECT_EQ(tabs->tabText(0), "page");
        QWidget* one = recording.PageAt(0)->Handle();
        QWidget* two = recording.PageAt(1)->Handle();
        EXPECT_EQ(recording.PageAt(2), nullptr);
        EXPECT_TRUE(one->isVisible());
        EXPECT_FALSE(two->isVisible());
        tabs->setCurrentIndex(1);
        EXPECT_FALSE(one->isVisible());
        EXPECT_TRUE(two->isVisible());
        EXPECT_GE(two->width(), 200);
        EXPECT_GE(two->height(), 240);
        press(d, OptionsDialog::kCancelId);
    });
}

TEST_F(OptionsDialogTest, CentresOnItsOwnerUnlessTheOwnerIsMinimised)
{
    QWidget owner;
    owner.setGeometry(100, 120, 500, 300);
    owner.show();
    QPoint centre;
    run(
        recording,
        [&](QDialog& d) {
            centre = middle(d.frameGeometry());
            press(d, OptionsDialog::kCancelId);
        },
        &owner);
    // The window frame is known only once the dialog shows, after it was centred.
    EXPECT_LE((centre - middle(owner.frameGeometry())).manhattanLength(), kFrameSlack);

    owner.showMinimized();
    run(
        recording,
        [&](QDialog& d) {
            centre = middle(d.frameGeometry());
            press(d, OptionsDialog::kCancelId);
        },
        &owner);
    const QRect desktop = owner.screen()->geometry();
    EXPECT_LE((centre - middle(desktop)).manhattanLength(), kFrameSlack);
}

// The shipped language file, as the program reads it.
class ShippedTextsTest : public OptionsDialogTest {
protected:
    ShippedTextsTest() { EXPECT_TRUE(locale.LoadLocale(TARNIX_RESOURCES_FOLDER)); }

    LocaleTable locale;
    LocaleTexts texts{locale};
};

TEST_F(ShippedTextsTest, EveryIdIsUniqueAndEveryItemHasAllThreeLanguages)
{
    std::ifstream file(std::string(TARNIX_RESOURCES_FOLDER) + "locale.xml");
    std::stringstream bytes;
    bytes << file.rdbuf();
    std::map<int, int> seen;
    const QRegularExpression item(QStringLiteral("<Item ID=\"(\\d+)\""));
    for (auto it = item.globalMatch(QString::fromStdString(bytes.str())); it.hasNext();) {
        ++seen[it.next().captured(1).toInt()];
    }
    for (const auto& [id, count] : seen) {
        EXPECT_EQ(count, 1) << "id " << id;
        const LocaleItem* found = locale.FindLocaleItem(id);
        ASSERT_NE(found, nullptr) << "id " << id;
        EXPECT_FALSE(found->english.empty() || found->simpleChinese.empty() ||
                     found->traditionalChinese.empty())
            << "id " << id;
    }
    for (int id :
         {OptionsDialog::kTextTitle, ToneSettingsPage::kTextTab, AnsweringPage::kTextTab,
          AnsweringPage::kTextChooserTitle, AnsweringPage::kTextChooserFilter, AnsweringPage::kEndId}) {
        EXPECT_EQ(seen.count(id), 1u) << "id " << id;
    }
}

TEST_F(ShippedTextsTest, InChineseTheDialogAndBothPagesTakeTheLanguageFilesTexts)
{
    locale.setLanguage(1);
    HandsetTestRig rig;
    rig.start();
    Settings settings;
    OptionsDialog options(loop, [&] {
        OptionsDialog::Pages pages;
        pages.push_back(std::make_unique<ToneSettingsPage>(loop, rig.channel(), settings));
        pages.push_back(std::make_unique<AnsweringPage>(loop, settings));
        return pages;
    });
    options.SetLanguageTexts(&texts);
    run(options, [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QString::fromUtf8("选项"));
        auto* tabs = qobject_cast<QTabWidget*>(findControl(d, OptionsDialog::kTabControlId));
        EXPECT_EQ(tabs->tabText(0), QString::fromUtf8("铃声设置"));
        EXPECT_EQ(tabs->tabText(1), QString::fromUtf8("应答"));
        EXPECT_EQ(qobject_cast<QPushButton*>(findControl(d, OptionsDialog::kOkId))->text(),
                  QString::fromUtf8("确定"));
        EXPECT_EQ(qobject_cast<QGroupBox*>(findControl(d, ToneSettingsPage::kSkypeGroupId))->title(),
                  QString::fromUtf8("Skype 铃声选择"));
        auto* test = qobject_cast<QPushButton*>(findControl(d, ToneSettingsPage::kSkypeTestId));
        EXPECT_EQ(test->text(), QString::fromUtf8("测试"));
        test->click();
        EXPECT_EQ(test->text(), QString::fromUtf8("停止"));
        EXPECT_EQ(qobject_cast<QPushButton*>(findControl(d, AnsweringPage::kBrowseId))->text(),
                  QString::fromUtf8("浏览..."));
        // Apply ends the test, and its language hook leaves every text as it was.
        press(d, OptionsDialog::kApplyId);
        EXPECT_EQ(test->text(), QString::fromUtf8("测试"));
        EXPECT_EQ(d.windowTitle(), QString::fromUtf8("选项"));
        press(d, OptionsDialog::kOkId);
    });
}

}  // namespace
}  // namespace tarnix::test
