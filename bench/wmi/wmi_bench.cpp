// What the adapter listing costs over the bare WMI calls it is made of.
//
//   bare:   connect, CreateInstanceEnum, and IWbemClassObject::Get of the
//           thirteen row properties once per adapter, values discarded;
//   source: ListAdapters over WmiAdapterSource into an in-memory table
//           (values converted, rows built, every property read as often as
//           the rows need it).
//
// Usage: quorvane_wmi_bench [repetitions]   (default 21, odd for a true median)
// Prints the median of each in ms and their ratio.

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/memory_table.h"
#include "bare_enumeration.h"
#include "base/error.h"
#include "inventory/adapter_source.h"
#include "inventory/list_adapters.h"
#include "inventory/short_date.h"
#include "inventory/wmi/com_apartment.h"
#include "inventory/wmi/wmi_adapter_source.h"
#include "timing.h"
#include "win32/com_owners.h"

namespace {

class IsoDates final : public quorvane::ShortDateFormat {
public:
    std::u16string Render(const quorvane::CalendarDate& d) const override {
        return quorvane::FromAscii(std::to_string(d.year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day));
    }
};

// Counts the reads ListAdapters makes, to put the ratio in proportion.
class CountingSource final : public quorvane::AdapterSource {
public:
    explicit CountingSource(quorvane::AdapterSource& inner) : inner_(inner) {}
    long reads = 0;

    std::unique_ptr<quorvane::AdapterEnumeration> InstancesOf(std::u16string_view className) override {
        return std::make_unique<Enumeration>(inner_.InstancesOf(className), reads);
    }

private:
    class Object final : public quorvane::AdapterObject {
    public:
        Object(std::unique_ptr<quorvane::AdapterObject> inner, long& reads) : inner_(std::move(inner)), reads_(reads) {}
        quorvane::Value Read(std::u16string_view property) override {
            ++reads_;
            return inner_->Read(property);
        }

    private:
        std::unique_ptr<quorvane::AdapterObject> inner_;
        long& reads_;
    };
    class Enumeration final : public quorvane::AdapterEnumeration {
    public:
        Enumeration(std::unique_ptr<quorvane::AdapterEnumeration> inner, long& reads)
            : inner_(std::move(inner)), reads_(reads) {}
        std::unique_ptr<quorvane::AdapterObject> Next() override {
            auto object = inner_->Next();
            return object ? std::make_unique<Object>(std::move(object), reads_) : nullptr;
        }

    private:
        std::unique_ptr<quorvane::AdapterEnumeration> inner_;
        long& reads_;
    };
    quorvane::AdapterSource& inner_;
};

int Run(int repetitions) {
    // COM and its security are the process's, set up once, outside the timing.
    const quorvane::wmi::ComApartment apartment;
    quorvane::wmi::InitializeComSecurity();
    quorvane::wmi::WmiAdapterSource source;
    const IsoDates dates;

    auto listOnce = [&] {
        quorvane::InMemoryTable table;
        quorvane::ListAdapters(source, table, dates);
        return table.RowCount();
    };

    // Warm-up: loads the providers and fills caches for both.
    const int adapters = quorvane::bench::BareWmiEnumeration();
    const std::int32_t rows = listOnce();
    CountingSource counting(source);
    quorvane::InMemoryTable countingTable;
    quorvane::ListAdapters(counting, countingTable, dates);

    std::vector<double> bare;
    std::vector<double> listed;
    for (int i = 0; i < repetitions; ++i) {  // interleaved, so drift hits both alike
        bare.push_back(quorvane::bench::MillisecondsOf([] { quorvane::bench::BareWmiEnumeration(); }));
        listed.push_back(quorvane::bench::MillisecondsOf(listOnce));
    }
    const quorvane::bench::Figures bareFigures = quorvane::bench::Summarise(bare);
    const quorvane::bench::Figures listedFigures = quorvane::bench::Summarise(listed);
    std::printf("adapters: %d (rows %d), repetitions: %d\n", adapters, static_cast<int>(rows), repetitions);
    std::printf("reads per listing: bare %d Get calls, ListAdapters %ld reads\n",
                adapters * static_cast<int>(quorvane::kAdapterProperties.size()), counting.reads);
    quorvane::bench::Print("bare WMI enumeration, 13 properties", bareFigures);
    quorvane::bench::Print("ListAdapters over WmiAdapterSource", listedFigures);
    std::printf("ratio ListAdapters / bare: %.2f\n", listedFigures.median / bareFigures.median);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    try {
        return Run(repetitions);
    } catch (const quorvane::Error& e) {
        std::fprintf(stderr, "failed: %s\n", e.what());
        return 1;
    }
}
