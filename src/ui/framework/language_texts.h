#pragma once

#include <QString>

#include <optional>

namespace tarnix {

// Where the language hook finds the translated texts, by control or command id. The framework
// knows only this; the program fills it from its language file.
class LanguageTexts {
public:
    virtual ~LanguageTexts() = default;
    // The id's text in the current language; empty (not nullopt) when the id is known but has no
    // text in that language; nullopt when the id is unknown.
    virtual std::optional<QString> text(int id) const = 0;
};

}  // namespace tarnix
