#include "messenger/friend_list.h"

#include <algorithm>

namespace tarnix {

FriendRecord* FriendList::find(const Utf8String& handle)
{
    const auto it = std::find_if(records_.begin(), records_.end(),
                                 [&](const FriendRecord& record) { return record.handle == handle; });
    return it == records_.end() ? nullptr : &*it;
}

void FriendList::insertOrUpdate(const Utf8String& handle, bool listed)
{
    if (FriendRecord* record = find(handle)) {
        record->listed = listed;
        return;
    }
    records_.push_back({handle, {}, listed});
}

}  // namespace tarnix
