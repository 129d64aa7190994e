#pragma once

// Holds the system clipboard open from another thread, as another program
// would, until released or destroyed.

#include <windows.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>

namespace quorvane::win32::testing {

class ClipboardHolder {
public:
    // Returns once the clipboard is open on the other thread; it closes after
    // `holdFor` or when the holder goes, whichever comes first.
    explicit ClipboardHolder(std::chrono::milliseconds holdFor) {
        std::promise<bool> opened;
        auto isOpen = opened.get_future();
        thread_ = std::thread([this, holdFor, opened = std::move(opened)]() mutable {
            const bool ok = ::OpenClipboard(nullptr) != FALSE;
            opened.set_value(ok);
            if (!ok) return;
            release_.get_future().wait_for(holdFor);
            ::CloseClipboard();
        });
        opened_ = isOpen.get();
    }
    ClipboardHolder(const ClipboardHolder&) = delete;
    ClipboardHolder& operator=(const ClipboardHolder&) = delete;
    ~ClipboardHolder() {
        release_.set_value();
        thread_.join();
    }
    [[nodiscard]] bool opened() const { return opened_; }

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
