// Runs the monitor window against the gateway simulator outside the test suite:
//   torvane_monitor_run latency [SECONDS]   event-loop lateness while the monitor runs
//   torvane_monitor_run screenshots DIR [LANGUAGE]   the monitor with rows and a conflict
//                                                     window (en or zh_CN; English by default)

#include "devices/device_reader.h"
#include "editor/config_session.h"
#include "gui/app/translation.h"
#include "gui/mapping/conflict_dialog.h"
#include "gui/monitor/monitor_window.h"
#include "model/config_file.h"
#include "platform/gateway_simulator.h"
#include "platform/serial_ports.h"
#include "scripted_prompts.h"
#include "support/session_access.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace torvane;
using namespace torvane::gui;

namespace {

// The platform's ports, as the program opens them (a pseudo-terminal without parity).
SerialPortFactory platformPorts() {
    return [] { return platform::createSerialPort(); };
}

// The simulator's pseudo-terminal; empty when it did not start.
QString startSimulator(platform::GatewaySimulator& sim, const QString& mode,
                       const QStringList& more = {}) {
    QString error;
    if (!sim.start(QStringLiteral(TORVANE_GATEWAYSIM),
                   QStringList{QStringLiteral("--monitor"), mode} + more, error)) {
        return {};
    }
    return QString::fromStdString(sim.device());
}

int latency(int seconds) {
    platform::GatewaySimulator sim;
    const QString device = startSimulator(sim, QStringLiteral("addressed"));
    if (device.isEmpty()) {
        std::fprintf(stderr, "torvane-gatewaysim did not start\n");
        return 1;
    }
    test::ScriptedPrompts prompts;
    MonitorWindow window(device.toStdString(), platformPorts(), prompts);
    window.show();
    window.startEdit()->setText(QStringLiteral("0"));
    window.dataEdit()->setText(QStringLiteral("11 22 33 44"));

    // A 10 ms timer: how late each timeout comes is how long the window could not react.
    std::vector<double> lateness;
    double worstAt = 0;
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.nsecsElapsed();
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(10);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        const double late = std::max(0.0, static_cast<double>(now - last) / 1e6 - 10.0);
        if (lateness.empty() || late > *std::max_element(lateness.begin(), lateness.end())) {
            worstAt = static_cast<double>(now) / 1e9;
        }
        lateness.push_back(late);
        last = now;
    });
    // Transmit every second, so answers with data go out during the run too.
    QTimer transmit;
    QObject::connect(&transmit, &QTimer::timeout, [&] { window.transmitButton()->click(); });
    transmit.start(1000);
    probe.start();
    QTest::qWait(seconds * 1000);
    probe.stop();
    transmit.stop();

    const auto over =
        std::count_if(lateness.begin(), lateness.end(), [](double l) { return l > 50; });
    std::sort(lateness.begin(), lateness.end());
    const auto at = [&](double q) {
        return lateness[static_cast<std::size_t>(q * static_cast<double>(lateness.size() - 1))];
    };
    std::printf("monitor running %d s: %d rows, %zu timer ticks\n", seconds,
                window.list()->rowCount(), lateness.size());
    std::printf("event-loop lateness: max %.1f ms (at %.1f s), p99 %.1f ms, median %.1f ms, "
                "%td ticks later than 50 ms\n",
                lateness.back(), worstAt, at(0.99), at(0.5), over);
    sim.stop();
    return 0;
}

bool save(QWidget& w, const QString& dir, const char* name) {
    const QString path = QDir(dir).filePath(QString::fromLatin1(name));
    if (!w.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

int screenshots(const QString& out) {
    QDir().mkpath(out);
    bool ok = true;
    {
        // A drive of the device library at node 5, as the gateway runs it.
        platform::GatewaySimulator sim;
        const QString device =
            startSimulator(sim, QStringLiteral("addressed"),
                           {QStringLiteral("--step"), QStringLiteral("37 02 03"),
                            QStringLiteral("--step"), QStringLiteral("33 06 08")});
        test::ScriptedPrompts prompts;
        ConfigSession session(prompts);
        DocumentState doc;
        Message error;
        GatewayConfiguration& cfg = liveConfiguration(session);
        if (!loadConfigurationFile(TORVANE_TEST_DATA_DIR "/monitor_drive.xml", cfg, doc, error)) {
            std::fprintf(stderr, "%s\n", error.english().c_str());
            return 1;
        }
        cfg.Config.Nodes[0].NodeName = "CIA402VTD";
        session.noteGatewayEqual();
        std::vector<LibraryDevice> devices(1);
        devices[0].key = "cia402";
        readDeviceFile(TORVANE_TEST_DATA_DIR "/devices/cia402_slave.eds", devices[0].device);
        MonitorWindow window(device.toStdString(), platformPorts(), prompts, nullptr, &session,
                             devices, PlcStarts{256, 256});
        window.resize(1640, 560);
        window.show();
        window.startEdit()->setText(QStringLiteral("4"));
        window.dataEdit()->setText(QStringLiteral("01 02 A0 FF"));
        QTest::qWait(2500);
        window.transmitButton()->click();
        QTreeWidget* commands = window.commandsView();
        commands->setCurrentItem(commands->topLevelItem(2));
        window.valueEdit()->setText(QStringLiteral("0x000F"));
        QTest::qWait(1500);
        window.commandTransmitButton()->click();
        (void)QTest::qWaitFor([&] { return window.list()->rowCount() >= 12; }, 15000);
        const int pick = window.list()->rowCount() - 1;
        window.list()->selectRow(pick);
        commands->setCurrentItem(commands->topLevelItem(0));
        QTest::qWait(300);
        ok &= save(window, out, "monitor.png");
        // An edit since: the banner, and no writing by command.
        liveConfiguration(session).Config.SYNC = "30";
        window.configurationChanged();
        commands->setCurrentItem(commands->topLevelItem(2));
        ok &= save(window, out, "monitor-banner.png");
        sim.stop();
    }
    {
        GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
        struct {
            const char* type;
            const char* bytes;
            const char* address;
        } const cmds[] = {{"3", "4", "0"}, {"3", "4", "2"},  {"1", "2", "8"},   {"4", "8", "0"},
                          {"4", "2", "6"}, {"2", "4", "20"}, {"3", "8", "123"}, {"1", "0", "40"}};
        int i = 0;
        for (const auto& c : cmds) {
            INSTRUCTION& ins = cfg.Config.Instructions[i++];
            ins.InstructionType = c.type;
            ins.Bytes = c.bytes;
            ins.MappingAddress = c.address;
            ins.NodeAddress = "2";
            ins.NodeIndex = 1;
        }
        cfg.Config.InstructionCount = i;
        ConflictDialog dialog(cfg);
        dialog.show();
        (void)QTest::qWaitForWindowExposed(&dialog);
        ok &= save(dialog, out, "conflict-detection.png");
    }
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString what = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (what == QLatin1String("latency")) {
        return latency(argc > 2 ? std::max(1, std::atoi(argv[2])) : 30);
    }
    if (what == QLatin1String("screenshots") && argc > 2) {
        if (argc > 3 && !installTranslations(QString::fromLocal8Bit(argv[3]))) {
            std::fprintf(stderr, "no translation for %s\n", argv[3]);
            return 1;
        }
        return screenshots(QString::fromLocal8Bit(argv[2]));
    }
    std::fprintf(stderr,
                 "usage: torvane_monitor_run latency [SECONDS] | screenshots DIR [LANGUAGE]\n");
    return 2;
}
