#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quorvane::fuzz {

// Reads 16-bit characters from the fuzzer's bytes, two at a time.
class CharReader {
public:
    CharReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    [[nodiscard]] bool empty() const { return pos_ + 1 >= size_; }

    char16_t Next() {
        if (empty()) return u'\0';
        const auto c = static_cast<char16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return c;
    }

    // A text of up to `max` characters; its length comes from the input too.
    std::u16string Text(std::size_t max) {
        const std::size_t length = empty() ? 0 : Next() % (max + 1);
        std::u16string s;
        for (std::size_t i = 0; i < length && !empty(); ++i) s.push_back(Next());
        return s;
    }

    std::int32_t Int32() {
        const auto lo = static_cast<std::uint32_t>(Next());
        const auto hi = static_cast<std::uint32_t>(Next());
        return static_cast<std::int32_t>(lo | (hi << 16));
    }

    std::u16string Rest() {
        std::u16string s;
        while (!empty()) s.push_back(Next());
        return s;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

}  // namespace quorvane::fuzz
