// Comparing two of the largest configurations: 128 nodes, 256 commands, the second one with its
// commands in reverse order and one value changed.
#include "compare/configuration_compare.h"

#include <algorithm>
#include <benchmark/benchmark.h>

// The analyzer takes the benchmark loop variable for a dead store.
// NOLINTBEGIN(clang-analyzer-deadcode.DeadStores)
namespace {

using namespace torvane;

GatewayConfiguration largest() {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    CONFIG& c = cfg.Config;
    c.NodeCount = kNodeTableSize;
    for (int i = 0; i < kNodeTableSize; ++i) {
        c.Nodes[i] = {std::to_string(i + 1), "Node number " + std::to_string(i + 1)};
    }
    c.InstructionCount = kInstructionTableSize;
    for (int i = 0; i < kInstructionTableSize; ++i) {
        const std::string type = std::to_string(i % 4 + 1);
        c.Instructions[i] = {std::to_string(i % 127 + 1),
                             type,
                             isPdoCommand(type) ? "" : std::to_string(0x6000 + i),
                             isPdoCommand(type) ? "" : "1",
                             isPdoCommand(type) ? std::to_string(385 + i) : "",
                             std::to_string(i % 112),
                             "1",
                             std::string(60, static_cast<char>('a' + i % 26)),
                             "",
                             i % 127 + 1};
    }
    return cfg;
}

GatewayConfiguration reordered() {
    GatewayConfiguration cfg = largest();
    std::reverse(cfg.Config.Instructions.begin(), cfg.Config.Instructions.end());
    cfg.Config.Instructions[7].Bytes = "2";
    return cfg;
}

void compareLargest(benchmark::State& state, CompareScope scope) {
    const GatewayConfiguration a = largest();
    const GatewayConfiguration b = reordered();
    CompareOptions options;
    options.scope = scope;
    for (auto _ : state) {
        CompareResult r = compareConfigurations(a, b, options);
        benchmark::DoNotOptimize(r);
    }
}

void BM_CompareAllFields(benchmark::State& state) {
    compareLargest(state, CompareScope::AllFields);
}
void BM_CompareCarried(benchmark::State& state) {
    compareLargest(state, CompareScope::Carried);
}

BENCHMARK(BM_CompareAllFields)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareCarried)->Unit(benchmark::kMillisecond);

} // namespace
// NOLINTEND(clang-analyzer-deadcode.DeadStores)

BENCHMARK_MAIN();
