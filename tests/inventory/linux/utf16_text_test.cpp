#include <gtest/gtest.h>

#include <string_view>

#include "inventory/linux/utf16_text.h"

namespace quorvane::linux_inventory {
namespace {

TEST(LinuxSourceUtf16Text, ValidUtf8ExactlyAndEachBadByteAsOneReplacement) {
    using namespace std::literals;
    const struct {
        std::string_view utf8;
        std::u16string utf16;
    } cases[] = {
        {"a\0b caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 \xEF\xBF\xBF\xF4\x8F\xBF\xBF"sv,
         u"a\0b caf\u00E9 \u20AC \U0001F600 \uFFFF\U0010FFFF"s},
        // A stray continuation byte, a lead byte of overlong forms only, no lead byte at all.
        {"a\x80z\xC0\xAF\xF5\xFF", u"a\uFFFDz\uFFFD\uFFFD\uFFFD\uFFFD"},
        // An overlong form, a surrogate, a code point past U+10FFFF.
        {"\xE0\x80\xAF\xED\xA0\x80\xF4\x90\x80\x80", std::u16string(10, u'\uFFFD')},
        // Cut short by a character, by the end.
        {"\xE2\x82x\xF0\x9F\x98", u"\uFFFD\uFFFDx\uFFFD\uFFFD\uFFFD"},
        // Only a leading byte-order mark goes.
        {"\xEF\xBB\xBF" "a\xEF\xBB\xBF", u"a\uFEFF"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf16FromUtf8(c.utf8), c.utf16) << ::testing::PrintToString(std::string(c.utf8));
    }
}

}  // namespace
}  // namespace quorvane::linux_inventory
