// The list command with the real WMI source, from the click on Command1 to
// the last column sized, against a bare enumeration of the same thirteen
// properties of the same class in the same process (connect, enumerate, read
// each property once). The difference is what the window and the row
// building cost on top of the management service.

#include <windows.h>

#include <commctrl.h>
#include <wbemidl.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/win32/main_window.h"
#include "app/win32/short_date_format.h"
#include "bench_support.h"
#include "inventory/wmi/wmi_adapter_source.h"
#include "win32/resource.h"

namespace quorvane::win32::bench {
namespace {

constexpr const wchar_t* kProperties[] = {
    L"Index",       L"MACAddress",       L"IPEnabled",                   L"IPAddress",   L"DHCPEnabled",
    L"DHCPServer",  L"DHCPLeaseObtained", L"DHCPLeaseExpires",           L"DNSEnabledForWINSResolution",
    L"DNSHostName", L"DNSDomain",         L"Description",                L"DNSServerSearchOrder",
};

// Returns the number of adapters, or -1 when the service fails.
int BareEnumeration() {
    com_ptr<IWbemLocator> locator;
    if (FAILED(::CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                  locator.put_void()))) {
        return -1;
    }
    const unique_bstr path(::SysAllocString(L"ROOT\\CIMV2"));
    com_ptr<IWbemServices> services;
    if (FAILED(locator->ConnectServer(path.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr, services.put()))) {
        return -1;
    }
    ::CoSetProxyBlanket(services.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                        RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
    const unique_bstr className(::SysAllocString(L"Win32_NetworkAdapterConfiguration"));
    com_ptr<IEnumWbemClassObject> instances;
    if (FAILED(services->CreateInstanceEnum(className.get(), WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY,
                                            nullptr, instances.put()))) {
        return -1;
    }
    int adapters = 0;
    for (;;) {
        com_ptr<IWbemClassObject> object;
        ULONG returned = 0;
        if (instances->Next(static_cast<long>(WBEM_INFINITE), 1, object.put(), &returned) != S_OK || returned == 0) {
            break;
        }
        for (const wchar_t* name : kProperties) {
            unique_variant value;
            object->Get(name, 0, value.put(), nullptr, nullptr);
        }
        ++adapters;
    }
    return adapters;
}

int Run(int runs) {
    if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    const unique_couninitialize_call uninitialize;

    wmi::WmiAdapterSource source;
    const Win32ShortDateFormat shortDate;
    SilentSignal signal;
    WindowServices services{source, shortDate, signal};
    HWND window = CreateMainWindow(::GetModuleHandleW(nullptr), services);
    ::ShowWindow(window, SW_SHOWNORMAL);
    Pump();
    HWND command1 = ::GetDlgItem(window, kCommand1Id);
    HWND list = ::GetDlgItem(window, kListView1Id);

    // One of each first: the service and the code are then warm.
    ::SendMessageW(command1, BM_CLICK, 0, 0);
    const int adapters = BareEnumeration();
    Pump();

    std::vector<double> command, bare;
    for (int i = 0; i < runs; ++i) {
        command.push_back(MillisecondsOf([&] { ::SendMessageW(command1, BM_CLICK, 0, 0); }));
        Pump();
        bare.push_back(MillisecondsOf([] { BareEnumeration(); }));
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
    return quorvane::win32::bench::Run(runs > 0 ? runs : 15);
}
