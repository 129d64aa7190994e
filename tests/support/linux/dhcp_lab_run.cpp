// Runs a command in a DHCP lab with live leases, for what a person should
// see of the program there (tools/screenshots): dnsmasq serves; in the
// client namespace dhclient holds a lease on qvlab0 and dhcpcd one on qvlab1,
// a macvlan beside it, and qvlab2, another, has a static address. The
// command runs in the clients' mount and network namespaces, so it sees
// their lease files and the resolv.conf their hooks wrote, and the lab goes
// when it ends. Usage, as root: dhcp_lab_run COMMAND...
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "support/linux/dhcp_lab.h"

using namespace quorvane::linux_inventory::testing;

namespace {

bool InClient(const DhcpLab& lab, const std::string& ipArguments) {
    return RunCommand({"/bin/sh", "-c", SystemTool("ip") + " -n " + lab.clientNamespace() + " " + ipArguments}) == 0;
}

int RunInNamespacesOf(pid_t target, char** command) {
    const pid_t child = fork();
    if (child == 0) {
        std::vector<const char*> argv = {"nsenter", "-t", nullptr, "-m", "-n", "--"};
        const std::string pid = std::to_string(target);
        argv[2] = pid.c_str();
        for (char** word = command; *word != nullptr; ++word) argv.push_back(*word);
        argv.push_back(nullptr);
        execvp("nsenter", const_cast<char* const*>(argv.data()));
        _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child) return 1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: dhcp_lab_run COMMAND...\n";
        return 2;
    }
    DhcpLab lab("shot");
    const std::string dhclient = SystemTool("dhclient"), dhcpcd = SystemTool("dhcpcd");
    if (!lab.skipReason().empty() || dhclient.empty() || dhcpcd.empty()) {
        std::cerr << "dhcp_lab_run: no lab here: " << (lab.skipReason().empty() ? "dhclient or dhcpcd is missing" : lab.skipReason()) << "\n";
        return 1;
    }
    const bool linked = InClient(lab, "link add qvlab1 link qvlab0 type macvlan mode bridge") &&
                        InClient(lab, "link add qvlab2 link qvlab0 type macvlan mode bridge") &&
                        InClient(lab, "addr add 10.77.0.250/24 dev qvlab2") && InClient(lab, "link set qvlab1 up") &&
                        InClient(lab, "link set qvlab2 up");
    // Both clients under one shell, so their lease folders are in one view.
    const auto clients = lab.StartClient(
        {"/bin/sh", "-c",
         dhclient + " -d -q -4 -pf /run/dhclient.qvlab0.pid -lf /var/lib/dhcp/dhclient.qvlab0.leases qvlab0 & " +
             dhcpcd + " -B -q -4 qvlab1 & wait",
         "sh"},
        {"/var/lib/dhcp", "/var/lib/dhcpcd"});
    const std::string root = DhcpLab::ClientRoot(*clients);
    const bool leased = linked && clients->started() && Eventually([&] {
        return std::filesystem::exists(root + "/var/lib/dhcp/dhclient.qvlab0.leases") &&
               std::filesystem::exists(root + "/var/lib/dhcpcd/qvlab1.lease") &&
               InClient(lab, "-4 -o addr show dev qvlab0 | grep -q 10.77.0.1") &&
               InClient(lab, "-4 -o addr show dev qvlab1 | grep -q 10.77.0.1");
    }, std::chrono::seconds(60));
    if (!leased) {
        std::cerr << "dhcp_lab_run: the clients took no lease in 60 s\n";
        return 1;
    }
    return RunInNamespacesOf(clients->pid(), argv + 1);
}
