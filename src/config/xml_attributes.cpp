#include "config/xml_attributes.h"

#include "config/sax_exception.h"

namespace tarnix {

const char* XmlAttributes::find(std::string_view name) const
{
    for (int i = 0; i < count_; ++i) {
        if (name == this->name(i)) return value(i);
    }
    return nullptr;
}

void XmlAttributes::add(std::string_view name, std::string_view value)
{
    if (count_ == kMaxCount) throw SAXException();
    const auto slot = static_cast<std::size_t>(count_++);
    names_[slot] = store(name);
    values_[slot] = store(value);
}

std::size_t XmlAttributes::store(std::string_view text)
{
    const std::size_t start = pool_.size();
    pool_.append(text);
    pool_.push_back('\0');
    return start;
}

}  // namespace tarnix
