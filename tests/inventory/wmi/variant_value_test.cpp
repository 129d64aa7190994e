// VARIANTs built by hand, as WMI could deliver them, turned into values.
#include "inventory/wmi/variant_value.h"

#include <gtest/gtest.h>

#include <oleauto.h>

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>

#include "base/error.h"
#include "support/error_kind.h"
#include "win32/com_owners.h"

namespace {

using quorvane::Error;
using quorvane::ErrorKind;
using quorvane::Null;
using quorvane::Value;
using quorvane::win32::unique_variant;
using quorvane::wmi::ValueFromVariant;

// The kind of error the conversion of `v` raises, or nullopt when it converts.
std::optional<ErrorKind> KindOfFailure(const VARIANT& v) {
    return quorvane::testing::ErrorKindOf([&] { (void)ValueFromVariant(v); });
}

void PutBstr(VARIANT& v, const wchar_t* text, UINT length) {
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = ::SysAllocStringLen(text, length);
}

// A one-dimensional array of `vt` from `lower` on; the VARIANT owns it.
SAFEARRAY* PutArray(VARIANT& v, VARTYPE vt, LONG lower, ULONG count) {
    SAFEARRAYBOUND bound{count, lower};
    V_VT(&v) = static_cast<VARTYPE>(VT_ARRAY | vt);
    V_ARRAY(&v) = ::SafeArrayCreate(vt, 1, &bound);
    return V_ARRAY(&v);
}

void PutBstrArray(VARIANT& v, LONG lower, std::initializer_list<const wchar_t*> texts) {
    SAFEARRAY* a = PutArray(v, VT_BSTR, lower, static_cast<ULONG>(texts.size()));
    LONG i = lower;
    for (const wchar_t* t : texts) {
        const quorvane::win32::unique_bstr s(::SysAllocString(t));
        ASSERT_EQ(::SafeArrayPutElement(a, &i, s.get()), S_OK);  // copies the string
        ++i;
    }
}

TEST(ValueFromVariant, EmptyAndNullAreNull) {
    unique_variant v;
    EXPECT_EQ(ValueFromVariant(v), Value(Null{}));
    V_VT(&v) = VT_NULL;
    EXPECT_EQ(ValueFromVariant(v), Value(Null{}));
}

TEST(ValueFromVariant, BooleansTreatAnyNonzeroAsTrue) {
    unique_variant v;
    V_VT(&v) = VT_BOOL;
    V_BOOL(&v) = VARIANT_TRUE;
    EXPECT_EQ(ValueFromVariant(v), Value(true));
    V_BOOL(&v) = VARIANT_FALSE;
    EXPECT_EQ(ValueFromVariant(v), Value(false));
    V_BOOL(&v) = 1;  // not the canonical -1, still true
    EXPECT_EQ(ValueFromVariant(v), Value(true));
}

TEST(ValueFromVariant, EveryIntegerTypeKeepsItsSignAndExtremes) {
    unique_variant v;
    V_VT(&v) = VT_I1;
    V_I1(&v) = -128;
    EXPECT_EQ(ValueFromVariant(v), Value(std::int64_t{-128}));
    V_VT(&v) = VT_UI1;
    V_UI1(&v) = 255;
    EXPECT_EQ(ValueFromVariant(v), Value(std::int64_t{255}));
    V_VT(&v) = VT_I2;
    V_I2(&v) = -32768;
    EXPECT_EQ(ValueFromVariant(v), Value(std::int64_t{-32768}));
    V_VT(&v) = VT_UI2;
    V_UI2(&v) = 65535;
    EXPECT_EQ(ValueFromVariant(v), Value(std::int64_t{65535}));
    V_VT(&v) = VT_I4;
    V_I4(&v) = std::numeric_limits<LONG>::min();
    EXPECT_EQ(ValueFromVariant(v), Value(std::int64_t{std::numeric_limits<std::int32_t>::min()}));
    V_VT(&v) = VT_UI4;
    V_UI4(&v) = std::numeric_limits<ULONG>::max();
    EXPECT_EQ(ValueFromVariant(v), Value(std::int64_t{4294967295}));
    V_VT(&v) = VT_INT;
    V_INT(&v) = -5;
    EXPECT_EQ(ValueFromVariant(v), Value(std::int64_t{-5}));
    V_VT(&v) = VT_UINT;
    V_UINT(&v) = 4000000000u;
    EXPECT_EQ(ValueFromVariant(v), Value(std::int64_t{4000000000}));
    V_VT(&v) = VT_I8;
    V_I8(&v) = std::numeric_limits<LONGLONG>::min();
    EXPECT_EQ(ValueFromVariant(v), Value(std::numeric_limits<std::int64_t>::min()));
    V_VT(&v) = VT_UI8;
    V_UI8(&v) = static_cast<ULONGLONG>(std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(ValueFromVariant(v), Value(std::numeric_limits<std::int64_t>::max()));
}

TEST(ValueFromVariant, UnsignedBeyondSigned64BitsIsAnOverflow) {
    unique_variant v;
    V_VT(&v) = VT_UI8;
    V_UI8(&v) = static_cast<ULONGLONG>(std::numeric_limits<std::int64_t>::max()) + 1;
    EXPECT_EQ(KindOfFailure(v), ErrorKind::Overflow);
}

TEST(ValueFromVariant, TextsKeepEveryCharacterIncludingNul) {
    unique_variant v;
    const wchar_t text[] = L"caf\u00e9\0x";
    PutBstr(v, text, 6);
    EXPECT_EQ(ValueFromVariant(v), Value(std::u16string(u"caf\u00e9\0x", 6)));

    PutBstr(*v.put(), L"", 0);
    EXPECT_EQ(ValueFromVariant(v), Value(u""));

    V_VT(v.put()) = VT_BSTR;  // a null BSTR is the empty text by convention
    V_BSTR(&v) = nullptr;
    EXPECT_EQ(ValueFromVariant(v), Value(u""));
}

TEST(ValueFromVariant, ArraysKeepTheirLowerBound) {
    unique_variant v;
    PutBstrArray(v, 0, {L"192.168.0.1", L"10.0.0.1"});
    EXPECT_EQ(ValueFromVariant(v), Value::Array({u"192.168.0.1", u"10.0.0.1"}, 0));

    PutBstrArray(*v.put(), 3, {L"a", L"b", L"c"});
    const Value shifted = ValueFromVariant(v);
    EXPECT_EQ(shifted, Value::Array({u"a", u"b", u"c"}, 3));
    EXPECT_EQ(quorvane::LowerBound(shifted), 3);
    EXPECT_EQ(quorvane::UpperBound(shifted), 5);

    PutBstrArray(*v.put(), -2, {L"x"});
    EXPECT_EQ(ValueFromVariant(v), Value::Array({u"x"}, -2));

    PutBstrArray(*v.put(), 1, {});
    EXPECT_EQ(ValueFromVariant(v), Value::Array({}, 1));
}

TEST(ValueFromVariant, ArraysOfNumbersBooleansAndVariants) {
    unique_variant v;
    SAFEARRAY* numbers = PutArray(v, VT_I4, 1, 2);
    for (LONG i = 1; i <= 2; ++i) {
        LONG n = -i * 100;
        ASSERT_EQ(::SafeArrayPutElement(numbers, &i, &n), S_OK);
    }
    EXPECT_EQ(ValueFromVariant(v), Value::Array({std::int64_t{-100}, std::int64_t{-200}}, 1));

    SAFEARRAY* flags = PutArray(*v.put(), VT_BOOL, 0, 2);
    LONG i = 1;
    VARIANT_BOOL yes = VARIANT_TRUE;
    ASSERT_EQ(::SafeArrayPutElement(flags, &i, &yes), S_OK);
    EXPECT_EQ(ValueFromVariant(v), Value::Array({false, true}, 0));

    SAFEARRAY* mixed = PutArray(*v.put(), VT_VARIANT, 0, 3);
    unique_variant element;
    PutBstr(element, L"text", 4);
    i = 0;
    ASSERT_EQ(::SafeArrayPutElement(mixed, &i, &element), S_OK);
    V_VT(element.put()) = VT_NULL;
    i = 1;
    ASSERT_EQ(::SafeArrayPutElement(mixed, &i, &element), S_OK);
    V_VT(element.put()) = VT_UI2;
    V_UI2(&element) = 7;
    i = 2;
    ASSERT_EQ(::SafeArrayPutElement(mixed, &i, &element), S_OK);
    EXPECT_EQ(ValueFromVariant(v), Value::Array({u"text", Null{}, std::int64_t{7}}, 0));
}

TEST(ValueFromVariant, TypesWithoutACounterpartAreConversionErrors) {
    unique_variant v;
    V_VT(&v) = VT_R8;
    V_R8(&v) = 1.5;
    EXPECT_EQ(KindOfFailure(v), ErrorKind::Conversion);
    V_VT(&v) = VT_DATE;
    EXPECT_EQ(KindOfFailure(v), ErrorKind::Conversion);
    V_VT(&v) = VT_CY;
    EXPECT_EQ(KindOfFailure(v), ErrorKind::Conversion);

    LONG target = 5;
    V_VT(&v) = static_cast<VARTYPE>(VT_BYREF | VT_I4);
    V_I4REF(&v) = &target;
    EXPECT_EQ(KindOfFailure(v), ErrorKind::Conversion);
    V_VT(&v) = VT_EMPTY;  // the VARIANT never owned `target`

    PutArray(*v.put(), VT_R8, 0, 2);
    EXPECT_EQ(KindOfFailure(v), ErrorKind::Conversion);

    SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
    V_VT(v.put()) = static_cast<VARTYPE>(VT_ARRAY | VT_BSTR);
    V_ARRAY(&v) = ::SafeArrayCreate(VT_BSTR, 2, bounds);
    EXPECT_EQ(KindOfFailure(v), ErrorKind::Conversion);
}

TEST(ValueFromVariant, ANestedArrayAndAnArrayOfVariantsMayMix) {
    // An array inside a VT_VARIANT element is still an array, with its own bound.
    unique_variant inner;
    PutBstrArray(inner, 5, {L"deep"});
    unique_variant v;
    SAFEARRAY* outer = PutArray(v, VT_VARIANT, 0, 1);
    LONG i = 0;
    ASSERT_EQ(::SafeArrayPutElement(outer, &i, &inner), S_OK);
    EXPECT_EQ(ValueFromVariant(v), Value::Array({Value::Array({u"deep"}, 5)}, 0));
}

}  // namespace
