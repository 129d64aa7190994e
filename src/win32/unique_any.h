#pragma once

// The two generic owners the others are made of: unique_any (a handle-like
// value and the function that closes it, named in the type, so each kind of
// handle is one alias) and unique_call (the balancing half of a call that
// succeeded). Both are move-only, so each close or call happens exactly once.

#include <utility>

namespace quorvane::win32 {

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

}  // namespace quorvane::win32
