#include "sim_windows.h"

#include "sim_transcript.h"

#include <QSocketNotifier>

#include <cstdio>

namespace tarnix::sim {

SimWindows::SimWindows(SimTranscript& transcript)
    : transcript_(transcript), windows_(nullptr, [this](const std::string& line) {
          transcript_.write("WINDOW", QString::fromStdString(line));
      })
{
    if (!windows_.available()) {
        transcript_.write("EVENT", QStringLiteral("no display: no windows"));
        return;
    }
    events_ = std::make_unique<QSocketNotifier>(windows_.connectionFd(), QSocketNotifier::Read);
    QObject::connect(events_.get(), &QSocketNotifier::activated, [this] { windows_.processEvents(); });
    form_ = windows_.showMainForm("Skype", true, true);
    record("form", form_);
    // Xlib may have read events into its queue while it waited for a reply, where the socket
    // notifier cannot see them: every change made here is followed by a look at that queue.
    windows_.processEvents();
}

SimWindows::~SimWindows() = default;

void SimWindows::showPopup(const QString& title)
{
    if (form_ == 0) return;
    record("popup", windows_.showPopup(form_, title.toStdString()));
    windows_.processEvents();
}

void SimWindows::setEntryText(const QString& text)
{
    if (form_ == 0) return;
    windows_.setEntryText(text.toStdString());
}

void SimWindows::iconifyForm()
{
    if (form_ == 0) return;
    windows_.iconify(form_);
    windows_.processEvents();
}

void SimWindows::record(const char* what, unsigned long window)
{
    char line[64];
    std::snprintf(line, sizeof line, "%s 0x%lx", what, window);
    transcript_.write("WINDOW", QString::fromLatin1(line));
}

}  // namespace tarnix::sim
