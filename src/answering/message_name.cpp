#include "answering/message_name.h"

#include <cstdio>

namespace tarnix {
namespace {

bool allowedInName(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '+' || c == '-';
}

}  // namespace

// A handle is the caller's to choose: "../x" would leave the folder, "a/b" name a missing one,
// and a long one pass the file-name limit.
std::string fileNameHandle(const Utf8String& handle)
{
    std::string name(handle.view().substr(0, kMaxHandleBytes));
    for (char& c : name) {
        if (!allowedInName(c)) c = '_';
    }
    if (!name.empty() && name.front() == '.') name.front() = '_';
    return name;
}

std::string messageFileStem(const Utf8String& handle, const std::tm& time)
{
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%d-%02d-%02d#%02d-%02d-%02d", time.tm_year + 1900, time.tm_mon + 1,
                  time.tm_mday, time.tm_hour, time.tm_min, time.tm_sec);
    return fileNameHandle(handle) + stamp;
}

}  // namespace tarnix
