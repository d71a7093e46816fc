#include "messenger/friend_list.h"

#include <algorithm>
#include <utility>

namespace tarnix {

const FriendRecord* FriendList::find(const Utf8String& handle) const
{
    const auto it = std::find_if(records_.begin(), records_.end(),
                                 [&](const FriendRecord& record) { return record.handle == handle; });
    return it == records_.end() ? nullptr : &*it;
}

FriendRecord* FriendList::find(const Utf8String& handle)
{
    return const_cast<FriendRecord*>(std::as_const(*this).find(handle));
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
