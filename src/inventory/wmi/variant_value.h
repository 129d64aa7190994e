#pragma once

#include <oaidl.h>

#include "inventory/value.h"

namespace quorvane::wmi {

// Turns a property value as WMI delivers it into the core's Value:
// VT_EMPTY and VT_NULL become Null, VT_BOOL a Boolean, the integer types a
// whole number, VT_BSTR a text, a one-dimensional SAFEARRAY of those (or of
// VARIANTs) an array with the SAFEARRAY's own lower bound. Any other type
// raises the conversion error; a failing SAFEARRAY call the Platform error.
Value ValueFromVariant(const VARIANT& v);

}  // namespace quorvane::wmi
