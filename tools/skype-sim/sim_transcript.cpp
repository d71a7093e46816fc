#include "sim_transcript.h"

#include <cstdio>
#include <ctime>

#include <unistd.h>

namespace tarnix::sim {

SimTranscript::SimTranscript(const QString& path) : file_(path)
{
    if (path.isEmpty()) {
        (void)file_.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    } else {
        (void)file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
    }
}

void SimTranscript::write(const char* kind, const QString& text)
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%ld.%06ld ", static_cast<long>(now.tv_sec), now.tv_nsec / 1000);
    file_.write(QByteArray(stamp) + kind + ' ' + text.toUtf8() + '\n');
}

}  // namespace tarnix::sim
