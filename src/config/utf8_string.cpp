#include "config/utf8_string.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

namespace tarnix {

namespace {

int sign(int v) noexcept
{
    return (v > 0) - (v < 0);
}

}  // namespace

Utf8String::Block* Utf8String::emptyBlock() noexcept
{
    // The NUL right after the header is the empty text's terminator.
    struct EmptyStorage {
        Block block;
        char nul;
    };
    static EmptyStorage storage{{0, 0}, '\0'};
    return &storage.block;
}

Utf8String::Block* Utf8String::allocate(int length)
{
    // Header, bytes and terminator in one allocation; freed in release() when the count drops to 0.
    void* memory = ::operator new(sizeof(Block) + static_cast<std::size_t>(length) + 1);
    auto* block = ::new (memory) Block{{1}, length};
    block->bytes()[length] = '\0';
    return block;
}

Utf8String::Utf8String() noexcept : block_(emptyBlock()) {}

Utf8String::Utf8String(const char* text)
    : Utf8String(text, text == nullptr ? 0 : static_cast<int>(std::strlen(text)))
{
}

Utf8String::Utf8String(const char* bytes, int length) : block_(emptyBlock())
{
    if (bytes == nullptr || length <= 0) return;
    block_ = allocate(length);
    std::memcpy(block_->bytes(), bytes, static_cast<std::size_t>(length));
}

Utf8String::Utf8String(std::string_view bytes) : Utf8String(bytes.data(), static_cast<int>(bytes.size())) {}

Utf8String::Utf8String(const Utf8String& other) noexcept : block_(other.block_)
{
    retain();
}

Utf8String::Utf8String(Utf8String&& other) noexcept : block_(std::exchange(other.block_, emptyBlock())) {}

Utf8String& Utf8String::operator=(const Utf8String& other) noexcept
{
    if (this != &other) {
        other.retain();
        release();
        block_ = other.block_;
    }
    return *this;
}

Utf8String& Utf8String::operator=(Utf8String&& other) noexcept
{
    if (this != &other) {
        release();
        block_ = std::exchange(other.block_, emptyBlock());
    }
    return *this;
}

Utf8String::~Utf8String()
{
    release();
}

void Utf8String::retain() const noexcept
{
    if (block_ != emptyBlock()) block_->refs.fetch_add(1, std::memory_order_relaxed);
}

void Utf8String::release() noexcept
{
    // A count of 0 or less marks a block that is not counted (the static empty one).
    if (block_->refs.load(std::memory_order_relaxed) <= 0) return;
    if (block_->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        block_->~Block();
        ::operator delete(block_);
    }
    block_ = emptyBlock();
}

void Utf8String::clear() noexcept
{
    release();
}

int Utf8String::compare(const char* text) const noexcept
{
    if (text == nullptr) return -1;
    // char_traits<char> orders bytes as unsigned char.
    return sign(view().compare(text));
}

int Utf8String::compareNoCase(const char* text) const noexcept
{
    if (text == nullptr) return -1;
    const std::string_view mine = view();
    for (std::size_t i = 0;; ++i) {
        const int a = i < mine.size() ? std::tolower(static_cast<unsigned char>(mine[i])) : -1;
        const int b = text[i] != '\0' ? std::tolower(static_cast<unsigned char>(text[i])) : -1;
        if (a != b) return a < b ? -1 : 1;
        if (a == -1) return 0;
    }
}

std::int32_t Utf8String::toInteger() const noexcept
{
    return leadingInteger(c_str());
}

bool operator==(const Utf8String& a, const Utf8String& b) noexcept
{
    return a.block_ == b.block_ || a.view() == b.view();
}

Utf8String operator+(const Utf8String& a, const Utf8String& b)
{
    if (b.isEmpty()) return a;
    if (a.isEmpty()) return b;
    Utf8String joined;
    joined.block_ = Utf8String::allocate(a.length() + b.length());
    std::memcpy(joined.block_->bytes(), a.c_str(), static_cast<std::size_t>(a.length()));
    std::memcpy(joined.block_->bytes() + a.length(), b.c_str(), static_cast<std::size_t>(b.length()));
    return joined;
}

std::int32_t leadingInteger(const char* text) noexcept
{
    if (text == nullptr) return 0;
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = std::min(value * 10 + (*p - '0'), limit);
    }
    if (negative) return static_cast<std::int32_t>(-value);
    return static_cast<std::int32_t>(std::min(value, limit - 1));
}

}  // namespace tarnix
