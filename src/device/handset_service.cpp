#include "device/handset_service.h"

#include "device/basic_handset.h"
#include "device/device_log.h"
#include "device/handset_event_sink.h"
#include "device/lcd_handset.h"
#include "device/melody_handset.h"
#include "device/pstn_board.h"

#include <algorithm>
#include <array>

namespace tarnix {
namespace {

// The models in the order the scan tries them.
constexpr std::array<const HandsetProperties*, 4> kModels{
    &LcdHandset::kProperties, &BasicHandset::kProperties, &MelodyHandset::kProperties,
    &PstnBoard::kProperties};

bool isModel(std::uint16_t vendorId, std::uint16_t productId, const HandsetProperties& model)
{
    return vendorId == model[PropVendorId] && productId == model[PropProductId];
}

// Listed ids that no model has: such an interface is never chosen, so it need not be opened.
bool anyModel(const HidInterfaceInfo& info)
{
    return std::any_of(kModels.begin(), kModels.end(), [&info](const HandsetProperties* model) {
        return isModel(info.vendorId, info.productId, *model);
    });
}

}  // namespace

HandsetService::HandsetService(EventLoop& loop, HidBus& bus, ErrorReporter& errors, PstnLibrary& pstn,
                               DeviceClock& clock)
    : loop_(loop), bus_(bus), errors_(errors), pstn_(pstn), clock_(clock)
{
}

HandsetService::~HandsetService()
{
    bus_.setChangeHandler({});
    if (HandsetDevice* handset = channel_.current()) {
        handset->Light(false);
        handset->Halt();
    }
}

void HandsetService::StartHandsetService(HandsetEventSink* sink)
{
    bus_.setChangeHandler([this](HidChange change) { onDeviceChange(change); });
    ScanHandsets();
    channel_.SetHandsetEventSink(sink);
}

void HandsetService::ScanHandsets()
{
    const std::vector<HidInterfaceInfo> present = bus_.interfaces();
    for (std::size_t index = 0; index < table_.size(); ++index) {
        table_[index] = {};
        if (index >= present.size()) continue;
        if (present[index].path.empty()) {
            errors_.showError(kErrorTitle, kNoSystemNameText);
            return;
        }
        if (!anyModel(present[index])) continue;
        if (const std::unique_ptr<HidDevice> device = bus_.open(present[index].path)) {
            table_[index] = {device->vendorId(), device->productId()};
        }
    }

    if (HandsetDevice* current = channel_.current()) {
        const int vendor = current->Property(PropVendorId);
        const int product = current->Property(PropProductId);
        if (!current->DeviceLost()) {
            for (const ScanEntry& entry : table_) {
                if (entry.vendorId != 0 && entry.vendorId == vendor && entry.productId == product) return;
            }
        }
        qCInfo(lcDevice) << "handset" << Qt::hex << vendor << product << "is gone";
        // Taken out first: whatever the sink does on hearing of it cannot reach the handset
        // being stopped (nor destroy it under Stop()).
        channel_.takeCurrent()->Stop();
    }

    for (const ScanEntry& entry : table_) {
        if (entry.vendorId == 0) continue;
        if (std::unique_ptr<HandsetDevice> handset = createModel(entry)) {
            qCInfo(lcDevice) << "handset model" << handset->ModelType() << "found";
            channel_.setCurrent(std::move(handset));
            break;
        }
    }
    if (HandsetDevice* current = channel_.current()) {
        if (current->Start() != 0) qCWarning(lcDevice) << "handset could not be opened";
    }
}

std::unique_ptr<HandsetDevice> HandsetService::createModel(const ScanEntry& entry)
{
    const auto is = [&entry](const HandsetProperties& model) {
        return isModel(entry.vendorId, entry.productId, model);
    };
    HandsetHost& host = *this;
    if (is(LcdHandset::kProperties)) return std::make_unique<LcdHandset>(host);
    if (is(BasicHandset::kProperties)) return std::make_unique<BasicHandset>(host);
    if (is(MelodyHandset::kProperties)) return std::make_unique<MelodyHandset>(host);
    if (is(PstnBoard::kProperties)) {
        auto board = std::make_unique<PstnBoard>(host, pstn_);
        pstn_.LoadPstnLibrary();
        return board;
    }
    return nullptr;
}

std::unique_ptr<HidDevice> HandsetService::OpenHandsetInterface(const HandsetDevice& model)
{
    const int vendor = model.Property(PropVendorId);
    const int product = model.Property(PropProductId);
    const std::vector<HidInterfaceInfo> present = bus_.interfaces();
    const std::size_t limit = std::min<std::size_t>(present.size(), kOpenScanLimit);
    for (std::size_t index = 0; index < limit; ++index) {
        const HidInterfaceInfo& info = present[index];
        // Listed ids that are not the model's would not match once opened either.
        if (info.path.empty() || info.vendorId != vendor || info.productId != product) continue;
        std::unique_ptr<HidDevice> device = bus_.open(info.path);
        if (device && device->vendorId() == vendor && device->productId() == product) return device;
    }
    return nullptr;
}

void HandsetService::StartPollTimer()
{
    const HandsetDevice* current = channel_.current();
    const int fd = current ? current->readableFd() : -1;
    if (fd < 0) {
        startTick();
        return;
    }
    readWatch_ = loop_.watchFd(fd, [this](unsigned) { onReadable(); });
}

void HandsetService::startTick()
{
    loop_.startTimer({this, kPollTimerId}, kPollPeriodMs, [this] { onPollTick(); });
    pollTimerSet_ = true;
}

void HandsetService::StopPollTimer()
{
    if (readWatch_ != 0) {
        loop_.unwatchFd(readWatch_);
        readWatch_ = 0;
    }
    if (!pollTimerSet_) return;
    loop_.stopTimer({this, kPollTimerId});
    pollTimerSet_ = false;
}

void HandsetService::onPollTick()
{
    if (HandsetDevice* current = channel_.current()) current->Poll();
    if (readWatch_ != 0) tickWhileBusy();
}

void HandsetService::onReadable()
{
    if (HandsetDevice* current = channel_.current()) current->Poll();
    // A hook change read with a key goes out now rather than a tick later. The sink may have
    // run a nested loop that replaced the handset: look it up again each time.
    while (channel_.current() && channel_.current()->hookChangePending()) channel_.current()->Poll();
    const HandsetDevice* current = channel_.current();
    if (readWatch_ == 0 || !current) return;
    if (current->DeviceLost()) {
        // An unplugged node stays readable: stop listening until the removal's scan.
        StopPollTimer();
        return;
    }
    tickWhileBusy();
}

void HandsetService::tickWhileBusy()
{
    const HandsetDevice* current = channel_.current();
    const bool busy = current && !current->quiet();
    if (busy && !pollTimerSet_) {
        startTick();
    } else if (!busy && pollTimerSet_) {
        loop_.stopTimer({this, kPollTimerId});
        pollTimerSet_ = false;
    }
}

void HandsetService::announce(int present)
{
    if (HandsetEventSink* sink = channel_.eventSink()) sink->OnHandsetPresence(present, 0);
}

void HandsetService::onDeviceChange(HidChange change)
{
    const bool hadHandset = channel_.current() != nullptr;
    switch (change) {
        case HidChange::Arrival:
            // While a handset is current, a second one changes nothing until the first is unplugged.
            if (hadHandset) return;
            ScanHandsets();
            if (channel_.current()) announce(1);
            return;
        case HidChange::Removal:
            if (!hadHandset) return;
            ScanHandsets();
            announce(channel_.current() ? 1 : 0);
            return;
    }
}

}  // namespace tarnix
