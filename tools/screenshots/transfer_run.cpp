// Downloads from the main window to the gateway simulator outside the test suite:
//   torvane_transfer_run latency [RUNS]                  event-loop lateness during downloads
//   torvane_transfer_run screenshot OUT.png [LANGUAGE]   the progress popup mid-download

#include "gateway_sim.h"
#include "gui/app/main_window.h"
#include "gui/app/translation.h"
#include "gui/comm/progress_window.h"
#include "gui/comm/serial_dialog.h"
#include "gui/editor/config_document.h"
#include "gui/editor/config_view.h"
#include "model/strings.h"
#include "scripted_prompts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <memory>

using namespace torvane;
using namespace torvane::gui;
using test::GatewaySim;
using test::ScriptedPrompts;

namespace {

// A main window with the "new" fixture open and the simulator's port confirmed; null with a
// message on stderr when any of it fails.
struct Setup {
    ScriptedPrompts prompts;
    std::unique_ptr<MainWindow> frame;
    QTemporaryDir dir;
    std::unique_ptr<GatewaySim> sim;

    bool start(const QString& fileName) {
        prompts.configTypes = {0};
        frame = std::make_unique<MainWindow>(prompts);
        if (frame->start(QString()) != MainWindow::StartResult::Running) {
            return false;
        }
        frame->resize(1100, 640);
        frame->show();
        const QString path = dir.filePath(fileName);
        sim = std::make_unique<GatewaySim>(QStringList{}, dir.filePath(QStringLiteral("sim.log")));
        if (!GatewaySim::writeFixture("new", path) || !frame->document()->openRecent(path) ||
            sim->device().isEmpty()) {
            std::fprintf(stderr, "cannot set up the download\n");
            return false;
        }
        SerialDialogState& s = frame->serialSettings();
        s.ports = {sim->device().toStdString()};
        s.portIndex = 0;
        s.configured = true;
        return true;
    }

    void download() {
        prompts.okCancel = {true, true, true, true};
        prompts.told.clear();
        frame->startDownload();
    }
};

// Downloads `runs` times and prints how late a 10 ms timer fired on the GUI thread meanwhile.
int latency(int runs) {
    Setup setup;
    if (!setup.start(QStringLiteral("new.chg"))) {
        return 1;
    }
    std::printf("event-loop lateness of a 10 ms timer during a download\n");
    std::printf("%-4s %10s %8s %10s %10s\n", "run", "transfer_s", "ticks", "mean_ms", "max_ms");
    qint64 worst = 0;
    for (int run = 1; run <= runs; ++run) {
        QElapsedTimer clock;
        qint64 last = 0;
        qint64 maxLate = 0;
        qint64 sumLate = 0;
        int ticks = 0;
        QTimer timer;
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            const qint64 late = std::max<qint64>(0, now - last - 10'000'000);
            maxLate = std::max(maxLate, late);
            sumLate += late;
            ++ticks;
            last = now;
        });
        clock.start();
        timer.start();
        setup.download();
        while (setup.frame->transfers()->running()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
            QCoreApplication::sendPostedEvents();
        }
        timer.stop();
        const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        const std::vector<std::string>& told = setup.prompts.told;
        if (told != std::vector<std::string>{str::ResultSuccess.source}) {
            std::fprintf(stderr, "run %d: %s\n", run,
                         told.empty() ? "no message" : told.back().c_str());
            return 1;
        }
        std::printf("%-4d %10.2f %8d %10.3f %10.3f\n", run, seconds, ticks,
                    ticks > 0 ? static_cast<double>(sumLate) / ticks / 1e6 : 0.0,
                    static_cast<double>(maxLate) / 1e6);
        worst = std::max(worst, maxLate);
    }
    std::printf("worst lateness: %.3f ms (target under 50 ms)\n", static_cast<double>(worst) / 1e6);
    return 0;
}

// The main window with the progress popup over it, half-way through a download.
int screenshot(const QString& out) {
    Setup setup;
    if (!setup.start(QStringLiteral("Plant-Line-3.chg"))) {
        return 1;
    }
    MainWindow& frame = *setup.frame;
    frame.view()->tree()->expandAll();
    setup.download();
    ProgressWindow* wait = frame.waitDialog();
    QElapsedTimer clock;
    clock.start();
    while (wait->bar()->value() < 600 && clock.elapsed() < 60000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    QPixmap shot = frame.grab();
    {
        QPainter p(&shot);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(frame.mapFromGlobal(wait->mapToGlobal(QPoint(0, 0))));
        p.setClipPath(wait->outline());
        p.drawPixmap(0, 0, wait->grab());
    }
    while (frame.transfers()->running()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    if (!shot.save(out)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return 1;
    }
    std::printf("%s\n", qPrintable(out));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString what = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (what == QLatin1String("latency")) {
        return latency(argc > 2 ? std::max(1, std::atoi(argv[2])) : 3);
    }
    if (what == QLatin1String("screenshot") && argc > 2) {
        if (argc > 3 && !installTranslations(QString::fromLocal8Bit(argv[3]))) {
            std::fprintf(stderr, "no translation for %s\n", argv[3]);
            return 1;
        }
        return screenshot(QString::fromLocal8Bit(argv[2]));
    }
    std::fprintf(stderr, "usage: torvane_transfer_run latency [RUNS] | screenshot OUT.png "
                         "[LANGUAGE]\n");
    return 2;
}
