// Reading the largest public device file (e35.eds, 131 kB) and its default PDOs: what adding a
// node from a device costs before any command is built.
#include "devices/default_pdos.h"
#include "devices/device_reader.h"
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

} // namespace
// NOLINTEND(clang-analyzer-deadcode.DeadStores)

BENCHMARK_MAIN();
