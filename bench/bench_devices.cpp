// Reading the largest public device file (e35.eds, 131 kB) and its default PDOs, then building
// its commands and adding them to a configuration as if typed: what adding a node from a device
// costs.
#include "devices/default_pdos.h"
#include "devices/device_commands.h"
#include "devices/device_reader.h"
#include "editor/command_drafts.h"
#include "model/atomic_file.h"

#include <benchmark/benchmark.h>
#include <string>

// The analyzer takes the benchmark loop variable for a dead store.
// NOLINTBEGIN(clang-analyzer-deadcode.DeadStores)
namespace {

using namespace torvane;

std::string e35Bytes() {
    std::string bytes;
    Message error;
    if (!readWholeFile(std::string(TORVANE_DEVICE_DATA_DIR) + "/e35.eds", bytes, error)) {
        return {};
    }
    return bytes;
}

void BM_ReadE35(benchmark::State& state) {
    const std::string bytes = e35Bytes();
    for (auto _ : state) {
        DeviceDescription device;
        if (readDevice(bytes, "e35.eds", device).result != DeviceReadResult::Ok) {
            state.SkipWithError("e35.eds not read");
        }
        benchmark::DoNotOptimize(device);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_ReadE35)->Unit(benchmark::kMillisecond);

void BM_ReadE35AndDefaultPdos(benchmark::State& state) {
    const std::string bytes = e35Bytes();
    for (auto _ : state) {
        DeviceDescription device;
        if (readDevice(bytes, "e35.eds", device).result != DeviceReadResult::Ok) {
            state.SkipWithError("e35.eds not read");
        }
        benchmark::DoNotOptimize(defaultPdos(device, 5));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_ReadE35AndDefaultPdos)->Unit(benchmark::kMillisecond);

void BM_ReadE35FileAndDefaultPdos(benchmark::State& state) {
    const std::string path = std::string(TORVANE_DEVICE_DATA_DIR) + "/e35.eds";
    for (auto _ : state) {
        DeviceDescription device;
        if (readDeviceFile(path, device).result != DeviceReadResult::Ok) {
            state.SkipWithError("e35.eds not read");
        }
        benchmark::DoNotOptimize(defaultPdos(device, 5));
    }
}
BENCHMARK(BM_ReadE35FileAndDefaultPdos)->Unit(benchmark::kMillisecond);

// Every default PDO of node 5 and an Upload SDO of every readable entry, added with the node to a
// new master configuration (the command limit refuses what lies beyond it).
void BM_ReadE35AndAddItsCommands(benchmark::State& state) {
    const std::string bytes = e35Bytes();
    std::size_t added = 0;
    for (auto _ : state) {
        DeviceDescription device;
        if (readDevice(bytes, "e35.eds", device).result != DeviceReadResult::Ok) {
            state.SkipWithError("e35.eds not read");
        }
        NodeDrafts drafts{0, "5", device.info.productName, {}};
        for (const DeviceCommand& c : pdoCommands(device, 5)) {
            if (!c.refusal) {
                drafts.commands.push_back(c.draft());
            }
        }
        for (const DeviceObject& o : device.objects) {
            for (const DeviceEntry& e : o.entries) {
                const DeviceCommand c =
                    sdoCommand(device, e.index, e.subIndex, CommandKind::UploadSdo);
                if (!c.refusal) {
                    drafts.commands.push_back(c.draft());
                }
            }
        }
        GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
        EditorState editor;
        const DraftResult r = addDrafts(cfg, editor, drafts);
        added = drafts.commands.size() - static_cast<std::size_t>(r.refusedCount());
        benchmark::DoNotOptimize(cfg);
        state.counters["drafts"] = static_cast<double>(drafts.commands.size());
    }
    state.counters["added"] = static_cast<double>(added);
}
BENCHMARK(BM_ReadE35AndAddItsCommands)->Unit(benchmark::kMillisecond);

} // namespace
// NOLINTEND(clang-analyzer-deadcode.DeadStores)

BENCHMARK_MAIN();
