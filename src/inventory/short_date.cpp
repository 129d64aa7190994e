#include "inventory/short_date.h"

#include "base/error.h"

namespace quorvane {

namespace {

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

int Digits(std::u16string_view text, std::size_t from, std::size_t count) {
    int n = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        const char16_t c = text[i];
        if (c < u'0' || c > u'9') ThrowConversion("date text is not yyyy-mm-dd");
        n = n * 10 + (c - u'0');
    }
    return n;
}

}  // namespace

CalendarDate ParseIsoDate(std::u16string_view text) {
    if (text.size() != 10 || text[4] != u'-' || text[7] != u'-') {
        ThrowConversion("date text is not yyyy-mm-dd");
    }
    const CalendarDate d{Digits(text, 0, 4), Digits(text, 5, 2), Digits(text, 8, 2)};
    if (d.year < 1 || d.month < 1 || d.month > 12 || d.day < 1 || d.day > DaysInMonth(d.year, d.month)) {
        ThrowConversion("date text names no calendar day");
    }
    return d;
}

std::u16string RenderShortDate(std::u16string_view dateText, const ShortDateFormat& format) {
    if (dateText.empty()) return {};
    return format.Render(ParseIsoDate(dateText));
}

}  // namespace quorvane
