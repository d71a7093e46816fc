#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>

namespace tarnix {

// The narrow text type: UTF-8 bytes in a shared, reference-counted block. Copies share the block;
// a string is never changed in place, every change builds a new block. All empty strings refer
// to one static block that is never counted or freed.
class Utf8String {
public:
    Utf8String() noexcept;
    // From a NUL-terminated text; null gives the empty string.
    Utf8String(const char* text);  // NOLINT(google-explicit-constructor): texts convert freely
    // From bytes and a length; a length of 0 or less, or no bytes, gives the empty string.
    Utf8String(const char* bytes, int length);
    explicit Utf8String(std::string_view bytes);
    Utf8String(const Utf8String& other) noexcept;
    Utf8String(Utf8String&& other) noexcept;
    Utf8String& operator=(const Utf8String& other) noexcept;
    Utf8String& operator=(Utf8String&& other) noexcept;
    ~Utf8String();

    int length() const noexcept { return block_->length; }
    bool isEmpty() const noexcept { return block_->length <= 0; }
    const char* c_str() const noexcept { return block_->bytes(); }
    std::string_view view() const noexcept { return {block_->bytes(), static_cast<std::size_t>(length())}; }

    // Byte-wise as unsigned bytes: -1, 0 or 1; a null text compares as -1.
    int compare(const char* text) const noexcept;
    // As compare, with ASCII letters folded.
    int compareNoCase(const char* text) const noexcept;
    // The leading decimal number, read as atol does, held to the 32-bit range.
    std::int32_t toInteger() const noexcept;
    // Releases the block and refers to the empty one.
    void clear() noexcept;

    // True when both strings use the same block.
    bool sharesBlockWith(const Utf8String& other) const noexcept { return block_ == other.block_; }

    friend bool operator==(const Utf8String& a, const Utf8String& b) noexcept;
    friend Utf8String operator+(const Utf8String& a, const Utf8String& b);

private:
    struct Block {
        std::atomic<std::int32_t> refs;
        std::int32_t length;
        char* bytes() noexcept { return reinterpret_cast<char*>(this + 1); }
    };

    static Block* emptyBlock() noexcept;
    static Block* allocate(int length);
    void retain() const noexcept;
    void release() noexcept;

    Block* block_;
};

// The leading decimal number of a NUL-terminated text as atol reads it (leading blanks, an
// optional sign, digits up to the first other byte; 0 without digits), held to the 32-bit range
// instead of overflowing. Null gives 0.
std::int32_t leadingInteger(const char* text) noexcept;

}  // namespace tarnix
