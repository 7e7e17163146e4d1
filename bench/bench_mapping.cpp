#include "../tests/support/fixed_cycle_answer.h"
#include "mapping/mapping_calculation.h"
#include "mapping/predownload_checks.h"
#include "mapping/usage_tables.h"
#include "model/configuration.h"
#include "model/strings.h"

#include <benchmark/benchmark.h>

namespace {

using namespace torvane;

// 84 commands over 84 nodes, all four types, odd and even byte counts, COB-IDs that never clash.
GatewayConfiguration fullConfiguration(const char* inportNum) {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    cfg.Fieldbus.InportNum = inportNum;
    CONFIG& c = cfg.Config;
    const char* types[] = {"1", "2", "3", "4"};
    for (int i = 0; i < 84; ++i) {
        c.Nodes[i].NodeAddress = std::to_string(i + 1);
        INSTRUCTION& ins = c.Instructions[i];
        ins.NodeAddress = c.Nodes[i].NodeAddress;
        ins.NodeIndex = i + 1;
        ins.InstructionType = types[i % 4];
        ins.Bytes = i % 3 == 0 ? "1" : "2";
        ins.CobId = std::to_string(385 + i);
    }
    c.NodeCount = 84;
    c.InstructionCount = 84;
    return cfg;
}

void BM_CalculateMapping84(benchmark::State& state) {
    const char* sizes[] = {"48", "96", "112"};
    GatewayConfiguration cfg = fullConfiguration(sizes[state.range(0)]);
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores)
        benchmark::DoNotOptimize(calculateMapping(cfg));
    }
}
BENCHMARK(BM_CalculateMapping84)->Arg(0)->Arg(1)->Arg(2)->ArgNames({"mode"});

void BM_PreDownloadChecks84(benchmark::State& state) {
    GatewayConfiguration cfg = fullConfiguration(str::HardwareConfigSize);
    calculateMapping(cfg);
    cfg.Config.SDOCycle = "1"; // asks a question each time, answered OK
    FixedCycleAnswer ok(true);
    if (!runPreDownloadChecks(cfg, ok).passed()) {
        state.SkipWithError("the benchmark configuration does not pass the checks");
        return;
    }
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores)
        benchmark::DoNotOptimize(runPreDownloadChecks(cfg, ok));
    }
}
BENCHMARK(BM_PreDownloadChecks84);

void BM_UsageTables84(benchmark::State& state) {
    GatewayConfiguration cfg = fullConfiguration("112");
    calculateMapping(cfg);
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores)
        ByteUsageTables t(cfg);
        t.setIncluded(0, false);
        benchmark::DoNotOptimize(t.count(BufferSide::Input, 0));
    }
}
BENCHMARK(BM_UsageTables84);

} // namespace

BENCHMARK_MAIN();
