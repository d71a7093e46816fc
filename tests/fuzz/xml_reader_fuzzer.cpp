// Feeds arbitrary bytes to the XML reader as config.xml and as locale.xml. Besides crashes and
// sanitizer reports it checks that whatever settings were read save to a file that reads back
// to the same settings.
#include <QLoggingCategory>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/byte_stream.h"
#include "config/config_format.h"
#include "config/config_handler.h"
#include "config/locale_table.h"
#include "config/sax_exception.h"
#include "config/xml_reader.h"

namespace {

using namespace tarnix;

// Returns false when the reader rejected the input; settings then hold what came before.
bool readConfig(const void* data, std::size_t size, Settings& settings)
{
    ConfigHandler handler(settings, [&settings](std::int32_t language) { settings.language = language; });
    XmlReader reader(&handler);
    MemoryStream stream(data, size);
    try {
        reader.parse(stream, true, true);
        return true;
    } catch (const SAXException&) {
        return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // A malformed locale file is logged on every run; that would drown the fuzzer's output.
    QLoggingCategory::setFilterRules(QStringLiteral("tarnix.config.warning=false"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Settings loaded;
    readConfig(data, size, loaded);
    const std::string saved = formatConfig(loaded);
    // A text whose decoded form outgrows the attribute list makes the saved file unreadable as
    // a whole; only a file that reads back must give the same settings.
    Settings reread;
    if (readConfig(saved.data(), saved.size(), reread) && formatConfig(reread) != saved) std::abort();

    LocaleTable table;
    MemoryStream localeStream(data, size);
    table.load(localeStream);
    for (std::int32_t language = 0; language < 3; ++language) {
        table.setLanguage(language);
        (void)table.LocaleText(65548, u"Language");
    }
    return 0;
}
