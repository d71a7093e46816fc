#include <QApplication>

#include "config/config_file.h"
#include "config/locale_table.h"
#include "config/settings.h"
#include "platform/linux/desktop/xdg_desktop.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);

    tarnix::XdgDesktop desktop = tarnix::XdgDesktop::forThisProcess();
    tarnix::Settings settings;
    tarnix::LocaleTable locale;
    tarnix::ConfigFile config(settings, locale, desktop);
    // The language file first: loading config.xml switches to its language.
    locale.LoadLocale(desktop.programFolder());
    config.LoadSettings();

    return app.exec();
}
