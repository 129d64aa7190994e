#include "app/win32/short_date_format.h"

#include <windows.h>

#include <string>

#include "base/error.h"
#include "win32/platform_error.h"
#include "win32/platform_text.h"

namespace quorvane::win32 {

namespace {

WORD DateField(int value, int low, int high) {
    if (value < low || value > high) ThrowPlatform("GetDateFormatEx: date field out of range", ERROR_INVALID_PARAMETER);
    return static_cast<WORD>(value);
}

}  // namespace

std::u16string Win32ShortDateFormat::Render(const CalendarDate& date) const {
    SYSTEMTIME day{};
    day.wYear = DateField(date.year, 1601, 30827);
    day.wMonth = DateField(date.month, 1, 12);
    day.wDay = DateField(date.day, 1, 31);
    const int needed = ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &day, nullptr, nullptr, 0, nullptr);
    if (needed <= 0) ThrowLastError("GetDateFormatEx");
    std::wstring text(static_cast<std::size_t>(needed), L'\0');
    const int written =
        ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &day, nullptr, text.data(), needed, nullptr);
    if (written <= 0) ThrowLastError("GetDateFormatEx");
    text.resize(static_cast<std::size_t>(written - 1));  // the count includes the terminator
    return FromWide(text);
}

}  // namespace quorvane::win32
