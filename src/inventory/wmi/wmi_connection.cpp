#include "inventory/wmi/wmi_connection.h"

#include <oleauto.h>

#include <new>
#include <string>

#include "base/error.h"
#include "win32/platform_error.h"
#include "win32/platform_text.h"

namespace quorvane::wmi {

using win32::ThrowIfFailed;

win32::unique_bstr MakeBstr(std::u16string_view text) {
    const std::wstring wide = win32::ToWide(text);
    win32::unique_bstr s(::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size())));
    if (!s) throw std::bad_alloc();
    return s;
}

std::string DiagnosticName(std::u16string_view name) {
    std::string out;
    out.reserve(name.size());
    for (const char16_t c : name) out.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?');
    return out;
}

void SetImpersonateBlanket(IUnknown* proxy, std::string_view what) {
    const HRESULT hr = ::CoSetProxyBlanket(proxy, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                                           RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
    // E_NOINTERFACE: the object lives in this process and is no proxy, so
    // there is no blanket to set and calls run with the caller's own token.
    if (hr == E_NOINTERFACE) return;
    ThrowIfFailed(hr, std::string("CoSetProxyBlanket on ") + std::string(what));
}

win32::com_ptr<IWbemServices> ConnectLocalCimv2() {
    win32::com_ptr<IWbemLocator> locator;
    ThrowIfFailed(::CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                     locator.put_void()),
                  "CoCreateInstance(WbemLocator)");

    // No server in the path: the local computer, as the current user.
    const win32::unique_bstr path = MakeBstr(u"ROOT\\CIMV2");
    win32::com_ptr<IWbemServices> services;
    ThrowIfFailed(locator->ConnectServer(path.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr, services.put()),
                  "IWbemLocator::ConnectServer(ROOT\\CIMV2)");
    SetImpersonateBlanket(services.get(), "IWbemServices");
    return services;
}

namespace {

// WMI reads a BSTR up to its first NUL; a name holding one would name
// another class than the caller asked for.
win32::unique_bstr ClassNameBstr(std::u16string_view className) {
    if (className.find(u'\0') != std::u16string_view::npos) ThrowInvalidArgument("class name holds a NUL character");
    return MakeBstr(className);
}

}  // namespace

void RequireClass(IWbemServices& services, std::u16string_view className) {
    const win32::unique_bstr name = ClassNameBstr(className);
    win32::com_ptr<IWbemClassObject> classObject;
    ThrowIfFailed(services.GetObject(name.get(), 0, nullptr, classObject.put(), nullptr),
                  "IWbemServices::GetObject(" + DiagnosticName(className) + ")");
}

win32::com_ptr<IEnumWbemClassObject> EnumerateInstances(IWbemServices& services, std::u16string_view className) {
    const win32::unique_bstr name = ClassNameBstr(className);
    win32::com_ptr<IEnumWbemClassObject> instances;
    ThrowIfFailed(services.CreateInstanceEnum(name.get(), WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY,
                                              nullptr, instances.put()),
                  "IWbemServices::CreateInstanceEnum(" + DiagnosticName(className) + ")");
    // The enumerator is a proxy of its own and does not inherit the blanket.
    SetImpersonateBlanket(instances.get(), "IEnumWbemClassObject");
    return instances;
}

}  // namespace quorvane::wmi
