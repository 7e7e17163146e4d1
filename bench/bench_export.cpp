// Times the exports on the largest configurations: 256 PDO commands for the EDS file, 256
// commands with long descriptions for the workbook. Templates are read from beside this program.
#include "export/eds_generator.h"
#include "export/workbook_export.h"
#include "model/atomic_file.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <string>

namespace {

using namespace torvane;
namespace fs = std::filesystem;

fs::path gDataDir;

GatewayConfiguration largest(int type) {
    GatewayConfiguration cfg = newConfiguration(type);
    const char* types[] = {"1", "2", "3", "4"};
    for (int i = 0; i < kInstructionTableSize; ++i) {
        INSTRUCTION& ins = cfg.Config.Instructions[static_cast<std::size_t>(i)];
        ins.InstructionType = type == kCanopenSlave ? types[2 + i % 2] : types[i % 4];
        ins.NodeAddress = std::to_string(1 + i % 84);
        ins.Index = "24576";
        ins.SubIndex = std::to_string(i % 8);
        ins.CobId = std::to_string(0x180 + 1 + i);
        ins.MappingAddress = std::to_string(i % 244);
        ins.Bytes = std::to_string(1 + i % 8);
        ins.Description = std::string(200, static_cast<char>('a' + i % 26));
        ins.NodeIndex = 1 + i % 84;
    }
    cfg.Config.InstructionCount = kInstructionTableSize;
    return cfg;
}

std::string readData(const char* name) {
    std::string bytes;
    Message error;
    readWholeFile((gDataDir / name).string(), bytes, error);
    return bytes;
}

void BM_BuildEdsText(benchmark::State& state) {
    const GatewayConfiguration cfg = largest(kCanopenSlave);
    const std::string t1 = readData("EDSTemplate1.dat");
    const std::string t2 = readData("EDSTemplate2.dat");
    std::size_t size = 0;
    while (state.KeepRunning()) {
        const std::string eds = buildEdsText(cfg.Config, "gateway.eds", t1, t2, {2024, 1, 1, 9, 0});
        size = eds.size();
        benchmark::DoNotOptimize(eds.data());
    }
    state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_BuildEdsText)->Unit(benchmark::kMicrosecond);

void BM_CreateEdsFile(benchmark::State& state) {
    const GatewayConfiguration cfg = largest(kCanopenSlave);
    const fs::path out = fs::temp_directory_path() / "torvane-bench.eds";
    const EdsTemplatePaths templates{(gDataDir / "EDSTemplate1.dat").string(),
                                     (gDataDir / "EDSTemplate2.dat").string()};
    while (state.KeepRunning()) {
        if (createEdsFile(cfg, out.string(), templates, {2024, 1, 1, 9, 0}).result !=
            EdsResult::Ok) {
            state.SkipWithError("EDS not written");
            break;
        }
    }
    fs::remove(out);
}
BENCHMARK(BM_CreateEdsFile)->Unit(benchmark::kMillisecond);

void BM_FillWorkbook(benchmark::State& state) {
    const GatewayConfiguration cfg = largest(kCanopenMaster);
    const std::string tpl = readData(kTemplateMasterFile);
    std::string out;
    Message error;
    while (state.KeepRunning()) {
        if (!fillWorkbookPackage(tpl, workbookCells(cfg), out, error)) {
            state.SkipWithError(error.english().c_str());
            break;
        }
    }
    state.counters["bytes"] = static_cast<double>(out.size());
}
BENCHMARK(BM_FillWorkbook)->Unit(benchmark::kMillisecond);

void BM_ExportWorkbookFile(benchmark::State& state) {
    const GatewayConfiguration cfg = largest(kCanopenMaster);
    const fs::path out = fs::temp_directory_path() / "torvane-bench.xlsx";
    const std::string tpl = (gDataDir / kTemplateMasterFile).string();
    while (state.KeepRunning()) {
        const WorkbookOutcome r = exportWorkbook(cfg, tpl, out.string());
        if (r.result != WorkbookResult::Ok) {
            state.SkipWithError(r.detail.english().c_str());
            break;
        }
    }
    fs::remove(out);
}
BENCHMARK(BM_ExportWorkbookFile)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    std::error_code ec;
    gDataDir = fs::canonical(fs::path(argv[0]), ec).parent_path();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
