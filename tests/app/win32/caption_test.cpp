// What the user sees first, measured at the DPI the window opens at (the
// stage runs these at 96 and again in a Wine prefix set to 144 DPI): every
// caption drawn whole inside its control, and the first layout.

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "window_fixture.h"
#include "win32/resource.h"

namespace quorvane::win32::testing {
namespace {

class WindowAtDpiTest : public WindowTest {};

int Px(double twips, UINT dpi) { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }

LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

// A top-down 32-bit picture with a device context of its own to draw into.
class Picture {
public:
    Picture(int width, int height)
        : width_(width), bitmap_(NewBitmap(width, height, bits_)), selected_(dc_.get(), bitmap_.get()) {}
    [[nodiscard]] HDC dc() const { return dc_.get(); }
    [[nodiscard]] int Gray(int x, int y) const {
        const std::uint32_t rgb = static_cast<const std::uint32_t*>(bits_)[y * width_ + x];
        return static_cast<int>(((rgb >> 16) & 0xFF) * 30 + ((rgb >> 8) & 0xFF) * 59 + (rgb & 0xFF) * 11) / 100;
    }

private:
    static HBITMAP NewBitmap(int width, int height, void*& bits) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        return ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    }

    int width_;
    void* bits_ = nullptr;
    unique_hdc dc_{::CreateCompatibleDC(nullptr)};
    unique_hbitmap bitmap_;
    select_object selected_;
};

// The ink of a caption: the pixels, more black than white, of the control
// painted with its caption that are not so in the control painted without
// it; how many, and the box around them.
struct Ink {
    int pixels = 0;
    RECT box{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
};
Ink CaptionInk(HWND control) {
    RECT client{};
    ::GetClientRect(control, &client);
    Picture drawn(client.right, client.bottom), blank(client.right, client.bottom);
    const auto paint = [control](const Picture& into) {
        ::SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(into.dc()), PRF_CLIENT | PRF_ERASEBKGND);
    };
    const std::wstring caption = WindowText(control);
    paint(drawn);
    ::SetWindowTextW(control, L"");
    paint(blank);
    ::SetWindowTextW(control, caption.c_str());
    ::GdiFlush();
    Ink ink;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            if (drawn.Gray(x, y) >= 128 || blank.Gray(x, y) < 128) continue;
            ++ink.pixels;
            ink.box = {std::min<LONG>(ink.box.left, x), std::min<LONG>(ink.box.top, y),
                       std::max<LONG>(ink.box.right, x + 1), std::max<LONG>(ink.box.bottom, y + 1)};
        }
    }
    return ink;
}

// The ink of the control's caption as a twin of the control, four times as
// wide and high, paints it: the caption with room to spare, on one line.
// Windows draws each glyph alike wherever a line puts it, so a caption
// wrapped onto more lines leaves as much ink.
Ink UnconstrainedInk(HWND control) {
    RECT client{};
    ::GetClientRect(control, &client);
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(control, GWL_STYLE)) & ~DWORD{WS_VISIBLE};
    HWND twin = ::CreateWindowExW(0, WC_BUTTONW, WindowText(control).c_str(), style, 0, 0, client.right * 4,
                                  client.bottom * 4, ::GetParent(control), nullptr, nullptr, nullptr);
    const auto destroy = scope_exit([twin] { ::DestroyWindow(twin); });
    ::SendMessageW(twin, WM_SETFONT, static_cast<WPARAM>(::SendMessageW(control, WM_GETFONT, 0, 0)), FALSE);
    return CaptionInk(twin);
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
        const int whole = UnconstrainedInk(control).pixels;
        EXPECT_GT(whole, 0) << id;
        EXPECT_EQ(shown.pixels, whole) << id;
        EXPECT_GT(shown.box.left, 0) << id;
        EXPECT_GT(shown.box.top, 0) << id;
        EXPECT_LT(shown.box.right, client.right) << id;
        EXPECT_LT(shown.box.bottom, client.bottom) << id;

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
