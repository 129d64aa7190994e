#include "support/day_month_year_format.h"

namespace quorvane::testing {

namespace {

// `n` in exactly `width` decimal digits, zeros in front.
std::u16string Digits(int n, std::size_t width) {
    std::u16string s(width, u'0');
    for (std::size_t i = width; i-- > 0; n /= 10) s[i] = static_cast<char16_t>(u'0' + n % 10);
    return s;
}

}  // namespace

std::u16string DayMonthYearFormat::Render(const CalendarDate& date) const {
    return Digits(date.day, 2) + u"/" + Digits(date.month, 2) + u"/" + Digits(date.year, 4);
}

}  // namespace quorvane::testing
