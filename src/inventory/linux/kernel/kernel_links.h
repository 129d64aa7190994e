#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "inventory/linux/common/kernel_link.h"

namespace quorvane::linux_inventory {

// Every interface of the calling thread's network namespace, loopback
// included, in interface-index order, with its addresses, read over
// rtnetlink in one link dump and one address dump. Throws quorvane::Error
// (Platform, errno) when the kernel cannot be asked or refuses.
std::vector<KernelLink> ReadKernelLinks();

// The messages of a dump reply, keyed by interface index. Parsing is kept
// apart from the socket so malformed replies can be tested without a kernel.
class LinkDumpParser {
public:
    explicit LinkDumpParser(std::uint32_t sequence) : sequence_(sequence) {}

    // Takes one datagram of the reply. Returns true once the dump's end
    // marker was seen. Messages of another sequence or truncated ones are
    // skipped; an error message throws quorvane::Error (Platform, errno).
    bool Feed(std::span<const std::byte> datagram);

    // True when the kernel flagged that the dump was interrupted by a change.
    [[nodiscard]] bool interrupted() const noexcept { return interrupted_; }
    void Restart(std::uint32_t sequence) noexcept { sequence_ = sequence; }

    std::map<std::uint32_t, KernelLink>& links() noexcept { return links_; }
    const std::map<std::uint32_t, KernelLink>& links() const noexcept { return links_; }

private:
    void TakeLink(std::span<const std::byte> body);
    void TakeAddress(std::span<const std::byte> body);

    std::uint32_t sequence_;
    bool interrupted_ = false;
    std::map<std::uint32_t, KernelLink> links_;
};

}  // namespace quorvane::linux_inventory
