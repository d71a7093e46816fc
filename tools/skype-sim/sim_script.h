#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QSocketNotifier;

namespace tarnix::sim {

class SkypeSim;
class SimTranscript;
class SimWindows;

// Runs script lines one after the other, from a file or as they arrive on standard input.
// "sleep" and "wait-attach" hold the lines after them back.
class SimScript final : public QObject {
    Q_OBJECT

public:
    static const char* const kHelp;

    SimScript(SkypeSim& sim, SimWindows& windows, SimTranscript& transcript);
    ~SimScript() override;

    // False when the file cannot be read.
    bool readFile(const QString& path);
    // Lines from standard input; its end ends the program.
    void readStandardInput();

private:
    void onInputReadable();
    void runPending();
    // False when the line holds the script back until later.
    bool runLine(const QString& line);
    void foreignNotify(const QString& text);

    SkypeSim& sim_;
    SimWindows& windows_;
    SimTranscript& transcript_;
    QStringList pending_;
    QByteArray partial_;
    std::unique_ptr<QSocketNotifier> input_;
    bool held_ = false;
};

}  // namespace tarnix::sim
