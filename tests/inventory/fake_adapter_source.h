#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "inventory/adapter_source.h"
#include "inventory/error.h"
#include "inventory/row_sink.h"
#include "inventory/short_date.h"

namespace quorvane::testing {

// One adapter record whose reads can be told to fail: always, or only on
// chosen reads (counted from 1 per property), so a test can let a Null test
// pass and the read behind it fail.
struct FakeAdapter {
    std::map<std::u16string, Value, std::less<>> properties;
    std::set<std::u16string, std::less<>> failingProperties;
    std::map<std::u16string, std::set<int>, std::less<>> failingReads;

    FakeAdapter& Set(std::u16string name, Value v) {
        properties[std::move(name)] = std::move(v);
        return *this;
    }
    FakeAdapter& Fail(std::u16string name) {
        failingProperties.insert(std::move(name));
        return *this;
    }
    FakeAdapter& FailRead(std::u16string name, int readNumber) {
        failingReads[std::move(name)].insert(readNumber);
        return *this;
    }
};

class FakeAdapterObject : public AdapterObject {
public:
    explicit FakeAdapterObject(const FakeAdapter& a) : a_(a) {}
    Value Read(std::u16string_view property) override {
        const int n = ++reads_[std::u16string(property)];
        if (a_.failingProperties.count(property) != 0) ThrowPlatform("read refused", 0x80041002);
        if (const auto f = a_.failingReads.find(property); f != a_.failingReads.end() && f->second.count(n) != 0) {
            ThrowPlatform("read refused", 0x80041002);
        }
        const auto it = a_.properties.find(property);
        // A property the record does not have fails like a missing WMI property.
        if (it == a_.properties.end()) ThrowPlatform("no such property", 0x80041002);
        return it->second;
    }

private:
    const FakeAdapter& a_;
    std::map<std::u16string, int> reads_;
};

// The service: a list of adapters, optionally failing to open or failing to
// fetch the object at a given position (from 0).
class FakeAdapterSource : public AdapterSource {
public:
    std::vector<FakeAdapter> adapters;
    bool failInstancesOf = false;
    int failNextAt = -1;
    std::u16string queriedClass;
    int queries = 0;

    std::unique_ptr<AdapterEnumeration> InstancesOf(std::u16string_view className) override {
        ++queries;
        queriedClass = className;
        if (failInstancesOf) ThrowPlatform("service unavailable", 0x80070005);
        return std::make_unique<Enumeration>(*this);
    }

private:
    class Enumeration : public AdapterEnumeration {
    public:
        explicit Enumeration(const FakeAdapterSource& s) : s_(s) {}
        std::unique_ptr<AdapterObject> Next() override {
            if (next_ == s_.failNextAt) ThrowPlatform("enumeration failed", 0x80041010);
            if (next_ >= static_cast<int>(s_.adapters.size())) return nullptr;
            return std::make_unique<FakeAdapterObject>(s_.adapters[static_cast<std::size_t>(next_++)]);
        }

    private:
        const FakeAdapterSource& s_;
        int next_ = 0;
    };
};

// dd/mm/yyyy, as a day-month-year locale writes short dates.
class DayMonthYearFormat : public ShortDateFormat {
public:
    std::u16string Render(const CalendarDate& d) const override {
        auto two = [](int n) {
            return std::u16string{static_cast<char16_t>(u'0' + n / 10), static_cast<char16_t>(u'0' + n % 10)};
        };
        std::u16string year;
        for (int div = 1000, y = d.year; div > 0; div /= 10) year.push_back(static_cast<char16_t>(u'0' + (y / div) % 10));
        return two(d.day) + u"/" + two(d.month) + u"/" + year;
    }
};

// An adapter as a typical Windows machine reports it.
inline FakeAdapter TypicalAdapter(std::int64_t index) {
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

}  // namespace quorvane::testing
