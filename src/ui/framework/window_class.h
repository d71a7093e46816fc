#pragma once

#include <QColor>
#include <QString>

#include <memory>
#include <optional>

class QWidget;

namespace tarnix {

// What a window class gives the windows created with it.
struct WindowClass {
    unsigned style = 0;  // CS_* bits
    std::optional<Qt::CursorShape> cursor;
    std::optional<QColor> background;
    int icon = 0;  // resource id; 0 for none
};

inline constexpr char kDefaultClassName[] = "ZemDefaultWndClass";

// The class most framework windows use: redraw on resize, double clicks, arrow cursor, the
// system's window colour.
WindowClass defaultWindowClass();

// Registers a class for windows with their own class and returns its name: the given name
// unchanged, else one made from the module instance and the class ("Zem:%x:%x", or with cursor,
// background and icon as "Zem:%x:%x:%x:%x:%x" when any of those is set). A name already
// registered keeps its first class.
QString registerWindowClass(const QString& name, const WindowClass& cls);
std::optional<WindowClass> findWindowClass(const QString& name);

// The control a system class name stands for ("Button", "Static", "Edit", "msctls_trackbar32",
// ...), or null for any other name.
std::unique_ptr<QWidget> createSystemControl(const QString& className);

// The class name a window reports: its registered class for a framework window, the system
// class for a control ("Button" for push, check and radio buttons and group boxes, "Static" for
// labels, ...), else Qt's class name.
QString classNameOf(const QWidget& widget);
void setClassNameOf(QWidget& widget, const QString& className);

}  // namespace tarnix
