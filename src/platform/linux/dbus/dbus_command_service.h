#pragma once

#include <QObject>

namespace tarnix {

class CommandTarget;

// Takes the window commands of other programs on the session bus, under the instance's bus
// name: object /org/tarnix/UsbPhone, interface org.tarnix.UsbPhone, method Command(i id) -> b.
// Calls arrive on the main thread, where the bus connection lives.
class DbusCommandService final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.tarnix.UsbPhone")

public:
    static constexpr const char* ObjectPath = "/org/tarnix/UsbPhone";
    static constexpr const char* InterfaceName = "org.tarnix.UsbPhone";

    explicit DbusCommandService(CommandTarget& target) : target_(target) {}
    ~DbusCommandService() override;

    // Puts the object on the session bus; false without a bus or when the path is taken.
    bool start();

public slots:
    // True when the id is one the window takes from other programs and it has been queued.
    bool Command(int id);

private:
    CommandTarget& target_;
    bool registered_ = false;
};

}  // namespace tarnix
