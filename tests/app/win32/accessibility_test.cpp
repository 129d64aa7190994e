// The window as screen readers reach it through MSAA: each control's name
// and role from the standard proxies that AccessibleObjectFromWindow gives.

#include <oleacc.h>

#include <string>

#include "support/win32/window_fixture.h"
#include "win32/com_owners.h"

namespace quorvane::win32::testing {
namespace {

struct Answer {
    HRESULT found;
    std::wstring name;
    long role;
};

// What MSAA says of `hwnd`'s client area itself.
Answer AskMsaa(HWND hwnd) {
    com_ptr<IAccessible> accessible;
    Answer answer{::AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                         accessible.put_void()), {}, 0};
    if (FAILED(answer.found)) return answer;
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    unique_bstr name;
    if (accessible->get_accName(self, name.put()) == S_OK && name.get() != nullptr) answer.name = name.get();
    unique_variant role;
    if (accessible->get_accRole(self, role.put()) == S_OK && role.vt == VT_I4) answer.role = role.lVal;
    return answer;
}

// Wine's oleacc has no proxy of a control's own class (button, list view):
// it answers for every window with the generic client object, which takes
// the name from the window text as the proxies do, and the client's role.
bool UnderWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

TEST_F(WindowTest, ScreenReadersGetEachControlsNameAndRole) {
    struct Case {
        HWND hwnd;
        const wchar_t* name;
        long role;
    };
    const Case cases[] = {
        {window_, L"Quorvane", ROLE_SYSTEM_CLIENT},
        {Control(kListView1Id), L"Network adapters", ROLE_SYSTEM_LIST},
        {Control(kCommand1Id), L"List Network Adaptors", ROLE_SYSTEM_PUSHBUTTON},
        {Control(kCommand2Id), L"Copy table to clipboard", ROLE_SYSTEM_PUSHBUTTON},
        {Control(kChkCommasId), L"Use commas to separate columns", ROLE_SYSTEM_CHECKBUTTON},
    };
    for (const Case& c : cases) {
        const Answer answer = AskMsaa(c.hwnd);
        ASSERT_EQ(answer.found, S_OK) << WindowText(c.hwnd);
        EXPECT_EQ(answer.name, c.name);
        EXPECT_TRUE(answer.role == c.role || (UnderWine() && answer.role == ROLE_SYSTEM_CLIENT))
            << c.name << ": role " << answer.role;
    }
}

}  // namespace
}  // namespace quorvane::win32::testing
