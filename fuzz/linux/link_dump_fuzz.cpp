// Any bytes given to the rtnetlink dump parser, as one datagram or split in
// two, are either read into links or refused with the program's own error;
// the parser never reads outside the datagram (AddressSanitizer watches).
#include <cstdint>
#include <cstdlib>
#include <span>

#include "base/error.h"
#include "inventory/linux/common/address_text.h"
#include "inventory/linux/kernel/kernel_links.h"

namespace {

void Check(const quorvane::linux_inventory::LinkDumpParser& parser) {
    for (const auto& [index, link] : parser.links()) {
        if (link.index != index || index == 0) std::abort();
        // Every address kept has a family whose text form exists.
        if (quorvane::linux_inventory::OrderedAddressTexts(link.addresses).size() != link.addresses.size()) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::byte> bytes(reinterpret_cast<const std::byte*>(data), size);
    // The first byte picks where the input splits into two datagrams.
    const std::size_t split = size == 0 ? 0 : std::to_integer<std::size_t>(bytes[0]) % size;
    for (const std::uint32_t sequence : {0U, 1U, 42U}) {
        quorvane::linux_inventory::LinkDumpParser parser(sequence);
        try {
            if (!parser.Feed(bytes.first(split))) parser.Feed(bytes.subspan(split));
        } catch (const quorvane::Error& error) {
            if (error.kind() != quorvane::ErrorKind::Platform) std::abort();
        }
        Check(parser);
    }
    return 0;
}
