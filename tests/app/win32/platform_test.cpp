// The short date through the regional settings, and the manifest's common
// controls.

#include <windows.h>

#include <gtest/gtest.h>

#include <cwctype>
#include <string>

#include "app/win32/short_date_format.h"
#include "base/error.h"
#include "win32/platform_text.h"

namespace quorvane::win32::testing {
namespace {

TEST(Win32ShortDateFormat, WritesTheDayInTheUsersFormat) {
    const Win32ShortDateFormat format;
    const std::u16string text = format.Render({2007, 1, 22});
    EXPECT_NE(text.find(u"22"), std::u16string::npos) << ToWide(text).c_str();
    EXPECT_NE(text.find(u"07"), std::u16string::npos) << ToWide(text).c_str();  // 2007 or 07
    EXPECT_NE(format.Render({2007, 1, 23}), text);
    EXPECT_NE(format.Render({2008, 1, 22}), text);
}

TEST(Win32ShortDateFormat, RefusesWhatIsNoDay) {
    const Win32ShortDateFormat format;
    for (const CalendarDate& date : {CalendarDate{2007, 13, 1}, CalendarDate{2007, 0, 1}, CalendarDate{1, 1, 1}}) {
        try {
            static_cast<void>(format.Render(date));
            ADD_FAILURE() << date.year << "-" << date.month << "-" << date.day;
        } catch (const Error& e) {
            EXPECT_EQ(e.kind(), ErrorKind::Platform);
        }
    }
}

// The manifest linked into this test, as into the program, asks for the
// common controls of version 6 (visual styles): the system then loads
// comctl32 from its side-by-side folder rather than the system folder.
TEST(Manifest, LoadsTheSideBySideCommonControlsOfVersionSix) {
    HMODULE comctl = ::GetModuleHandleW(L"comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    wchar_t path[MAX_PATH] = {};
    ASSERT_GT(::GetModuleFileNameW(comctl, path, MAX_PATH), 0u);
    std::wstring lower(path);
    for (auto& c : lower) c = static_cast<wchar_t>(::towlower(c));
    EXPECT_NE(lower.find(L"common-controls"), std::wstring::npos) << path;
    EXPECT_NE(lower.find(L"_6.0."), std::wstring::npos) << path;
}

}  // namespace
}  // namespace quorvane::win32::testing
