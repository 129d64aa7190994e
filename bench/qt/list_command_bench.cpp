// Times the list command of the Qt window on the offscreen platform with the
// real Linux adapter source, beside a bare enumeration by the same source
// (InstancesOf and one read of each of the thirteen properties of every
// object) and beside running `ip -j addr` as a process and reading its output.

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "app/memory_table.h"
#include "app/qt/main_window.h"
#include "base/error.h"
#include "inventory/linux/linux_adapter_source.h"
#include "inventory/list_adapters.h"

extern char** environ;

namespace {

using quorvane::linux_inventory::LinuxAdapterSource;

// The window as the program builds it, shown on the offscreen platform.
struct ShownWindow {
    LinuxAdapterSource source;
    quorvane::qt::QtShortDateFormat shortDate;
    quorvane::qt::QtClipboard clipboard;
    quorvane::qt::BeepFailureSignal failureSignal;
    quorvane::qt::MainWindow window{{source, shortDate, clipboard, failureSignal}};

    ShownWindow() {
        window.show();
        QApplication::processEvents();
    }
};

void BM_ListCommand(benchmark::State& state) {
    ShownWindow shown;
    for (auto _ : state) {
        shown.window.Command1Widget().click();
    }
    state.counters["rows"] = shown.window.ListView1().RowCount();
}
BENCHMARK(BM_ListCommand)->Unit(benchmark::kMicrosecond);

// The first list command of a window, before any text width is remembered.
void BM_ListCommandFirstInWindow(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto shown = std::make_unique<ShownWindow>();
        state.ResumeTiming();
        shown->window.Command1Widget().click();
        state.PauseTiming();
        shown.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ListCommandFirstInWindow)->Unit(benchmark::kMicrosecond);

// The command and the repaint of the window that it causes.
void BM_ListCommandAndRepaint(benchmark::State& state) {
    ShownWindow shown;
    for (auto _ : state) {
        shown.window.Command1Widget().click();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ListCommandAndRepaint)->Unit(benchmark::kMicrosecond);

// The rows the list command builds, without the window: what the frontend
// adds is the difference to BM_ListCommand.
void BM_ListAdaptersIntoMemory(benchmark::State& state) {
    LinuxAdapterSource source;
    const quorvane::qt::QtShortDateFormat shortDate;
    quorvane::InMemoryTable table;
    for (auto _ : state) {
        table.ClearRows();
        quorvane::ListAdapters(source, table, shortDate);
    }
}
BENCHMARK(BM_ListAdaptersIntoMemory)->Unit(benchmark::kMicrosecond);

void BM_BareEnumeration(benchmark::State& state) {
    LinuxAdapterSource source;
    std::int64_t objects = 0;
    for (auto _ : state) {
        const auto adapters = source.InstancesOf(quorvane::kAdapterConfigurationClass);
        while (auto adapter = adapters->Next()) {
            for (const std::u16string_view property : quorvane::kAdapterProperties) {
                try {
                    benchmark::DoNotOptimize(adapter->Read(property));
                } catch (const quorvane::Error&) {
                    // A property the source cannot give costs what it costs.
                }
            }
            ++objects;
        }
    }
    state.counters["rows"] = benchmark::Counter(static_cast<double>(objects) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_BareEnumeration)->Unit(benchmark::kMicrosecond);

// Runs `ip -j addr` with its output on a pipe, reads all of it and reaps it.
void BM_IpJsonAddrProcess(benchmark::State& state) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) {
            state.SkipWithError("pipe failed");
            break;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
        std::array<char*, 4> argv = {const_cast<char*>("ip"), const_cast<char*>("-j"), const_cast<char*>("addr"),
                                     nullptr};
        pid_t child = 0;
        const int spawned = posix_spawnp(&child, "ip", &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(pipeEnds[1]);
        if (spawned != 0) {
            close(pipeEnds[0]);
            state.SkipWithError("ip could not be started");
            break;
        }
        std::array<char, 65536> buffer{};
        ssize_t got = 0;
        while ((got = read(pipeEnds[0], buffer.data(), buffer.size())) > 0) bytes += static_cast<std::size_t>(got);
        close(pipeEnds[0]);
        int status = 0;
        waitpid(child, &status, 0);
    }
    state.counters["bytes"] = benchmark::Counter(static_cast<double>(bytes) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_IpJsonAddrProcess)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
