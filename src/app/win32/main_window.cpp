#include "app/win32/main_window.h"

#include <commctrl.h>

#include <memory>
#include <new>
#include <string_view>
#include <utility>

#include "app/columns.h"
#include "app/form1.h"
#include "app/form_design.h"
#include "app/layout.h"
#include "app/win32/caption_font.h"
#include "app/win32/clipboard.h"
#include "app/win32/list_view.h"
#include "app/win32/native_controls.h"
#include "app/win32/resource_ids.h"
#include "base/error.h"
#include "win32/gdi_owners.h"
#include "win32/platform_error.h"
#include "win32/platform_text.h"

namespace quorvane::win32 {

namespace {

constexpr DWORD kMainStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kMainExStyle = WS_EX_CONTROLPARENT;

HWND CreateChild(HWND parent, const wchar_t* windowClass, std::u16string_view caption, DWORD style, ControlId id,
                 const DesignRect& twips, UINT dpi, DWORD exStyle = 0) {
    const PixelRect px = ToPixels(twips, dpi);
    HWND child = ::CreateWindowExW(exStyle, windowClass, ToWide(caption).c_str(),
                                   WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, px.x, px.y, px.cx, px.cy, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr),
                                   nullptr);
    if (!child) ThrowLastError("CreateWindowExW (control)");
    return child;
}

// The native controls in tab order, created before their adapters.
struct ChildWindows {
    HWND listView1, command1, command2, chkCommas;
};

ChildWindows CreateChildren(HWND parent, UINT dpi) {
    ChildWindows c{};
    // A list view never draws its window text; screen readers take its name
    // from there.
    c.listView1 = CreateChild(parent, WC_LISTVIEWW, kListView1AccessibleName, LVS_REPORT | LVS_SHOWSELALWAYS,
                              kListView1Id, kListView1Design, dpi, WS_EX_CLIENTEDGE);
    c.command1 = CreateChild(parent, WC_BUTTONW, kCommand1Caption, BS_PUSHBUTTON, kCommand1Id, kCommand1Design, dpi);
    c.command2 = CreateChild(parent, WC_BUTTONW, kCommand2Caption, BS_PUSHBUTTON, kCommand2Id, kCommand2Design, dpi);
    c.chkCommas = CreateChild(parent, WC_BUTTONW, kChkCommasCaption, BS_AUTOCHECKBOX | BS_MULTILINE, kChkCommasId,
                              kChkCommasDesign, dpi);
    ::SendMessageW(c.listView1, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER,
                   LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    return c;
}

// Sizes the window so that its client area has the design size at `dpi`.
void SetDesignSize(HWND hwnd, UINT dpi) {
    const PixelRect client = ToPixels({0.0f, 0.0f, kDesignClientWidth, kDesignClientHeight}, dpi);
    RECT frame{0, 0, client.cx, client.cy};
    if (!::AdjustWindowRectExForDpi(&frame, kMainStyle, FALSE, kMainExStyle, dpi)) {
        ThrowLastError("AdjustWindowRectExForDpi");
    }
    if (!::SetWindowPos(hwnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE)) {
        ThrowLastError("SetWindowPos (window)");
    }
}

// Stops a control's drawing for a scope, then has it drawn afresh.
class RedrawSuspended {
public:
    explicit RedrawSuspended(HWND control) noexcept : control_(control) {
        if (control_) ::SendMessageW(control_, WM_SETREDRAW, FALSE, 0);
    }
    RedrawSuspended(const RedrawSuspended&) = delete;
    RedrawSuspended& operator=(const RedrawSuspended&) = delete;
    ~RedrawSuspended() {
        if (!control_) return;
        ::SendMessageW(control_, WM_SETREDRAW, TRUE, 0);
        ::RedrawWindow(control_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }

private:
    HWND control_;
};

// The instance data of one main window, attached through GWLP_USERDATA.
class MainWindow {
public:
    MainWindow(HWND hwnd, const Win32WindowServices& services, UINT dpi, const ChildWindows& children)
        : hwnd_(hwnd),
          dpi_{dpi},
          surface_(hwnd, dpi_),
          listView1_(children.listView1, dpi_, kListView1Design),
          command1_(children.command1, dpi_, kCommand1Design),
          command2_(children.command2, dpi_, kCommand2Design),
          chkCommas_(children.chkCommas, dpi_, kChkCommasDesign),
          clipboard_(hwnd, services.clipboardTaken),
          form_({surface_, listView1_, command1_, command2_, chkCommas_, clipboard_, services.failureSignal},
                services.source, services.shortDate),
          failureSignal_(services.failureSignal),
          focus_(children.listView1) {
        listView1_.ApplySystemColours();
        ApplyFont();
    }

    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_SIZE: OnSize(); return 0;
            case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
            case WM_DPICHANGED: OnDpiChanged(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam)); return 0;
            case WM_ACTIVATE: OnActivate(LOWORD(wParam)); break;
            case WM_SETFOCUS: OnSetFocus(); return 0;
            case WM_SYSCOLORCHANGE: OnSysColorChange(); break;
            case WM_SETTINGCHANGE: OnSettingChange(); break;
            case WM_DESTROY: ::PostQuitMessage(0); return 0;
            default: break;
        }
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }

    void Load() { form_.Dispatch(FormEvent::Load); }
    void Beep() noexcept { failureSignal_.Beep(); }

private:
    void OnSize() { form_.Dispatch(FormEvent::Resize); }

    void OnCommand(int id, int code) {
        if (code != BN_CLICKED) return;
        if (id == kCommand1Id) Click(FormEvent::Command1Click);
        if (id == kCommand2Id) Click(FormEvent::Command2Click);
    }

    // A command disables its own button, and a disabled window loses the
    // keyboard focus; give it back once the command is done.
    void Click(FormEvent event) {
        HWND focused = ::GetFocus();
        {
            // Wine's list view repaints on every inserted row (some 15 ms
            // each); the table is drawn once, when the command is done.
            const RedrawSuspended frozen(event == FormEvent::Command1Click ? listView1_.hwnd() : nullptr);
            form_.Dispatch(event);
        }
        if (::GetFocus() == nullptr && focused && ::IsWindowEnabled(focused)) ::SetFocus(focused);
    }

    // The controls and their fonts at the new DPI first, then the suggested
    // window rectangle, then the layout for the new client area.
    void OnDpiChanged(UINT dpi, const RECT* suggested) {
        dpi_.value = dpi;
        listView1_.Place();
        command1_.Place();
        command2_.Place();
        chkCommas_.Place();
        ApplyFont();  // fitted to the captions' new sizes
        if (suggested) {
            ::SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                           suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        form_.Dispatch(FormEvent::Resize);
    }

    void OnActivate(WORD state) {
        if (state == WA_INACTIVE) {
            HWND focused = ::GetFocus();
            if (focused && ::IsChild(hwnd_, focused)) focus_ = focused;
        }
    }

    void OnSetFocus() {
        if (focus_ && ::IsWindow(focus_)) ::SetFocus(focus_);
    }

    void OnSysColorChange() {
        ::SendMessageW(listView1_.hwnd(), WM_SYSCOLORCHANGE, 0, 0);
        listView1_.ApplySystemColours();
    }

    void OnSettingChange() { ApplyFont(); }

    // The form's font for the table; each caption in the largest size up to
    // it that shows the caption whole.
    void ApplyFont() {
        const LOGFONTW form = FormFontAt(dpi_.value);
        unique_hfont table(::CreateFontIndirectW(&form));
        if (!table) ThrowLastError("CreateFontIndirectW");
        CaptionFonts captions{FittedCaptionFont(command1_.hwnd(), form, dpi_.value),
                              FittedCaptionFont(command2_.hwnd(), form, dpi_.value),
                              FittedCaptionFont(chkCommas_.hwnd(), form, dpi_.value)};
        const std::pair<HWND, HFONT> fonts[] = {{listView1_.hwnd(), table.get()},
                                                {command1_.hwnd(), captions.command1.get()},
                                                {command2_.hwnd(), captions.command2.get()},
                                                {chkCommas_.hwnd(), captions.chkCommas.get()}};
        for (const auto& [child, font] : fonts) {
            ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        }
        // The old fonts are deleted only now that no control uses them.
        tableFont_ = std::move(table);
        captionFonts_ = std::move(captions);
    }

    struct CaptionFonts {
        unique_hfont command1, command2, chkCommas;
    };

    HWND hwnd_;
    WindowDpi dpi_;
    unique_hfont tableFont_;
    CaptionFonts captionFonts_;
    Win32FormSurface surface_;
    Win32ListView listView1_;
    Win32Button command1_;
    Win32Button command2_;
    Win32CheckBox chkCommas_;
    Win32Clipboard clipboard_;
    Form1 form_;
    FailureSignal& failureSignal_;
    HWND focus_;
};

MainWindow* InstanceOf(HWND hwnd) { return reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

// Builds the instance data once the window exists: the design size at the
// window's DPI, the controls, the core's form, then the load handler.
LRESULT OnCreate(HWND hwnd, const CREATESTRUCTW& create) {
    auto& services = *static_cast<Win32WindowServices*>(create.lpCreateParams);
    const UINT dpi = ::GetDpiForWindow(hwnd);
    const UINT windowDpi = dpi != 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
    SetDesignSize(hwnd, windowDpi);
    const ChildWindows children = CreateChildren(hwnd, windowDpi);
    auto window = std::make_unique<MainWindow>(hwnd, services, windowDpi, children);
    MainWindow& attached = *window;
    // The window owns its instance data from here on; WM_NCDESTROY deletes it.
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window.release()));
    attached.Load();
    ::SetFocus(children.listView1);
    return 0;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    // No exception crosses into the system: a failure here beeps and the
    // program carries on, as a failed command does.
    try {
        if (message == WM_CREATE) return OnCreate(hwnd, *reinterpret_cast<const CREATESTRUCTW*>(lParam));
        if (message == WM_NCDESTROY) {
            const std::unique_ptr<MainWindow> window(InstanceOf(hwnd));
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            return ::DefWindowProcW(hwnd, message, wParam, lParam);
        }
        if (MainWindow* window = InstanceOf(hwnd)) return window->Handle(message, wParam, lParam);
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    } catch (...) {
        if (message == WM_CREATE) return -1;  // CreateWindowExW then fails
        if (MainWindow* window = InstanceOf(hwnd)) window->Beep();
        return 0;
    }
}

void RegisterMainClass(HINSTANCE instance) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExW(instance, kMainWindowClass, &existing)) return;

    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    if (!::InitCommonControlsEx(&controls)) ThrowLastError("InitCommonControlsEx");

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hIcon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUORVANE), IMAGE_ICON, 0, 0,
                                               LR_DEFAULTSIZE | LR_SHARED));
    wc.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUORVANE), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                                 LR_SHARED));
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = kMainWindowClass;
    if (!::RegisterClassExW(&wc)) ThrowLastError("RegisterClassExW");
}

}  // namespace

HWND CreateMainWindow(HINSTANCE instance, Win32WindowServices& services) {
    RegisterMainClass(instance);
    HWND hwnd = ::CreateWindowExW(kMainExStyle, kMainWindowClass, ToWide(kFormTitle).c_str(), kMainStyle,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                  instance, &services);
    if (!hwnd) ThrowLastError("CreateWindowExW (main window)");
    return hwnd;
}

int RunMessageLoop(HWND window) {
    MSG msg{};
    for (;;) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return 1;
        if (::IsWindow(window) && ::IsDialogMessageW(window, &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

}  // namespace quorvane::win32
