#include "inventory/wmi/hresult.h"

#include <cstdint>
#include <cstdio>

#include "inventory/error.h"

namespace quorvane::wmi {

void ThrowHresult(HRESULT hr, std::string_view call) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    std::string what(call);
    what += " failed: ";
    what += code;
    ThrowPlatform(what, std::int64_t{hr});
}

std::string DiagnosticName(std::u16string_view name) {
    std::string out;
    out.reserve(name.size());
    for (const char16_t c : name) out.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?');
    return out;
}

}  // namespace quorvane::wmi
