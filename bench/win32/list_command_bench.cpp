// The list command with the real WMI source, from the click on Command1 to
// the last column sized, against a bare enumeration of the same thirteen
// properties of the same class in the same process (connect, enumerate, read
// each property once). The difference is what the window and the row
// building cost on top of the management service.

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/win32/main_window.h"
#include "app/win32/short_date_format.h"
#include "bare_enumeration.h"
#include "base/error.h"
#include "bench_support.h"
#include "inventory/wmi/wmi_adapter_source.h"
#include "support/counting_signal.h"
#include "win32/com_owners.h"

namespace quorvane::win32::bench {
namespace {

int Run(int runs) {
    if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    const unique_couninitialize_call uninitialize;

    wmi::WmiAdapterSource source;
    const Win32ShortDateFormat shortDate;
    quorvane::testing::CountingSignal signal;
    Win32WindowServices services{source, shortDate, signal};
    HWND window = CreateMainWindow(::GetModuleHandleW(nullptr), services);
    ::ShowWindow(window, SW_SHOWNORMAL);
    Pump();
    HWND command1 = ::GetDlgItem(window, kCommand1Id);
    HWND list = ::GetDlgItem(window, kListView1Id);

    // One of each first: the service and the code are then warm.
    ::SendMessageW(command1, BM_CLICK, 0, 0);
    const int adapters = quorvane::bench::BareWmiEnumeration();
    Pump();

    std::vector<double> command, bare;
    for (int i = 0; i < runs; ++i) {
        command.push_back(MillisecondsOf([&] { ::SendMessageW(command1, BM_CLICK, 0, 0); }));
        Pump();
        bare.push_back(MillisecondsOf([] { quorvane::bench::BareWmiEnumeration(); }));
    }
    const auto rows = ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
    std::printf("adapters: %d from the bare enumeration, %lld rows in the table; %d runs each\n", adapters,
                static_cast<long long>(rows), runs);
    const Figures c = Summarise(command);
    const Figures b = Summarise(bare);
    Print("list command (click to last column sized)", c);
    Print("bare enumeration, 13 properties each", b);
    std::printf("list command / bare enumeration: %.3f (target: within 1.10)\n", c.median / b.median);
    ::DestroyWindow(window);
    Pump();
    return signal.beeps == 0 ? 0 : 1;
}

}  // namespace
}  // namespace quorvane::win32::bench

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 15;
    try {
        return quorvane::win32::bench::Run(runs > 0 ? runs : 15);
    } catch (const quorvane::Error& e) {
        std::fprintf(stderr, "failed: %s\n", e.what());
        return 1;
    }
}
