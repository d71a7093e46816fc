#pragma once

#include "umockdev_hid_bed.h"
#include "virtual_handset.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tarnix::sim {

// Virtual handsets plugged into a umockdev testbed: each is a /dev/hidrawN whose reports come
// from, and go to, its byte-level emulator. The program under test runs under the umockdev
// preload, here or in a child with this process's UMOCKDEV_DIR. Every member may be called
// from any thread; the program's reports are taken on umockdev's thread.
class HandsetBed {
public:
    // Hears each new account of a handset (VirtualHandset::describe()), in order, on whichever
    // thread made the change. It must not call back into the bed.
    using StateHandler = std::function<void(int handset, const std::string& state)>;

    // The emulator of model 1, 2 or 4; null for any other model.
    static std::unique_ptr<VirtualHandset> makeHandset(int model);

    HandsetBed() = default;
    HandsetBed(const HandsetBed&) = delete;
    HandsetBed& operator=(const HandsetBed&) = delete;

    void setStateHandler(StateHandler handler);

    // Plugs a new handset of the model in the USB port (empty: the next free one) and returns
    // its number, or -1 for a model without emulator. Its node is named afresh each time.
    int plug(int model, const std::string& usbPort = "");
    // False when the handset is not plugged in.
    bool unplug(int handset);
    bool plugged(int handset) const;
    std::string nodePath(int handset) const;
    std::string state(int handset) const;
    // When the program first took an input report of the handset at or after `since`
    // (CLOCK_MONOTONIC seconds; 0 for none or no such handset): where the program's own share of
    // a key's way begins.
    double reportTakenSince(int handset, double since) const;

    // A person's actions; false when the handset is not plugged in (or lacks the key).
    bool press(int handset, int key);
    bool release(int handset);
    bool lift(int handset);
    bool replace(int handset);
    // Runs action on the emulator under the bed's lock, then hands the program the reports it
    // queued. False when the handset is not plugged in.
    bool with(int handset, const std::function<void(VirtualHandset&)>& action);

    void findListeners();

private:
    struct Slot {
        std::unique_ptr<VirtualHandset> emulator;
        test::UmockdevHidNode* node = nullptr;
        std::string state;
        bool plugged = true;
    };

    void received(int handset, const std::vector<std::uint8_t>& report);
    // After each change: queued input reports to the node, a new account to the handler.
    void settle(int handset);
    Slot* pluggedSlot(int handset);

    // The bed goes first: once its nodes are gone no report can reach the slots.
    mutable std::mutex mutex_;
    StateHandler stateHandler_;
    std::vector<Slot> slots_;
    test::UmockdevHidBed bed_;
};

}  // namespace tarnix::sim
