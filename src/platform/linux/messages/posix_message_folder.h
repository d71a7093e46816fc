#pragma once

#include "answering/message_folder.h"

#include <string>

namespace tarnix {

// The messages folder on a POSIX file system: made with mode 0700, messages made with mode 0600
// and O_EXCL, so a message never replaces another, even one made in the same second.
class PosixMessageFolder final : public MessageFolder {
public:
    // Numbered names tried after the plain one before giving up.
    static constexpr int kMaxSuffix = 1000;

    // folder: ends in "/".
    explicit PosixMessageFolder(std::string folder);

    std::string path() const override { return folder_; }
    bool prepare() override;
    std::string reserve(const std::string& stem) override;
    bool remove(const std::string& path) override;

private:
    std::string folder_;
};

}  // namespace tarnix
