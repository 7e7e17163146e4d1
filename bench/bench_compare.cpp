// Comparing two of the largest configurations: 128 nodes, 256 commands, the second one with its
// commands in reverse order and one value changed.
#include "compare/configuration_compare.h"
#include "largest_configuration.h"

#include <algorithm>
#include <benchmark/benchmark.h>

// The analyzer takes the benchmark loop variable for a dead store.
// NOLINTBEGIN(clang-analyzer-deadcode.DeadStores)
namespace {

using namespace torvane;

GatewayConfiguration reordered() {
    GatewayConfiguration cfg = bench::largestConfiguration();
    std::reverse(cfg.Config.Instructions.begin(), cfg.Config.Instructions.end());
    cfg.Config.Instructions[7].Bytes = "2";
    return cfg;
}

void compareLargest(benchmark::State& state, CompareScope scope) {
    const GatewayConfiguration a = bench::largestConfiguration();
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
