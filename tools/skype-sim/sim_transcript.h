#pragma once

#include <QFile>
#include <QString>

namespace tarnix::sim {

// What the stand-in receives and sends, one line each, stamped with the machine's monotonic
// clock in seconds (shared by every process, so tests can compare stamps across processes):
// "12.345678 CMD GET MUTE", "12.345901 NOTIFY MUTE OFF".
class SimTranscript {
public:
    // To the file, or to standard output when the path is empty.
    explicit SimTranscript(const QString& path);
    bool isOpen() const { return file_.isOpen(); }
    void write(const char* kind, const QString& text);

private:
    QFile file_;
};

}  // namespace tarnix::sim
