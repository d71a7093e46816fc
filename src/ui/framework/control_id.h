#pragma once

class QObject;
class QWidget;

namespace tarnix {

// Controls are known by number, as the language file and the command handlers know them.
inline constexpr char kControlIdProperty[] = "controlId";

// Gives the control its id. Buttons then send WM_COMMAND (id, BN_CLICKED) and sliders and scroll
// bars WM_HSCROLL / WM_VSCROLL to the nearest framework window that contains them.
void setControlId(QWidget& control, int id);
// The control's id; 0 when it has none.
int controlId(const QObject& control);
// The first control with the id anywhere inside the parent, or null.
QWidget* findControl(const QWidget& parent, int id);

}  // namespace tarnix
