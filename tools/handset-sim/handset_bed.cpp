#include "handset_bed.h"

#include "vendor_report_descriptor.h"
#include "virtual_handsets.h"

namespace tarnix::sim {

std::unique_ptr<VirtualHandset> HandsetBed::makeHandset(int model)
{
    switch (model) {
        case 1:
            return std::make_unique<VirtualBasicHandset>();
        case 2:
            return std::make_unique<VirtualLcdHandset>();
        case 4:
            return std::make_unique<VirtualMelodyHandset>();
        default:
            return nullptr;
    }
}

void HandsetBed::setStateHandler(StateHandler handler)
{
    std::lock_guard lock(mutex_);
    stateHandler_ = std::move(handler);
}

int HandsetBed::plug(int model, const std::string& usbPort)
{
    std::unique_ptr<VirtualHandset> emulator = makeHandset(model);
    if (!emulator) return -1;
    std::lock_guard lock(mutex_);
    // The descriptor declares the report sizes the emulator works with, less the id byte
    // (the handsets do not number their reports).
    const test::UmockdevHidBed::Device device{
        emulator->vendorId(), emulator->productId(),
        test::vendorReportDescriptor(emulator->inputReportLength() - 1, emulator->outputReportLength() - 1),
        usbPort};
    const int handset = static_cast<int>(slots_.size());
    // A report the program writes before the slot is filled waits for the lock held here.
    test::UmockdevHidNode& node =
        bed_.plug(device, [this, handset](std::vector<std::uint8_t> report) { received(handset, report); });
    slots_.push_back({std::move(emulator), &node, {}, true});
    settle(handset);
    return handset;
}

bool HandsetBed::unplug(int handset)
{
    std::lock_guard lock(mutex_);
    Slot* slot = pluggedSlot(handset);
    if (!slot) return false;
    slot->plugged = false;
    bed_.unplug(*slot->node);
    return true;
}

bool HandsetBed::plugged(int handset) const
{
    std::lock_guard lock(mutex_);
    return handset >= 0 && std::size_t(handset) < slots_.size() && slots_[std::size_t(handset)].plugged;
}

std::string HandsetBed::nodePath(int handset) const
{
    std::lock_guard lock(mutex_);
    return handset >= 0 && std::size_t(handset) < slots_.size() ? slots_[std::size_t(handset)].node->path()
                                                                : "";
}

double HandsetBed::reportTakenSince(int handset, double since) const
{
    std::lock_guard lock(mutex_);
    if (handset < 0 || handset >= static_cast<int>(slots_.size())) return 0;
    test::UmockdevHidNode* node = slots_[static_cast<std::size_t>(handset)].node;
    return node == nullptr ? 0 : node->reportTakenSince(since);
}

std::string HandsetBed::state(int handset) const
{
    std::lock_guard lock(mutex_);
    return handset >= 0 && std::size_t(handset) < slots_.size() ? slots_[std::size_t(handset)].state : "";
}

bool HandsetBed::with(int handset, const std::function<void(VirtualHandset&)>& action)
{
    std::lock_guard lock(mutex_);
    Slot* slot = pluggedSlot(handset);
    if (!slot) return false;
    action(*slot->emulator);
    settle(handset);
    return true;
}

bool HandsetBed::press(int handset, int key)
{
    bool has = false;
    return with(handset, [&has, key](VirtualHandset& h) { has = h.press(key); }) && has;
}

bool HandsetBed::release(int handset)
{
    return with(handset, [](VirtualHandset& h) { h.release(); });
}

bool HandsetBed::lift(int handset)
{
    return with(handset, [](VirtualHandset& h) { h.lift(); });
}

bool HandsetBed::replace(int handset)
{
    return with(handset, [](VirtualHandset& h) { h.replace(); });
}

void HandsetBed::findListeners()
{
    std::lock_guard lock(mutex_);
    bed_.findListeners();
}

void HandsetBed::received(int handset, const std::vector<std::uint8_t>& report)
{
    std::lock_guard lock(mutex_);
    if (Slot* slot = pluggedSlot(handset)) {
        slot->emulator->receive(report);
        settle(handset);
    }
}

void HandsetBed::settle(int handset)
{
    Slot& slot = slots_[std::size_t(handset)];
    while (slot.emulator->hasInputReport()) {
        std::vector<std::uint8_t> report = slot.emulator->takeInputReport();
        // hidraw hands unnumbered reports over without their id byte.
        report.erase(report.begin());
        slot.node->sendInputReport(std::move(report));
    }
    std::string state = slot.emulator->describe();
    if (state == slot.state) return;
    slot.state = std::move(state);
    if (stateHandler_) stateHandler_(handset, slot.state);
}

HandsetBed::Slot* HandsetBed::pluggedSlot(int handset)
{
    if (handset < 0 || std::size_t(handset) >= slots_.size()) return nullptr;
    Slot& slot = slots_[std::size_t(handset)];
    return slot.plugged ? &slot : nullptr;
}

}  // namespace tarnix::sim
