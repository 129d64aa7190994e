#pragma once

#include "inventory/short_date.h"

namespace quorvane::testing {

// dd/mm/yyyy, as a day-month-year locale writes short dates, whatever the
// machine's own locale: 22 January 2007 is "22/01/2007".
class DayMonthYearFormat final : public ShortDateFormat {
public:
    [[nodiscard]] std::u16string Render(const CalendarDate& date) const override;
};

}  // namespace quorvane::testing
