#pragma once

// Owners for COM and OLE Automation resources: com_ptr<T>, unique_bstr,
// unique_variant, unique_safearray_access and unique_couninitialize_call.

#include <windows.h>
#include <oleauto.h>
#include <unknwn.h>

#include <cstddef>
#include <utility>

#include "win32/unique_any.h"

namespace quorvane::win32 {

// A move-only owner of one COM interface pointer.
template <typename T>
class com_ptr {
public:
    com_ptr() noexcept = default;
    com_ptr(std::nullptr_t) noexcept {}
    // Takes over a reference the caller already owns.
    static com_ptr attach(T* p) noexcept {
        com_ptr r;
        r.p_ = p;
        return r;
    }
    com_ptr(const com_ptr&) = delete;
    com_ptr& operator=(const com_ptr&) = delete;
    com_ptr(com_ptr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    com_ptr& operator=(com_ptr&& o) noexcept {
        if (this != &o) {
            reset();
            p_ = std::exchange(o.p_, nullptr);
        }
        return *this;
    }
    ~com_ptr() { reset(); }

    void reset() noexcept {
        if (T* old = std::exchange(p_, nullptr)) old->Release();
    }
    // For out-parameters: releases what is held first.
    T** put() noexcept {
        reset();
        return &p_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
    [[nodiscard]] T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    // Hands the reference to the caller.
    [[nodiscard]] T* detach() noexcept { return std::exchange(p_, nullptr); }

    template <typename U>
    [[nodiscard]] com_ptr<U> query(HRESULT* hr = nullptr) const noexcept {
        com_ptr<U> r;
        const HRESULT h = p_ ? p_->QueryInterface(__uuidof(U), r.put_void()) : E_POINTER;
        if (hr) *hr = h;
        return r;
    }

private:
    T* p_ = nullptr;
};

namespace detail {
inline void FreeBstr(BSTR s) noexcept { ::SysFreeString(s); }
inline void CoUninitialize() noexcept { ::CoUninitialize(); }
}  // namespace detail

using unique_bstr = unique_any<BSTR, decltype(&detail::FreeBstr), &detail::FreeBstr>;
using unique_couninitialize_call = unique_call<decltype(&detail::CoUninitialize), &detail::CoUninitialize>;

// A VARIANT that is cleared when it goes.
class unique_variant : public VARIANT {
public:
    unique_variant() noexcept { ::VariantInit(this); }
    unique_variant(const unique_variant&) = delete;
    unique_variant& operator=(const unique_variant&) = delete;
    ~unique_variant() { ::VariantClear(this); }
    void reset() noexcept { ::VariantClear(this); }
    VARIANT* put() noexcept {
        reset();
        return this;
    }
};

// SafeArrayAccessData held for a scope. A locked array cannot be destroyed,
// so every successful access must be balanced even when reading fails.
class unique_safearray_access {
public:
    explicit unique_safearray_access(SAFEARRAY* a) noexcept
        : a_(a), hr_(a ? ::SafeArrayAccessData(a, &data_) : E_INVALIDARG) {}
    unique_safearray_access(const unique_safearray_access&) = delete;
    unique_safearray_access& operator=(const unique_safearray_access&) = delete;
    ~unique_safearray_access() {
        if (SUCCEEDED(hr_)) ::SafeArrayUnaccessData(a_);
    }
    // The result of SafeArrayAccessData; data() is null unless it succeeded.
    [[nodiscard]] HRESULT status() const noexcept { return hr_; }
    [[nodiscard]] void* data() const noexcept { return SUCCEEDED(hr_) ? data_ : nullptr; }

private:
    SAFEARRAY* a_;
    void* data_ = nullptr;
    HRESULT hr_;
};

}  // namespace quorvane::win32
