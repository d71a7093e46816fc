#pragma once

#include <array>
#include <string_view>

namespace tarnix {

// The attributes of one start tag, in document order: at most 20, their names and values held as
// NUL-terminated texts in a pool of 1000 bytes. A tag that needs more is rejected (SAXException)
// rather than cut.
class XmlAttributes {
public:
    static constexpr int kMaxCount = 20;
    static constexpr int kPoolSize = 1000;

    int count() const { return count_; }
    const char* name(int i) const { return names_[static_cast<std::size_t>(i)]; }
    const char* value(int i) const { return values_[static_cast<std::size_t>(i)]; }
    // The value of the first attribute with exactly this name, or null.
    const char* find(std::string_view name) const;

    // Throws SAXException when the entry or the pool would overflow.
    void add(std::string_view name, std::string_view value);
    void clear() { count_ = 0, used_ = 0; }

private:
    const char* store(std::string_view text);

    int count_ = 0;
    std::array<const char*, kMaxCount> names_{};
    std::array<const char*, kMaxCount> values_{};
    std::array<char, kPoolSize> pool_{};
    std::size_t used_ = 0;
};

}  // namespace tarnix
