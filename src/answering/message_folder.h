#pragma once

#include <string>

namespace tarnix {

// The folder the recorded messages go to. Only the owner of a message may read it: the folder
// is made for the user alone and every file in it is the user's alone.
class MessageFolder {
public:
    virtual ~MessageFolder() = default;
    // The folder's path, ending in "/".
    virtual std::string path() const = 0;
    // Makes the folder when it is missing; true when new files can be made in it.
    virtual bool prepare() = 0;
    // Makes a new empty file named stem + ".mp3", or, when that name is taken, stem + "-2.mp3",
    // "-3.mp3", ...: never an existing file. Its full path, or empty when none could be made.
    virtual std::string reserve(const std::string& stem) = 0;
    // Removes a file of the folder; false when it could not be removed.
    virtual bool remove(const std::string& path) = 0;
};

}  // namespace tarnix
