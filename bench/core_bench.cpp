// Speed of the portable core: the adapter query into the in-memory table,
// the export text, and the lease timestamp split.
#include <benchmark/benchmark.h>

#include "app/memory_table.h"
#include "app/table_text.h"
#include "inventory/lease_timestamp.h"
#include "inventory/list_adapters.h"
#include "inventory/memory_source.h"

namespace quorvane {
namespace {

class IsoFormat : public ShortDateFormat {
public:
    std::u16string Render(const CalendarDate& d) const override {
        auto digits = [](int n, int width) {
            std::u16string s(static_cast<std::size_t>(width), u'0');
            for (int i = width - 1; i >= 0; --i, n /= 10) s[static_cast<std::size_t>(i)] = static_cast<char16_t>(u'0' + n % 10);
            return s;
        };
        return digits(d.day, 2) + u"/" + digits(d.month, 2) + u"/" + digits(d.year, 4);
    }
};

InMemoryAdapterSource SampleSource(std::int64_t adapters) {
    std::vector<InMemoryAdapterSource::Record> records;
    records.reserve(static_cast<std::size_t>(adapters));
    for (std::int64_t i = 0; i < adapters; ++i) records.push_back(InMemoryAdapterSource::SampleRecord(i));
    return InMemoryAdapterSource(std::move(records));
}

void BM_ListAdapters(benchmark::State& state) {
    InMemoryAdapterSource source = SampleSource(state.range(0));
    const IsoFormat format;
    for (auto _ : state) {
        InMemoryTable table;
        ListAdapters(source, table, format);
        benchmark::DoNotOptimize(table.rows().data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["us_per_adapter"] = benchmark::Counter(
        static_cast<double>(state.iterations() * state.range(0)),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}
BENCHMARK(BM_ListAdapters)->Arg(10'000)->Unit(benchmark::kMillisecond);

void BM_TableText(benchmark::State& state) {
    InMemoryAdapterSource source = SampleSource(state.range(0));
    InMemoryTable table;
    for (const auto title : {u"NIC", u"MAC", u"IP Addr", u"DHCP Svr", u"LeaseObt", u"LeaseExp", u"WINS", u"Host",
                             u"Domain", u"NIC Name", u"DNS"}) {
        table.AddColumn(title);
    }
    ListAdapters(source, table, IsoFormat());
    std::size_t characters = 0;
    for (auto _ : state) {
        const std::u16string text = TableText(table, u",");
        characters = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    // The clipboard holds the text as UTF-16: two bytes a character.
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(characters * sizeof(char16_t)));
    state.counters["characters"] = static_cast<double>(characters);
}
BENCHMARK(BM_TableText)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BM_SplitCimDateTime(benchmark::State& state) {
    const std::u16string lease = u"20261207081500.000000+060";
    std::u16string date;
    std::u16string time;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SplitCimDateTime(lease, date, time));
        benchmark::DoNotOptimize(date.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SplitCimDateTime);

}  // namespace
}  // namespace quorvane

BENCHMARK_MAIN();
