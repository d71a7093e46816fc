#include "ui/framework/dialog.h"

#include "ui/framework/control_id.h"
#include "ui_test_support.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace tarnix::test {
namespace {

constexpr int kApply = 1089;

// OK (1), Cancel (2) and Apply: the buttons most of the system's dialogs carry.
void buildButtons(QDialog& dialog)
{
    struct Spec {
        int id;
        const char* text;
        int x;
    };
    for (const Spec& s : {Spec{IDOK, "OK", 10}, Spec{IDCANCEL, "Cancel", 100}, Spec{kApply, "Apply", 190}}) {
        auto* button = new QPushButton(QString::fromLatin1(s.text), &dialog);  // the dialog owns it
        button->setGeometry(s.x, 10, 80, 24);
        button->setAutoDefault(false);
        setControlId(*button, s.id);
    }
    dialog.resize(300, 60);
}

// Ends on OK and Cancel with their ids, counts Apply, and remembers what initialisation saw.
class ButtonsDialog : public Dialog {
public:
    using Dialog::Dialog;

    int applied = 0;
    int destroyed = 0;
    int endInInit = 0;  // non-zero: end at once with this code
    QWidget* initFocus = nullptr;
    LPARAM initParam = 0;
    QStringList commands;

    bool OnInitDialog(QWidget* focus, LPARAM param) override
    {
        initFocus = focus;
        initParam = param;
        if (endInInit) EndDialog(endInInit);
        return Dialog::OnInitDialog(focus, param);
    }
    LRESULT OnCommand(WPARAM wparam, QWidget* control) override
    {
        commands << QString::number(LOWORD(wparam));
        const int id = static_cast<int>(LOWORD(wparam));
        if (id == IDOK || id == IDCANCEL) EndDialog(id);
        if (id == kApply) ++applied;
        return Dialog::OnCommand(wparam, control);
    }
    void OnDestroy() override
    {
        ++destroyed;
        Dialog::OnDestroy();
    }
};

class DialogTest : public UiTest {
protected:
    // Runs the action once the modal loop is up.
    static void whenShown(ButtonsDialog& dialog, std::function<void(QDialog&)> action)
    {
        QTimer::singleShot(0, [&dialog, action] {
            auto* widget = static_cast<QDialog*>(dialog.Handle());
            ASSERT_NE(widget, nullptr);
            action(*widget);
        });
    }
};

TEST_F(DialogTest, ModalDialogReturnsTheCodeItsHandlerEndsItWith)
{
    struct Case {
        const char* how;
        std::function<void(QDialog&)> action;
        int expected;
    };
    const Case cases[] = {
        {"OK button", [](QDialog& d) { QTest::mouseClick(findControl(d, IDOK), Qt::LeftButton); }, IDOK},
        {"Cancel button", [](QDialog& d) { QTest::mouseClick(findControl(d, IDCANCEL), Qt::LeftButton); },
         IDCANCEL},
        {"Escape", [](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }, IDCANCEL},
        {"closing", [](QDialog& d) { d.close(); }, IDCANCEL},
    };
    for (const Case& c : cases) {
        ButtonsDialog dialog(loop);
        whenShown(dialog, c.action);
        EXPECT_EQ(dialog.DoModal(buildButtons, nullptr, 77), c.expected) << c.how;
        EXPECT_EQ(dialog.Handle(), nullptr) << c.how;
        EXPECT_EQ(dialog.destroyed, 1) << c.how;
        EXPECT_EQ(dialog.initParam, 77);
    }
}

TEST_F(DialogTest, ModalDialogEndedDuringInitialisationNeverRuns)
{
    ButtonsDialog dialog(loop);
    dialog.endInInit = 5;
    EXPECT_EQ(dialog.DoModal(buildButtons, nullptr), 5);
    EXPECT_EQ(dialog.destroyed, 1);
}

TEST_F(DialogTest, CommandsThatDoNotEndTheDialogKeepItRunning)
{
    ButtonsDialog dialog(loop);
    whenShown(dialog, [](QDialog& d) {
        QTest::mouseClick(findControl(d, kApply), Qt::LeftButton);
        QTest::mouseClick(findControl(d, kApply), Qt::LeftButton);
        EXPECT_TRUE(d.isVisible());
        QTest::mouseClick(findControl(d, IDOK), Qt::LeftButton);
    });
    EXPECT_EQ(dialog.DoModal(buildButtons, nullptr), IDOK);
    EXPECT_EQ(dialog.applied, 2);
    EXPECT_EQ(dialog.commands, (QStringList{"1089", "1089", "1"}));
}

TEST_F(DialogTest, ModelessDialogIsBuiltHiddenInitialisedAndRoutesItsMessages)
{
    ButtonsDialog dialog(loop);
    QWidget owner;
    ASSERT_TRUE(dialog.CreateModeless(buildButtons, &owner, 3));
    QWidget* widget = dialog.Handle();
    EXPECT_FALSE(widget->isVisible());
    EXPECT_EQ(dialog.initFocus, findControl(*widget, IDOK)) << "the first control that takes focus";
    EXPECT_EQ(widget->font(), QApplication::font());
    EXPECT_FALSE(dialog.CreateModeless(buildButtons, &owner)) << "one window per object";

    widget->show();
    QTest::mouseClick(findControl(*widget, kApply), Qt::LeftButton);
    EXPECT_EQ(dialog.applied, 1);

    // Closing a dialog is a Cancel command; ending a modeless dialog only hides it.
    dialog.SendMessage(WM_CLOSE, 0, 0);
    EXPECT_EQ(dialog.commands.last(), "2");
    EXPECT_FALSE(widget->isVisible());
    EXPECT_EQ(dialog.Handle(), widget);

    // A page lives inside its owner.
    ButtonsDialog page(loop);
    ASSERT_TRUE(page.CreateModeless(buildButtons, widget, 0, true));
    EXPECT_FALSE(page.Handle()->isWindow());
    dialog.DestroyWindow();
    EXPECT_EQ(page.destroyed, 1);
    EXPECT_EQ(page.Handle(), nullptr);
}

TEST_F(DialogTest, DialogPaintsItsBackgroundImage)
{
    ButtonsDialog dialog(loop);
    QImage blue(8, 8, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    dialog.SetBackgroundImage(Image(blue));
    ASSERT_TRUE(dialog.CreateModeless([](QDialog& d) { d.resize(40, 40); }, nullptr));
    dialog.Handle()->show();
    const QImage shot = dialog.Handle()->grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(4, 4)), QColor(Qt::blue));
    EXPECT_NE(QColor(shot.pixel(20, 20)), QColor(Qt::blue));
}

}  // namespace
}  // namespace tarnix::test
