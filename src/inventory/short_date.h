#pragma once

#include <string>
#include <string_view>

namespace quorvane {

struct CalendarDate {
    int year = 0;   // 1 to 9999
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to the month's length

    bool operator==(const CalendarDate&) const = default;
};

// Writes a calendar date in the user's short date format (the regional
// setting on Windows, the system locale with Qt). May throw `Error`.
class ShortDateFormat {
public:
    virtual ~ShortDateFormat() = default;
    [[nodiscard]] virtual std::u16string Render(const CalendarDate& date) const = 0;
};

// Reads a text of the form yyyy-mm-dd that names a real day of the
// Gregorian calendar; anything else raises the conversion error.
CalendarDate ParseIsoDate(std::u16string_view text);

// A date text as the table shows it: the empty text stays empty, anything
// else is read with ParseIsoDate and rendered in the short date format.
std::u16string RenderShortDate(std::u16string_view dateText, const ShortDateFormat& format);

}  // namespace quorvane
