// Opening the largest configuration and rebuilding the tree and the parameter pages; one edit
// step, Undo and Redo of it, and the memory the undo history takes.

#include "editor/config_session.h"
#include "editor/document.h"
#include "editor/network_tree.h"
#include "editor/parameter_pages.h"
#include "largest_configuration.h"
#include "model/config_file.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <malloc.h>
#include <string>

namespace torvane {
namespace {

struct SilentUi : DocumentUi {
    std::string path;
    std::optional<int> askConfigType() override { return kCanopenMaster; }
    std::optional<int> askConfigFormat() override { return 1; }
    SaveAnswer askSaveChanges(SaveReason) override { return SaveAnswer::No; }
    bool askSaveDropping(const std::vector<DroppedField>&) override { return true; }
    std::optional<std::string> chooseFile(const FileDialogRequest&) override { return path; }
    void tell(const std::string&, const Message&) override {}
};

void openAndRebuild(benchmark::State& state, const char* name) {
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    Message error;
    if (!saveConfigurationFile(path, bench::largestConfiguration(kNodeLimit, 200), error)) {
        state.SkipWithError(error.english().c_str());
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
    const GatewayConfiguration cfg = bench::largestConfiguration(kNodeLimit, 200);
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores)
        benchmark::DoNotOptimize(buildTree(cfg));
    }
}

// Commits the SDO Response Timeout cell of the master's CANopen page.
void editSdoTimeout(ConfigSession& session, const std::string& value) {
    session.commitCell(canopenSideItem(session.configuration()), 3, value);
}

// A session on the fullest configuration the tables hold, with a history of `steps` edits.
void fillSession(ConfigSession& session, std::size_t steps) {
    session.adoptUpload(bench::largestConfiguration(kNodeTableSize, 200));
    for (std::size_t i = 0; i < steps; ++i) {
        editSdoTimeout(session, std::to_string(200 + i % 2));
    }
}

void BM_EditStep(benchmark::State& state) {
    SilentUi ui;
    ConfigSession session(ui);
    fillSession(session, ConfigSession::kHistoryLimit);
    int i = 0;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores)
        editSdoTimeout(session, std::to_string(300 + ++i % 2));
    }
}

// One Undo and one Redo per iteration, with a full history.
void BM_UndoAndRedo(benchmark::State& state) {
    SilentUi ui;
    ConfigSession session(ui);
    fillSession(session, ConfigSession::kHistoryLimit);
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores)
        benchmark::DoNotOptimize(session.undo());
        benchmark::DoNotOptimize(session.redo());
    }
    // What one step and a full history of them hold: the record and its texts on the heap.
    const std::size_t before = mallinfo2().uordblks;
    auto* copy = new GatewayConfiguration(session.configuration());
    const std::size_t perStep = mallinfo2().uordblks - before;
    delete copy;
    state.counters["step_KiB"] = static_cast<double>(perStep) / 1024.0;
    state.counters["history_MiB"] =
        static_cast<double>(perStep * (ConfigSession::kHistoryLimit + 1)) / (1024.0 * 1024.0);
}

BENCHMARK(BM_OpenArchiveAndRebuildTree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenXmlAndRebuildTree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildTreeOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoAndRedo)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace torvane

BENCHMARK_MAIN();
