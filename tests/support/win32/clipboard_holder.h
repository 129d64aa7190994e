#pragma once

// Holds the system clipboard open from another thread, as another program
// would, for as long as the test says rather than for a set time: a busy
// machine then stretches a hold but never ends it before the copy under test
// has met it.

#include <windows.h>

#include <chrono>
#include <functional>
#include <future>
#include <string>
#include <thread>

namespace quorvane::win32::testing {

class ClipboardHolder {
public:
    // Returns once the clipboard is open on the other thread. It stays open
    // until the holder goes or, given `letGoWhen`, until a moment after that
    // first answers true on the holding thread; the moment lets a copy that
    // has just begun find the clipboard taken before it is let go.
    explicit ClipboardHolder(std::function<bool()> letGoWhen = {}) {
        std::promise<bool> opened;
        auto isOpen = opened.get_future();
        thread_ = std::thread([letGoWhen = std::move(letGoWhen), opened = std::move(opened),
                               released = release_.get_future()]() mutable {
            const bool ok = ::OpenClipboard(nullptr) != FALSE;
            opened.set_value(ok);
            if (!ok) return;
            if (letGoWhen) {
                using std::chrono::milliseconds;
                while (!letGoWhen() && released.wait_for(milliseconds(1)) == std::future_status::timeout) {
                }
                released.wait_for(milliseconds(50));
            } else {
                released.wait();
            }
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
