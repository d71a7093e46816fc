#include "platform/linux/hid/udev_hid_bus.h"

#include "platform/linux/hid/hid_log.h"
#include "platform/linux/hid/hidraw_device.h"
#include "platform/linux/hid/report_layout.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>

#include <fcntl.h>
#include <unistd.h>

namespace tarnix {
namespace {

constexpr char kSubsystem[] = "hidraw";

struct HidIds {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

// The hid parent's HID_ID reads "bus:vendor:product" in hex, e.g. 0003:000004B4:00000302.
std::optional<HidIds> readIds(udev_device* hidParent)
{
    const char* id = udev_device_get_property_value(hidParent, "HID_ID");
    unsigned bus = 0;
    unsigned vendor = 0;
    unsigned product = 0;
    if (id == nullptr || std::sscanf(id, "%x:%x:%x", &bus, &vendor, &product) != 3) {
        return std::nullopt;
    }
    return HidIds{static_cast<std::uint16_t>(vendor), static_cast<std::uint16_t>(product)};
}

udev_device* hidParentOf(udev_device* hidraw)
{
    return udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr);
}

// The descriptor is binary, so it is read from sysfs directly rather than through
// udev_device_get_sysattr_value, which stops at the first zero byte.
std::vector<std::uint8_t> readReportDescriptor(udev_device* hidParent)
{
    std::ifstream file(std::string(udev_device_get_syspath(hidParent)) + "/report_descriptor",
                       std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Orders "hidraw2" before "hidraw10" and "1-2" before "1-10": runs of digits compare by value.
bool naturalLess(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    const auto isDigit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const std::size_t startA = i;
            const std::size_t startB = j;
            while (i < a.size() && isDigit(a[i])) ++i;
            while (j < b.size() && isDigit(b[j])) ++j;
            std::string_view numberA = a.substr(startA, i - startA);
            std::string_view numberB = b.substr(startB, j - startB);
            numberA.remove_prefix(std::min(numberA.find_first_not_of('0'), numberA.size()));
            numberB.remove_prefix(std::min(numberB.find_first_not_of('0'), numberB.size()));
            if (numberA.size() != numberB.size()) return numberA.size() < numberB.size();
            if (numberA != numberB) return numberA < numberB;
            continue;
        }
        if (a[i] != b[j]) return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

}  // namespace

UdevHidBus::UdevHidBus(EventLoop& loop) : loop_(loop), udev_(udev_new())
{
    if (!udev_) {
        qCWarning(lcHid) << "libudev is not available; no handset can be found";
        return;
    }
    // The monitor runs before anyone enumerates, so no change falls between a listing and the
    // first event.
    monitor_.reset(udev_monitor_new_from_netlink(udev_.get(), "udev"));
    if (!monitor_ ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor_.get(), kSubsystem, nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor_.get()) < 0) {
        qCWarning(lcHid) << "cannot follow device changes; handsets plugged in later are not seen";
        monitor_.reset();
        return;
    }
    watchId_ = loop_.watchFd(udev_monitor_get_fd(monitor_.get()), [this](unsigned) { receiveChanges(); });
}

UdevHidBus::~UdevHidBus()
{
    if (watchId_ != 0) loop_.unwatchFd(watchId_);
}

void UdevHidBus::setChangeHandler(ChangeHandler handler)
{
    handler_ = std::move(handler);
}

void UdevHidBus::receiveChanges()
{
    // Drained even without a handler so stale events do not pile up in the socket.
    while (std::unique_ptr<udev_device, UdevDeleter> device{udev_monitor_receive_device(monitor_.get())}) {
        const char* action = udev_device_get_action(device.get());
        if (action == nullptr || !handler_) continue;
        if (std::strcmp(action, "add") == 0) {
            handler_(HidChange::Arrival);
        } else if (std::strcmp(action, "remove") == 0) {
            handler_(HidChange::Removal);
        }
    }
}

std::vector<HidInterfaceInfo> UdevHidBus::interfaces()
{
    if (!udev_) return {};
    std::unique_ptr<udev_enumerate, UdevDeleter> enumerate{udev_enumerate_new(udev_.get())};
    if (!enumerate || udev_enumerate_add_match_subsystem(enumerate.get(), kSubsystem) < 0 ||
        udev_enumerate_scan_devices(enumerate.get()) < 0) {
        return {};
    }

    std::vector<std::pair<std::string, HidInterfaceInfo>> found;
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get()))
    {
        const char* syspath = udev_list_entry_get_name(entry);
        std::unique_ptr<udev_device, UdevDeleter> device{udev_device_new_from_syspath(udev_.get(), syspath)};
        if (!device) continue;
        HidInterfaceInfo info;
        if (const char* node = udev_device_get_devnode(device.get())) info.path = node;
        if (udev_device* parent = hidParentOf(device.get())) {
            const auto ids = readIds(parent).value_or(HidIds{});
            info.vendorId = ids.vendorId;
            info.productId = ids.productId;
        }
        found.emplace_back(syspath, std::move(info));
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return naturalLess(a.first, b.first); });

    std::vector<HidInterfaceInfo> result;
    result.reserve(found.size());
    for (auto& [syspath, info] : found) result.push_back(std::move(info));
    return result;
}

std::unique_ptr<HidDevice> UdevHidBus::open(const std::string& path)
{
    if (!udev_) return nullptr;
    const std::string sysname = path.substr(path.rfind('/') + 1);
    std::unique_ptr<udev_device, UdevDeleter> device{
        udev_device_new_from_subsystem_sysname(udev_.get(), kSubsystem, sysname.c_str())};
    udev_device* parent = device ? hidParentOf(device.get()) : nullptr;
    const auto ids = parent ? readIds(parent) : std::nullopt;
    if (!ids) {
        qCDebug(lcHid) << "no HID device behind" << path.c_str();
        return nullptr;
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        qCDebug(lcHid) << "cannot open" << path.c_str() << ":" << std::strerror(errno);
        return nullptr;
    }
    return std::make_unique<HidrawDevice>(fd, ids->vendorId, ids->productId,
                                          parseReportLayout(readReportDescriptor(parent)));
}

}  // namespace tarnix
