#pragma once

#include <string>
#include <string_view>

namespace tarnix {

// How a discovery ended, as the messenger's API numbers it.
enum SkypeAttachStatus : int {
    AttachSuccess = 0,
    AttachRefused = 2,
    AttachNotAvailable = 3,
    // The messenger's API has just become available: look for it again.
    AttachApiAvailable = 0x8001,
};

// What the carrier hands the Skype client. Every call comes on the main thread; the client
// posts each one to itself before acting on it.
class SkypeTransportListener {
public:
    virtual ~SkypeTransportListener() = default;
    // The outcome of a discovery: status 0 with the messenger's address when it let us attach,
    // another status when it refused or did not answer; 0x8001 (no address) when the
    // messenger's service has just appeared.
    virtual void onAttachMessage(const std::string& peer, int status) = 0;
    // One text from a peer: a notification, or the reply to a command.
    virtual void onCopyData(const std::string& sender, std::string_view text) = 0;
    // A command to this peer was not delivered in time.
    virtual void onSendFailed(const std::string& peer) = 0;
};

// The carrier of the messenger's text API. No call blocks: outcomes come back through the
// listener.
class SkypeTransport {
public:
    virtual ~SkypeTransport() = default;

    virtual void setListener(SkypeTransportListener* listener) = 0;
    // Asks a running messenger to let us attach.
    virtual void discover() = 0;
    // The peer is still the messenger: it has not gone, nor given up the messenger's service.
    virtual bool peerExists(const std::string& peer) const = 0;
    // Sends one command, keeping the order of sending; false when it cannot even go out.
    virtual bool send(const std::string& peer, std::string_view text) = 0;
};

}  // namespace tarnix
