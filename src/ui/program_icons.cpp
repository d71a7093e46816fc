#include "ui/program_icons.h"

#include "ui/tray_icon.h"

#include <array>

// Resources of a static library are registered by hand, outside any namespace.
static void registerIconResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace tarnix {
namespace {

QIcon load(const char* name)
{
    static const bool registered = (registerIconResources(), true);
    Q_UNUSED(registered);
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
}

template <std::size_t N>
QIcon pick(const std::array<const char*, N>& names, int index)
{
    if (index < 0 || index >= static_cast<int>(N)) return {};
    return load(names[static_cast<std::size_t>(index)]);
}

}  // namespace

QIcon toolbarIcon(int index)
{
    static constexpr std::array<const char*, 9> kNames = {
        "voice_off", "voice_on", "text_off", "text_on", "call", "stop", "play", "delete", "message"};
    return pick(kNames, index);
}

QIcon recordIcon(int index)
{
    static constexpr std::array<const char*, 2> kNames = {"record_new", "record_played"};
    return pick(kNames, index);
}

QIcon windowIcon()
{
    return load("program");
}

QIcon trayPicture(int iconId)
{
    switch (iconId) {
        case TrayIconId::Ready:
            return load("tray_ready");
        case TrayIconId::NoHandset:
            return load("tray_no_handset");
        case TrayIconId::NoMessenger:
            return load("tray_no_messenger");
        default:
            return {};
    }
}

}  // namespace tarnix
