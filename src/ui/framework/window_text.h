#pragma once

class QString;
class QWidget;

namespace tarnix {

// Sets what the system calls a window's text: a button's or label's caption, an edit's
// contents, a group box's title, a top-level window's title.
void setWindowText(QWidget& widget, const QString& text);

}  // namespace tarnix
