#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/linux/child_process.h"
#include "support/linux/net_namespace.h"
#include "support/linux/temp_folder.h"

namespace quorvane::linux_inventory::testing {

// A DHCP network for one test: a server namespace running dnsmasq and a
// client namespace, joined by a veth pair. dnsmasq hands out 3-day leases
// with a domain and a name server. Clients run in the client namespace in
// private mount and UTS namespaces: tmpfs over /run and their lease folders,
// an overlay over /etc, so neither their lease files nor their hooks touch
// the host's. Everything, processes included, goes with the lab.
class DhcpLab {
public:
    static constexpr std::int64_t kLeaseSeconds = 3 * 24 * 60 * 60;
    static constexpr const char* kServerAddress = "10.77.0.1";
    static constexpr const char* kNameServer = "10.77.0.53";
    static constexpr const char* kDomain = "lab.example";
    static constexpr const char* kClientInterface = "qvlab0";

    // `task` names the namespaces, with the process id: qv-TASK-PID-srv, -cli.
    explicit DhcpLab(const std::string& task);
    ~DhcpLab();
    DhcpLab(const DhcpLab&) = delete;
    DhcpLab& operator=(const DhcpLab&) = delete;

    // Empty when the lab runs; else why not, for GTEST_SKIP.
    [[nodiscard]] const std::string& skipReason() const { return skipReason_; }
    [[nodiscard]] const std::string& clientNamespace() const { return client_; }

    // Starts a DHCP client (argv[0] a full path) in the client namespace,
    // with tmpfs over each of privateDirs (they must exist on the host).
    // The process returned is a shell that waits for the client and stops
    // it when stopped; the client's files are reachable under ClientRoot.
    std::unique_ptr<ChildProcess> StartClient(const std::vector<std::string>& argv,
                                              const std::vector<std::string>& privateDirs);

    // The client's view of the file system: /proc/PID/root of its shell.
    static std::string ClientRoot(const ChildProcess& client);

    // Gives the client's interface one more address ("10.77.0.250/24").
    bool AddClientAddress(const std::string& cidr) const;

    // The expiry dnsmasq recorded for the lease it handed out, once it did.
    [[nodiscard]] std::optional<std::int64_t> ServerLeaseExpiry() const;

    // Runs `work` in the client's network namespace.
    template <class Work>
    auto InClientNamespace(Work work) const -> decltype(work()) {
        return InNetworkNamespace(client_, std::move(work));
    }

private:
    bool Ip(const std::string& ns, std::vector<std::string> arguments) const;
    bool Build();
    void KillEverythingIn(const std::string& ns) const;

    std::string ip_;
    std::string server_, client_;
    TempFolder folder_;  // on the host: dnsmasq's lease file and log, client mount points
    std::string skipReason_;
    std::unique_ptr<ChildProcess> dnsmasq_;
    int clientCount_ = 0;
};

// Asks `ready` every 100 ms until it holds or the timeout passes.
bool Eventually(const std::function<bool()>& ready, std::chrono::milliseconds timeout);

}  // namespace quorvane::linux_inventory::testing
