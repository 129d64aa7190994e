// The window as screen readers reach it through MSAA: each control's name
// and role from the object AccessibleObjectFromWindow gives for it.

#include <oleacc.h>

#include <string>

#include "support/win32/window_fixture.h"
#include "win32/com_owners.h"

namespace quorvane::win32::testing {
namespace {

TEST_F(WindowTest, ScreenReadersGetEachControlsNameAndRole) {
    // Wine's oleacc has no proxy of a control's own class (button, list view):
    // it answers for every window with its generic client object, which takes
    // the name from the window text as the proxies do, and has the client role.
    // There the names are what the test can tell; the roles, only on Windows.
    const bool underWine = ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    const struct {
        HWND hwnd;
        const wchar_t* name;
        long role;
    } cases[] = {
        {window_, L"Quorvane", ROLE_SYSTEM_CLIENT},
        {Control(kListView1Id), L"Network adapters", ROLE_SYSTEM_LIST},
        {Control(kCommand1Id), L"List Network Adaptors", ROLE_SYSTEM_PUSHBUTTON},
        {Control(kCommand2Id), L"Copy table to clipboard", ROLE_SYSTEM_PUSHBUTTON},
        {Control(kChkCommasId), L"Use commas to separate columns", ROLE_SYSTEM_CHECKBUTTON},
    };
    for (const auto& c : cases) {
        com_ptr<IAccessible> accessible;
        ASSERT_EQ(::AccessibleObjectFromWindow(c.hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                               accessible.put_void()),
                  S_OK)
            << c.name;
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        unique_bstr name;
        unique_variant role;
        ASSERT_EQ(accessible->get_accName(self, name.put()), S_OK) << c.name;
        ASSERT_EQ(accessible->get_accRole(self, role.put()), S_OK) << c.name;
        EXPECT_EQ(std::wstring(name.get() != nullptr ? name.get() : L""), c.name);
        EXPECT_EQ(role.vt, VT_I4) << c.name;
        EXPECT_EQ(role.lVal, underWine ? ROLE_SYSTEM_CLIENT : c.role) << c.name;
    }
}

}  // namespace
}  // namespace quorvane::win32::testing
