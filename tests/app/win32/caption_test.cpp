// What the user sees first, measured at the DPI the window opens at (the
// stage runs these at 96 and again in a Wine prefix set to 144 DPI): every
// caption whole inside its control's text area, and the first layout.

#include <cmath>
#include <string>

#include "app/win32/caption_font.h"
#include "support/win32/window_fixture.h"

namespace quorvane::win32::testing {
namespace {

class WindowAtDpiTest : public WindowTest {};

int Px(double twips, UINT dpi) { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }

LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

// The caption fonts are the form's face at no more than 8 points, so the
// table's font, the form's own, is 8 points at the window's DPI.
TEST_F(WindowAtDpiTest, CaptionsUseTheFormFaceAtNoMoreThanEightPoints) {
    const UINT dpi = ::GetDpiForWindow(window_);
    const LOGFONTW table = FontOf(Control(kListView1Id));
    EXPECT_EQ(table.lfHeight, -::MulDiv(8, static_cast<int>(dpi), 72));
    for (const ControlId id : {kCommand1Id, kCommand2Id, kChkCommasId}) {
        const LOGFONTW caption = FontOf(Control(id));
        EXPECT_EQ(std::wstring(caption.lfFaceName), std::wstring(table.lfFaceName)) << id;
        EXPECT_GE(caption.lfHeight, table.lfHeight) << id;
        EXPECT_LE(caption.lfHeight, -::MulDiv(6, static_cast<int>(dpi), 72)) << id;
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

// Each caption, laid out by DrawText with the control's own flags in the
// font the control has once the window is laid out, lies inside its text
// area; and the size the platform itself says a button needs for its caption
// (BCM_GETIDEALSIZE) fits the button.
TEST_F(WindowAtDpiTest, EveryCaptionFitsItsTextArea) {
    const UINT dpi = ::GetDpiForWindow(window_);
    for (const ControlId id : {kCommand1Id, kCommand2Id, kChkCommasId}) {
        const HWND control = Control(id);
        const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
        EXPECT_TRUE(CaptionFits(control, font, dpi, 0)) << id;

        if (id == kChkCommasId) continue;  // its ideal size adds margins the layout's 375 twips lack
        RECT client{};
        ::GetClientRect(control, &client);
        SIZE ideal{};
        ::SendMessageW(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
        EXPECT_LE(ideal.cx, client.right) << id;
        EXPECT_LE(ideal.cy, client.bottom) << id;
    }
}

}  // namespace
}  // namespace quorvane::win32::testing
