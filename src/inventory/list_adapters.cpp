#include "inventory/list_adapters.h"

#include <optional>
#include <string>

#include "base/error.h"
#include "inventory/lease_timestamp.h"

namespace quorvane {

namespace {

// Sub-items of a row, by the column they fill.
enum SubItem : std::int32_t {
    kMac = 1,
    kIpAddress = 2,
    kDhcpServer = 3,
    kLeaseObtained = 4,
    kLeaseExpires = 5,
    kWins = 6,
    kHost = 7,
    kDomain = 8,
    kDescription = 9,
    kDns = 10,
};

// Evaluates a guard; one that cannot be evaluated counts as held, so the
// statements it guards still get their chance (and fail on their own reads).
template <typename Test>
bool GuardHolds(Test&& test) {
    try {
        return test();
    } catch (const Error&) {
        return true;
    }
}

// Fills the rows of one adapter. The adapter's lease cells are computed from
// its own lease values only: the lease, date and time texts start empty for
// each lease, so a value that does not convert leaves its cell empty rather
// than repeating a date of an earlier adapter.
class AdapterRowWriter {
public:
    AdapterRowWriter(AdapterObject& adapter, RowSink& table, const ShortDateFormat& shortDate)
        : adapter_(adapter), table_(table), shortDate_(shortDate) {}

    void Write() {
        // Without a row of its own nothing of this adapter can be shown.
        try {
            row_ = table_.AppendRow(ToText(Read(u"Index")));
        } catch (const Error&) {
            return;
        }

        SetFromProperty(kMac, u"MACAddress");

        if (GuardHolds([&] { return IsTrue(Read(u"IPEnabled")); })) {
            Absorb([&] {
                const Value addresses = Read(u"IPAddress");
                if (!addresses.IsNull()) SetFromValue(kIpAddress, ElementAt(addresses, 0));
            });
        }

        if (GuardHolds([&] { return IsTrue(Read(u"DHCPEnabled")); })) {
            SetFromProperty(kDhcpServer, u"DHCPServer");
            WriteLease(u"DHCPLeaseObtained", kLeaseObtained);
            WriteLease(u"DHCPLeaseExpires", kLeaseExpires);
        }

        SetFromProperty(kWins, u"DNSEnabledForWINSResolution");
        SetFromProperty(kHost, u"DNSHostName");
        SetFromProperty(kDomain, u"DNSDomain");
        SetFromProperty(kDescription, u"Description");

        const std::u16string dns = JoinDnsServers();
        Absorb([&] { Set(kDns, dns); });
    }

private:
    Value Read(std::u16string_view property) { return adapter_.Read(property); }

    void Set(std::int32_t subItem, std::u16string_view text) { table_.SetSubItem(row_, subItem, text); }

    // Null has no text, so its cell keeps the empty text it was created
    // with; it is recognised here rather than by the conversion failing,
    // which would cost an exception for every empty cell.
    void SetFromValue(std::int32_t subItem, const Value& value) {
        if (!value.IsNull()) Set(subItem, ToText(value));
    }

    void SetFromProperty(std::int32_t subItem, std::u16string_view property) {
        Absorb([&] { SetFromValue(subItem, Read(property)); });
    }

    void WriteLease(std::u16string_view property, std::int32_t subItem) {
        if (!GuardHolds([&] { return !Read(property).IsNull(); })) return;

        std::u16string leaseText;
        Absorb([&] { leaseText = ToText(Read(property)); });

        std::u16string dateText;
        std::u16string timeText;
        Absorb([&] { SplitCimDateTime(leaseText, dateText, timeText); });

        Absorb([&] { Set(subItem, RenderShortDate(dateText, shortDate_)); });
    }

    // The DNS servers joined by "," with no space. The array is read afresh
    // for each bound and each element; an element that fails is left out.
    std::u16string JoinDnsServers() {
        constexpr std::u16string_view kProperty = u"DNSServerSearchOrder";
        std::u16string dns;
        if (!GuardHolds([&] { return !Read(kProperty).IsNull(); })) return dns;

        std::int64_t upper = 0;
        std::int64_t lower = 0;
        try {
            upper = UpperBound(Read(kProperty));
            lower = LowerBound(Read(kProperty));
        } catch (const Error&) {
            return dns;
        }
        for (std::int64_t i = lower; i <= upper; ++i) {
            Absorb([&] {
                const Value servers = Read(kProperty);
                const Value& element = ElementAt(servers, i);
                if (element.IsNull()) return;  // no text to add
                const std::u16string server = ToText(element);
                if (dns.empty()) {
                    dns = server;
                } else {
                    dns.append(u",").append(server);
                }
            });
        }
        return dns;
    }

    AdapterObject& adapter_;
    RowSink& table_;
    const ShortDateFormat& shortDate_;
    std::int32_t row_ = 0;
};

}  // namespace

void ListAdapters(AdapterSource& source, RowSink& table, const ShortDateFormat& shortDate) {
    std::unique_ptr<AdapterEnumeration> adapters;
    try {
        adapters = source.InstancesOf(kAdapterConfigurationClass);
    } catch (const Error&) {
        return;  // no service, no rows; the list command carries on
    }
    if (!adapters) return;

    for (;;) {
        std::unique_ptr<AdapterObject> adapter;
        try {
            adapter = adapters->Next();
        } catch (const Error&) {
            return;  // the rows added so far stay
        }
        if (!adapter) return;
        AdapterRowWriter(*adapter, table, shortDate).Write();
    }
}

}  // namespace quorvane
