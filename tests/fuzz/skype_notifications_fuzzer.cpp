// Plays the messenger's side of an attached link: each line of the input is one notification
// text, handled through the Skype client's whole parse (calls, friends, user status) and what it
// drives on the handset. Two kinds of line steer instead of speaking:
//   +<ms>    the virtual clock moves on (timers of the watch, the poll, the light, answering)
//   @<name>  a messenger of that name attaches (the first one, "sk", is attached from the start)
#include "support/attached_client.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    tarnix::fuzz::AttachedClient::quietLogs();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    tarnix::fuzz::AttachedClient client;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);

        if (line.starts_with('+')) {
            std::int64_t ms = 0;
            std::from_chars(line.data() + 1, line.data() + line.size(), ms);
            client.advance(ms);
        } else if (line.starts_with('@') && line.size() > 1) {
            client.attach(std::string(line.substr(1)));
        } else {
            client.notify(line);
        }
        client.checkState();
    }
    return 0;
}
