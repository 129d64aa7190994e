// The clipboard adapter: exact text in and out, waiting for a holder that
// lets go, and giving up on one that does not without touching the content.

#include <gtest/gtest.h>

#include <chrono>

#include "app/win32/clipboard.h"
#include "base/error.h"
#include "support/win32/clipboard_holder.h"

namespace quorvane::win32::testing {
namespace {

using std::chrono::milliseconds;

// The clipboard belongs to a window, as the program's does; a holder on
// another thread then keeps it from opening.
class OwnerWindow {
public:
    OwnerWindow()
        : hwnd_(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ::GetModuleHandleW(nullptr),
                                  nullptr)) {}
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    ~OwnerWindow() { ::DestroyWindow(hwnd_); }
    [[nodiscard]] HWND get() const { return hwnd_; }

private:
    HWND hwnd_;
};

TEST(Win32Clipboard, ReplacesTheContentWithTheExactText) {
    const OwnerWindow owner;
    Win32Clipboard clipboard(owner.get());
    ASSERT_TRUE(PutClipboardText(L"previous"));
    clipboard.ReplaceText(u"a\tb\r\nc,\"d\"\r\ncaf\u00e9 \u20ac \U0001F310");
    EXPECT_EQ(ReadClipboardText(), L"a\tb\r\nc,\"d\"\r\ncaf\u00e9 \u20ac \U0001F310");
    clipboard.ReplaceText(u"");
    EXPECT_EQ(ReadClipboardText(), L"");
}

// The holder lets go only once the copy has found the clipboard taken: the
// copy gets through only by trying again.
TEST(Win32Clipboard, TriesAgainUntilAHolderLetsGo) {
    const OwnerWindow owner;
    ClipboardHolder holder;
    ASSERT_TRUE(holder.opened());
    Win32Clipboard clipboard(owner.get(), [&holder] { holder.LetGo(); });
    clipboard.ReplaceText(u"after the wait");
    EXPECT_EQ(ReadClipboardText(), L"after the wait");
}

TEST(Win32Clipboard, GivesUpOnAHolderAndLeavesTheContent) {
    ASSERT_TRUE(PutClipboardText(L"previous"));
    const OwnerWindow owner;
    Win32Clipboard clipboard(owner.get(), {}, milliseconds(100));
    {
        const ClipboardHolder holder;
        ASSERT_TRUE(holder.opened());
        try {
            clipboard.ReplaceText(u"lost");
            ADD_FAILURE() << "no Error raised";
        } catch (const Error& e) {
            EXPECT_EQ(e.kind(), ErrorKind::Platform);
        }
    }
    EXPECT_EQ(ReadClipboardText(), L"previous");
}

}  // namespace
}  // namespace quorvane::win32::testing
