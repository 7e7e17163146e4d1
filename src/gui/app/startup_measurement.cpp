#include "gui/app/startup_measurement.h"

#include "gui/app/main_window.h"
#include "gui/app/translation.h"
#include "gui/editor/config_document.h"
#include "gui/editor/config_view.h"
#include "gui/editor/prompts.h"
#include "model/config_file.h"
#include "model/text_number.h"
#include "platform/process_stats.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QWindow>
#include <algorithm>
#include <cstdio>

namespace torvane::gui {

namespace {

// Answers for the measurement run: a master configuration, OK to everything.
class MeasurePrompts final : public Prompts {
public:
    std::optional<int> askConfigType() override { return 0; }
    std::optional<int> askConfigFormat() override { return 1; }
    SaveAnswer askSaveChanges(SaveReason /*reason*/) override { return SaveAnswer::No; }
    bool askSaveDropping(const std::vector<DroppedField>& /*fields*/) override { return true; }
    std::optional<std::string> chooseFile(const FileDialogRequest& /*request*/) override {
        return std::nullopt;
    }
    void tell(const std::string& /*title*/, const Message& text) override {
        std::fprintf(stderr, "message: %s\n", text.english().c_str());
    }
    bool askOkCancel(const Message& /*text*/) override { return true; }
    SaveAnswer askYesNoCancel(const Message& /*text*/) override { return SaveAnswer::No; }
    using Prompts::tell;
};

// The largest configuration the files can hold: 128 nodes, 256 commands, long descriptions.
GatewayConfiguration largestConfiguration() {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    for (int n = 0; n < kNodeTableSize; ++n) {
        appendNode(cfg.Config, {decimalText(n % 127 + 1), "Node-" + decimalText(n % 127 + 1)});
    }
    for (int i = 0; i < kInstructionTableSize; ++i) {
        INSTRUCTION c;
        c.NodeIndex = i % kNodeTableSize + 1;
        c.NodeAddress = decimalText((c.NodeIndex - 1) % 127 + 1);
        c.InstructionType = decimalText(i % 4 + 1);
        c.Index = "8192";
        c.SubIndex = decimalText(i % 8);
        c.CobId = decimalText(385 + i % 127);
        c.MappingAddress = decimalText(i % 100);
        c.Bytes = "2";
        c.Description = std::string(200, static_cast<char>('a' + i % 26));
        appendCommand(cfg.Config, c);
    }
    return cfg;
}

} // namespace

int measureStartup(int& argc, char** argv, const QString& requestedLanguage) {
    QElapsedTimer sinceMain;
    sinceMain.start();
    const double ageAtMain = platform::processAgeMs();
    QApplication app(argc, argv);
    const double appReady = static_cast<double>(sinceMain.nsecsElapsed()) / 1e6;
    const QString language = interfaceLanguage(requestedLanguage);
    if (!installTranslations(language)) {
        std::fprintf(stderr, "the %s translation is missing\n", qPrintable(language));
        return 1;
    }
    const double translated = static_cast<double>(sinceMain.nsecsElapsed()) / 1e6;
    MeasurePrompts prompts;
    MainWindow frame(prompts);
    const double frameBuilt = static_cast<double>(sinceMain.nsecsElapsed()) / 1e6;
    if (frame.start(QString()) != MainWindow::StartResult::Running) {
        return 1;
    }
    const double documentReady = static_cast<double>(sinceMain.nsecsElapsed()) / 1e6;
    frame.show();
    while (frame.windowHandle() == nullptr || !frame.windowHandle()->isExposed()) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        if (sinceMain.elapsed() > 10000) {
            std::fprintf(stderr, "the main window was not shown within 10 s\n");
            return 1;
        }
    }
    QApplication::processEvents();
    const double mainToShown = static_cast<double>(sinceMain.nsecsElapsed()) / 1e6;
    const double processToShown = platform::processAgeMs();
    const long rssAfterStart = platform::residentMemoryKiB();

    QTemporaryDir dir;
    const std::string path = QDir(dir.path()).filePath(QStringLiteral("largest.chg")).toStdString();
    Message error;
    if (!saveConfigurationFile(path, largestConfiguration(), error)) {
        std::fprintf(stderr, "%s\n", error.english().c_str());
        return 1;
    }
    constexpr int kRuns = 20;
    double best = 1e9;
    double total = 0;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer t;
        t.start();
        frame.document()->openRecent(QString::fromStdString(path));
        QApplication::processEvents();
        const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
        best = std::min(best, ms);
        total += ms;
    }
    std::printf("start-up, process start to main window shown: %.1f ms "
                "(process start to main(): %.1f ms, main() to shown: %.1f ms)\n",
                processToShown, ageAtMain, mainToShown);
    std::printf("  of which: application object %.1f ms, catalogues (%s) %.1f ms, main window "
                "built %.1f ms, New %.1f ms, shown and painted %.1f ms\n",
                appReady, qPrintable(language), translated - appReady, frameBuilt - translated,
                documentReady - frameBuilt, mainToShown - documentReady);
    std::printf("open the largest configuration (%d nodes, %d commands) and rebuild the tree: "
                "best %.2f ms, mean %.2f ms over %d runs; tree items: %d nodes\n",
                kNodeTableSize, kInstructionTableSize, best, total / kRuns, kRuns,
                frame.view()->tree()->topLevelItem(1)->childCount());
    std::printf("resident memory after start: %.1f MiB; after opening: %.1f MiB\n",
                static_cast<double>(rssAfterStart) / 1024.0,
                static_cast<double>(platform::residentMemoryKiB()) / 1024.0);
    return 0;
}

} // namespace torvane::gui
