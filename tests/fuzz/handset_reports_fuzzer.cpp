// Feeds input reports of any length and content to each handset model through the poll the
// program runs, stepping the virtual clock so the no-report time-out and the hook rules act.
//   byte 0   model: 0 basic (1), 1 LCD (2), 2 melody (4), 3 the PSTN board; bit 2: the device
//            offers a descriptor to watch, as hidraw nodes do
//   byte 1,2 the input and output report lengths the device declares (bit 7: the model's own)
//   then     records: a byte below 0x80 is a report of that many bytes, which follow (for the
//            board, its first byte is the code the DTMF detector reports from then on); a byte
//            from 0x80 moves the clock by its low seven bits plus one milliseconds
// Every event the sink hears must be one the model can produce.
#include "handset_test_rig.h"
#include "virtual_handsets.h"
#include "virtual_pstn_board.h"

#include <QLoggingCategory>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

using namespace tarnix;

class CheckingSink final : public HandsetEventSink {
public:
    explicit CheckingSink(bool board) : board_(board) {}

    void OnHandsetKey(int code) override
    {
        const bool digit = (code >= Key0 && code <= Key9) || code == KeyStar || code == KeyHash;
        const bool hook = code == HookOn || code == HookOff;
        const bool other = code == KeyNo || code == KeyUp || code == KeyYes || code == KeyDown ||
                           code == KeyMute || code == KeyDelete;
        if (!digit && !hook && !other) __builtin_trap();
        // The board knows digits alone and never tells of a hook.
        if (board_ && !digit) __builtin_trap();
        if (hook) {
            // The handset is either lifted or down: the same hook event twice is a lost change.
            if (code == lastHook_) __builtin_trap();
            lastHook_ = code;
        }
    }
    int OnHandsetPresence(int, int) override { return 0; }

private:
    bool board_;
    int lastHook_ = -1;
};

std::shared_ptr<sim::VirtualHandset> makeHandset(int model, sim::VirtualHandset::Lengths lengths)
{
    switch (model) {
        case 0:
            return std::make_shared<sim::VirtualBasicHandset>(lengths);
        case 1:
            return std::make_shared<sim::VirtualLcdHandset>(lengths);
        default:
            return std::make_shared<sim::VirtualMelodyHandset>(lengths);
    }
}

int declaredLength(std::uint8_t byte, int own)
{
    return (byte & 0x80) != 0 ? own : byte & 0x3F;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    QLoggingCategory::setFilterRules(QStringLiteral("tarnix.*=false"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3) return 0;
    const int model = data[0] & 0x03;
    const bool board = model == 3;

    test::HandsetTestRig rig{board ? VIRTUAL_PSTN_BOARD_PATH : "/nonexistent/libF3Voip.so"};
    if ((data[0] & 0x04) != 0) rig.bus.offerDescriptors();
    std::shared_ptr<sim::VirtualHandset> handset;
    if (board) {
        VirtualPstnBoardReset();
        rig.bus.plugOther(0x00B3, 0x0020);
    } else {
        handset = makeHandset(model, {9, 9});
        const sim::VirtualHandset::Lengths own{handset->inputReportLength(), handset->outputReportLength()};
        handset =
            makeHandset(model, {declaredLength(data[1], own.input), declaredLength(data[2], own.output)});
        rig.bus.plug(handset);
    }
    CheckingSink sink(board);
    rig.service.StartHandsetService(&sink);
    rig.loop.runPending();

    std::size_t at = 3;
    while (at < size) {
        const std::uint8_t tag = data[at++];
        if ((tag & 0x80) != 0) {
            rig.loop.advance((tag & 0x7F) + 1);
            continue;
        }
        const std::size_t length = std::min<std::size_t>(tag, size - at);
        std::vector<std::uint8_t> report(data + at, data + at + length);
        at += length;
        if (board) {
            VirtualPstnBoardDial(report.empty() ? 0 : report[0]);
        } else {
            handset->sendReport(std::move(report));
        }
        rig.loop.runPending();
    }
    // Whatever is still queued is read, and a held key times out.
    rig.loop.advance(250);
    return 0;
}
