// The monitor's Commands view: a full 244-byte frame decoded into 256 command rows and shown in
// the window (every value changes each frame), and the memory of a one-hour recording at the
// gateway's rate.
#include "../tests/support/session_access.h"
#include "editor/config_session.h"
#include "gui/editor/prompts.h"
#include "gui/monitor/monitor_window.h"
#include "monitor/command_monitor.h"
#include "monitor/monitor_recording.h"
#include "platform/process_stats.h"
#include "platform/serial_ports.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <string>

// The analyzer takes the benchmark loop variable for a dead store.
// NOLINTBEGIN(clang-analyzer-deadcode.DeadStores)
namespace {

using namespace torvane;

class NoPrompts final : public gui::Prompts {
public:
    std::optional<int> askConfigType() override { return 0; }
    std::optional<int> askConfigFormat() override { return 1; }
    SaveAnswer askSaveChanges(SaveReason /*reason*/) override { return SaveAnswer::No; }
    bool askSaveDropping(const std::vector<DroppedField>& /*fields*/) override { return false; }
    std::optional<std::string> chooseFile(const FileDialogRequest& /*request*/) override {
        return std::nullopt;
    }
    void tell(const std::string& /*title*/, const Message& /*text*/) override {}
    bool askOkCancel(const Message& /*text*/) override { return false; }
    SaveAnswer askYesNoCancel(const Message& /*text*/) override { return SaveAnswer::No; }
    using Prompts::tell;
};

// 256 two-byte Transmit PDOs over the whole 244-byte input buffer.
GatewayConfiguration fullBuffer() {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    appendNode(cfg.Config, {"5", "Node-5"});
    for (int i = 0; i < kInstructionTableSize; ++i) {
        INSTRUCTION c{};
        c.NodeAddress = "5";
        c.NodeIndex = 1;
        c.InstructionType = "3";
        c.CobId = std::to_string(385 + i % 4 * 256);
        c.MappingAddress = std::to_string(i % 243);
        c.Bytes = "2";
        appendCommand(cfg.Config, c);
    }
    return cfg;
}

MonitorFrame frameNumber(std::int64_t n) {
    MonitorFrame f{false, std::vector<std::uint8_t>(244)};
    for (std::size_t i = 0; i < f.bytes.size(); ++i) {
        f.bytes[i] = static_cast<std::uint8_t>(n + static_cast<std::int64_t>(i));
    }
    return f;
}

void BM_DecodeFrame(benchmark::State& state) {
    CommandMonitor m;
    m.setConfiguration(fullBuffer(), {}, {});
    std::int64_t n = 0;
    for (auto _ : state) {
        ++n;
        benchmark::DoNotOptimize(m.onFrame(frameNumber(n), {}, n));
    }
}
BENCHMARK(BM_DecodeFrame)->Unit(benchmark::kMicrosecond);

void BM_DecodeAndShowFrame(benchmark::State& state) {
    NoPrompts prompts;
    ConfigSession session(prompts);
    liveConfiguration(session) = fullBuffer();
    gui::MonitorWindow window(
        "/nonexistent/port", [] { return platform::createSerialPort(); }, prompts, nullptr,
        &session);
    window.show();
    std::int64_t n = 0;
    for (auto _ : state) {
        gui::MonitorReport report;
        report.frames.push_back(frameNumber(++n));
        window.showReport(report);
        // The view paints what changed, as the event loop would after each frame.
        QApplication::processEvents();
    }
    state.counters["rows"] = static_cast<double>(window.commands().rows().size());
}
BENCHMARK(BM_DecodeAndShowFrame)->Unit(benchmark::kMicrosecond);

// One hour at the gateway's rate: a frame every 500 ms, every value changing.
void BM_RecordOneHour(benchmark::State& state) {
    const std::string path =
        (std::filesystem::temp_directory_path() / "torvane-bench-record.csv").string();
    for (auto _ : state) {
        CommandMonitor m;
        m.setConfiguration(fullBuffer(), {}, {});
        MonitorRecording r;
        Message error;
        if (!r.open(path, m.rows(), true, error)) {
            state.SkipWithError(error.english().c_str());
            return;
        }
        long peak = 0;
        long afterTenMinutes = 0;
        constexpr int kFrames = 7200;
        for (int i = 0; i < kFrames; ++i) {
            const MonitorFrame f = frameNumber(i);
            m.onFrame(f, {}, i * 500LL);
            r.addLine({2024, 1, 1, i / 7200, i / 120 % 60, i / 2 % 60, i % 2 * 500}, m.rows(), f,
                      i * 500LL);
            if (i % 600 == 0) {
                const long rss = platform::residentMemoryKiB();
                peak = std::max(peak, rss);
                if (i == 1200) {
                    afterTenMinutes = rss;
                }
            }
        }
        r.close(error);
        state.counters["file_MiB"] =
            static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024.0);
        state.counters["rss_10min_KiB"] = static_cast<double>(afterTenMinutes);
        state.counters["rss_peak_KiB"] = static_cast<double>(peak);
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_RecordOneHour)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
// NOLINTEND(clang-analyzer-deadcode.DeadStores)

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
