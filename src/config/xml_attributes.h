#pragma once

#include <array>
#include <string>
#include <string_view>

namespace tarnix {

// The attributes of one start tag, in document order: at most 20, their names and values held as
// NUL-terminated texts in one pool that grows with the tag, so whatever a save wrote loads back.
// A tag with more attributes is rejected (SAXException). Texts stay valid until the next add or
// clear.
class XmlAttributes {
public:
    static constexpr int kMaxCount = 20;

    int count() const { return count_; }
    const char* name(int i) const { return pool_.data() + names_[static_cast<std::size_t>(i)]; }
    const char* value(int i) const { return pool_.data() + values_[static_cast<std::size_t>(i)]; }
    // The value of the first attribute with exactly this name, or null.
    const char* find(std::string_view name) const;

    // Throws SAXException when the tag already has kMaxCount attributes.
    void add(std::string_view name, std::string_view value);
    void clear() { count_ = 0, pool_.clear(); }

private:
    std::size_t store(std::string_view text);

    int count_ = 0;
    // Offsets into the pool: it may move as it grows.
    std::array<std::size_t, kMaxCount> names_{};
    std::array<std::size_t, kMaxCount> values_{};
    std::string pool_;
};

}  // namespace tarnix
