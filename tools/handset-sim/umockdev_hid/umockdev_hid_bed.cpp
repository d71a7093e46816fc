#include "umockdev_hid_bed.h"

#include <umockdev.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace tarnix::test {
namespace {

std::string hex(unsigned value, int width)
{
    char digits[9];
    std::snprintf(digits, sizeof digits, "%0*X", width, value);
    return digits;
}

std::string hex(const std::vector<std::uint8_t>& bytes)
{
    std::string text;
    for (std::uint8_t byte : bytes) text += hex(byte, 2);
    return text;
}

std::string rootOf(UMockdevTestbed* testbed)
{
    gchar* root = umockdev_testbed_get_root_dir(testbed);
    std::string path = root;
    g_free(root);
    return path;
}

constexpr char kHidSubsystem[] = "hid";
constexpr char kHidrawSubsystem[] = "hidraw";

}  // namespace

UmockdevHidBed::UmockdevHidBed() : testbed_(umockdev_testbed_new()), uevents_(rootOf(testbed_))
{
    // The testbed's catch-all ioctl handler makes the preload keep an entry in a table of 50 for
    // every open() of a /dev path, a failed one too, and a failed one is never closed: ALSA's
    // probe of 32 absent sound cards (two opens each) aborts the program on its first device
    // list. Every node here has its own handler, so nothing needs the catch-all; without its
    // socket the preload leaves other /dev paths alone.
    std::filesystem::remove(std::filesystem::path(rootOf(testbed_)) / "ioctl" / "_default");
}

UmockdevHidBed::~UmockdevHidBed()
{
    plugged_.clear();
    g_object_unref(testbed_);
}

bool UmockdevHidBed::preloaded()
{
    // umockdev_in_mock_environment() remembers its first answer, so ask the environment.
    const char* preload = std::getenv("LD_PRELOAD");
    return preload != nullptr && std::strstr(preload, "libumockdev-preload") != nullptr;
}

UmockdevHidNode& UmockdevHidBed::plug(const Device& device, UmockdevHidNode::WriteHandler onWrite)
{
    const int number = static_cast<int>(plugged_.size());
    const std::string port = device.usbPort.empty() ? "1-" + std::to_string(number + 1) : device.usbPort;
    const std::string hidName = "0003:" + hex(device.vendorId, 4) + ":" + hex(device.productId, 4) + "." +
                                hex(static_cast<unsigned>(number + 1), 4);
    const std::string hidPath =
        "/devices/pci0000:00/0000:00:14.0/usb1/" + port + "/" + port + ":1.0/" + hidName;
    const std::string name = "hidraw" + std::to_string(number);
    const std::string hidrawPath = hidPath + "/hidraw/" + name;

    const std::string record = "P: " + hidPath +
                               "\n"
                               "E: SUBSYSTEM=hid\n"
                               "E: HID_ID=0003:" +
                               hex(device.vendorId, 8) + ":" + hex(device.productId, 8) +
                               "\n"
                               "H: report_descriptor=" +
                               hex(device.reportDescriptor) +
                               "\n\n"
                               "P: " +
                               hidrawPath +
                               "\n"
                               "N: " +
                               name +
                               "\n"
                               "E: SUBSYSTEM=hidraw\n"
                               "E: DEVNAME=/dev/" +
                               name + "\nA: dev=247:" + std::to_string(number) + "\n";
    GError* error = nullptr;
    if (!umockdev_testbed_add_from_string(testbed_, record.c_str(), &error)) {
        std::fprintf(stderr, "umockdev hid test bed: cannot add %s: %s\n", name.c_str(), error->message);
        std::abort();
    }
    plugged_.push_back({std::make_unique<UmockdevHidNode>(testbed_, "/dev/" + name, std::move(onWrite)),
                        hidPath, hidrawPath});
    // Only a process under the preload finds the device it just added, and so only there does
    // umockdev announce it. Announced once the node answers: a program in another process
    // opens it as soon as it hears of it.
    if (!preloaded()) {
        uevents_.send("add", hidPath, kHidSubsystem, "");
        uevents_.send("add", hidrawPath, kHidrawSubsystem, "/dev/" + name);
    }
    return *plugged_.back().node;
}

void UmockdevHidBed::unplug(UmockdevHidNode& node)
{
    for (Plugged& device : plugged_) {
        if (device.node.get() != &node || !device.present) continue;
        node.markGone();
        // umockdev_testbed_remove_device() is silent. The removal is announced once the device
        // has left sysfs, as the kernel does: a listener in another process that scans on
        // hearing of it must not find the device still there.
        umockdev_testbed_remove_device(testbed_, ("/sys" + device.hidrawDevpath).c_str());
        umockdev_testbed_remove_device(testbed_, ("/sys" + device.hidDevpath).c_str());
        uevents_.send("remove", device.hidrawDevpath, kHidrawSubsystem, node.path());
        uevents_.send("remove", device.hidDevpath, kHidSubsystem, "");
        device.present = false;
    }
}

}  // namespace tarnix::test
