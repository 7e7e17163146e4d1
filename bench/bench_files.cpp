// Load and save of the largest configuration: 128 nodes, 256 commands, long descriptions.
#include "largest_configuration.h"
#include "model/archive.h"
#include "model/config_file.h"
#include "model/xml_file.h"

#include <benchmark/benchmark.h>
#include <filesystem>

// The analyzer takes the benchmark loop variable for a dead store.
// NOLINTBEGIN(clang-analyzer-deadcode.DeadStores)
namespace {

using namespace torvane;

std::string tempPath(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

void BM_WriteArchive(benchmark::State& state) {
    const GatewayConfiguration cfg = bench::largestConfiguration();
    for (auto _ : state) {
        benchmark::DoNotOptimize(writeArchive(cfg));
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(writeArchive(cfg).size()));
}
BENCHMARK(BM_WriteArchive);

void BM_ReadArchive(benchmark::State& state) {
    const std::string bytes = writeArchive(bench::largestConfiguration());
    GatewayConfiguration live = newConfiguration(kCanopenMaster);
    DocumentState doc;
    for (auto _ : state) {
        ArchiveContents read;
        Message error;
        if (!readArchive(bytes, read, error)) {
            state.SkipWithError(error.english().c_str());
        }
        applyArchive(read, live, doc);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_ReadArchive);

void BM_WriteXml(benchmark::State& state) {
    const GatewayConfiguration cfg = bench::largestConfiguration();
    for (auto _ : state) {
        benchmark::DoNotOptimize(writeXml(cfg));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(writeXml(cfg).size()));
}
BENCHMARK(BM_WriteXml);

void BM_ReadXml(benchmark::State& state) {
    const std::string bytes = writeXml(bench::largestConfiguration());
    GatewayConfiguration live = newConfiguration(kCanopenMaster);
    for (auto _ : state) {
        Message error;
        if (!readXml(bytes, live, error)) {
            state.SkipWithError(error.english().c_str());
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_ReadXml);

// The whole round through the disk as Save and Open do it (atomic write with flush to disk).
void BM_SaveFile(benchmark::State& state, const char* name) {
    const GatewayConfiguration cfg = bench::largestConfiguration();
    const std::string path = tempPath(name);
    for (auto _ : state) {
        Message error;
        if (!saveConfigurationFile(path, cfg, error)) {
            state.SkipWithError(error.english().c_str());
        }
    }
    std::filesystem::remove(path);
}
BENCHMARK_CAPTURE(BM_SaveFile, archive, "torvane-bench.chg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SaveFile, xml, "torvane-bench.xml")->Unit(benchmark::kMillisecond);

void BM_LoadFile(benchmark::State& state, const char* name) {
    const std::string path = tempPath(name);
    Message error;
    if (!saveConfigurationFile(path, bench::largestConfiguration(), error)) {
        state.SkipWithError(error.english().c_str());
        return;
    }
    GatewayConfiguration live = newConfiguration(kCanopenMaster);
    for (auto _ : state) {
        DocumentState doc;
        if (!loadConfigurationFile(path, live, doc, error)) {
            state.SkipWithError(error.english().c_str());
        }
    }
    std::filesystem::remove(path);
}
BENCHMARK_CAPTURE(BM_LoadFile, archive, "torvane-bench-load.chg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadFile, xml, "torvane-bench-load.xml")->Unit(benchmark::kMillisecond);

} // namespace
// NOLINTEND(clang-analyzer-deadcode.DeadStores)

BENCHMARK_MAIN();
