// The core's ListAdapters over the real WMI source: what the window shows.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "base/error.h"
#include "inventory/list_adapters.h"
#include "inventory/wmi/wmi_adapter_source.h"
#include "support/day_month_year_format.h"
#include "support/recording_row_sink.h"

namespace {

using quorvane::Error;
using quorvane::Value;

// What a direct enumeration says of each adapter, to hold the rows against.
struct Expected {
    std::u16string index;
    Value mac;
    Value description;
    Value firstAddress;  // Null unless IP is enabled and an address is there
};

std::vector<Expected> EnumerateDirectly() {
    quorvane::wmi::WmiAdapterSource source;
    std::vector<Expected> all;
    auto instances = source.InstancesOf(quorvane::kAdapterConfigurationClass);
    while (auto object = instances->Next()) {
        Expected e{quorvane::ToText(object->Read(u"Index")), object->Read(u"MACAddress"),
                   object->Read(u"Description"), Value()};
        const Value addresses = object->Read(u"IPAddress");
        if (quorvane::IsTrue(object->Read(u"IPEnabled")) && !addresses.IsNull()) {
            e.firstAddress = quorvane::ElementAt(addresses, quorvane::LowerBound(addresses));
        }
        all.push_back(std::move(e));
    }
    return all;
}

std::u16string TextOrEmpty(const Value& v) { return v.IsNull() ? std::u16string() : quorvane::ToText(v); }

TEST(ListAdaptersOverWmi, GivesOneRowOfTenSubItemsPerAdapterInTheServicesOrder) {
    const std::vector<Expected> expected = EnumerateDirectly();
    ASSERT_GE(expected.size(), 1u);

    quorvane::wmi::WmiAdapterSource source;
    quorvane::testing::RecordingRowSink table;
    quorvane::ListAdapters(source, table, quorvane::testing::DayMonthYearFormat());

    ASSERT_EQ(table.rows.size(), expected.size());
    for (std::size_t r = 0; r < expected.size(); ++r) {
        SCOPED_TRACE(testing::Message() << "row " << r + 1);
        const auto& row = table.rows[r];
        EXPECT_EQ(row.text, expected[r].index);
        EXPECT_EQ(row.subItems.size(), 10u);
        EXPECT_EQ(table.Cell(r + 1, 1), TextOrEmpty(expected[r].mac));
        EXPECT_EQ(table.Cell(r + 1, 2), TextOrEmpty(expected[r].firstAddress));
        EXPECT_EQ(table.Cell(r + 1, 9), TextOrEmpty(expected[r].description));
    }
}

TEST(ListAdaptersOverWmi, AnUnknownClassAddsNoRowAndRaisesNothing) {
    // ListAdapters asks for the adapter class itself; a source that fails
    // for every class stands for a service that refuses the query.
    class RefusingSource final : public quorvane::AdapterSource {
    public:
        std::unique_ptr<quorvane::AdapterEnumeration> InstancesOf(std::u16string_view) override {
            return inner_.InstancesOf(u"Win32_NoSuchClassAnywhere");
        }

    private:
        quorvane::wmi::WmiAdapterSource inner_;
    };
    RefusingSource source;
    quorvane::testing::RecordingRowSink table;
    EXPECT_NO_THROW(quorvane::ListAdapters(source, table, quorvane::testing::DayMonthYearFormat()));
    EXPECT_TRUE(table.rows.empty());
}

}  // namespace
