#include "platform/linux/alsa/udev_sound_monitor.h"

#include "audio/audio_log.h"

#include <cstring>

namespace tarnix {

UdevSoundMonitor::UdevSoundMonitor(EventLoop& loop, std::function<void()> onChange)
    : loop_(loop), onChange_(std::move(onChange)), udev_(udev_new())
{
    if (udev_) monitor_.reset(udev_monitor_new_from_netlink(udev_.get(), "udev"));
    if (!monitor_ || udev_monitor_filter_add_match_subsystem_devtype(monitor_.get(), "sound", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor_.get()) < 0) {
        qCWarning(lcAudio) << "cannot follow sound devices; those plugged in later are not seen";
        monitor_.reset();
        return;
    }
    watchId_ = loop_.watchFd(udev_monitor_get_fd(monitor_.get()), [this](unsigned) { receiveChanges(); });
}

UdevSoundMonitor::~UdevSoundMonitor()
{
    if (watchId_ != 0) loop_.unwatchFd(watchId_);
}

void UdevSoundMonitor::receiveChanges()
{
    bool changed = false;
    while (udev_device* device = udev_monitor_receive_device(monitor_.get())) {
        const char* action = udev_device_get_action(device);
        changed = changed || (action != nullptr &&
                              (std::strcmp(action, "add") == 0 || std::strcmp(action, "remove") == 0));
        udev_device_unref(device);
    }
    if (changed) onChange_();
}

}  // namespace tarnix
