// Claims the instance mark the way the program does, says what it got, and then holds the mark
// until its standard input closes. A refused copy exits 0 at once, as the program does.
#include "platform/linux/dbus/bus_name_instance_marker.h"
#include "platform/linux/session/lock_file_instance_marker.h"

#include <QCoreApplication>

#include <cstdio>

#include <unistd.h>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    tarnix::LockFileInstanceMarker lockFile(tarnix::LockFileInstanceMarker::defaultPath());
    tarnix::BusNameInstanceMarker marker(lockFile);
    switch (marker.claim()) {
        case tarnix::InstanceClaim::AnotherRuns:
            std::puts("another");
            return 0;
        case tarnix::InstanceClaim::Claimed:
            std::puts("claimed");
            break;
        case tarnix::InstanceClaim::Unchecked:
            std::puts("unchecked");
            break;
    }
    std::fflush(stdout);
    char byte;
    while (::read(STDIN_FILENO, &byte, 1) > 0) {
    }
    return 0;
}
