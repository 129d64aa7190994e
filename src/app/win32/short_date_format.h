#pragma once

#include "inventory/short_date.h"

namespace quorvane::win32 {

// The user's regional short date format, through GetDateFormatEx.
class Win32ShortDateFormat final : public ShortDateFormat {
public:
    // Raises the platform error when the system cannot write the date.
    [[nodiscard]] std::u16string Render(const CalendarDate& date) const override;
};

}  // namespace quorvane::win32
