#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "inventory/linux/dbus/bus_address.h"

namespace quorvane::linux_inventory {
namespace {

// An entry as "path:NAME" or "abstract:NAME", read back from the socket
// address and its length, then " <- " and the entry's own text.
std::string Described(const LocalBusEntry& entry) {
    const std::size_t nameBytes = entry.length - offsetof(sockaddr_un, sun_path);
    const bool abstract = entry.socket.sun_path[0] == '\0';
    const std::string name = abstract ? std::string(entry.socket.sun_path + 1, nameBytes - 1)
                                      : std::string(entry.socket.sun_path, nameBytes - 1);
    return (abstract ? "abstract:" : "path:") + name + " <- " + entry.text;
}

TEST(LinuxSourceBusAddress, EachLocalSocketEntryWithItsOwnText) {
    const std::string tooLong = "unix:path=/" + std::string(sizeof(sockaddr_un::sun_path) - 1, 'x');
    const struct {
        std::string address;
        std::vector<std::string> entries;
    } cases[] = {
        // Other transports and keys are passed over; escapes are undone.
        {"tcp:host=h,port=1;unix:guid=01,path=/a%20b%2c", {"path:/a b, <- unix:guid=01,path=/a%20b%2c"}},
        {"unix:path=/a;unix:abstract=b,guid=01;", {"path:/a <- unix:path=/a", "abstract:b <- unix:abstract=b,guid=01"}},
        // A socket name that is empty, badly escaped, cut short or too long is none.
        {"unix:path=;unix:path=/bad%zz;unix:path=/cut%2;unix:tmpdir=/tmp;" + tooLong + ";unix:path=/ok",
         {"path:/ok <- unix:path=/ok"}},
        {";;", {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> described;
        for (const LocalBusEntry& entry : LocalBusEntries(c.address)) described.push_back(Described(entry));
        EXPECT_EQ(described, c.entries) << c.address;
    }
}

TEST(LinuxSourceBusAddress, TheEndpointIsTheFirstEntryThatAnswersAlone) {
    const struct {
        const char* address;
        std::set<std::string> answering;  // socket paths
        std::optional<std::string> endpoint;
    } cases[] = {
        {"tcp:host=h,port=1;unix:path=/a,guid=01", {"/a"}, "unix:path=/a,guid=01"},
        {"unix:path=/a;unix:path=/b;tcp:host=h,port=1", {"/b"}, "unix:path=/b"},
        {"unix:path=/a;unix:path=/b", {"/a", "/b"}, "unix:path=/a"},
        {"unix:path=/a;tcp:host=h,port=1", {}, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto answers = [&](const LocalBusEntry& entry) { return c.answering.contains(entry.socket.sun_path); };
        EXPECT_EQ(FirstAnsweringEntry(c.address, answers), c.endpoint) << c.address;
    }
}

}  // namespace
}  // namespace quorvane::linux_inventory
