#include "inventory/lease_timestamp.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "support/error_kind.h"

namespace quorvane {
namespace {

using testing::ErrorKindOf;

struct SplitCase {
    const char16_t* input;
    const char16_t* date;
    const char16_t* time;
    std::int32_t offset;
};

class SplitCimDateTimeTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCimDateTimeTest, SplitsIntoDateTimeAndOffset) {
    const SplitCase& c = GetParam();
    std::u16string date = u"earlier date";
    std::u16string time = u"earlier time";
    EXPECT_EQ(SplitCimDateTime(c.input, date, time), c.offset);
    EXPECT_EQ(date, c.date);
    EXPECT_EQ(time, c.time);
}

INSTANTIATE_TEST_SUITE_P(
    CimForms, SplitCimDateTimeTest,
    ::testing::Values(SplitCase{u"20070122134359.000000-300", u"2007-01-22", u"13:43:59", -300},
                      SplitCase{u"20070122134359.000000-000", u"2007-01-22", u"13:43:59", 0},
                      // A positive offset yields its minutes, like a negative one.
                      SplitCase{u"20070122134359.000000+060", u"2007-01-22", u"13:43:59", 60},
                      SplitCase{u"20070122134359.000000", u"2007-01-22", u"13:43:59", 0},
                      SplitCase{u"20070122134359.5", u"2007-01-22", u"13:43:59", 0},
                      SplitCase{u"00000001000000.000000:000", u"0000-00-01", u"00:00:00", 0},
                      // Everything between position 9 and the "." is time.
                      SplitCase{u"200701221343591.0", u"2007-01-22", u"13:43:591", 0},
                      // Without "." nothing is written.
                      SplitCase{u"", u"earlier date", u"earlier time", 0},
                      SplitCase{u"20070122134359", u"earlier date", u"earlier time", 0},
                      SplitCase{u"2007-01-22 10:00:00", u"earlier date", u"earlier time", 0}));

TEST(SplitCimDateTimeFailure, DotWithinTheDateIsAnInvalidArgumentAfterTheDateIsWritten) {
    std::u16string date = u"earlier date";
    std::u16string time = u"earlier time";
    EXPECT_EQ(ErrorKindOf([&] { SplitCimDateTime(u"2007.01", date, time); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(date, u"2007.01");
    EXPECT_EQ(time, u"earlier time");
}

TEST(SplitCimDateTimeFailure, OffsetThatIsNoNumberFailsBeforeAnyOutput) {
    std::u16string date = u"earlier date";
    std::u16string time = u"earlier time";
    for (const char16_t* input : {u"20070122134359.000000-abc", u"2007-01-22 10:00:00.0", u"20070122134359.000000-"}) {
        EXPECT_EQ(ErrorKindOf([&] { SplitCimDateTime(input, date, time); }), ErrorKind::Conversion);
        EXPECT_EQ(date, u"earlier date");
        EXPECT_EQ(time, u"earlier time");
    }
}

TEST(SplitCimDateTimeFailure, OffsetBeyond32BitsIsAnOverflow) {
    std::u16string date;
    std::u16string time;
    EXPECT_EQ(ErrorKindOf([&] { SplitCimDateTime(u"20070122134359.000000-99999999999", date, time); }),
              ErrorKind::Overflow);
    EXPECT_EQ(SplitCimDateTime(u"20070122134359.000000-2147483648", date, time), INT32_MIN);
}

TEST(SplitCimDateTimeFailure, TooShortATimeFailsAfterTheDateAndTimeAreWritten) {
    std::u16string date = u"earlier date";
    std::u16string time = u"earlier time";
    EXPECT_THROW(SplitCimDateTime(u"20070122.000000", date, time), Error);
    EXPECT_EQ(date, u"2007-01-22");
    EXPECT_EQ(time, u"");
}

TEST(SplitCimDateTimeState, ASecondCallWithoutDotKeepsTheFirstCallsResults) {
    std::u16string date;
    std::u16string time;
    SplitCimDateTime(u"20070122134359.000000-300", date, time);
    EXPECT_EQ(SplitCimDateTime(u"no dot here", date, time), 0);
    EXPECT_EQ(date, u"2007-01-22");
    EXPECT_EQ(time, u"13:43:59");
}

TEST(SplitZoneOffset, CutsTheTextBeforeTheSign) {
    std::u16string text = u"20070122134359.000000-300";
    EXPECT_EQ(SplitZoneOffset(text), -300);
    EXPECT_EQ(text, u"20070122134359.000000");

    text = u"20070122134359.000000+060";
    EXPECT_EQ(SplitZoneOffset(text), 60);
    EXPECT_EQ(text, u"20070122134359.000000");

    text = u"20070122134359.000000";
    EXPECT_EQ(SplitZoneOffset(text), 0);
    EXPECT_EQ(text, u"20070122134359.000000");
}

TEST(SplitZoneOffset, TheFirstMinusWinsAndTheTextIsCutEvenWhenConversionFails) {
    std::u16string text = u"2007-01-22.0-300";
    EXPECT_THROW(SplitZoneOffset(text), Error);
    EXPECT_EQ(text, u"2007");

    text = u"20070122134359.000000- 30";
    EXPECT_THROW(SplitZoneOffset(text), Error);
    EXPECT_EQ(text, u"20070122134359.000000");
}

TEST(InsertAtOccurrence, EmptySeparatorInsertsBeforeCharacterN) {
    EXPECT_EQ(InsertAtOccurrence(u"20070122", u"-", 5, u""), u"2007-0122");
    EXPECT_EQ(InsertAtOccurrence(u"2007-0122", u"-", 8, u""), u"2007-01-22");
    EXPECT_EQ(InsertAtOccurrence(u"134359", u":", 3, u""), u"13:4359");
    EXPECT_EQ(InsertAtOccurrence(u"13:4359", u":", 6, u""), u"13:43:59");
    EXPECT_EQ(InsertAtOccurrence(u"abc", u"X", 1, u""), u"Xabc");
    EXPECT_EQ(InsertAtOccurrence(u"abc", u"X", 4, u""), u"abcX");
    EXPECT_EQ(InsertAtOccurrence(u"abc", u"X", 0, u""), u"Xabc");
    EXPECT_EQ(InsertAtOccurrence(u"abc", u"X", -7, u""), u"Xabc");
    EXPECT_EQ(InsertAtOccurrence(u"abc", u"", 2, u""), u"abc");
}

TEST(InsertAtOccurrence, EmptySeparatorWithoutADefinedResultIsAnInvalidArgument) {
    for (const auto& c : {std::pair<const char16_t*, std::int32_t>{u"abc", 5}, {u"abc", INT32_MAX}, {u"", 1},
                          {u"", 0}, {u"", -1}, {u"1", 3}}) {
        EXPECT_EQ(ErrorKindOf([&] { InsertAtOccurrence(c.first, u":", c.second, u""); }), ErrorKind::InvalidArgument)
            << "n = " << c.second;
    }
}

TEST(InsertAtOccurrence, NonEmptySeparatorInsertsBeforeTheNthOccurrence) {
    EXPECT_EQ(InsertAtOccurrence(u"a,b,c", u"X", 2, u","), u"a,bX,c");
    EXPECT_EQ(InsertAtOccurrence(u"a,b,c", u"X", 1, u","), u"aX,b,c");
    EXPECT_EQ(InsertAtOccurrence(u"a,b,c", u"X", 0, u","), u"aX,b,c");
    EXPECT_EQ(InsertAtOccurrence(u"a::b::c", u"X", 2, u"::"), u"a::bX::c");
    // Fewer occurrences than n: filled up with the separator's first character.
    EXPECT_EQ(InsertAtOccurrence(u"a,b,c", u"X", 5, u","), u"a,b,c,,X");
    EXPECT_EQ(InsertAtOccurrence(u"abc", u"X", 3, u",;"), u"abc,,X");
    // A single occurrence takes the insert in front of it, whatever n asks,
    // and the text before it stays.
    EXPECT_EQ(InsertAtOccurrence(u"a,b", u"X", 4, u","), u"aX,b");
    // No occurrence and n below 1: there is no place to insert at.
    EXPECT_THROW(InsertAtOccurrence(u"abc", u"X", 0, u","), Error);
}

}  // namespace
}  // namespace quorvane
