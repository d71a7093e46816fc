#include "ui/framework/localise.h"

#include "ui/framework/control_id.h"
#include "ui/framework/language_texts.h"
#include "ui_test_support.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <map>

namespace tarnix::test {
namespace {

class TableTexts final : public LanguageTexts {
public:
    std::optional<QString> text(int id) const override
    {
        const auto it = texts.find(id);
        return it == texts.end() ? std::nullopt : std::optional<QString>(it->second);
    }
    std::map<int, QString> texts;
};

using LocaliseTest = UiTest;

TEST_F(LocaliseTest, ControlsTakeTheTextsOfTheirIdsAtAnyDepth)
{
    TableTexts texts;
    texts.texts = {{0, "unnamed item"}, {10, "Ten"}, {11, ""}, {12, "Group"}, {13, "Deep"}};
    QWidget window;
    auto* inner = new QWidget(&window);
    auto* innermost = new QWidget(inner);

    struct Case {
        const char* name;
        QWidget* widget;
        int id;  // 0: no id given
        const char* expected;
    };
    auto text = [](QWidget* w) -> QString {
        if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
        if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
        if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
        return qobject_cast<QLineEdit*>(w)->text();
    };
    const Case cases[] = {
        {"button with a text", new QPushButton("built", &window), 10, "Ten"},
        {"label whose item has no text in this language", new QLabel("built", &window), 11, ""},
        {"group box", new QGroupBox("built", &window), 12, "Group"},
        {"check box three levels down", new QCheckBox("built", innermost), 13, "Deep"},
        {"button the file does not know", new QPushButton("built", &window), 99, "built"},
        {"edit with a known id", new QLineEdit("built", &window), 10, "built"},
        {"tool button with a known id", new QToolButton(&window), 10, ""},
        {"label without an id", new QLabel("built", &window), 0, "built"},
    };
    for (const Case& c : cases) {
        if (c.id != 0) setControlId(*c.widget, c.id);
    }
    LocaliseControls(window, texts);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(text(c.widget), QString::fromUtf8(c.expected));
    }
}

TEST_F(LocaliseTest, MenusFollowTheirIdsAndTheLanguageSubmenuTakesItsOwnId)
{
    struct Case {
        const char* name;
        const char* submenuText;
        bool hasLanguageText;
        const char* expectedText;
        int expectedId;
    };
    const Case cases[] = {
        {"myLanguage", "myLanguage", true, "语言(&L)", kLanguageSubmenuTextId},
        {"any case", "MYLANGUAGE", true, "语言(&L)", kLanguageSubmenuTextId},
        {"no text for 65548", "myLanguage", false, "myLanguage", 0},
        {"another submenu", "Other", true, "Other", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TableTexts texts;
        texts.texts = {{0, "unnamed item"}, {32794, "英文(&E)"}, {105, "退出(&X)"}};
        if (c.hasLanguageText) texts.texts[kLanguageSubmenuTextId] = QString::fromUtf8("语言(&L)");
        QMenu menu;
        QAction* exit = menu.addAction("E&xit");
        exit->setProperty(kControlIdProperty, 105);
        QAction* unknown = menu.addAction("Unknown");
        unknown->setProperty(kControlIdProperty, 4711);
        QMenu* submenu = menu.addMenu(QString::fromUtf8(c.submenuText));
        QAction* english = submenu->addAction("&English");
        english->setProperty(kControlIdProperty, 32794);

        LocaliseMenu(menu, texts);
        EXPECT_EQ(exit->text(), QString::fromUtf8("退出(&X)"));
        EXPECT_EQ(unknown->text(), "Unknown");
        EXPECT_EQ(english->text(), QString::fromUtf8("英文(&E)"));
        EXPECT_EQ(submenu->menuAction()->text(), QString::fromUtf8(c.expectedText));
        EXPECT_EQ(controlId(*submenu->menuAction()), c.expectedId);
    }
}

}  // namespace
}  // namespace tarnix::test
