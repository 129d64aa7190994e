#include "support/win32/ip_helper_adapters.h"

#include <winsock2.h>
#include <iphlpapi.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace quorvane::wmi::testing {

namespace {

std::u16string MacText(const BYTE* bytes, ULONG length) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    std::u16string text;
    for (ULONG i = 0; i < length; ++i) {
        if (i > 0) text += u':';
        text += kHex[bytes[i] >> 4];
        text += kHex[bytes[i] & 0x0F];
    }
    return text;
}

}  // namespace

std::vector<std::u16string> IpHelperMacAddresses() {
    const ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    ULONG bytes = 16 * 1024;
    std::vector<std::uint64_t> buffer;  // 8-byte aligned, as the records need
    ULONG result = ERROR_BUFFER_OVERFLOW;
    for (int attempt = 0; attempt < 4 && result == ERROR_BUFFER_OVERFLOW; ++attempt) {
        buffer.assign(bytes / sizeof(std::uint64_t) + 1, 0);
        result = ::GetAdaptersAddresses(AF_UNSPEC, flags, nullptr,
                                        reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &bytes);
    }
    if (result == ERROR_NO_DATA) return {};
    if (result != ERROR_SUCCESS) throw std::runtime_error("GetAdaptersAddresses failed");

    std::vector<std::u16string> macs;
    for (auto* a = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()); a != nullptr; a = a->Next) {
        if (a->PhysicalAddressLength == 6) macs.push_back(MacText(a->PhysicalAddress, a->PhysicalAddressLength));
    }
    std::sort(macs.begin(), macs.end());
    return macs;
}

}  // namespace quorvane::wmi::testing
