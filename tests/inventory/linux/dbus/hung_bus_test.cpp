// A bus that accepts connections and never answers them costs the list
// command a bounded time, and the kernel's facts still fill the rows.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "app/memory_table.h"
#include "inventory/linux/common/unique_fd.h"
#include "inventory/linux/dbus/bus_probe.h"
#include "inventory/linux/linux_adapter_source.h"
#include "inventory/list_adapters.h"
#include "support/linux/fake_link.h"
#include "support/linux/isolated_options.h"

namespace quorvane::linux_inventory {
namespace {

using Clock = std::chrono::steady_clock;

// A listening socket nobody accepts on: the kernel completes each connection
// into the backlog, and no byte ever comes back.
class SilentListener {
public:
    // A socket in the file system, or in the abstract namespace.
    explicit SilentListener(bool abstract = false) : abstract_(abstract) {
        if (!abstract_) unlink(name_.c_str());
        fd_.reset(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::size_t offset = abstract_ ? 1 : 0;
        std::strncpy(address.sun_path + offset, name_.c_str(), sizeof address.sun_path - 1 - offset);
        // The path's final NUL, or the abstract name's leading one.
        const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + name_.size() + 1);
        listening_ = fd_ && bind(fd_.get(), reinterpret_cast<const sockaddr*>(&address), length) == 0 &&
                     listen(fd_.get(), 16) == 0;
    }
    ~SilentListener() {
        if (!abstract_) unlink(name_.c_str());
    }
    SilentListener(const SilentListener&) = delete;
    SilentListener& operator=(const SilentListener&) = delete;

    [[nodiscard]] bool listening() const { return listening_; }
    [[nodiscard]] std::string address() const { return (abstract_ ? "unix:abstract=" : "unix:path=") + name_; }

private:
    bool abstract_;
    std::string name_ = ::testing::TempDir() + "qv-silent-bus." + std::to_string(getpid());
    unique_fd fd_;
    bool listening_ = false;
};

class ShortDates : public ShortDateFormat {
public:
    std::u16string Render(const CalendarDate& date) const override { return FromAscii(std::to_string(date.year)); }
};

// The named bus, or the system bus found through DBUS_SYSTEM_BUS_ADDRESS.
void ExpectListWithinBound(const std::optional<std::string>& busAddress) {
    LinuxSourceOptions options = testing::IsolatedOptions();
    options.busAddress = busAddress;
    options.readLinks = [] { return std::vector<KernelLink>{testing::FakeLink(2, "qv0", {"192.168.0.10"})}; };
    LinuxAdapterSource source(options);
    InMemoryTable table;
    const auto start = Clock::now();
    ListAdapters(source, table, ShortDates());
    const auto elapsed = Clock::now() - start;
    // The connection's deadline is 1 s; QtDBus alone would wait about 25 s.
    EXPECT_LT(elapsed, std::chrono::seconds(2));
    std::printf("list command on a silent bus: %lld ms\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
    ASSERT_EQ(table.rows().size(), 1U);
    const auto& row = table.rows().front();
    EXPECT_EQ(row.text, u"2");
    EXPECT_EQ(row.subItems[0], u"52:54:00:00:00:02");
    EXPECT_EQ(row.subItems[1], u"192.168.0.10");
    EXPECT_EQ(row.subItems[8], u"qv0");
    EXPECT_EQ(row.subItems[2], u"");
}

TEST(HungBus, ListCommandReturnsWithinTwoSecondsWithKernelFacts) {
    SilentListener listener;
    ASSERT_TRUE(listener.listening());
    ExpectListWithinBound(listener.address());
}

TEST(HungBus, SystemBusIsBoundedToo) {
    SilentListener listener;
    ASSERT_TRUE(listener.listening());
    const char* saved = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
    const std::optional<std::string> previous = saved ? std::optional<std::string>(saved) : std::nullopt;
    setenv("DBUS_SYSTEM_BUS_ADDRESS", listener.address().c_str(), 1);
    ExpectListWithinBound(std::nullopt);
    if (previous) {
        setenv("DBUS_SYSTEM_BUS_ADDRESS", previous->c_str(), 1);
    } else {
        unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
    }
}

TEST(HungBus, AbstractSocketsAreReachedAndWaitedForUntilTheDeadline) {
    SilentListener listener(true);
    ASSERT_TRUE(listener.listening());
    const auto start = Clock::now();
    EXPECT_EQ(ProbedEndpoint(listener.address() + ",guid=0123456789abcdef0123456789abcdef",
                             std::chrono::milliseconds(300)),
              std::nullopt);
    // Returning sooner would mean the address was not understood or not reached.
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(250));
}

TEST(HungBus, AddressesThatCannotBeBoundedAreNotUsed) {
    using std::chrono::milliseconds;
    const auto start = Clock::now();
    for (const char* address : {"tcp:host=127.0.0.1,port=1", "unix:path=", "unix:path=/tmp/bad%zzescape",
                                "unix:guid=0123", "", "unix:path=/nonexistent/qv-bus"}) {
        EXPECT_EQ(ProbedEndpoint(address, milliseconds(500)), std::nullopt) << address;
    }
    EXPECT_LT(Clock::now() - start, milliseconds(500));
}

}  // namespace
}  // namespace quorvane::linux_inventory
