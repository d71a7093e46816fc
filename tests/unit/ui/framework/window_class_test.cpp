#include "ui/framework/window_class.h"

#include "ui/framework/window_constants.h"
#include "ui_test_support.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

namespace tarnix::test {
namespace {

class WindowClassTest : public UiTest {};

TEST_F(WindowClassTest, GeneratedNamesFollowTheFrameworkPattern)
{
    const QString plain =
        registerWindowClass(QString(), WindowClass{CS_DBLCLKS, std::nullopt, std::nullopt, 0});
    EXPECT_TRUE(QRegularExpression("^Zem:[0-9a-f]+:8$").match(plain).hasMatch()) << plain.toStdString();

    const QString full = registerWindowClass(QString(), WindowClass{0, Qt::ArrowCursor, std::nullopt, 107});
    EXPECT_TRUE(QRegularExpression("^Zem:[0-9a-f]+:0:0:0:6b$").match(full).hasMatch()) << full.toStdString();

    EXPECT_EQ(registerWindowClass("VoxlanderWindowClass20041118", WindowClass{}),
              "VoxlanderWindowClass20041118");
    EXPECT_TRUE(findWindowClass("VoxlanderWindowClass20041118").has_value());
    EXPECT_FALSE(findWindowClass("Unregistered").has_value());
}

TEST_F(WindowClassTest, ControlsReportTheSystemClassTheyStandFor)
{
    QPushButton push;
    QCheckBox check;
    QRadioButton radio;
    QGroupBox group;
    QLabel label;
    QLineEdit edit;
    QWidget plain;
    const std::pair<QWidget*, QString> cases[] = {
        {&push, "Button"},  {&check, "Button"}, {&radio, "Button"},  {&group, "Button"},
        {&label, "Static"}, {&edit, "Edit"},    {&plain, "QWidget"},
    };
    for (const auto& [widget, name] : cases) {
        EXPECT_EQ(classNameOf(*widget), name);
    }
    // Comparisons by the language hook ignore case; so does making a control by class name.
    const auto made = createSystemControl("static");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(classNameOf(*made), "Static");
    EXPECT_EQ(createSystemControl("ZemDefaultWndClass"), nullptr);
}

}  // namespace
}  // namespace tarnix::test
