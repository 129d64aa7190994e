#pragma once

// Owners for Windows resources, one per kind, shaped after WIL's
// (wil/resource.h) so that a later switch to WIL is mechanical:
// com_ptr<T>, unique_any<...>, unique_bstr, unique_variant, unique_hglobal,
// unique_hglobal_locked, unique_hfont, unique_hdc, unique_hbitmap, unique_call (unique_couninitialize_call,
// unique_close_clipboard_call), unique_safearray, unique_safearray_access.

#include <windows.h>
#include <oleauto.h>
#include <unknwn.h>

#include <cstddef>
#include <utility>

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

// A move-only owner of a handle-like value with a close function.
template <typename T, typename Close, Close close, T invalid = T{}>
class unique_any {
public:
    unique_any() noexcept = default;
    explicit unique_any(T v) noexcept : v_(v) {}
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    unique_any(unique_any&& o) noexcept : v_(std::exchange(o.v_, invalid)) {}
    unique_any& operator=(unique_any&& o) noexcept {
        if (this != &o) reset(std::exchange(o.v_, invalid));
        return *this;
    }
    ~unique_any() { reset(); }

    void reset(T v = invalid) noexcept {
        const T old = std::exchange(v_, v);
        if (old != invalid) close(old);
    }
    T* put() noexcept {
        reset();
        return &v_;
    }
    [[nodiscard]] T get() const noexcept { return v_; }
    [[nodiscard]] T release() noexcept { return std::exchange(v_, invalid); }
    explicit operator bool() const noexcept { return v_ != invalid; }

private:
    T v_ = invalid;
};

namespace detail {
inline void FreeBstr(BSTR s) noexcept { ::SysFreeString(s); }
inline void FreeHglobal(HGLOBAL h) noexcept { ::GlobalFree(h); }
inline void DeleteFont(HFONT f) noexcept { ::DeleteObject(f); }
inline void DeleteDc(HDC dc) noexcept { ::DeleteDC(dc); }
inline void DeleteBitmap(HBITMAP b) noexcept { ::DeleteObject(b); }
inline void DestroySafearray(SAFEARRAY* a) noexcept { ::SafeArrayDestroy(a); }
}  // namespace detail

using unique_bstr = unique_any<BSTR, decltype(&detail::FreeBstr), &detail::FreeBstr>;
using unique_hglobal = unique_any<HGLOBAL, decltype(&detail::FreeHglobal), &detail::FreeHglobal>;
using unique_hfont = unique_any<HFONT, decltype(&detail::DeleteFont), &detail::DeleteFont>;
// A device context of its own (CreateCompatibleDC), not one borrowed from a window.
using unique_hdc = unique_any<HDC, decltype(&detail::DeleteDc), &detail::DeleteDc>;
using unique_hbitmap = unique_any<HBITMAP, decltype(&detail::DeleteBitmap), &detail::DeleteBitmap>;
using unique_safearray = unique_any<SAFEARRAY*, decltype(&detail::DestroySafearray), &detail::DestroySafearray>;

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

// Calls `fn` when the scope ends, unless released.
template <typename Fn>
class scope_exit_t {
public:
    explicit scope_exit_t(Fn fn) noexcept : fn_(std::move(fn)) {}
    scope_exit_t(const scope_exit_t&) = delete;
    scope_exit_t& operator=(const scope_exit_t&) = delete;
    ~scope_exit_t() {
        if (armed_) fn_();
    }
    void release() noexcept { armed_ = false; }

private:
    Fn fn_;
    bool armed_ = true;
};
template <typename Fn>
[[nodiscard]] scope_exit_t<Fn> scope_exit(Fn fn) noexcept {
    return scope_exit_t<Fn>(std::move(fn));
}

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

// Calls `fn` once when it goes, if it was armed and not released: the other
// half of a call that succeeded (CoInitializeEx, OpenClipboard). Move-only, so
// the balancing call happens exactly once.
template <typename Fn, Fn fn>
class unique_call {
public:
    explicit unique_call(bool call = true) noexcept : call_(call) {}
    unique_call(const unique_call&) = delete;
    unique_call& operator=(const unique_call&) = delete;
    unique_call(unique_call&& o) noexcept : call_(std::exchange(o.call_, false)) {}
    unique_call& operator=(unique_call&&) = delete;
    ~unique_call() { reset(); }

    // Makes the call now, if it is still due.
    void reset() noexcept {
        if (std::exchange(call_, false)) fn();
    }
    // The call is no longer this object's to make.
    void release() noexcept { call_ = false; }
    explicit operator bool() const noexcept { return call_; }

private:
    bool call_;
};

namespace detail {
inline void CoUninitialize() noexcept { ::CoUninitialize(); }
inline void CloseClipboard() noexcept { ::CloseClipboard(); }
}  // namespace detail

using unique_couninitialize_call = unique_call<decltype(&detail::CoUninitialize), &detail::CoUninitialize>;
using unique_close_clipboard_call = unique_call<decltype(&detail::CloseClipboard), &detail::CloseClipboard>;

// A window's device context from GetDC, released to that window.
class unique_hdc_window {
public:
    explicit unique_hdc_window(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    unique_hdc_window(const unique_hdc_window&) = delete;
    unique_hdc_window& operator=(const unique_hdc_window&) = delete;
    ~unique_hdc_window() {
        if (dc_) ::ReleaseDC(hwnd_, dc_);
    }
    [[nodiscard]] HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND hwnd_;
    HDC dc_;
};

// An object selected into a device context for a scope; the previous one is
// selected back when it ends.
class select_object {
public:
    select_object(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
    select_object(const select_object&) = delete;
    select_object& operator=(const select_object&) = delete;
    ~select_object() {
        if (previous_) ::SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace quorvane::win32
