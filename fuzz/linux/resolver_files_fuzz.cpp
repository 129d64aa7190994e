// Any text read as resolv.conf or as a udev record yields only well-formed
// facts: name servers that are addresses, a domain without blanks, a
// hardware name that is not empty.
#include <arpa/inet.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "inventory/linux/kernel/udev_names.h"
#include "inventory/linux/resolv_conf.h"

namespace {

bool IsAddress(const std::string& text) {
    const std::string address = text.substr(0, text.find('%'));
    unsigned char buffer[16];
    return inet_pton(AF_INET, address.c_str(), buffer) == 1 || inet_pton(AF_INET6, address.c_str(), buffer) == 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto config = quorvane::linux_inventory::ParseResolvConf(text);
    for (const std::string& server : config.nameservers) {
        if (!IsAddress(server)) std::abort();
    }
    if (config.domain && (config.domain->empty() || config.domain->find_first_of(" \t\n") != std::string::npos)) {
        std::abort();
    }
    const auto name = quorvane::linux_inventory::ParseUdevHardwareName(text);
    if (name && name->empty()) std::abort();
    return 0;
}
