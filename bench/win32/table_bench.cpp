// The real list view with 1,000 adapters from memory: the list command
// (fill and size the columns) and the copy command (read back and put on the
// clipboard), each timed from the click to its end.

#include <windows.h>

#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/win32/main_window.h"
#include "app/win32/short_date_format.h"
#include "bench_support.h"
#include "support/counting_signal.h"
#include "support/fake_adapter_source.h"

namespace quorvane::win32::bench {
namespace {

int Run(int adapters, int runs) {
    quorvane::testing::FakeAdapterSource source;
    for (int i = 0; i < adapters; ++i) source.adapters.push_back(quorvane::testing::SampleAdapter(i + 1));
    const Win32ShortDateFormat shortDate;
    quorvane::testing::CountingSignal signal;
    Win32WindowServices services{source, shortDate, signal};
    HWND window = CreateMainWindow(::GetModuleHandleW(nullptr), services);
    ::ShowWindow(window, SW_SHOWNORMAL);
    Pump();
    HWND command1 = ::GetDlgItem(window, kCommand1Id);
    HWND command2 = ::GetDlgItem(window, kCommand2Id);

    std::vector<double> fill, copy, both;
    for (int i = 0; i < runs; ++i) {
        const double f = MillisecondsOf([&] { ::SendMessageW(command1, BM_CLICK, 0, 0); });
        const double c = MillisecondsOf([&] { ::SendMessageW(command2, BM_CLICK, 0, 0); });
        Pump();  // the repaint of the filled table, outside the timed commands
        fill.push_back(f);
        copy.push_back(c);
        both.push_back(f + c);
    }
    // The platform's share of the list command: the eleven column-width
    // messages alone, on the filled table, drawing suspended as in the command.
    HWND list = ::GetDlgItem(window, kListView1Id);
    std::vector<double> sizing;
    for (int i = 0; i < runs; ++i) {
        ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        sizing.push_back(MillisecondsOf([&] {
            for (int column = 0; column < 11; ++column) {
                ::SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                               MAKELPARAM(LVSCW_AUTOSIZE_USEHEADER, 0));
            }
        }));
        ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        Pump();
    }
    const auto rows = ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
    std::printf("%lld rows of 11 cells; %d runs\n", static_cast<long long>(rows), runs);
    Print("list command: fill and size", Summarise(fill));
    Print("copy command: read back and clipboard", Summarise(copy));
    const Figures total = Summarise(both);
    Print("fill, size and copy", total);
    Print("of which the 11 column-width messages", Summarise(sizing));
    std::printf("target: under 100 ms -> %s\n", total.median < 100.0 ? "met" : "NOT met");
    ::DestroyWindow(window);
    Pump();
    return signal.beeps == 0 ? 0 : 1;
}

}  // namespace
}  // namespace quorvane::win32::bench

int main(int argc, char** argv) {
    const int adapters = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 11;
    return quorvane::win32::bench::Run(adapters > 0 ? adapters : 1000, runs > 0 ? runs : 11);
}
