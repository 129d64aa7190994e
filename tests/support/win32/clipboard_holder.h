#pragma once

// Holds the system clipboard open from another thread, as another program
// would, until the test lets go: never for a set time, which a busy machine
// may outrun.

#include <windows.h>

#include <future>
#include <string>
#include <thread>

namespace quorvane::win32::testing {

class ClipboardHolder {
public:
    // Returns once the clipboard is open on the other thread.
    ClipboardHolder() {
        std::promise<bool> opened;
        auto isOpen = opened.get_future();
        thread_ = std::thread([opened = std::move(opened), released = release_.get_future()]() mutable {
            const bool ok = ::OpenClipboard(nullptr) != FALSE;
            opened.set_value(ok);
            if (!ok) return;
            released.wait();
            ::CloseClipboard();
        });
        opened_ = isOpen.get();
    }
    ClipboardHolder(const ClipboardHolder&) = delete;
    ClipboardHolder& operator=(const ClipboardHolder&) = delete;
    ~ClipboardHolder() { LetGo(); }
    [[nodiscard]] bool opened() const { return opened_; }

    // Closes the clipboard, if still held, and returns once it is closed.
    void LetGo() {
        if (!thread_.joinable()) return;
        release_.set_value();
        thread_.join();
    }

private:
    std::promise<void> release_;
    std::thread thread_;
    bool opened_ = false;
};

// Puts `text` on the clipboard as CF_UNICODETEXT; false when refused.
bool PutClipboardText(const std::wstring& text);

// The clipboard's CF_UNICODETEXT content, exactly; empty when there is none.
std::wstring ReadClipboardText();

}  // namespace quorvane::win32::testing
