// The owners in src/win32, checked against a fake COM object that counts
// its references, so a double Release or a leak shows as a number; and
// failed Windows calls as the program's error.
#include "win32/com_owners.h"

#include <gtest/gtest.h>

#include <oaidl.h>

#include <utility>

#include "base/error.h"
#include "win32/platform_error.h"

namespace {

using quorvane::win32::com_ptr;

// COM interfaces have no virtual destructor by design: objects go through
// Release, never delete on an interface pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class CountingUnknown final : public IUnknown {
public:
    ULONG refs = 1;  // the creator's reference
    int releasesBelowZero = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown)) {
            AddRef();
            *out = static_cast<IUnknown*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override {
        if (refs == 0) {
            ++releasesBelowZero;
            return 0;
        }
        return --refs;
    }
};
#pragma GCC diagnostic pop

TEST(ComPtr, OwnsExactlyTheReferenceItWasGiven) {
    CountingUnknown a;
    {
        auto p = com_ptr<IUnknown>::attach(&a);
        EXPECT_EQ(p.get(), &a);
        EXPECT_EQ(a.refs, 1u);
        p.reset();
        EXPECT_EQ(a.refs, 0u);
        p.reset();  // a second reset has nothing left to release
        EXPECT_FALSE(p);
    }
    EXPECT_EQ(a.refs, 0u);
    EXPECT_EQ(a.releasesBelowZero, 0);

    CountingUnknown b;
    {
        auto p = com_ptr<IUnknown>::attach(&b);
        IUnknown* handedOver = p.detach();
        EXPECT_EQ(handedOver, &b);
        EXPECT_FALSE(p);
    }
    EXPECT_EQ(b.refs, 1u) << "detach hands the reference on without releasing it";
}

TEST(ComPtr, MovesTransferTheReferenceWithoutCounting) {
    CountingUnknown a;
    CountingUnknown b;
    {
        auto first = com_ptr<IUnknown>::attach(&a);
        com_ptr<IUnknown> second(std::move(first));
        EXPECT_FALSE(first);  // NOLINT(bugprone-use-after-move): moved-from is empty by contract
        EXPECT_EQ(second.get(), &a);
        EXPECT_EQ(a.refs, 1u);

        auto third = com_ptr<IUnknown>::attach(&b);
        third = std::move(second);  // drops b, takes a
        EXPECT_EQ(b.refs, 0u);
        EXPECT_EQ(a.refs, 1u);
        EXPECT_EQ(third.get(), &a);
    }
    EXPECT_EQ(a.refs, 0u);
    EXPECT_EQ(a.releasesBelowZero + b.releasesBelowZero, 0);
}

TEST(ComPtr, PutReleasesTheOldPointerBeforeTheCallFillsIt) {
    CountingUnknown old;
    CountingUnknown fresh;
    auto p = com_ptr<IUnknown>::attach(&old);
    IUnknown** slot = p.put();
    EXPECT_EQ(old.refs, 0u);
    EXPECT_EQ(*slot, nullptr);
    *slot = &fresh;  // what an out-parameter call does
    EXPECT_EQ(p.get(), &fresh);
    p.reset();
    EXPECT_EQ(fresh.refs, 0u);
    EXPECT_EQ(old.releasesBelowZero + fresh.releasesBelowZero, 0);
}

TEST(ComPtr, QueryAddsAReferenceOnlyWhenTheInterfaceIsThere) {
    CountingUnknown a;
    auto p = com_ptr<IUnknown>::attach(&a);
    {
        HRESULT hr = E_FAIL;
        const com_ptr<IUnknown> same = p.query<IUnknown>(&hr);
        EXPECT_EQ(hr, S_OK);
        EXPECT_EQ(same.get(), &a);
        EXPECT_EQ(a.refs, 2u);
    }
    EXPECT_EQ(a.refs, 1u);

    HRESULT hr = S_OK;
    const com_ptr<IDispatch> missing = p.query<IDispatch>(&hr);
    EXPECT_EQ(hr, E_NOINTERFACE);
    EXPECT_FALSE(missing);
    EXPECT_EQ(a.refs, 1u);

    const com_ptr<IUnknown> empty;
    const com_ptr<IUnknown> none = empty.query<IUnknown>(&hr);
    EXPECT_EQ(hr, E_POINTER);
    EXPECT_FALSE(none);
}

// A close function that counts, to watch unique_any close each value once.
int g_closed = 0;
int g_lastClosed = 0;
void CountClose(int v) noexcept {
    ++g_closed;
    g_lastClosed = v;
}
using unique_counted = quorvane::win32::unique_any<int, decltype(&CountClose), &CountClose, -1>;

TEST(UniqueAny, ClosesEachValueOnceAcrossMovesResetsAndRelease) {
    g_closed = 0;
    {
        unique_counted a(7);
        unique_counted b(std::move(a));
        EXPECT_FALSE(a);  // NOLINT(bugprone-use-after-move)
        EXPECT_EQ(b.get(), 7);

        unique_counted c(8);
        c = std::move(b);
        EXPECT_EQ(g_closed, 1);
        EXPECT_EQ(g_lastClosed, 8);

        *c.put() = 9;  // put() closes 7 first
        EXPECT_EQ(g_closed, 2);
        EXPECT_EQ(g_lastClosed, 7);

        unique_counted d(10);
        EXPECT_EQ(d.release(), 10);
        EXPECT_FALSE(d);
    }
    EXPECT_EQ(g_closed, 3) << "9 closed at scope end, 10 was released, -1 is never closed";
    EXPECT_EQ(g_lastClosed, 9);
}

TEST(UniqueVariant, ClearsWhatItHoldsOnPutAndAtScopeEnd) {
    CountingUnknown held;
    {
        quorvane::win32::unique_variant v;
        EXPECT_EQ(V_VT(&v), VT_EMPTY);
        V_VT(&v) = VT_UNKNOWN;
        V_UNKNOWN(&v) = &held;
        VARIANT* slot = v.put();
        EXPECT_EQ(held.refs, 0u);
        EXPECT_EQ(V_VT(slot), VT_EMPTY);

        held.refs = 1;
        V_VT(slot) = VT_UNKNOWN;
        V_UNKNOWN(slot) = &held;
    }
    EXPECT_EQ(held.refs, 0u);
    EXPECT_EQ(held.releasesBelowZero, 0);
}

TEST(UniqueSafearrayAccess, LocksForItsScopeSoTheArrayCanBeDestroyedAfter) {
    using unique_safearray =
        quorvane::win32::unique_any<SAFEARRAY*, decltype(&::SafeArrayDestroy), &::SafeArrayDestroy>;
    SAFEARRAYBOUND bound{3, 0};
    unique_safearray array(::SafeArrayCreate(VT_I4, 1, &bound));
    ASSERT_TRUE(array);
    {
        const quorvane::win32::unique_safearray_access access(array.get());
        ASSERT_EQ(access.status(), S_OK);
        ASSERT_NE(access.data(), nullptr);
        static_cast<LONG*>(access.data())[2] = 42;
        EXPECT_EQ(::SafeArrayDestroy(array.get()), DISP_E_ARRAYISLOCKED);
    }
    LONG element = 0;
    LONG index = 2;
    EXPECT_EQ(::SafeArrayGetElement(array.get(), &index, &element), S_OK);
    EXPECT_EQ(element, 42);
    EXPECT_EQ(::SafeArrayDestroy(array.release()), S_OK);

    const quorvane::win32::unique_safearray_access none(nullptr);
    EXPECT_TRUE(FAILED(none.status()));
    EXPECT_EQ(none.data(), nullptr);
}

int g_calls = 0;
void CountCall() noexcept { ++g_calls; }
using unique_counted_call = quorvane::win32::unique_call<decltype(&CountCall), &CountCall>;

TEST(UniqueCall, CallsOnceWhenArmedAndNotReleased) {
    g_calls = 0;
    {
        unique_counted_call a;
        unique_counted_call b(std::move(a));
        EXPECT_FALSE(a);  // NOLINT(bugprone-use-after-move)
        EXPECT_TRUE(b);
        unique_counted_call early;
        early.reset();
        EXPECT_EQ(g_calls, 1);
        unique_counted_call released;
        released.release();
        const unique_counted_call unarmed(false);
    }
    EXPECT_EQ(g_calls, 2) << "b calls at its end; the moved-from, reset, released and unarmed ones do not";
}

// The message names the call and the code in hex; the code travels as it is.
TEST(PlatformError, CarriesTheFailedCallAndItsCode) {
    try {
        quorvane::win32::ThrowHresult(static_cast<HRESULT>(0x80041002), "IWbemClassObject::Get");
        ADD_FAILURE() << "nothing thrown";
    } catch (const quorvane::Error& e) {
        EXPECT_EQ(e.kind(), quorvane::ErrorKind::Platform);
        EXPECT_EQ(e.platformCode(), static_cast<HRESULT>(0x80041002));
        EXPECT_STREQ(e.what(), "IWbemClassObject::Get failed: 0x80041002");
    }
    EXPECT_NO_THROW(quorvane::win32::ThrowIfFailed(S_FALSE, "a call that succeeded"));

    ::SetLastError(ERROR_ACCESS_DENIED);
    try {
        quorvane::win32::ThrowLastError("OpenClipboard");
        ADD_FAILURE() << "nothing thrown";
    } catch (const quorvane::Error& e) {
        EXPECT_EQ(e.platformCode(), ERROR_ACCESS_DENIED);
        EXPECT_STREQ(e.what(), "OpenClipboard failed");
    }
}

}  // namespace
