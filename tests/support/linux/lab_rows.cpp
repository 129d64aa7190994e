#include "support/linux/lab_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <utility>

#include "inventory/linux/cim_datetime.h"
#include "support/value_printer.h"

namespace quorvane::linux_inventory::testing {

namespace {
// The facts every lab lease must show.
const char16_t* const kLeaseFacts[] = {u"DHCPServer", u"DNSServerSearchOrder", u"DNSDomain", u"DHCPLeaseObtained",
                                       u"DHCPLeaseExpires"};
}  // namespace

std::optional<LabRow> ReadLabRow(const DhcpLab& lab, const LinuxSourceOptions& options) {
    return lab.InClientNamespace([&]() -> std::optional<LabRow> {
        LinuxAdapterSource source(options);
        auto adapters = source.InstancesOf(kAdapterConfigurationClass);
        auto adapter = adapters->Next();
        if (!adapter || adapters->Next()) return std::nullopt;
        LabRow row;
        for (const auto name : {u"DHCPEnabled", u"DHCPServer", u"DHCPLeaseObtained", u"DHCPLeaseExpires", u"DNSDomain",
                                u"DNSServerSearchOrder", u"IPAddress"}) {
            row[name] = adapter->Read(name);
        }
        return row;
    });
}

bool ShowsDateNear(const Value& shown, std::int64_t expected, DateWindow window) {
    for (std::int64_t delta = -window.before; delta <= window.after; ++delta) {
        const auto text = LocalCimDateTime(expected + delta);
        if (text && shown == Value(std::u16string(text->begin(), text->end()))) return true;
    }
    return false;
}

std::optional<LabRow> ExpectLabLeaseShown(const DhcpLab& lab, const LinuxSourceOptions& options, DateWindow window) {
    std::optional<LabRow> row;
    const bool leased = Eventually(
        [&] {
            // A daemon publishes its lease in steps (networkd writes its lease
            // file after it announces the address), so the row is read until
            // every fact checked below is there, not just the first of them.
            row = ReadLabRow(lab, options);
            return row && lab.ServerLeaseExpiry() &&
                   std::ranges::none_of(kLeaseFacts, [&](auto name) { return row->at(name).IsNull(); });
        },
        std::chrono::seconds(30));
    EXPECT_TRUE(leased) << "no lease shown within 30 s";
    if (!leased) return std::nullopt;
    EXPECT_EQ(row->at(u"DHCPEnabled"), Value(true));
    EXPECT_EQ(row->at(u"DHCPServer"), Value(u"10.77.0.1"));
    EXPECT_EQ(row->at(u"DNSServerSearchOrder"), Value::Array({u"10.77.0.53"}));
    EXPECT_EQ(row->at(u"DNSDomain"), Value(u"lab.example"));
    const std::int64_t expires = *lab.ServerLeaseExpiry();
    for (const auto& [name, date] : {std::pair{u"DHCPLeaseExpires", expires},
                                     std::pair{u"DHCPLeaseObtained", expires - DhcpLab::kLeaseSeconds}}) {
        EXPECT_TRUE(ShowsDateNear(row->at(name), date, window))
            << ::testing::PrintToString(row->at(name)) << " for dnsmasq's " << date;
    }
    return row;
}

}  // namespace quorvane::linux_inventory::testing
