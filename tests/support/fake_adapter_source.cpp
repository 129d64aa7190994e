#include "support/fake_adapter_source.h"

#include <algorithm>
#include <utility>

#include "base/error.h"

namespace quorvane::testing {

namespace {

// The codes the management service gives for a name it does not know.
constexpr std::int64_t kNotFound = 0x80041002;
constexpr std::int64_t kInvalidClass = 0x80041010;

bool IsClassProperty(std::u16string_view name) {
    return std::find(kAdapterProperties.begin(), kAdapterProperties.end(), name) != kAdapterProperties.end();
}

class FakeAdapterObject final : public AdapterObject {
public:
    explicit FakeAdapterObject(const FakeAdapter& a) : a_(a) {}

    Value Read(std::u16string_view property) override {
        if (a_.failingProperties.count(property) != 0) ThrowPlatform("read refused", kNotFound);
        // Reads are counted only for a record that fails chosen ones, which
        // keeps the common read a lookup and nothing more.
        if (const auto f = a_.failingReads.find(property); f != a_.failingReads.end()) {
            if (f->second.count(++reads_[f->first]) != 0) ThrowPlatform("read refused", kNotFound);
        }
        for (const auto& [name, value] : a_.properties) {
            if (name == property) return value;
        }
        if (!IsClassProperty(property)) ThrowPlatform("no such property", kNotFound);
        return Value();
    }

private:
    const FakeAdapter& a_;
    std::map<std::u16string_view, int> reads_;
};

class FakeEnumeration final : public AdapterEnumeration {
public:
    explicit FakeEnumeration(const FakeAdapterSource& s) : s_(s) {}

    std::unique_ptr<AdapterObject> Next() override {
        if (next_ == s_.failNextAt) ThrowPlatform("enumeration failed", kInvalidClass);
        if (next_ >= static_cast<int>(s_.adapters.size())) return nullptr;
        return std::make_unique<FakeAdapterObject>(s_.adapters[static_cast<std::size_t>(next_++)]);
    }

private:
    const FakeAdapterSource& s_;
    int next_ = 0;
};

std::u16string Hex2(std::int64_t n) {
    constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    return {kDigits[(n >> 4) & 0xF], kDigits[n & 0xF]};
}

}  // namespace

FakeAdapter& FakeAdapter::Set(std::u16string name, Value v) {
    for (auto& [held, value] : properties) {
        if (held == name) {
            value = std::move(v);
            return *this;
        }
    }
    properties.emplace_back(std::move(name), std::move(v));
    return *this;
}

FakeAdapter& FakeAdapter::Fail(std::u16string name) {
    failingProperties.insert(std::move(name));
    return *this;
}

FakeAdapter& FakeAdapter::FailRead(std::u16string name, int readNumber) {
    failingReads[std::move(name)].insert(readNumber);
    return *this;
}

std::unique_ptr<AdapterEnumeration> FakeAdapterSource::InstancesOf(std::u16string_view className) {
    ++queries;
    queriedClass = className;
    if (failInstancesOf) ThrowPlatform("service unavailable", 0x80070005);
    if (className != kAdapterConfigurationClass) ThrowPlatform("invalid class", kInvalidClass);
    return std::make_unique<FakeEnumeration>(*this);
}

FakeAdapter TypicalAdapter(std::int64_t index) {
    FakeAdapter a;
    a.Set(u"Index", Value(index))
        .Set(u"MACAddress", u"00:1A:2B:3C:4D:5E")
        .Set(u"IPEnabled", true)
        .Set(u"IPAddress", Value::Array({u"192.168.0.17", u"fe80::1"}))
        .Set(u"DHCPEnabled", true)
        .Set(u"DHCPServer", u"192.168.0.1")
        .Set(u"DHCPLeaseObtained", u"20070122134359.000000-300")
        .Set(u"DHCPLeaseExpires", u"20070123134359.000000-300")
        .Set(u"DNSEnabledForWINSResolution", false)
        .Set(u"DNSHostName", u"workstation")
        .Set(u"DNSDomain", u"example.org")
        .Set(u"Description", u"Ethernet Adapter")
        .Set(u"DNSServerSearchOrder", Value::Array({u"192.168.0.1", u"10.0.0.1"}));
    return a;
}

FakeAdapter SampleAdapter(std::int64_t index) {
    FakeAdapter a = TypicalAdapter(index);
    const std::u16string mac = u"02:00:" + Hex2(index >> 24) + u":" + Hex2(index >> 16) + u":" + Hex2(index >> 8) +
                               u":" + Hex2(index);
    // Longer texts than the typical adapter's, as a corporate network has.
    const std::pair<std::u16string_view, Value> texts[] = {
        {u"MACAddress", mac},
        {u"IPAddress", Value::Array({u"192.168.10.23", u"fe80::4c1d:2bff:fe3a:9f10"})},
        {u"DHCPServer", u"192.168.10.1"},
        {u"DHCPLeaseObtained", u"20261207081500.000000+060"},
        {u"DHCPLeaseExpires", u"20261208081500.000000+060"},
        {u"DNSHostName", u"workstation-07"},
        {u"DNSDomain", u"corp.example.net"},
        {u"Description", u"Gigabit Ethernet Network Connection"},
        {u"DNSServerSearchOrder", Value::Array({u"192.168.10.1", u"10.0.0.53"})},
    };
    for (const auto& [name, value] : texts) a.Set(std::u16string(name), value);
    return a;
}

}  // namespace quorvane::testing
