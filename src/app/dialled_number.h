#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tarnix {

// The number being dialled (or a number to show), shared by the phone controller and the key
// mappings: at most 999 characters, always NUL-terminated.
class DialledNumber {
public:
    static constexpr std::int32_t kCapacity = 1000;

    // Adds one character unless the buffer is full; false when it was not added.
    bool append(char c)
    {
        if (length_ >= kCapacity - 1) return false;
        text_[length_++] = c;
        text_[length_] = '\0';
        return true;
    }
    // Replaces the text; a text that does not fit empties the buffer. False then.
    bool assign(std::string_view text)
    {
        if (text.size() >= static_cast<std::size_t>(kCapacity - 1)) {
            clear();
            return false;
        }
        text.copy(text_.data(), text.size());
        length_ = static_cast<std::int32_t>(text.size());
        text_[length_] = '\0';
        return true;
    }
    void removeLast()
    {
        if (length_ > 0) text_[--length_] = '\0';
    }
    void clear()
    {
        length_ = 0;
        text_[0] = '\0';
    }

    const char* c_str() const { return text_.data(); }
    std::int32_t length() const { return length_; }

private:
    std::array<char, kCapacity> text_{};
    std::int32_t length_ = 0;
};

}  // namespace tarnix
