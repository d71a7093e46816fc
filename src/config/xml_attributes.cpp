#include "config/xml_attributes.h"

#include <cstring>

#include "config/sax_exception.h"

namespace tarnix {

const char* XmlAttributes::find(std::string_view name) const
{
    for (int i = 0; i < count_; ++i) {
        if (name == names_[static_cast<std::size_t>(i)]) return values_[static_cast<std::size_t>(i)];
    }
    return nullptr;
}

void XmlAttributes::add(std::string_view name, std::string_view value)
{
    if (count_ == kMaxCount || name.size() + value.size() + 2 > pool_.size() - used_) throw SAXException();
    const auto slot = static_cast<std::size_t>(count_++);
    names_[slot] = store(name);
    values_[slot] = store(value);
}

const char* XmlAttributes::store(std::string_view text)
{
    char* start = pool_.data() + used_;
    std::memcpy(start, text.data(), text.size());
    start[text.size()] = '\0';
    used_ += text.size() + 1;
    return start;
}

}  // namespace tarnix
