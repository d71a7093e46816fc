#include "fake_hid_bus.h"

#include <algorithm>

#include <sys/eventfd.h>
#include <unistd.h>

namespace tarnix::test {

namespace {

class FakeHidDevice final : public HidDevice {
public:
    explicit FakeHidDevice(std::shared_ptr<FakeHidBus::Slot> slot) : slot_(std::move(slot)) {}

    std::uint16_t vendorId() const override { return slot_->vendorId; }
    std::uint16_t productId() const override { return slot_->productId; }
    int inputReportLength() const override
    {
        return slot_->handset ? slot_->handset->inputReportLength() : 0;
    }
    int outputReportLength() const override
    {
        return slot_->handset ? slot_->handset->outputReportLength() : 0;
    }

    bool writeReport(std::span<const std::uint8_t> report) override
    {
        if (!slot_->present || !slot_->handset) return false;
        slot_->handset->receive(report);
        return true;
    }

    int readReport(std::span<std::uint8_t> buffer, int timeoutMs) override
    {
        ++slot_->reads;
        slot_->longestReadWait = std::max(slot_->longestReadWait, timeoutMs);
        if (!slot_->present) return -1;
        if (!slot_->handset || !slot_->handset->hasInputReport()) return 0;
        const std::vector<std::uint8_t> report = slot_->handset->takeInputReport();
        if (slot_->readyFd >= 0) {
            std::uint64_t one = 0;
            (void)::read(slot_->readyFd, &one, sizeof one);
        }
        const std::size_t n = std::min(report.size(), buffer.size());
        std::copy_n(report.begin(), n, buffer.begin());
        return int(n);
    }

    int readableFd() const override { return slot_->readyFd; }

private:
    std::shared_ptr<FakeHidBus::Slot> slot_;
};

}  // namespace

FakeHidBus::Slot::~Slot()
{
    if (readyFd < 0) return;
    handset->setQueueListener({});
    ::close(readyFd);
}

void FakeHidBus::Slot::signal() const
{
    const std::uint64_t one = 1;
    if (readyFd >= 0) (void)::write(readyFd, &one, sizeof one);
}

std::string FakeHidBus::add(std::shared_ptr<Slot> slot)
{
    slot->path = "/dev/hidraw" + std::to_string(nextNode_++);
    std::string path = slot->path;
    slots_.push_back(std::move(slot));
    announce(HidChange::Arrival);
    return path;
}

std::string FakeHidBus::plug(std::shared_ptr<sim::VirtualHandset> handset)
{
    auto slot = std::make_shared<Slot>();
    slot->vendorId = handset->vendorId();
    slot->productId = handset->productId();
    slot->handset = std::move(handset);
    if (offerDescriptors_) {
        slot->readyFd = ::eventfd(0, EFD_SEMAPHORE | EFD_NONBLOCK | EFD_CLOEXEC);
        slot->handset->setQueueListener([raw = slot.get()] { raw->signal(); });
    }
    return add(std::move(slot));
}

std::string FakeHidBus::plugOther(std::uint16_t vendorId, std::uint16_t productId)
{
    auto slot = std::make_shared<Slot>();
    slot->vendorId = vendorId;
    slot->productId = productId;
    return add(std::move(slot));
}

void FakeHidBus::plugNameless()
{
    add(std::make_shared<Slot>());
    slots_.back()->path.clear();
}

void FakeHidBus::unplug(const std::string& path)
{
    const auto it =
        std::find_if(slots_.begin(), slots_.end(), [&](const auto& s) { return s->path == path; });
    if (it == slots_.end()) return;
    (*it)->present = false;
    (*it)->signal();
    slots_.erase(it);
    announce(HidChange::Removal);
}

void FakeHidBus::setOpenable(const std::string& path, bool openable)
{
    if (Slot* slot = find(path)) slot->openable = openable;
}

void FakeHidBus::limitOpens(const std::string& path, int opens)
{
    if (Slot* slot = find(path)) slot->opensLeft = opens;
}

int FakeHidBus::longestReadWait(const std::string& path) const
{
    const Slot* slot = find(path);
    return slot ? slot->longestReadWait : 0;
}

int FakeHidBus::reads(const std::string& path) const
{
    const Slot* slot = find(path);
    return slot ? slot->reads : 0;
}

int FakeHidBus::opens(const std::string& path) const
{
    const Slot* slot = find(path);
    return slot ? slot->opens : 0;
}

FakeHidBus::Slot* FakeHidBus::find(const std::string& path) const
{
    for (const auto& slot : slots_) {
        if (slot->path == path) return slot.get();
    }
    return nullptr;
}

void FakeHidBus::announce(HidChange change)
{
    // Like a monitor, it tells only of changes after someone started listening.
    if (!handler_) return;
    loop_.post([this, change] {
        if (handler_) handler_(change);
    });
}

std::vector<HidInterfaceInfo> FakeHidBus::interfaces()
{
    std::vector<HidInterfaceInfo> list;
    for (const auto& slot : slots_) list.push_back({slot->path, slot->vendorId, slot->productId});
    return list;
}

std::unique_ptr<HidDevice> FakeHidBus::open(const std::string& path)
{
    for (const auto& slot : slots_) {
        if (slot->path == path && !path.empty() && slot->openable && slot->opensLeft != 0) {
            if (slot->opensLeft > 0) --slot->opensLeft;
            ++slot->opens;
            return std::make_unique<FakeHidDevice>(slot);
        }
    }
    return nullptr;
}

}  // namespace tarnix::test
