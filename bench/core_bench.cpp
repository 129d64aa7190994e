// Speed of the portable core: the adapter query into the in-memory table,
// the export text, and the lease timestamp split.
#include <benchmark/benchmark.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "app/memory_table.h"
#include "app/table_text.h"
#include "inventory/lease_timestamp.h"
#include "inventory/list_adapters.h"
#include "support/day_month_year_format.h"
#include "support/fake_adapter_source.h"

namespace quorvane {
namespace {

using testing::DayMonthYearFormat;
using testing::FakeAdapterSource;

FakeAdapterSource SampleSource(std::int64_t adapters) {
    FakeAdapterSource source;
    source.adapters.reserve(static_cast<std::size_t>(adapters));
    for (std::int64_t i = 0; i < adapters; ++i) source.adapters.push_back(testing::SampleAdapter(i));
    return source;
}

void BM_ListAdapters(benchmark::State& state) {
    FakeAdapterSource source = SampleSource(state.range(0));
    const DayMonthYearFormat format;
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
    FakeAdapterSource source = SampleSource(state.range(0));
    InMemoryTable table;
    for (const auto title : {u"NIC", u"MAC", u"IP Addr", u"DHCP Svr", u"LeaseObt", u"LeaseExp", u"WINS", u"Host",
                             u"Domain", u"NIC Name", u"DNS"}) {
        table.AddColumn(title);
    }
    ListAdapters(source, table, DayMonthYearFormat());
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

int main(int argc, char** argv) {
#if defined(__GLIBC__)
    // Large blocks come fresh from the system every time, as they do for the
    // program's one export per click; otherwise glibc keeps a freed block of
    // the smaller sizes warm between iterations and flatters them.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
