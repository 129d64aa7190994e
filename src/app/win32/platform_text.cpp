#include "app/win32/platform_text.h"

#include <string>

#include "inventory/error.h"

namespace quorvane::win32 {

void ThrowLastError(const char* operation) {
    const DWORD code = ::GetLastError();
    ThrowPlatform(std::string(operation) + " failed", static_cast<std::int64_t>(code));
}

}  // namespace quorvane::win32
