// What the user sees first, measured at the DPI the window opens at (the
// stage runs these at 96 and again in a Wine prefix set to 144 DPI): every
// caption drawn whole inside its control, and the first layout.

#include <cmath>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "support/win32/window_fixture.h"
#include "win32/gdi_owners.h"

namespace quorvane::win32::testing {
namespace {

class WindowAtDpiTest : public WindowTest {};

using unique_hdc = unique_any<HDC, decltype(&::DeleteDC), &::DeleteDC>;  // of its own, not a window's
using unique_hbitmap = unique_any<HBITMAP, decltype(&::DeleteObject), &::DeleteObject>;
using unique_hwnd = unique_any<HWND, decltype(&::DestroyWindow), &::DestroyWindow>;

int Px(double twips, UINT dpi) { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }

LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

// The ink of a caption: the pixels, more black than white, of the control
// painted with its caption that are not so where it is painted without it;
// how many, and the box around them.
struct Ink {
    int pixels = 0;
    RECT box{};
};
Ink CaptionInk(HWND control) {
    RECT client{};
    ::GetClientRect(control, &client);
    const unique_hdc dc(::CreateCompatibleDC(nullptr));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const unique_hbitmap bitmap(::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return {};
    const select_object selected(dc.get(), bitmap.get());
    const auto darkPixels = [&] {  // row by row, as the control paints itself into the bitmap
        ::SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT | PRF_ERASEBKGND);
        ::GdiFlush();
        const std::span pixels(static_cast<const std::uint32_t*>(bits), std::size_t(client.right * client.bottom));
        std::vector<bool> dark;
        for (const std::uint32_t rgb : pixels) {
            dark.push_back((rgb & 0xFF) + ((rgb >> 8) & 0xFF) + ((rgb >> 16) & 0xFF) < 3 * 128);
        }
        return dark;
    };
    const std::wstring caption = WindowText(control);
    const std::vector<bool> drawn = darkPixels();
    ::SetWindowTextW(control, L"");
    const std::vector<bool> blank = darkPixels();
    ::SetWindowTextW(control, caption.c_str());
    Ink ink;
    for (std::size_t i = 0; i < drawn.size() && i < blank.size(); ++i) {
        if (!drawn[i] || blank[i]) continue;
        const auto x = static_cast<LONG>(i) % client.right, y = static_cast<LONG>(i) / client.right;
        const RECT pixel{x, y, x + 1, y + 1};
        ::UnionRect(&ink.box, &ink.box, &pixel);
        ++ink.pixels;
    }
    return ink;
}

// Each caption shows all of its ink, clear of the control's edges, in the
// table's face at no more than the table's size; and the size the platform
// itself says a button needs for its caption (BCM_GETIDEALSIZE) fits it.
TEST_F(WindowAtDpiTest, EveryCaptionIsDrawnWholeInTheFormsFaceAtMostAtItsSize) {
    const LOGFONTW table = FontOf(Control(kListView1Id));
    for (const ControlId id : {kCommand1Id, kCommand2Id, kChkCommasId}) {
        const HWND control = Control(id);
        RECT client{};
        ::GetClientRect(control, &client);
        const Ink shown = CaptionInk(control);
        // All the ink: as a twin of the control, four times as wide and high,
        // paints the caption with room to spare, on one line. Windows draws
        // each glyph alike wherever a line puts it, so a caption wrapped onto
        // more lines leaves as much ink.
        const auto style = static_cast<DWORD>(::GetWindowLongPtrW(control, GWL_STYLE)) & ~DWORD{WS_VISIBLE};
        const unique_hwnd twin(::CreateWindowExW(0, WC_BUTTONW, WindowText(control).c_str(), style, 0, 0,
                                                client.right * 4, client.bottom * 4, ::GetParent(control), nullptr,
                                                nullptr, nullptr));
        ::SendMessageW(twin.get(), WM_SETFONT, static_cast<WPARAM>(::SendMessageW(control, WM_GETFONT, 0, 0)), FALSE);
        const int whole = CaptionInk(twin.get()).pixels;
        EXPECT_GT(whole, 0) << id;
        EXPECT_EQ(shown.pixels, whole) << id;
        EXPECT_TRUE(shown.box.left > 0 && shown.box.top > 0 && shown.box.right < client.right &&
                    shown.box.bottom < client.bottom)
            << id << ": clear of the edges";

        const LOGFONTW caption = FontOf(control);
        EXPECT_EQ(std::wstring(caption.lfFaceName), std::wstring(table.lfFaceName)) << id;
        EXPECT_GE(caption.lfHeight, table.lfHeight) << id;  // heights are negative

        if (id == kChkCommasId) continue;  // its ideal size adds margins the layout's 375 twips lack
        SIZE ideal{};
        ::SendMessageW(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
        EXPECT_LE(ideal.cx, client.right) << id;
        EXPECT_LE(ideal.cy, client.bottom) << id;
    }
}

TEST_F(WindowAtDpiTest, FirstLayoutBordersTheTableAndSetsTheBottomRowAt5115Twips) {
    const UINT dpi = ::GetDpiForWindow(window_);
    for (const ControlId id : {kCommand1Id, kCommand2Id, kChkCommasId}) {
        const RECT r = ControlRect(id);
        EXPECT_EQ(r.top, Px(5115, dpi)) << id;
        EXPECT_EQ(r.bottom, Px(5115 + 375, dpi)) << id;
    }
    const RECT list = ControlRect(kListView1Id);
    EXPECT_EQ(list.left, Px(120, dpi));
    EXPECT_EQ(list.top, Px(120, dpi));
    EXPECT_EQ(list.right, Px(120 + 6765, dpi));
    EXPECT_EQ(list.bottom, Px(120 + 4875, dpi));
}

}  // namespace
}  // namespace quorvane::win32::testing
