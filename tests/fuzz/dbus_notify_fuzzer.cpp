// One text of any length and content as the bus hands it to our Notify(s): a QString made from
// the input as UTF-8 (first byte even) or as UTF-16 units (first byte odd, lone surrogates and
// all), converted the way the link converts it and handed to an attached Skype client. What the
// client gets must be UTF-8 whatever the string held.
#include "platform/linux/dbus/messenger_text.h"
#include "support/attached_client.h"

#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

QString busString(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return {};
    const auto* bytes = reinterpret_cast<const char*>(data + 1);
    if ((data[0] & 1) == 0) return QString::fromUtf8(bytes, qsizetype(size - 1));
    std::vector<char16_t> units((size - 1) / 2);
    if (units.empty()) return {};
    std::memcpy(units.data(), bytes, units.size() * sizeof(char16_t));
    return QString::fromUtf16(units.data(), qsizetype(units.size()));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    tarnix::fuzz::AttachedClient::quietLogs();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = tarnix::messengerText(busString(data, size));
    if (!QByteArrayView(text.data(), qsizetype(text.size())).isValidUtf8()) __builtin_trap();

    tarnix::fuzz::AttachedClient client;
    client.notify(text);
    client.checkState();
    return 0;
}
