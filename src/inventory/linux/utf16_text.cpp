#include "inventory/linux/utf16_text.h"

#include <cstddef>

namespace quorvane::linux_inventory {

namespace {

constexpr char16_t kReplacement = u'\uFFFD';

// The length of the sequence a lead byte starts; 0 for a byte that starts
// none (a continuation byte, C0 and C1 which only start overlong forms,
// and F5 to FF which lie past U+10FFFF).
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

// The code point of the sequence at the start of `bytes`, or a value past
// U+10FFFF when it is no valid sequence of that length.
char32_t Decode(std::string_view bytes, std::size_t length) {
    constexpr char32_t kInvalid = 0x110000;
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (length == 0 || bytes.size() < length) return kInvalid;
    char32_t code = static_cast<unsigned char>(bytes[0]) & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[i]);
        if ((next & 0xC0) != 0x80) return kInvalid;
        code = code << 6 | (next & 0x3F);
    }
    if (code < kLeast[length] || (code >= 0xD800 && code <= 0xDFFF)) return kInvalid;
    return code;
}

}  // namespace

std::u16string Utf16FromUtf8(std::string_view utf8) {
    std::u16string text;
    text.reserve(utf8.size());
    std::size_t i = utf8.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            text += static_cast<char16_t>(lead);
            ++i;
            continue;
        }
        const std::size_t length = SequenceLength(lead);
        const char32_t code = Decode(utf8.substr(i), length);
        if (code > 0x10FFFF) {
            text += kReplacement;
            ++i;
        } else if (code >= 0x10000) {
            text += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            text += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
            i += length;
        } else {
            text += static_cast<char16_t>(code);
            i += length;
        }
    }
    return text;
}

}  // namespace quorvane::linux_inventory
