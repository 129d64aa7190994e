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
#include <wbemidl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "inventory/adapter_source.h"
#include "inventory/error.h"
#include "inventory/list_adapters.h"
#include "inventory/row_sink.h"
#include "inventory/short_date.h"
#include "inventory/wmi/com_apartment.h"
#include "inventory/wmi/hresult.h"
#include "inventory/wmi/wmi_adapter_source.h"
#include "inventory/wmi/wmi_connection.h"
#include "win32/resource.h"

namespace {

using quorvane::win32::com_ptr;

constexpr const wchar_t* kRowProperties[] = {
    L"Index",       L"MACAddress",  L"IPEnabled",         L"IPAddress",        L"DHCPEnabled",
    L"DHCPServer",  L"DHCPLeaseObtained", L"DHCPLeaseExpires", L"DNSEnabledForWINSResolution",
    L"DNSHostName", L"DNSDomain",   L"Description",       L"DNSServerSearchOrder",
};

// The bare calls; returns the number of adapters seen.
int BareEnumeration() {
    com_ptr<IWbemServices> services = quorvane::wmi::ConnectLocalCimv2();
    const quorvane::win32::unique_bstr name = quorvane::wmi::MakeBstr(quorvane::kAdapterConfigurationClass);
    com_ptr<IEnumWbemClassObject> instances;
    quorvane::wmi::ThrowIfFailed(
        services->CreateInstanceEnum(name.get(), WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                     instances.put()),
        "CreateInstanceEnum");
    int adapters = 0;
    for (;;) {
        com_ptr<IWbemClassObject> object;
        ULONG returned = 0;
        quorvane::wmi::ThrowIfFailed(instances->Next(30'000, 1, object.put(), &returned), "Next");
        if (returned == 0) break;
        ++adapters;
        for (const wchar_t* property : kRowProperties) {
            quorvane::win32::unique_variant value;
            (void)object->Get(property, 0, value.put(), nullptr, nullptr);  // some fail under Wine; still timed
        }
    }
    return adapters;
}

class MemoryTable final : public quorvane::RowSink {
public:
    std::vector<std::vector<std::u16string>> rows;

    std::int32_t AppendRow(std::u16string_view text) override {
        rows.push_back({std::u16string(text)});
        return static_cast<std::int32_t>(rows.size());
    }
    void SetSubItem(std::int32_t row, std::int32_t n, std::u16string_view text) override {
        auto& cells = rows.at(static_cast<std::size_t>(row - 1));
        if (cells.size() < static_cast<std::size_t>(n) + 1) cells.resize(static_cast<std::size_t>(n) + 1);
        cells[static_cast<std::size_t>(n)] = text;
    }
};

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

double NowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / ticksPerMs;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

int Run(int repetitions) {
    // COM and its security are the process's, set up once, outside the timing.
    const quorvane::wmi::ComApartment apartment;
    quorvane::wmi::InitializeComSecurity();
    quorvane::wmi::WmiAdapterSource source;
    const IsoDates dates;

    auto listOnce = [&] {
        MemoryTable table;
        quorvane::ListAdapters(source, table, dates);
        return table.rows.size();
    };

    // Warm-up: loads the providers and fills caches for both.
    const int adapters = BareEnumeration();
    const std::size_t rows = listOnce();
    CountingSource counting(source);
    MemoryTable countingTable;
    quorvane::ListAdapters(counting, countingTable, dates);

    std::vector<double> bare;
    std::vector<double> listed;
    for (int i = 0; i < repetitions; ++i) {  // interleaved, so drift hits both alike
        double t0 = NowMs();
        BareEnumeration();
        bare.push_back(NowMs() - t0);
        t0 = NowMs();
        listOnce();
        listed.push_back(NowMs() - t0);
    }
    const double bareMs = Median(bare);
    const double listedMs = Median(listed);
    std::printf("adapters: %d (rows %zu), repetitions: %d\n", adapters, rows, repetitions);
    std::printf("reads per listing: bare %d Get calls, ListAdapters %ld reads\n",
                adapters * static_cast<int>(std::size(kRowProperties)), counting.reads);
    std::printf("bare WMI enumeration, 13 properties: median %.3f ms (min %.3f)\n", bareMs,
                *std::min_element(bare.begin(), bare.end()));
    std::printf("ListAdapters over WmiAdapterSource:  median %.3f ms (min %.3f)\n", listedMs,
                *std::min_element(listed.begin(), listed.end()));
    std::printf("ratio ListAdapters / bare: %.2f\n", listedMs / bareMs);
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
