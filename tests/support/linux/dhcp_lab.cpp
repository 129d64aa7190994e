#include "support/linux/dhcp_lab.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace quorvane::linux_inventory::testing {

namespace {

constexpr const char* kServerInterface = "qvlabsrv";

}  // namespace

DhcpLab::DhcpLab(const std::string& task)
    : ip_(SystemTool("ip")),
      server_("qv-" + task + "-" + std::to_string(getpid()) + "-srv"),
      client_("qv-" + task + "-" + std::to_string(getpid()) + "-cli"),
      folder_(task + "-lab") {
    if (geteuid() != 0) {
        skipReason_ = "needs root to build network namespaces";
        return;
    }
    for (const char* tool : {"ip", "dnsmasq", "unshare", "mount"}) {
        if (SystemTool(tool).empty()) {
            skipReason_ = std::string(tool) + " is not installed";
            return;
        }
    }
    if (!folder_.made()) {
        skipReason_ = "cannot make a temporary folder";
        return;
    }
    // Helpers a client leaves behind when it dies become this process's
    // children, so the teardown can reap them rather than leave zombies.
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    if (!Build()) skipReason_ = "building the lab failed (network namespaces, veth or dnsmasq)";
}

bool DhcpLab::Ip(const std::string& ns, std::vector<std::string> arguments) const {
    arguments.insert(arguments.begin(), {ip_, "-n", ns});
    return RunCommand(arguments) == 0;
}

bool DhcpLab::Build() {
    for (const std::string& ns : {server_, client_}) {
        RunCommand({ip_, "netns", "del", ns});  // left over from a killed run
        if (RunCommand({ip_, "netns", "add", ns}) != 0) return false;
        if (!Ip(ns, {"link", "set", "lo", "up"})) return false;
    }
    const bool linked = Ip(server_, {"link", "add", kServerInterface, "type", "veth", "peer", "name",
                                     kClientInterface, "netns", client_}) &&
                        Ip(server_, {"addr", "add", std::string(kServerAddress) + "/24", "dev", kServerInterface}) &&
                        Ip(server_, {"link", "set", kServerInterface, "up"}) &&
                        Ip(client_, {"link", "set", kClientInterface, "up"});
    if (!linked) return false;

    // No DNS service (port 0), no system configuration; the lease file and
    // the log stay in the lab's folder, and dnsmasq keeps root so it may
    // write there.
    const std::string& dir = folder_.path();
    dnsmasq_ = std::make_unique<ChildProcess>(std::vector<std::string>{
        ip_, "netns", "exec", server_, SystemTool("dnsmasq"), "--keep-in-foreground", "--conf-file=/dev/null",
        "--port=0", "--no-resolv", "--no-hosts", "--user=root", "--pid-file", "--bind-interfaces",
        std::string("--interface=") + kServerInterface, "--dhcp-authoritative",
        "--dhcp-range=10.77.0.100,10.77.0.199,255.255.255.0,3d",
        std::string("--dhcp-option=option:dns-server,") + kNameServer, std::string("--domain=") + kDomain,
        "--dhcp-leasefile=" + dir + "/dnsmasq.leases", "--log-dhcp", "--log-facility=" + dir + "/dnsmasq.log"});
    if (!dnsmasq_->started()) return false;
    // dnsmasq writes its lease file at start, empty; then it serves.
    return Eventually([&] { return std::filesystem::exists(dir + "/dnsmasq.leases"); }, std::chrono::seconds(5));
}

std::unique_ptr<ChildProcess> DhcpLab::StartClient(const std::vector<std::string>& argv,
                                                   const std::vector<std::string>& privateDirs) {
    // The overlay's layers live on a tmpfs of their own, mounted on a host
    // folder that only this mount namespace sees filled.
    const std::string layers = folder_.path() + "/client-" + std::to_string(++clientCount_);
    std::filesystem::create_directory(layers);
    std::string script = "set -e\n"
                         "mount -t tmpfs qvlab /run\n"
                         "mount -t tmpfs qvlab '" + layers + "'\n"
                         "mkdir '" + layers + "/upper' '" + layers + "/work'\n"
                         "mount -t overlay qvlab -o lowerdir=/etc,upperdir='" + layers + "/upper',workdir='" + layers +
                         "/work' /etc\n"
                         // The client's hook writes the lease's name servers
                         // here; until then it names none, not the host's
                         // (nor, through a symbolic link, a file in /run).
                         "rm -f /etc/resolv.conf\n"
                         ": > /etc/resolv.conf\n";
    for (const std::string& dir : privateDirs) script += "mount -t tmpfs qvlab '" + dir + "'\n";
    // The shell stays as the client's parent: dhcpcd's own process moves
    // into a chroot, the shell keeps the namespace's whole view of the files.
    script += "\"$@\" &\n"
              "client=$!\n"
              "trap 'kill $client; wait $client; exit 0' TERM\n"
              "wait $client\n";
    std::vector<std::string> command = {ip_, "netns", "exec", client_, SystemTool("unshare"), "--mount", "--uts",
                                        "--propagation", "private", "/bin/sh", "-c", script, "sh"};
    command.insert(command.end(), argv.begin(), argv.end());
    return std::make_unique<ChildProcess>(command);
}

bool DhcpLab::AddClientAddress(const std::string& cidr) const {
    return Ip(client_, {"addr", "add", cidr, "dev", kClientInterface});
}

std::string DhcpLab::ClientRoot(const ChildProcess& client) { return "/proc/" + std::to_string(client.pid()) + "/root"; }

std::optional<std::int64_t> DhcpLab::ServerLeaseExpiry() const {
    // One line per lease: expiry (seconds since the epoch), MAC, address, name, client id.
    std::ifstream leases(folder_.path() + "/dnsmasq.leases");
    std::int64_t expiry = 0;
    if (leases >> expiry) return expiry;
    return std::nullopt;
}

void DhcpLab::KillEverythingIn(const std::string& ns) const {
    // Clients that fork helpers (dhcpcd's privilege separation) may leave
    // some behind their main process; all of them were started here.
    ChildProcess pids({ip_, "netns", "pids", ns});
    while (const auto line = pids.ReadLine(std::chrono::seconds(2))) {
        const pid_t pid = std::atoi(line->c_str());
        if (pid <= 1) continue;
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);  // fails at once for what is not a child
    }
}

DhcpLab::~DhcpLab() {
    dnsmasq_.reset();
    if (!ip_.empty() && geteuid() == 0) {
        for (const std::string& ns : {client_, server_}) {
            if (!std::filesystem::exists("/run/netns/" + ns)) continue;
            KillEverythingIn(ns);
            RunCommand({ip_, "netns", "del", ns});
        }
    }
}

bool Eventually(const std::function<bool()>& ready, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (ready()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

}  // namespace quorvane::linux_inventory::testing
