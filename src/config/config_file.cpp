#include "config/config_file.h"

#include "config/byte_stream.h"
#include "config/config_format.h"
#include "config/config_handler.h"
#include "config/config_log.h"
#include "config/file_replace.h"
#include "config/sax_exception.h"
#include "config/xml_reader.h"

namespace tarnix {

ConfigFile::ConfigFile(Settings& settings, LocaleTable& locale, ProgramEnvironment& environment)
    : settings_(settings), locale_(locale), environment_(environment)
{
}

std::string ConfigFile::path() const
{
    return environment_.configFolder() + kFileName;
}

bool ConfigFile::LoadSettings()
{
    const std::string file = path();
    std::unique_ptr<FileStream> stream = FileStream::open(file);
    if (stream == nullptr) return false;

    ConfigHandler handler(settings_, [this](std::int32_t language) { SetLanguage(language); });
    XmlReader reader(&handler);
    bool complete = false;
    try {
        reader.parse(*stream, true, true);
        complete = handler.complete();
    } catch (const SAXException&) {
    }
    const bool empty = stream->size() == 0;
    stream.reset();
    qCDebug(lcConfig) << "read" << file.c_str() << "with" << settings_.records.size() << "records";
    if (!complete && !empty) {
        const std::string copy = keepCopy(file);
        if (copy.empty()) {
            qCWarning(lcConfig) << file.c_str() << "is not well-formed and could not be copied aside;"
                                << "using the values read before the fault";
        } else {
            qCWarning(lcConfig) << file.c_str() << "is not well-formed; kept it as" << copy.c_str()
                                << "and using the values read before the fault";
        }
    }
    return true;
}

bool ConfigFile::SaveSettings()
{
    const std::string file = path();
    if (!ensureFolder(environment_.configFolder()) || !replaceFile(file, formatConfig(settings_))) {
        qCWarning(lcConfig) << "could not write" << file.c_str() << "- the previous file is kept";
        return false;
    }
    if (!environment_.setAutostart(settings_.autoStart != 0)) {
        qCWarning(lcConfig) << "could not update the autostart entry";
    }
    return true;
}

void ConfigFile::SetLanguage(std::int32_t language)
{
    settings_.language = language;
    locale_.setLanguage(language);
}

}  // namespace tarnix
