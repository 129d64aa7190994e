// Which entry of a D-Bus address the source hands QtDBus. That an abstract
// socket's address is reached as it is named is pinned by hung_bus_test.cpp.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>

#include "inventory/linux/dbus/bus_address.h"

namespace quorvane::linux_inventory {
namespace {

TEST(LinuxSourceBusAddress, TheEndpointIsTheFirstLocalSocketEntryThatAnswersWithItsOwnText) {
    const std::string tooLong = "unix:path=/" + std::string(sizeof(sockaddr_un::sun_path) - 1, 'x');
    const struct {
        std::string address;
        std::set<std::string> answering;  // socket paths; "*" for every socket the entries name
        std::optional<std::string> endpoint;
    } cases[] = {
        {"tcp:host=h,port=1;unix:abstract=/a,guid=01", {"*"}, "unix:abstract=/a,guid=01"},
        {"unix:path=/a;unix:path=/b;tcp:host=h,port=1", {"/b"}, "unix:path=/b"},
        {"unix:path=/a;unix:path=/b", {"*"}, "unix:path=/a"},
        {"unix:path=/a;tcp:host=h,port=1", {}, std::nullopt},
        {"unix:guid=01,path=/a%20b%2c", {"/a b,"}, "unix:guid=01,path=/a%20b%2c"},
        // A socket name that is empty, badly escaped, cut short or too long names no socket.
        {"unix:path=;unix:path=/bad%zz;unix:path=/cut%2;unix:tmpdir=/tmp;" + tooLong + ";unix:path=/ok", {"*"},
         "unix:path=/ok"},
    };
    for (const auto& c : cases) {
        const auto answers = [&](const LocalBusEntry& entry) {
            return c.answering.contains("*") || c.answering.contains(entry.socket.sun_path);
        };
        EXPECT_EQ(FirstAnsweringEntry(c.address, answers), c.endpoint) << c.address;
    }
}

}  // namespace
}  // namespace quorvane::linux_inventory
