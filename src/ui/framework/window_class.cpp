#include "ui/framework/window_class.h"

#include "ui/framework/window_constants.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <QToolBar>
#include <QTreeView>

#include <functional>
#include <map>

namespace tarnix {
namespace {

constexpr char kClassProperty[] = "windowClass";

std::map<QString, WindowClass>& registry()
{
    static std::map<QString, WindowClass> classes;
    return classes;
}

// Stands for the module instance in generated names: fixed for the life of the process.
quintptr moduleInstance()
{
    static const char anchor = 0;
    return reinterpret_cast<quintptr>(&anchor);
}

struct SystemClass {
    const char* name;
    std::function<std::unique_ptr<QWidget>()> make;
    std::function<bool(const QWidget&)> matches;
};

template <typename T>
bool isA(const QWidget& w)
{
    return qobject_cast<const T*>(&w) != nullptr;
}

// Most specific first: the first match names a widget.
const std::vector<SystemClass>& systemClasses()
{
    static const std::vector<SystemClass> classes{
        {"Button", [] { return std::make_unique<QPushButton>(); },
         [](const QWidget& w) { return isA<QAbstractButton>(w) || isA<QGroupBox>(w); }},
        {"Static", [] { return std::make_unique<QLabel>(); }, isA<QLabel>},
        {"Edit", [] { return std::make_unique<QLineEdit>(); },
         [](const QWidget& w) { return isA<QLineEdit>(w) || isA<QPlainTextEdit>(w) || isA<QTextEdit>(w); }},
        {"ComboBox", [] { return std::make_unique<QComboBox>(); }, isA<QComboBox>},
        {"ListBox", [] { return std::make_unique<QListWidget>(); }, isA<QListWidget>},
        {"SysListView32", [] { return std::make_unique<QTreeView>(); },
         [](const QWidget& w) { return isA<QTreeView>(w) || isA<QTableView>(w); }},
        {"msctls_trackbar32", [] { return std::make_unique<QSlider>(); }, isA<QSlider>},
        {"ScrollBar", [] { return std::make_unique<QScrollBar>(); }, isA<QScrollBar>},
        {"msctls_progress32", [] { return std::make_unique<QProgressBar>(); }, isA<QProgressBar>},
        {"SysTabControl32", [] { return std::make_unique<QTabWidget>(); }, isA<QTabWidget>},
        {"ToolbarWindow32", [] { return std::make_unique<QToolBar>(); }, isA<QToolBar>},
        {"msctls_statusbar32", [] { return std::make_unique<QStatusBar>(); }, isA<QStatusBar>},
        {"#32770", [] { return std::make_unique<QDialog>(); }, isA<QDialog>},
    };
    return classes;
}

}  // namespace

WindowClass defaultWindowClass()
{
    return WindowClass{CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, Qt::ArrowCursor, std::nullopt, 0};
}

QString registerWindowClass(const QString& name, const WindowClass& cls)
{
    QString chosen = name;
    if (chosen.isEmpty()) {
        const bool extended = cls.cursor || cls.background || cls.icon != 0;
        chosen = extended ? QString::asprintf(
                                "Zem:%llx:%x:%x:%x:%x", static_cast<unsigned long long>(moduleInstance()),
                                cls.style, cls.cursor ? static_cast<unsigned>(*cls.cursor) : 0u,
                                cls.background ? static_cast<unsigned>(cls.background->rgba()) : 0u,
                                static_cast<unsigned>(cls.icon))
                          : QString::asprintf("Zem:%llx:%x",
                                              static_cast<unsigned long long>(moduleInstance()), cls.style);
    }
    registry().try_emplace(chosen, cls);
    return chosen;
}

std::optional<WindowClass> findWindowClass(const QString& name)
{
    auto it = registry().find(name);
    if (it == registry().end()) return std::nullopt;
    return it->second;
}

std::unique_ptr<QWidget> createSystemControl(const QString& className)
{
    for (const auto& sys : systemClasses()) {
        if (className.compare(QLatin1String(sys.name), Qt::CaseInsensitive) == 0) return sys.make();
    }
    return nullptr;
}

QString classNameOf(const QWidget& widget)
{
    const QVariant own = widget.property(kClassProperty);
    if (own.isValid()) return own.toString();
    for (const auto& sys : systemClasses()) {
        if (sys.matches(widget)) return QString::fromLatin1(sys.name);
    }
    return QString::fromLatin1(widget.metaObject()->className());
}

void setClassNameOf(QWidget& widget, const QString& className)
{
    widget.setProperty(kClassProperty, className);
}

}  // namespace tarnix
