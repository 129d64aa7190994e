#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "inventory/adapter_source.h"

namespace quorvane::testing {

// One adapter record whose reads can be told to fail: always, or only on
// chosen reads (counted from 1 per property), so a test can let a Null test
// pass and the read behind it fail.
//
// A property is read as the real sources read it: one of the class's
// properties that the record was not given is Null; a name the class does
// not have fails, as the management service's "not found" does.
struct FakeAdapter {
    // Few enough for a linear search, which the benchmarks' thousands of
    // records read faster than a tree.
    std::vector<std::pair<std::u16string, Value>> properties;
    std::set<std::u16string, std::less<>> failingProperties;
    std::map<std::u16string, std::set<int>, std::less<>> failingReads;

    FakeAdapter& Set(std::u16string name, Value v);
    FakeAdapter& Fail(std::u16string name);
    FakeAdapter& FailRead(std::u16string name, int readNumber);
};

// The service: adapters handed out in order, optionally failing to open or
// failing to fetch the object at a given position (from 0). It answers only
// for the adapter configuration class, as the real sources do.
class FakeAdapterSource : public AdapterSource {
public:
    FakeAdapterSource() = default;
    explicit FakeAdapterSource(std::vector<FakeAdapter> a) : adapters(std::move(a)) {}

    std::vector<FakeAdapter> adapters;
    bool failInstancesOf = false;
    int failNextAt = -1;
    std::u16string queriedClass;
    int queries = 0;

    std::unique_ptr<AdapterEnumeration> InstancesOf(std::u16string_view className) override;
};

// An adapter as a typical Windows machine reports it: DHCP lease obtained on
// 22 January 2007, two addresses, two DNS servers.
FakeAdapter TypicalAdapter(std::int64_t index);

// A DHCP-configured Ethernet adapter whose MAC address follows its index, so
// that many of them make a table of distinct rows (for benchmarks).
FakeAdapter SampleAdapter(std::int64_t index);

}  // namespace quorvane::testing
