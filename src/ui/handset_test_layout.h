#pragma once

class QDialog;
class QProgressBar;
class QWidget;

namespace tarnix {

// The handset test dialog's controls, each with its id, in the dialog's own language (English
// texts, Chinese melody names); the hidden ones are there for handsets that have their function.
void buildHandsetTest(QDialog& dialog);
// The level meter (0..100), below the other controls.
QProgressBar* addLevelMeter(QWidget& dialog, int id);

}  // namespace tarnix
