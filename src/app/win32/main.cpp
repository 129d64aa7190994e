// The Windows program's entry: the WMI source, the user's short date format
// and the main window, then the window's messages until it is closed.

#include <windows.h>

#include <new>

#include "app/win32/main_window.h"
#include "app/win32/native_controls.h"
#include "app/win32/short_date_format.h"
#include "base/error.h"
#include "inventory/wmi/wmi_adapter_source.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // Before anything can load a DLL by name (COM, WMI, the common controls'
    // theme), limit the search to System32: a DLL planted beside the program,
    // as in a Downloads folder, is never loaded. Without that limit the
    // program does not run at all.
    if (!::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        return 1;
    }
    using namespace quorvane::win32;
    try {
        // The source enters its COM apartment on this thread when first asked.
        quorvane::wmi::WmiAdapterSource source;
        const Win32ShortDateFormat shortDate;
        MessageBeepSignal beep;
        Win32WindowServices services{source, shortDate, beep};

        HWND window = CreateMainWindow(instance, services);
        ::ShowWindow(window, showCommand);
        ::UpdateWindow(window);
        return RunMessageLoop(window);
    } catch (const quorvane::Error&) {
        return 1;
    } catch (const std::bad_alloc&) {
        return 1;
    }
}
