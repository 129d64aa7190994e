// The real window under test: its controls at start, the list and copy
// commands through button clicks, the layout after resizing and DPI changes,
// and the clipboard held by someone else.

#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <string_view>

#include "support/win32/clipboard_holder.h"
#include "support/win32/window_fixture.h"

namespace quorvane::win32::testing {
namespace {

// Pixels for a position in twips at `dpi`, computed here independently of the window.
int Px(double twips, UINT dpi) { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }
double Twips(int pixels, UINT dpi) { return pixels * 1440.0 / dpi; }

constexpr std::wstring_view kHeaderTabs = L"NIC\tMAC\tIP Addr\tDHCP Svr\tLeaseObt\tLeaseExp\tWINS\tHost\tDomain\tNIC Name\tDNS";

std::wstring Joined(std::initializer_list<std::wstring_view> parts) {
    std::wstring text;
    for (const auto part : parts) text.append(part);
    return text;
}

TEST_F(WindowTest, OpensAsTheDesignedWindowWithAnEmptyTable) {
    EXPECT_EQ(WindowText(window_), L"Quorvane");
    const UINT dpi = ::GetDpiForWindow(window_);
    const RECT client = ClientRect();
    EXPECT_NEAR(client.right, Px(7005, dpi), 1);
    EXPECT_NEAR(client.bottom, Px(5610, dpi), 1);

    EXPECT_EQ(WindowText(Control(kCommand1Id)), L"&List Network Adaptors");
    EXPECT_EQ(WindowText(Control(kCommand2Id)), L"&Copy table to clipboard");
    EXPECT_EQ(WindowText(Control(kChkCommasId)), L"Use commas to separate columns");
    EXPECT_EQ(::SendMessageW(Control(kChkCommasId), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(::IsWindowEnabled(Control(kCommand1Id)));
    EXPECT_TRUE(::IsWindowEnabled(Control(kCommand2Id)));

    const wchar_t* titles[] = {L"NIC",  L"MAC",  L"IP Addr", L"DHCP Svr", L"LeaseObt", L"LeaseExp",
                               L"WINS", L"Host", L"Domain",  L"NIC Name", L"DNS"};
    for (int i = 0; i < 11; ++i) EXPECT_EQ(ColumnTitle(i), titles[i]) << "column " << i;
    const auto header = reinterpret_cast<HWND>(::SendMessageW(Control(kListView1Id), LVM_GETHEADER, 0, 0));
    EXPECT_EQ(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 11);
    EXPECT_EQ(RowCount(), 0);

    const auto style = ::GetWindowLongPtrW(Control(kListView1Id), GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_EQ(style & (LVS_SORTASCENDING | LVS_SORTDESCENDING), 0);
    EXPECT_EQ(static_cast<COLORREF>(::SendMessageW(Control(kListView1Id), LVM_GETTEXTCOLOR, 0, 0)),
              ::GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(static_cast<COLORREF>(::SendMessageW(Control(kListView1Id), LVM_GETBKCOLOR, 0, 0)),
              ::GetSysColor(COLOR_WINDOW));

    EXPECT_EQ(::GetFocus(), Control(kListView1Id));
}

TEST_F(WindowTest, TabMovesThroughTheControlsInOrderAndBack) {
    const HWND order[] = {Control(kListView1Id), Control(kCommand1Id), Control(kCommand2Id), Control(kChkCommasId)};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(::GetNextDlgTabItem(window_, order[i], FALSE), order[(i + 1) % 4]) << "Tab from " << i;
        EXPECT_EQ(::GetNextDlgTabItem(window_, order[(i + 1) % 4], TRUE), order[i]) << "Shift+Tab to " << i;
    }
}

TEST_F(WindowTest, ListCommandShowsEachAdapterOnceAndFitsTheColumns) {
    source_.adapters = TwoAdapters();
    Click(kCommand1Id);
    Click(kCommand1Id);

    ASSERT_EQ(RowCount(), 2);
    EXPECT_EQ(Cell(0, 0), L"7");
    EXPECT_EQ(Cell(0, 1), L"00:1A:2B:3C:4D:5E");
    EXPECT_EQ(Cell(0, 2), L"192.168.1.20");
    EXPECT_EQ(Cell(0, 10), L"192.168.1.1,10.0.0.1");
    EXPECT_EQ(Cell(1, 0), L"12");
    EXPECT_EQ(Cell(1, 3), L"10.0.0.254");
    EXPECT_EQ(Cell(1, 4), L"22/01/2007");
    EXPECT_TRUE(::IsWindowEnabled(Control(kCommand1Id)));
    EXPECT_TRUE(::IsWindowVisible(Control(kListView1Id)));  // drawn again after the command
    EXPECT_EQ(signal_.beeps, 0);

    // Each column at least as wide as its longest cell; the last one takes
    // what the others leave of the list view.
    const HWND list = Control(kListView1Id);
    const auto textWidth = [&](const std::wstring& s) {
        return static_cast<int>(::SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(s.c_str())));
    };
    EXPECT_GE(ColumnWidth(9), textWidth(L"Wired Ethernet adapter with a rather long description"));
    EXPECT_GE(ColumnWidth(3), textWidth(L"10.0.0.254"));
    int total = 0;
    for (int i = 0; i < 11; ++i) total += ColumnWidth(i);
    RECT inside{};
    ::GetClientRect(list, &inside);
    EXPECT_GE(total, inside.right);

    // A resize leaves the fitted widths alone.
    const int descriptionWidth = ColumnWidth(9);
    SetClientSize(900, 500);
    EXPECT_EQ(ColumnWidth(9), descriptionWidth);
}

TEST_F(WindowTest, ListCommandWithTheServiceUnreachableLeavesAnEmptyTable) {
    source_.adapters = TwoAdapters();
    Click(kCommand1Id);
    source_.failInstancesOf = true;
    Click(kCommand1Id);
    EXPECT_EQ(RowCount(), 0);
    EXPECT_EQ(ColumnTitle(10), L"DNS");
    EXPECT_TRUE(::IsWindowEnabled(Control(kCommand1Id)));
    EXPECT_EQ(signal_.beeps, 0);
}

TEST_F(WindowTest, CopyCommandPutsTheTableOnTheClipboardWithTabsOrCommas) {
    source_.adapters = TwoAdapters();
    Click(kCommand1Id);

    Click(kCommand2Id);
    EXPECT_EQ(ReadClipboardText(),
              Joined({kHeaderTabs,
                  L"\r\n7\t00:1A:2B:3C:4D:5E\t192.168.1.20\t\t\t\tFalse\tdesk\t\t"
                  L"Wired Ethernet adapter with a rather long description\t192.168.1.1,10.0.0.1"
                  L"\r\n12\t66:77:88:99:AA:BB\t\t10.0.0.254\t22/01/2007\t\tTrue\tdesk\thome.example\tWireless\t"}));

    Click(kChkCommasId);  // an auto check box ticks itself
    ASSERT_EQ(::SendMessageW(Control(kChkCommasId), BM_GETCHECK, 0, 0), BST_CHECKED);
    Click(kCommand2Id);
    EXPECT_EQ(ReadClipboardText(),
              L"NIC,MAC,IP Addr,DHCP Svr,LeaseObt,LeaseExp,WINS,Host,Domain,NIC Name,DNS"
              L"\r\n7,00:1A:2B:3C:4D:5E,192.168.1.20,,,,False,desk,,"
              L"Wired Ethernet adapter with a rather long description,\"192.168.1.1,10.0.0.1\""
              L"\r\n12,66:77:88:99:AA:BB,,10.0.0.254,22/01/2007,,True,desk,home.example,Wireless,");
    EXPECT_TRUE(::IsWindowEnabled(Control(kCommand2Id)));
    EXPECT_EQ(signal_.beeps, 0);
}

TEST_F(WindowTest, CopyOfAnEmptyTableIsTheHeaderLineAndOneLineEnd) {
    Click(kCommand2Id);
    EXPECT_EQ(ReadClipboardText(), Joined({kHeaderTabs, L"\r\n"}));
}

// The holder lets go once the copy has found the clipboard taken.
TEST_F(WindowTest, CopyWaitsForAClipboardHeldBriefly) {
    ASSERT_TRUE(PutClipboardText(L"previous"));
    ClipboardHolder holder;
    ASSERT_TRUE(holder.opened());
    clipboardTaken_ = [&holder] { holder.LetGo(); };
    Click(kCommand2Id);
    EXPECT_EQ(ReadClipboardText(), Joined({kHeaderTabs, L"\r\n"}));
    EXPECT_EQ(signal_.beeps, 0);
}

TEST_F(WindowTest, CopyGivesUpOnAClipboardHeldLongAndKeepsItsContent) {
    source_.adapters = TwoAdapters();
    Click(kCommand1Id);
    ASSERT_TRUE(PutClipboardText(L"previous"));
    {
        const ClipboardHolder holder;
        ASSERT_TRUE(holder.opened());
        Click(kCommand2Id);
    }
    EXPECT_EQ(ReadClipboardText(), L"previous");
    EXPECT_EQ(signal_.beeps, 1);
    EXPECT_TRUE(::IsWindowEnabled(Control(kCommand1Id)));
    EXPECT_TRUE(::IsWindowEnabled(Control(kCommand2Id)));
    EXPECT_EQ(RowCount(), 2);
}

// Where the layout puts the controls for a client area of w x h pixels.
void ExpectLayout(const RECT& list, const RECT& c1, const RECT& c2, const RECT& chk, int w,
                  int h, UINT dpi, const RECT& listBefore) {
    const double widthTwips = Twips(w, dpi);
    const double heightTwips = Twips(h, dpi);
    const double rowTop = heightTwips - 495;
    for (const RECT* r : {&c1, &c2, &chk}) {
        EXPECT_NEAR(r->top, Px(rowTop, dpi), 1);
        EXPECT_NEAR(r->bottom - r->top, Px(375, dpi), 1);
    }
    EXPECT_NEAR(c1.left, Px(120, dpi), 1);
    EXPECT_NEAR(c2.left, Px(2520, dpi), 1);
    EXPECT_NEAR(chk.left, Px(4680, dpi), 1);
    EXPECT_NEAR(chk.right, Px(6855, dpi), 1);
    EXPECT_NEAR(list.left, Px(120, dpi), 1);
    EXPECT_NEAR(list.top, Px(120, dpi), 1);
    if (widthTwips >= 240) {
        EXPECT_NEAR(list.right, Px(widthTwips - 120, dpi), 1);
    } else {
        EXPECT_EQ(list.right, listBefore.right);
    }
    if (heightTwips >= 735) {
        EXPECT_NEAR(list.bottom, Px(rowTop - 120, dpi), 1);
    } else {
        EXPECT_EQ(list.bottom, listBefore.bottom);
    }
}

TEST_F(WindowTest, ResizeKeepsTheTableBorderedAndTheBottomRowAtTheBottom) {
    const UINT dpi = ::GetDpiForWindow(window_);
    const int sizes[][2] = {{900, 650}, {480, 300}, {12, 30}, {1200, 420}};
    for (const auto& size : sizes) {
        const RECT before = ControlRect(kListView1Id);
        SetClientSize(size[0], size[1]);
        const RECT client = ClientRect();
        SCOPED_TRACE(::testing::Message() << "client " << client.right << " x " << client.bottom);
        ExpectLayout(ControlRect(kListView1Id), ControlRect(kCommand1Id), ControlRect(kCommand2Id),
                     ControlRect(kChkCommasId), client.right, client.bottom, dpi, before);
    }
}

TEST_F(WindowTest, DpiChangeScalesControlsAndFontAndTakesTheSuggestedRectangle) {
    const auto fontHeight = [&] {
        LOGFONTW font{};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(Control(kCommand1Id), WM_GETFONT, 0, 0)), sizeof font,
                     &font);
        return std::abs(font.lfHeight);
    };
    const UINT before = ::GetDpiForWindow(window_);
    const UINT after = before * 3 / 2;
    const LONG heightBefore = fontHeight();

    RECT suggested{};
    ::GetWindowRect(window_, &suggested);
    suggested.right = suggested.left + (suggested.right - suggested.left) * 3 / 2;
    suggested.bottom = suggested.top + (suggested.bottom - suggested.top) * 3 / 2;
    ::SendMessageW(window_, WM_DPICHANGED, MAKEWPARAM(after, after), reinterpret_cast<LPARAM>(&suggested));
    Pump();

    RECT now{};
    ::GetWindowRect(window_, &now);
    EXPECT_EQ(now.right - now.left, suggested.right - suggested.left);
    EXPECT_EQ(now.bottom - now.top, suggested.bottom - suggested.top);
    EXPECT_GT(fontHeight(), heightBefore);
    const RECT client = ClientRect();
    ExpectLayout(ControlRect(kListView1Id), ControlRect(kCommand1Id), ControlRect(kCommand2Id),
                 ControlRect(kChkCommasId), client.right, client.bottom, after, RECT{});
}

}  // namespace
}  // namespace quorvane::win32::testing
