#include "inventory/wmi/variant_value.h"

#include <oleauto.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "base/error.h"
#include "win32/com_owners.h"
#include "win32/platform_error.h"
#include "win32/platform_text.h"

namespace quorvane::wmi {

using win32::ThrowIfFailed;

namespace {

// Reads a T from storage that need not be aligned for it (SAFEARRAY data).
template <typename T>
T Load(const void* storage) {
    T value;
    std::memcpy(&value, storage, sizeof value);
    return value;
}

std::u16string TextOf(BSTR s) {
    // SysStringLen, not the terminator: a BSTR may hold NUL characters.
    if (s == nullptr) return {};
    return win32::FromWide({s, ::SysStringLen(s)});
}

// The size one element of type `vt` takes in a SAFEARRAY, 0 if unsupported.
std::size_t ElementSize(VARTYPE vt) {
    switch (vt) {
        case VT_BOOL: return sizeof(VARIANT_BOOL);
        case VT_I1: return sizeof(CHAR);
        case VT_UI1: return sizeof(BYTE);
        case VT_I2: return sizeof(SHORT);
        case VT_UI2: return sizeof(USHORT);
        case VT_I4: return sizeof(LONG);
        case VT_UI4: return sizeof(ULONG);
        case VT_I8: return sizeof(LONGLONG);
        case VT_UI8: return sizeof(ULONGLONG);
        case VT_INT: return sizeof(INT);
        case VT_UINT: return sizeof(UINT);
        case VT_BSTR: return sizeof(BSTR);
        case VT_VARIANT: return sizeof(VARIANT);
        default: return 0;
    }
}

// One value of type `vt` held at `storage`. A VARIANT's value members all
// begin at the same address, so this serves a VARIANT's own value and an
// element of a SAFEARRAY alike.
Value ScalarAt(VARTYPE vt, const void* storage) {
    switch (vt) {
        case VT_BOOL: return Value(Load<VARIANT_BOOL>(storage) != VARIANT_FALSE);
        case VT_I1: return Value(std::int64_t{Load<signed char>(storage)});
        case VT_UI1: return Value(std::int64_t{Load<BYTE>(storage)});
        case VT_I2: return Value(std::int64_t{Load<SHORT>(storage)});
        case VT_UI2: return Value(std::int64_t{Load<USHORT>(storage)});
        case VT_I4: return Value(std::int64_t{Load<LONG>(storage)});
        case VT_UI4: return Value(std::int64_t{Load<ULONG>(storage)});
        case VT_I8: return Value(std::int64_t{Load<LONGLONG>(storage)});
        case VT_UI8: {
            const auto n = Load<ULONGLONG>(storage);
            if (n > static_cast<ULONGLONG>(std::numeric_limits<std::int64_t>::max())) {
                ThrowOverflow("VT_UI8 beyond the signed 64-bit range");
            }
            return Value(static_cast<std::int64_t>(n));
        }
        case VT_INT: return Value(std::int64_t{Load<INT>(storage)});
        case VT_UINT: return Value(std::int64_t{Load<UINT>(storage)});
        case VT_BSTR: return Value(TextOf(Load<BSTR>(storage)));
        case VT_VARIANT: return ValueFromVariant(*static_cast<const VARIANT*>(storage));
        default: ThrowConversion("VARIANT type without a value counterpart");
    }
}

Value ArrayOf(VARTYPE elementType, SAFEARRAY* array) {
    if (array == nullptr) ThrowConversion("VT_ARRAY without a SAFEARRAY");
    if (::SafeArrayGetDim(array) != 1) ThrowConversion("SAFEARRAY of more than one dimension");
    const std::size_t size = ElementSize(elementType);
    // The element size must be the declared type's, or the data would be misread.
    if (size == 0 || ::SafeArrayGetElemsize(array) != size) {
        ThrowConversion("SAFEARRAY element type without a value counterpart");
    }

    LONG lower = 0;
    LONG upper = 0;
    ThrowIfFailed(::SafeArrayGetLBound(array, 1, &lower), "SafeArrayGetLBound");
    ThrowIfFailed(::SafeArrayGetUBound(array, 1, &upper), "SafeArrayGetUBound");
    const std::int64_t count = std::int64_t{upper} - lower + 1;

    ValueArray result;
    result.lowerBound = std::int32_t{lower};
    if (count <= 0) return Value(std::move(result));

    const win32::unique_safearray_access access(array);
    ThrowIfFailed(access.status(), "SafeArrayAccessData");
    const auto* data = static_cast<const unsigned char*>(access.data());
    result.elements.reserve(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
        result.elements.push_back(ScalarAt(elementType, data + i * size));
    }
    return Value(std::move(result));
}

}  // namespace

Value ValueFromVariant(const VARIANT& v) {
    const VARTYPE vt = V_VT(&v);
    if ((vt & VT_BYREF) != 0) ThrowConversion("VARIANT passed by reference");
    if ((vt & VT_ARRAY) != 0) return ArrayOf(static_cast<VARTYPE>(vt & VT_TYPEMASK), V_ARRAY(&v));
    if (vt == VT_EMPTY || vt == VT_NULL) return Value(Null{});
    if (vt == VT_VARIANT) ThrowConversion("VT_VARIANT outside an array");
    return ScalarAt(vt, &V_I8(&v));
}

}  // namespace quorvane::wmi
