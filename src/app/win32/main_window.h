#pragma once

// The main window, Form1: creates the native controls, hands them to the
// core's Form1 and forwards its four events there.

#include <windows.h>

#include <functional>

#include "app/controls.h"
#include "inventory/adapter_source.h"
#include "inventory/short_date.h"

namespace quorvane::win32 {

// Control identifiers, in tab order.
enum ControlId : int {
    kListView1Id = 101,
    kCommand1Id = 102,
    kCommand2Id = 103,
    kChkCommasId = 104,
};

inline constexpr wchar_t kMainWindowClass[] = L"QuorvaneForm1";

// What the window uses but does not own; each must outlive the window.
struct Win32WindowServices {
    AdapterSource& source;
    const ShortDateFormat& shortDate;
    FailureSignal& failureSignal;
    // Called each time a copy finds the clipboard taken (Win32Clipboard).
    std::function<void()> clipboardTaken = {};
};

// Creates the window, its controls and runs the load handler; the window is
// not shown yet. Raises the platform error when any of it fails.
HWND CreateMainWindow(HINSTANCE instance, Win32WindowServices& services);

// Runs the window's messages until it is closed; keyboard navigation (Tab,
// Shift+Tab, access keys) goes through IsDialogMessage. Returns the exit code.
int RunMessageLoop(HWND window);

}  // namespace quorvane::win32
