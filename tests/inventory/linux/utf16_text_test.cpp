#include <gtest/gtest.h>

#include <string_view>

#include "inventory/linux/utf16_text.h"

namespace quorvane::linux_inventory {
namespace {

TEST(LinuxSourceUtf16Text, ValidUtf8ExactlyAndEachBadByteAsOneReplacement) {
    using namespace std::string_view_literals;
    const struct {
        std::string_view utf8;
        std::u16string_view utf16;
    } cases[] = {
        {"", u""},
        {"eth0 a\0b"sv, u"eth0 a\0b"sv},
        {"caf\xC3\xA9 \xE2\x82\xAC", u"caf\u00E9 \u20AC"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {"\xEF\xBF\xBF\xF4\x8F\xBF\xBF", u"\uFFFF\U0010FFFF"},
        {"a\x80z", u"a\uFFFDz"},  // a stray continuation byte
        {"\xC0\xAF\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},  // overlong forms
        {"\xED\xA0\x80\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},  // a surrogate, past U+10FFFF
        {"\xF5\xFF", u"\uFFFD\uFFFD"},  // no lead byte at all
        {"\xE2\x82x\xF0\x9F\x98", u"\uFFFD\uFFFDx\uFFFD\uFFFD\uFFFD"},  // cut short by a character, by the end
        {"\xEF\xBB\xBF" "a\xEF\xBB\xBF", u"a\uFEFF"},  // only a leading byte-order mark goes
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf16FromUtf8(c.utf8), c.utf16) << ::testing::PrintToString(std::string(c.utf8));
    }
}

}  // namespace
}  // namespace quorvane::linux_inventory
