#pragma once

#include "config/utf8_string.h"

#include <vector>

namespace tarnix {

struct FriendRecord {
    Utf8String handle;
    // The display name, else the full name; empty until known.
    Utf8String name;
    bool listed = false;
};

// The contacts the messenger named, in order of first appearance; handles compare byte for byte.
class FriendList {
public:
    FriendRecord* find(const Utf8String& handle);
    const FriendRecord* find(const Utf8String& handle) const;
    void insertOrUpdate(const Utf8String& handle, bool listed);
    void setName(FriendRecord& record, const Utf8String& name) { record.name = name; }
    void clear() { records_.clear(); }
    const std::vector<FriendRecord>& records() const { return records_; }

private:
    std::vector<FriendRecord> records_;
};

}  // namespace tarnix
