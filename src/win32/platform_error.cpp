#include "win32/platform_error.h"

#include <cstdint>
#include <cstdio>

#include "base/error.h"

namespace quorvane::win32 {

void ThrowHresult(HRESULT hr, std::string_view call) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    std::string what(call);
    what += " failed: ";
    what += code;
    ThrowPlatform(what, std::int64_t{hr});
}

void ThrowLastError(std::string_view call) {
    // Read first: building the message may change it.
    const DWORD code = ::GetLastError();
    ThrowPlatform(std::string(call) + " failed", static_cast<std::int64_t>(code));
}

}  // namespace quorvane::win32
