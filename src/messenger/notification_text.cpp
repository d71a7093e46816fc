#include "messenger/notification_text.h"

#include <algorithm>

namespace tarnix {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

}  // namespace

std::string_view skipBlanks(std::string_view rest)
{
    const auto first = std::find_if_not(rest.begin(), rest.end(), isBlank);
    return rest.substr(static_cast<std::size_t>(first - rest.begin()));
}

std::string_view takeToken(std::string_view& rest)
{
    rest = skipBlanks(rest);
    const auto end = std::find_if(rest.begin(), rest.end(), isBlank);
    const std::string_view token = rest.substr(0, static_cast<std::size_t>(end - rest.begin()));
    rest.remove_prefix(token.size());
    return token;
}

std::vector<std::string_view> splitHandles(std::string_view list)
{
    std::vector<std::string_view> handles;
    std::string_view rest = skipBlanks(list);
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find_first_of(" \t,"), rest.size());
        if (end > 0) handles.push_back(rest.substr(0, end));
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return handles;
}

}  // namespace tarnix
