#include "inventory/memory_source.h"

#include "inventory/error.h"

namespace quorvane {

namespace {

class RecordObject : public AdapterObject {
public:
    explicit RecordObject(const InMemoryAdapterSource::Record& r) : r_(r) {}
    Value Read(std::u16string_view property) override {
        for (const auto& [name, value] : r_) {
            if (name == property) return value;
        }
        // As the management service does for a property the class lacks.
        ThrowPlatform("no such property", 0x80041002);
    }

private:
    const InMemoryAdapterSource::Record& r_;
};

class RecordEnumeration : public AdapterEnumeration {
public:
    explicit RecordEnumeration(const std::vector<InMemoryAdapterSource::Record>& records) : records_(records) {}
    std::unique_ptr<AdapterObject> Next() override {
        if (next_ == records_.size()) return nullptr;
        return std::make_unique<RecordObject>(records_[next_++]);
    }

private:
    const std::vector<InMemoryAdapterSource::Record>& records_;
    std::size_t next_ = 0;
};

std::u16string Hex2(std::int64_t n) {
    constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    return {kDigits[(n >> 4) & 0xF], kDigits[n & 0xF]};
}

}  // namespace

std::unique_ptr<AdapterEnumeration> InMemoryAdapterSource::InstancesOf(std::u16string_view className) {
    if (className != kAdapterConfigurationClass) ThrowPlatform("invalid class", 0x80041010);
    return std::make_unique<RecordEnumeration>(records_);
}

InMemoryAdapterSource::Record InMemoryAdapterSource::SampleRecord(std::int64_t index) {
    const std::u16string mac = u"02:00:" + Hex2(index >> 24) + u":" + Hex2(index >> 16) + u":" + Hex2(index >> 8) +
                               u":" + Hex2(index);
    return {
        {u"Index", Value(index)},
        {u"MACAddress", Value(mac)},
        {u"IPEnabled", Value(true)},
        {u"IPAddress", Value::Array({u"192.168.10.23", u"fe80::4c1d:2bff:fe3a:9f10"})},
        {u"DHCPEnabled", Value(true)},
        {u"DHCPServer", Value(u"192.168.10.1")},
        {u"DHCPLeaseObtained", Value(u"20261207081500.000000+060")},
        {u"DHCPLeaseExpires", Value(u"20261208081500.000000+060")},
        {u"DNSEnabledForWINSResolution", Value(false)},
        {u"DNSHostName", Value(u"workstation-07")},
        {u"DNSDomain", Value(u"corp.example.net")},
        {u"Description", Value(u"Gigabit Ethernet Network Connection")},
        {u"DNSServerSearchOrder", Value::Array({u"192.168.10.1", u"10.0.0.53"})},
    };
}

}  // namespace quorvane
