#pragma once

#include <string>
#include <vector>

namespace quorvane::wmi::testing {

// The MAC address of every adapter IP Helper (GetAdaptersAddresses) reports
// with a six-byte hardware address, as WMI writes it: upper-case hex pairs
// joined by ":". Sorted, duplicates kept.
std::vector<std::u16string> IpHelperMacAddresses();

}  // namespace quorvane::wmi::testing
