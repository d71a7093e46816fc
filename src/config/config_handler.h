#pragma once

#include <cstdint>
#include <functional>

#include "config/settings.h"
#include "config/xml_content_handler.h"

namespace tarnix {

// Fills Settings from the elements of config.xml, whatever their nesting. Nothing is cleared
// first: a missing element keeps its field, and records are appended to those in memory.
class ConfigHandler final : public XmlContentHandler {
public:
    using LanguageSetter = std::function<void(std::int32_t language)>;

    // The Language element goes through setLanguage so the interface follows at once.
    ConfigHandler(Settings& settings, LanguageSetter setLanguage);

    void startElement(const char* name, const XmlAttributes& attributes) override;
    void endElement(const char* name) override;
    void endDocument() override { documentEnded_ = true; }

    // True once the root element has been closed, by its end tag or as an empty element. The
    // reader ends quietly on input that stops early, so this tells a cut-off file.
    bool complete() const { return documentEnded_ || (started_ && depth_ == 0); }

private:
    Settings& settings_;
    LanguageSetter setLanguage_;
    MessageRecord record_;
    bool documentEnded_ = false;
    bool started_ = false;
    int depth_ = 0;
};

}  // namespace tarnix
