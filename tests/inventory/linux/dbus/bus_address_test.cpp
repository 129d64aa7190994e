// Which entry of a D-Bus address the source hands QtDBus. That an abstract
// socket's address is reached as it is named is pinned by hung_bus_test.cpp.
#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <set>
#include <string>

#include "inventory/linux/dbus/bus_address.h"

namespace quorvane::linux_inventory {
namespace {

// The socket's name as the kernel reads it; "@" stands for an abstract
// name's leading NUL.
std::string KernelName(const LocalBusEntry& entry) {
    const char* name = entry.socket.sun_path;
    const std::size_t size = entry.length - offsetof(sockaddr_un, sun_path);
    return name[0] != '\0' ? std::string(name) : "@" + std::string(name + 1, size - 1);
}

TEST(LinuxSourceBusAddress, TheEndpointIsTheFirstEntryLibdbusTakesThatAnswersWithItsOwnText) {
    const std::string name98 = "/" + std::string(97, 'x'), name99 = name98 + "x", name100 = name99 + "x";
    const struct {
        std::string address;
        std::set<std::string> answering;  // kernel names; "*" for every socket the entries name
        std::optional<std::string> endpoint;
    } cases[] = {
        {"tcp:host=h,port=1;unix:abstract=/a,guid=01", {"*"}, "unix:abstract=/a,guid=01"},
        {"unix:path=/a;unix:path=/b;tcp:host=h,port=1", {"/b"}, "unix:path=/b"},
        {"unix:path=/a;unix:path=/b", {"*"}, "unix:path=/a"},
        {"unix:path=/a;tcp:host=h,port=1", {}, std::nullopt},
        {"unix:guid=01,path=/a%20b%2c", {"/a b,"}, "unix:guid=01,path=/a%20b%2c"},
        // A socket name that is empty, badly escaped or cut short names no socket.
        {"unix:path=;unix:path=/bad%zz;unix:path=/cut%2;unix:tmpdir=/tmp;unix:path=/ok", {"*"}, "unix:path=/ok"},
        // libdbus refuses an entry with a byte outside its set unescaped, in any value;
        {"unix:path=/a b;unix:path=/bus-for-:0;unix:path=/a=b;unix:guid=0 1,path=/c;unix:path=/d%3a", {"*"},
         "unix:path=/d%3a"},
        // with a pair short of a key or a value, both path and abstract, or a tmpdir;
        {"unix:guid,path=/a;unix:=01,path=/a;unix:guid=,path=/a;unix:path=/a,,guid=01;unix:path=/a,abstract=/b;"
         "unix:tmpdir=/t,path=/a;unix:path=/e,",
         {"*"}, "unix:path=/e,"},
        // with a socket name over 99 bytes, an abstract name's leading NUL counted.
        {"unix:path=" + name100 + ";unix:abstract=" + name99 + ";unix:path=" + name99, {"*"}, "unix:path=" + name99},
        {"unix:abstract=" + name98, {"*"}, "unix:abstract=" + name98},
        // It reads a socket's name up to an escaped NUL.
        {"unix:abstract=/f%00g", {"@/f"}, "unix:abstract=/f%00g"},
    };
    for (const auto& c : cases) {
        const auto answers = [&](const LocalBusEntry& entry) {
            return c.answering.contains("*") || c.answering.contains(KernelName(entry));
        };
        EXPECT_EQ(FirstAnsweringEntry(c.address, answers), c.endpoint) << c.address;
    }
}

}  // namespace
}  // namespace quorvane::linux_inventory
