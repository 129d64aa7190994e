#include "support/win32/window_fixture.h"

namespace quorvane::win32::testing {

std::wstring WindowText(HWND hwnd) {
    wchar_t buffer[256] = {};
    ::GetWindowTextW(hwnd, buffer, 256);
    return buffer;
}

void WindowTest::SetUp() {
    window_ = CreateMainWindow(::GetModuleHandleW(nullptr), services_);
    ASSERT_NE(window_, nullptr);
    ::ShowWindow(window_, SW_SHOWNORMAL);
    ::UpdateWindow(window_);
    Pump();
}

void WindowTest::TearDown() {
    // The hook may point into the test's own scope, which has ended.
    clipboardTaken_ = nullptr;
    if (window_) ::DestroyWindow(window_);
    Pump();
}

void WindowTest::Pump() {
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;  // each test's window posts one when it goes
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void WindowTest::Click(ControlId id) {
    ::SendMessageW(Control(id), BM_CLICK, 0, 0);
    Pump();
}

std::wstring WindowTest::ColumnTitle(int position) const {
    wchar_t buffer[256] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = buffer;
    column.cchTextMax = 256;
    if (!::SendMessageW(Control(kListView1Id), LVM_GETCOLUMNW, static_cast<WPARAM>(position),
                        reinterpret_cast<LPARAM>(&column))) {
        return L"<no column>";
    }
    return buffer;
}

int WindowTest::RowCount() const {
    return static_cast<int>(::SendMessageW(Control(kListView1Id), LVM_GETITEMCOUNT, 0, 0));
}

std::wstring WindowTest::Cell(int row, int subItem) const {
    wchar_t buffer[1024] = {};
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = buffer;
    item.cchTextMax = 1024;
    const LRESULT n = ::SendMessageW(Control(kListView1Id), LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                     reinterpret_cast<LPARAM>(&item));
    return std::wstring(item.pszText, static_cast<std::size_t>(n));
}

int WindowTest::ColumnWidth(int position) const {
    return static_cast<int>(::SendMessageW(Control(kListView1Id), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(position), 0));
}

RECT WindowTest::ControlRect(ControlId id) const {
    RECT r{};
    ::GetWindowRect(Control(id), &r);
    ::MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT WindowTest::ClientRect() const {
    RECT r{};
    ::GetClientRect(window_, &r);
    return r;
}

void WindowTest::SetClientSize(int width, int height) {
    RECT frame{0, 0, width, height};
    ::AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_STYLE)), FALSE,
                               static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_EXSTYLE)), ::GetDpiForWindow(window_));
    ::SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER);
    Pump();
}

std::vector<quorvane::testing::FakeAdapter> TwoAdapters() {
    quorvane::testing::FakeAdapter wired;
    wired.Set(u"Index", Value(std::int32_t{7}))
        .Set(u"MACAddress", u"00:1A:2B:3C:4D:5E")
        .Set(u"IPEnabled", true)
        .Set(u"IPAddress", Value::Array({Value(u"192.168.1.20"), Value(u"fe80::1")}))
        .Set(u"DHCPEnabled", false)
        .Set(u"DNSEnabledForWINSResolution", false)
        .Set(u"DNSHostName", u"desk")
        .Set(u"Description", u"Wired Ethernet adapter with a rather long description")
        .Set(u"DNSServerSearchOrder", Value::Array({Value(u"192.168.1.1"), Value(u"10.0.0.1")}));

    quorvane::testing::FakeAdapter wireless;
    wireless.Set(u"Index", Value(std::int32_t{12}))
        .Set(u"MACAddress", u"66:77:88:99:AA:BB")
        .Set(u"IPEnabled", false)
        .Set(u"DHCPEnabled", true)
        .Set(u"DHCPServer", u"10.0.0.254")
        .Set(u"DHCPLeaseObtained", u"20070122134359.000000-300")
        .Set(u"DNSEnabledForWINSResolution", true)
        .Set(u"DNSHostName", u"desk")
        .Set(u"DNSDomain", u"home.example")
        .Set(u"Description", u"Wireless");
    return {wired, wireless};
}

}  // namespace quorvane::win32::testing
