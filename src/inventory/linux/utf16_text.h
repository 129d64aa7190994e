#pragma once

#include <string>
#include <string_view>

namespace quorvane::linux_inventory {

// The Linux edge's texts (names, addresses, lease fields) in the core's
// UTF-16. Valid UTF-8 converts exactly; each byte that starts no valid
// sequence (a stray continuation byte, an overlong or surrogate form, a
// code point past U+10FFFF, a sequence cut short) becomes one U+FFFD, and
// decoding goes on at the next byte, as Qt's QString::fromUtf8 does. Like
// it, this drops one byte-order mark at the very start, so the rows read as
// they did when Qt converted them.
std::u16string Utf16FromUtf8(std::string_view utf8);

}  // namespace quorvane::linux_inventory
