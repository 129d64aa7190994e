#include "inventory/value.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "support/error_kind.h"

namespace quorvane {
namespace {

using testing::ErrorKindOf;

TEST(ValueText, ConvertsTextNumbersAndBooleans) {
    EXPECT_EQ(ToText(Value(u"eth0")), u"eth0");
    EXPECT_EQ(ToText(Value(u"")), u"");
    EXPECT_EQ(ToText(Value(std::uint32_t{4294967295u})), u"4294967295");
    EXPECT_EQ(ToText(Value(std::int64_t{0})), u"0");
    EXPECT_EQ(ToText(Value(std::int64_t{-12})), u"-12");
    EXPECT_EQ(ToText(Value(INT64_MIN)), u"-9223372036854775808");
    EXPECT_EQ(ToText(Value(true)), u"True");
    EXPECT_EQ(ToText(Value(false)), u"False");
}

TEST(ValueText, NullAndArraysDoNotConvert) {
    EXPECT_EQ(ErrorKindOf([] { ToText(Value()); }), ErrorKind::Conversion);
    EXPECT_EQ(ErrorKindOf([] { ToText(Value::Array({u"a"})); }), ErrorKind::Conversion);
}

TEST(ValueCondition, NullIsFalseAndTextIsNoCondition) {
    EXPECT_TRUE(IsTrue(Value(true)));
    EXPECT_FALSE(IsTrue(Value(false)));
    EXPECT_FALSE(IsTrue(Value()));
    EXPECT_TRUE(IsTrue(Value(std::int64_t{-1})));
    EXPECT_FALSE(IsTrue(Value(std::int64_t{0})));
    EXPECT_EQ(ErrorKindOf([] { IsTrue(Value(u"True")); }), ErrorKind::Conversion);
}

TEST(ValueArrayAccess, HonoursTheLowerBound) {
    const Value a = Value::Array({u"x", u"y", u"z"}, 5);
    EXPECT_EQ(LowerBound(a), 5);
    EXPECT_EQ(UpperBound(a), 7);
    EXPECT_EQ(ToText(ElementAt(a, 5)), u"x");
    EXPECT_EQ(ToText(ElementAt(a, 7)), u"z");
    EXPECT_EQ(ErrorKindOf([&] { ElementAt(a, 4); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(ErrorKindOf([&] { ElementAt(a, 8); }), ErrorKind::InvalidArgument);

    const Value empty = Value::Array({});
    EXPECT_EQ(UpperBound(empty), -1);
    EXPECT_EQ(LowerBound(empty), 0);
}

TEST(ValueArrayAccess, NonArraysHaveNoBoundsOrElements) {
    EXPECT_EQ(ErrorKindOf([] { UpperBound(Value(u"8.8.8.8")); }), ErrorKind::Conversion);
    EXPECT_EQ(ErrorKindOf([] { LowerBound(Value()); }), ErrorKind::Conversion);
    EXPECT_EQ(ErrorKindOf([] { ElementAt(Value(), 0); }), ErrorKind::Conversion);
}

}  // namespace
}  // namespace quorvane
