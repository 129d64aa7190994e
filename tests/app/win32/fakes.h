#pragma once

// Stand-ins for what the window uses but the tests control: an adapter
// source with records given by the test, a fixed short date format, and a
// failure signal that counts.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/controls.h"
#include "inventory/adapter_source.h"
#include "inventory/error.h"
#include "inventory/short_date.h"

namespace quorvane::win32::testing {

using Record = std::map<std::u16string, Value, std::less<>>;

class FakeAdapterSource final : public AdapterSource {
public:
    std::vector<Record> records;
    bool unreachable = false;

    std::unique_ptr<AdapterEnumeration> InstancesOf(std::u16string_view) override {
        if (unreachable) ThrowPlatform("service unreachable", -1);
        return std::make_unique<Enumeration>(records);
    }

private:
    class Object final : public AdapterObject {
    public:
        explicit Object(const Record& r) : record_(r) {}
        Value Read(std::u16string_view property) override {
            const auto it = record_.find(property);
            return it == record_.end() ? Value{} : it->second;
        }

    private:
        const Record& record_;
    };

    class Enumeration final : public AdapterEnumeration {
    public:
        explicit Enumeration(const std::vector<Record>& records) : records_(records) {}
        std::unique_ptr<AdapterObject> Next() override {
            if (next_ == records_.size()) return nullptr;
            return std::make_unique<Object>(records_[next_++]);
        }

    private:
        const std::vector<Record>& records_;
        std::size_t next_ = 0;
    };
};

// Day/month/year with two-digit day and month, whatever the machine's locale.
class DayMonthYearFormat final : public ShortDateFormat {
public:
    std::u16string Render(const CalendarDate& d) const override {
        return TwoDigits(d.day) + u"/" + TwoDigits(d.month) + u"/" + FromAscii(std::to_string(d.year));
    }

private:
    static std::u16string TwoDigits(int n) {
        std::u16string digits = FromAscii(std::to_string(n));
        if (digits.size() < 2) digits.insert(digits.begin(), u'0');
        return digits;
    }
};

class CountingSignal final : public FailureSignal {
public:
    int beeps = 0;
    void Beep() noexcept override { ++beeps; }
};

}  // namespace quorvane::win32::testing
