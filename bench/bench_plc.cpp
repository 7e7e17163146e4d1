// Times the PLC hand-off on the largest configuration (128 nodes, 256 commands with long
// descriptions): the tag table, each tag file, the I/O map page and its PDF.
#include "largest_configuration.h"
#include "platform/print_pdf.h"
#include "plc/io_map.h"
#include "plc/tag_files.h"

#include <benchmark/benchmark.h>

namespace {

using namespace torvane;

// Its addresses run to 113: the DP master's own buffer size holds them all.
GatewayConfiguration largest() {
    GatewayConfiguration cfg = bench::largestConfiguration();
    cfg.Fieldbus.InportNum = kHardwareConfigSize;
    return cfg;
}

void BM_TagFile(benchmark::State& state) {
    const GatewayConfiguration cfg = largest();
    TagOptions options;
    options.format = static_cast<TagFormat>(state.range(0));
    std::size_t size = 0;
    std::size_t tags = 0;
    while (state.KeepRunning()) {
        const TagResult r = buildTagTable(cfg, options);
        if (r.outcome != TagOutcome::Ok) {
            state.SkipWithError(r.message.english().c_str());
            break;
        }
        std::string bytes;
        Message error;
        tagFileBytes(r.table, false, bytes, error);
        size = bytes.size();
        tags = r.table.tags.size();
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetLabel(tagFormatName(options.format));
    state.counters["tags"] = static_cast<double>(tags);
    state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_TagFile)
    ->Arg(static_cast<int>(TagFormat::Csv))
    ->Arg(static_cast<int>(TagFormat::Tia))
    ->Arg(static_cast<int>(TagFormat::Iec))
    ->Unit(benchmark::kMillisecond);

void BM_IoMapHtml(benchmark::State& state) {
    const GatewayConfiguration cfg = largest();
    std::size_t size = 0;
    while (state.KeepRunning()) {
        const std::string html = ioMapHtml(cfg, {"largest.chg", "2026-01-01 00:00", 0, 0});
        size = html.size();
        benchmark::DoNotOptimize(html.data());
    }
    state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_IoMapHtml)->Unit(benchmark::kMillisecond);

void BM_IoMapPdf(benchmark::State& state) {
    const GatewayConfiguration cfg = largest();
    const std::string html = ioMapHtml(cfg, {"largest.chg", "2026-01-01 00:00", 0, 0});
    const platform::OffscreenApplication printing;
    std::size_t size = 0;
    while (state.KeepRunning()) {
        std::string pdf;
        std::string error;
        platform::htmlToPdf(html, "largest.chg", pdf, error);
        size = pdf.size();
        benchmark::DoNotOptimize(pdf.data());
    }
    state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_IoMapPdf)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
