#pragma once

namespace tarnix {

enum class InstanceReply {
    Done,        // the running instance took the command
    Refused,     // it runs and refused the command
    NoInstance,  // none runs on this session bus (or there is no bus)
};

// Sends a window command to the instance that runs on the session bus and waits for its answer:
// for a process that only passes a command on and ends. Needs the Qt application object.
InstanceReply sendInstanceCommand(int id);

}  // namespace tarnix
