// Opening the largest configuration and rebuilding the tree and the parameter pages.

#include "editor/document.h"
#include "editor/network_tree.h"
#include "editor/parameter_pages.h"
#include "model/config_file.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <string>

namespace torvane {
namespace {

// 84 nodes (the editor's limit) with 256 commands carrying long descriptions.
GatewayConfiguration largestConfiguration() {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    CONFIG& c = cfg.Config;
    c.NodeCount = kNodeLimit;
    for (int n = 0; n < c.NodeCount; ++n) {
        c.Nodes[static_cast<std::size_t>(n)] = {std::to_string(n + 1),
                                                "Node-" + std::to_string(n + 1)};
    }
    c.InstructionCount = kInstructionTableSize;
    for (int i = 0; i < c.InstructionCount; ++i) {
        INSTRUCTION& ins = c.Instructions[static_cast<std::size_t>(i)];
        ins.NodeIndex = i % c.NodeCount + 1;
        ins.NodeAddress = std::to_string(ins.NodeIndex);
        ins.InstructionType = std::to_string(i % 4 + 1);
        ins.CobId = std::to_string(384 + ins.NodeIndex);
        ins.Bytes = "2";
        ins.MappingAddress = std::to_string(i % 100);
        ins.Description = std::string(200, 'd');
    }
    return cfg;
}

struct SilentUi : DocumentUi {
    std::string path;
    std::optional<int> askConfigType() override { return kCanopenMaster; }
    std::optional<int> askConfigFormat() override { return 1; }
    SaveAnswer askSaveChanges() override { return SaveAnswer::No; }
    std::optional<std::string> chooseFile(const FileDialogRequest&) override { return path; }
    void tell(const std::string&, const std::string&) override {}
};

void openAndRebuild(benchmark::State& state, const char* name) {
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    std::string error;
    if (!saveConfigurationFile(path, largestConfiguration(), error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    GatewayConfiguration live = newConfiguration(kCanopenMaster);
    SilentUi ui;
    ui.path = path;
    Document doc(live, ui);
    EditorState editor;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores)
        doc.open();
        benchmark::DoNotOptimize(buildTree(live));
        benchmark::DoNotOptimize(canopenPage(live, editor));
    }
    std::filesystem::remove(path);
}

void BM_OpenArchiveAndRebuildTree(benchmark::State& state) {
    openAndRebuild(state, "torvane-bench-largest.chg");
}
void BM_OpenXmlAndRebuildTree(benchmark::State& state) {
    openAndRebuild(state, "torvane-bench-largest.xml");
}
void BM_BuildTreeOnly(benchmark::State& state) {
    const GatewayConfiguration cfg = largestConfiguration();
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores)
        benchmark::DoNotOptimize(buildTree(cfg));
    }
}

BENCHMARK(BM_OpenArchiveAndRebuildTree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenXmlAndRebuildTree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildTreeOnly)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace torvane

BENCHMARK_MAIN();
