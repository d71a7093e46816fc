#include "ui/handset_test_layout.h"

#include "ui/framework/control_id.h"
#include "ui/handset_test_dialog.h"

#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarnix {
namespace {

using D = HandsetTestDialog;

constexpr int kMeterWidth = 300;
constexpr int kMeterHeight = 12;

constexpr const char16_t* kMelodies[] = {
    u"有电话了", u"致爱丽丝",   u"生日快乐", u"红河谷", u"真善美",   u"王老五有块地",      u"小星星",
    u"两只老虎", u"世界真巧妙", u"捉泥鳅",   u"拍手歌", u"乡间小路", u"好一朵美丽的茉莉花"};

QPushButton* button(QDialog& dialog, int id, const char* text, bool visible = true)
{
    auto* control = new QPushButton(QString::fromLatin1(text), &dialog);
    setControlId(*control, id);
    control->setAutoDefault(false);
    control->setVisible(visible);
    return control;
}

}  // namespace

void buildHandsetTest(QDialog& dialog)
{
    dialog.setWindowTitle(QStringLiteral("Dialog"));

    auto* keypad = new QGroupBox(QStringLiteral("Keypad"), &dialog);
    auto* display = new QPlainTextEdit(keypad);
    setControlId(*display, D::kDisplay);
    display->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* keypadLayout = new QVBoxLayout(keypad);
    keypadLayout->addWidget(display);

    auto* melodies = new QComboBox(&dialog);
    setControlId(*melodies, D::kMelodyList);
    for (const char16_t* name : kMelodies) melodies->addItem(QString::fromUtf16(name));
    melodies->setVisible(false);

    auto* buttons = new QGridLayout;
    buttons->addWidget(button(dialog, D::kRecord, "Record"), 0, 0);
    buttons->addWidget(button(dialog, D::kPlay, "Play"), 0, 1);
    buttons->addWidget(button(dialog, D::kLightOn, "Light on"), 1, 0);
    buttons->addWidget(button(dialog, D::kLightOff, "Light off"), 1, 1);
    buttons->addWidget(button(dialog, D::kRingOn, "Ring on"), 2, 0);
    buttons->addWidget(button(dialog, D::kRingOff, "Ring off"), 2, 1);
    buttons->addWidget(button(dialog, D::kTestLcd, "Test LCD"), 3, 0);
    buttons->addWidget(button(dialog, D::kExit, "Exit"), 3, 1);
    buttons->addWidget(button(dialog, D::kSelectSong, "Select song", false), 4, 0);
    buttons->addWidget(melodies, 4, 1);
    buttons->addWidget(button(dialog, D::kIp, "IP", false), 5, 0);
    buttons->addWidget(button(dialog, D::kPstn, "PSTN", false), 5, 1);

    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(keypad, 1);
    layout->addLayout(buttons);
    layout->addWidget(new QLabel(QStringLiteral("*+C=Record   *+OK=Play   *+Up=Ring on   "), &dialog));
    layout->addWidget(new QLabel(QStringLiteral("*+0=Light on *+1=Test LCD  *+Down=Ring off "), &dialog));
}

QProgressBar* addLevelMeter(QWidget& dialog, int id)
{
    auto* meter = new QProgressBar(&dialog);
    setControlId(*meter, id);
    meter->setRange(0, 100);
    meter->setValue(0);
    meter->setTextVisible(false);
    meter->setFixedSize(kMeterWidth, kMeterHeight);
    if (auto* layout = qobject_cast<QVBoxLayout*>(dialog.layout())) layout->addWidget(meter);
    return meter;
}

}  // namespace tarnix
