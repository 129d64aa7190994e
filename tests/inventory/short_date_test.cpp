#include "inventory/short_date.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "support/day_month_year_format.h"
#include "support/error_kind.h"

namespace quorvane {
namespace {

TEST(ParseIsoDate, ReadsRealCalendarDays) {
    EXPECT_EQ(ParseIsoDate(u"2007-01-22"), (CalendarDate{2007, 1, 22}));
    EXPECT_EQ(ParseIsoDate(u"2000-02-29"), (CalendarDate{2000, 2, 29}));
    EXPECT_EQ(ParseIsoDate(u"2024-02-29"), (CalendarDate{2024, 2, 29}));
    EXPECT_EQ(ParseIsoDate(u"9999-12-31"), (CalendarDate{9999, 12, 31}));
    EXPECT_EQ(ParseIsoDate(u"0001-01-01"), (CalendarDate{1, 1, 1}));
}

TEST(ParseIsoDate, RefusesEverythingElse) {
    for (const char16_t* text : {u"1900-02-29", u"2007-02-29", u"2007-13-01", u"2007-00-10", u"2007-04-31",
                                 u"2007-01-00", u"0000-00-01", u"0000-01-01", u"2007-1-22", u"20070122",
                                 u"2007.01", u"2007-01-22 ", u"2007/01/22", u"２００７-01-22", u"abcd-ef-gh"}) {
        EXPECT_EQ(testing::ErrorKindOf([&] { ParseIsoDate(text); }), ErrorKind::Conversion);
    }
}

class CountingFormat : public ShortDateFormat {
public:
    mutable int calls = 0;
    std::u16string Render(const CalendarDate&) const override {
        ++calls;
        return u"rendered";
    }
};

TEST(RenderShortDate, EmptyTextStaysEmptyWithoutAskingTheFormat) {
    const CountingFormat format;
    EXPECT_EQ(RenderShortDate(u"", format), u"");
    EXPECT_EQ(format.calls, 0);
    EXPECT_EQ(RenderShortDate(u"2007-01-22", format), u"rendered");
    EXPECT_EQ(format.calls, 1);
}

TEST(RenderShortDate, WritesTheDayInTheGivenFormat) {
    EXPECT_EQ(RenderShortDate(u"2007-01-22", testing::DayMonthYearFormat()), u"22/01/2007");
    EXPECT_THROW(RenderShortDate(u"20070122", testing::DayMonthYearFormat()), Error);
}

}  // namespace
}  // namespace quorvane
