#include "inventory/linux/kernel/kernel_links.h"

#include <linux/if_arp.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

#include "base/error.h"
#include "inventory/linux/common/unique_fd.h"

namespace quorvane::linux_inventory {

namespace {

// The attribute type without the nested and byte-order flags (NLA_TYPE_MASK).
constexpr unsigned kAttributeTypeMask = 0x3FFFU;

constexpr std::size_t Align4(std::size_t n) { return (n + 3U) & ~std::size_t{3}; }

// Copies a header out of the buffer; alignment of the buffer is not trusted.
template <class T>
bool ReadAt(std::span<const std::byte> buffer, std::size_t offset, T& out) {
    if (offset > buffer.size() || buffer.size() - offset < sizeof(T)) return false;
    std::memcpy(&out, buffer.data() + offset, sizeof(T));
    return true;
}

// Calls visit(type, payload) for each well-formed route attribute; stops at
// the first one whose length does not fit.
template <class Visit>
void ForEachAttribute(std::span<const std::byte> attributes, Visit visit) {
    std::size_t offset = 0;
    rtattr header{};
    while (ReadAt(attributes, offset, header)) {
        const std::size_t length = header.rta_len;
        if (length < sizeof(rtattr) || length > attributes.size() - offset) return;
        const std::size_t payload = Align4(sizeof(rtattr));
        visit(header.rta_type & kAttributeTypeMask, attributes.subspan(offset + payload, length - payload));
        offset += Align4(length);
    }
}

std::string AttributeText(std::span<const std::byte> payload) {
    std::string_view text(reinterpret_cast<const char*>(payload.data()), payload.size());
    return std::string(text.substr(0, text.find('\0')));
}

[[noreturn]] void ThrowErrno(const char* what, int code) {
    ThrowPlatform(std::string(what) + ": " + std::strerror(code), code);
}

}  // namespace

bool LinkDumpParser::Feed(std::span<const std::byte> datagram) {
    std::size_t offset = 0;
    nlmsghdr header{};
    while (ReadAt(datagram, offset, header)) {
        const std::size_t length = header.nlmsg_len;
        if (length < sizeof(nlmsghdr) || length > datagram.size() - offset) return false;
        const auto body = datagram.subspan(offset + Align4(sizeof(nlmsghdr)), length - Align4(sizeof(nlmsghdr)));
        offset += Align4(length);
        if (header.nlmsg_seq != sequence_) continue;
        if ((header.nlmsg_flags & NLM_F_DUMP_INTR) != 0) interrupted_ = true;
        switch (header.nlmsg_type) {
            case NLMSG_DONE:
                return true;
            case NLMSG_ERROR: {
                nlmsgerr error{};
                if (!ReadAt(body, 0, error)) ThrowPlatform("truncated netlink error", EPROTO);
                if (error.error == 0) break;  // an acknowledgement
                // The kernel sends a negated errno; anything else is no errno
                // (and INT_MIN cannot be negated).
                const bool isErrno = error.error < 0 && error.error > -4096;
                ThrowErrno("rtnetlink dump", isErrno ? -error.error : EPROTO);
            }
            case RTM_NEWLINK:
                TakeLink(body);
                break;
            case RTM_NEWADDR:
                TakeAddress(body);
                break;
            default:
                break;
        }
    }
    return false;
}

void LinkDumpParser::TakeLink(std::span<const std::byte> body) {
    ifinfomsg info{};
    if (!ReadAt(body, 0, info) || info.ifi_index <= 0) return;
    KernelLink& link = links_[static_cast<std::uint32_t>(info.ifi_index)];
    link.index = static_cast<std::uint32_t>(info.ifi_index);
    link.up = (info.ifi_flags & IFF_UP) != 0;
    link.loopback = (info.ifi_flags & IFF_LOOPBACK) != 0 || info.ifi_type == ARPHRD_LOOPBACK;
    ForEachAttribute(body.subspan(Align4(sizeof(ifinfomsg))), [&](unsigned type, std::span<const std::byte> payload) {
        if (type == IFLA_IFNAME) {
            link.name = AttributeText(payload);
        } else if (type == IFLA_ADDRESS) {
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(payload.data());
            link.hardwareAddress.assign(bytes, bytes + payload.size());
        }
    });
}

void LinkDumpParser::TakeAddress(std::span<const std::byte> body) {
    ifaddrmsg info{};
    if (!ReadAt(body, 0, info)) return;
    const auto found = links_.find(info.ifa_index);
    if (found == links_.end()) return;  // an interface that appeared after the link dump
    std::size_t width = 0;
    if (info.ifa_family == AF_INET) width = 4;
    if (info.ifa_family == AF_INET6) width = 16;
    if (width == 0) return;

    // IFA_LOCAL is the interface's own address; on a point-to-point link
    // IFA_ADDRESS is the peer's. IPv6 reports IFA_LOCAL only on such links.
    std::span<const std::byte> address, local;
    ForEachAttribute(body.subspan(Align4(sizeof(ifaddrmsg))), [&](unsigned type, std::span<const std::byte> payload) {
        if (payload.size() != width) return;
        if (type == IFA_ADDRESS) address = payload;
        if (type == IFA_LOCAL) local = payload;
    });
    const auto own = local.empty() ? address : local;
    if (own.empty()) return;
    KernelAddress kernelAddress;
    kernelAddress.family = info.ifa_family;
    std::memcpy(kernelAddress.bytes.data(), own.data(), width);
    found->second.addresses.push_back(kernelAddress);
}

namespace {

class NetlinkSocket {
public:
    NetlinkSocket() : fd_(socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE)) {
        if (!fd_) ThrowErrno("netlink socket", errno);
        // The kernel answers a dump at once; the timeout only guards against a hang.
        timeval timeout{2, 0};
        if (setsockopt(fd_.get(), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout) != 0) {
            ThrowErrno("netlink receive timeout", errno);
        }
    }

    void RequestDump(std::uint16_t type, std::uint32_t sequence) const {
        // ifinfomsg is the larger of the two request bodies; an all-zero one
        // asks for every interface of every family.
        struct {
            nlmsghdr header;
            ifinfomsg body;
        } request{};
        request.header.nlmsg_len = sizeof request;
        request.header.nlmsg_type = type;
        request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
        request.header.nlmsg_seq = sequence;
        request.body.ifi_family = AF_UNSPEC;
        sockaddr_nl kernel{};
        kernel.nl_family = AF_NETLINK;
        if (sendto(fd_.get(), &request, sizeof request, 0, reinterpret_cast<const sockaddr*>(&kernel), sizeof kernel) < 0) {
            ThrowErrno("netlink request", errno);
        }
    }

    void ReceiveDump(LinkDumpParser& parser) const {
        std::vector<std::byte> buffer(64 * 1024);
        for (;;) {
            sockaddr_nl sender{};
            socklen_t senderLength = sizeof sender;
            const ssize_t n = recvfrom(fd_.get(), buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&sender),
                                       &senderLength);
            if (n < 0) {
                if (errno == EINTR) continue;
                ThrowErrno("netlink receive", errno);
            }
            if (sender.nl_pid != 0) continue;  // only the kernel speaks for the kernel
            if (parser.Feed(std::span<const std::byte>(buffer.data(), static_cast<std::size_t>(n)))) return;
        }
    }

private:
    unique_fd fd_;
};

}  // namespace

std::vector<KernelLink> ReadKernelLinks() {
    // A link or address change during the dump marks it interrupted; a few
    // retries get a consistent view, after which the last one is used as is.
    std::uint32_t sequence = static_cast<std::uint32_t>(getpid()) * 7919U;
    for (int attempt = 0;; ++attempt) {
        NetlinkSocket socket;
        LinkDumpParser parser(++sequence);
        socket.RequestDump(RTM_GETLINK, sequence);
        socket.ReceiveDump(parser);
        parser.Restart(++sequence);
        socket.RequestDump(RTM_GETADDR, sequence);
        socket.ReceiveDump(parser);
        if (!parser.interrupted() || attempt == 2) {
            std::vector<KernelLink> links;
            links.reserve(parser.links().size());
            for (auto& [index, link] : parser.links()) links.push_back(std::move(link));
            return links;
        }
    }
}

}  // namespace quorvane::linux_inventory
