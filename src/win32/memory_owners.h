#pragma once

// Owners for global memory: unique_hglobal and unique_hglobal_locked.

#include <windows.h>

#include "win32/unique_any.h"

namespace quorvane::win32 {

namespace detail {
inline void FreeHglobal(HGLOBAL h) noexcept { ::GlobalFree(h); }
}  // namespace detail

using unique_hglobal = unique_any<HGLOBAL, decltype(&detail::FreeHglobal), &detail::FreeHglobal>;

// GlobalLock held for a scope.
class unique_hglobal_locked {
public:
    explicit unique_hglobal_locked(HGLOBAL h) noexcept : h_(h), p_(::GlobalLock(h)) {}
    unique_hglobal_locked(const unique_hglobal_locked&) = delete;
    unique_hglobal_locked& operator=(const unique_hglobal_locked&) = delete;
    ~unique_hglobal_locked() {
        if (p_) ::GlobalUnlock(h_);
    }
    [[nodiscard]] void* get() const noexcept { return p_; }

private:
    HGLOBAL h_;
    void* p_;
};

}  // namespace quorvane::win32
