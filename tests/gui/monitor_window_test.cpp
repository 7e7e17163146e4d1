// The monitor window against the gateway simulator in each I/O protocol, the main window's
// Monitor and conflict commands, the conflict window through its widgets, and `--demo`.

#include "../support/session_access.h"
#include "editor/config_session.h"
#include "gui/app/demo_gateway.h"
#include "gui/app/main_window.h"
#include "gui/app/translation.h"
#include "gui/comm/serial_dialog.h"
#include "gui/editor/config_document.h"
#include "gui/editor/config_view.h"
#include "gui/mapping/conflict_dialog.h"
#include "gui/monitor/monitor_window.h"
#include "model/strings.h"
#include "platform/gateway_simulator.h"
#include "platform/serial_ports.h"
#include "scripted_prompts.h"

#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <csignal>
#include <filesystem>

using namespace torvane;
using namespace torvane::gui;

namespace {

// The platform's ports, as the program opens them (a pseudo-terminal without parity).
SerialPortFactory platformPorts() {
    return [] { return platform::createSerialPort(); };
}

// torvane-gatewaysim in one monitor mode, logging into `log`.
struct Simulator {
    platform::GatewaySimulator process;
    QString device;

    bool start(const QString& mode, const QString& log, const QStringList& more = {}) {
        QString error;
        if (!process.start(
                QStringLiteral(TORVANE_GATEWAYSIM),
                QStringList{QStringLiteral("--monitor"), mode, QStringLiteral("--log"), log} + more,
                error)) {
            return false;
        }
        device = QString::fromStdString(process.device());
        return true;
    }
};

QString readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

bool listHas(QTableWidget* list, const QString& status, const QString& dataPrefix) {
    for (int r = 0; r < list->rowCount(); ++r) {
        if (list->item(r, 0)->text() == status && list->item(r, 2)->text().startsWith(dataPrefix)) {
            return true;
        }
    }
    return false;
}

// Cells of offsets 0..n-1 as letters: . default, I green, O blue, X red.
QString strip(QTableWidget* grid, int n) {
    QString s;
    for (int a = 0; a < n; ++a) {
        const QVariant v = grid->item(a / 10, a % 10 + 1)->data(Qt::BackgroundRole);
        if (!v.isValid()) {
            s += '.';
            continue;
        }
        const QColor c = v.value<QBrush>().color();
        s += c == QColor(0, 255, 0)   ? 'I'
             : c == QColor(0, 0, 255) ? 'O'
             : c == QColor(255, 0, 0) ? 'X'
                                      : '?';
    }
    return s;
}

struct Cmd {
    const char* type;
    const char* bytes;
    const char* address;
};

GatewayConfiguration withCommands(std::initializer_list<Cmd> cmds) {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    int i = 0;
    for (const Cmd& c : cmds) {
        INSTRUCTION& ins = cfg.Config.Instructions[i++];
        ins.InstructionType = c.type;
        ins.Bytes = c.bytes;
        ins.MappingAddress = c.address;
        ins.NodeAddress = "1";
        ins.NodeIndex = 1;
    }
    cfg.Config.InstructionCount = i;
    return cfg;
}

// Children of `pid` named `name`, found through /proc.
std::vector<pid_t> childrenNamed(qint64 pid, const std::string& name) {
    std::vector<pid_t> found;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        QFile stat(QString::fromStdString(entry.path().string() + "/stat"));
        if (!stat.open(QIODevice::ReadOnly)) {
            continue;
        }
        // pid (comm) state ppid ...
        const QString text = QString::fromUtf8(stat.readAll());
        const int close = text.lastIndexOf(')');
        const QString comm = text.mid(text.indexOf('(') + 1, close - text.indexOf('(') - 1);
        const QStringList rest = text.mid(close + 2).split(' ');
        if (rest.size() > 1 && rest[1].toLongLong() == pid && comm.toStdString() == name) {
            found.push_back(text.section(' ', 0, 0).toInt());
        }
    }
    return found;
}

} // namespace

class MonitorWindowTest : public QObject {
    Q_OBJECT

private slots:
    void monitorTalksToTheSimulator_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("rowStatus");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("received"); // what the simulator logs; empty: nothing sent
        QTest::addColumn<QString>("echoRow");  // an output row showing the written data
        QTest::newRow("fixed image") << "fixed"
                                     << "Input data"
                                     << "2"
                                     << "0A FF"
                                     << "IO OUT image 00 00 0A FF 00 00"
                                     << "";
        QTest::newRow("addressed") << "addressed"
                                   << "Input data"
                                   << "4"
                                   << "01 02"
                                   << "IO OUT start 4 data 01 02"
                                   << "00 00 00 00 01 02 00";
        // The split protocol has no answers: rows come, output never goes out.
        QTest::newRow("split") << "split"
                               << "Input data"
                               << "0"
                               << "01"
                               << ""
                               << "";
    }

    void monitorTalksToTheSimulator() {
        QFETCH(QString, mode);
        QFETCH(QString, rowStatus);
        QFETCH(QString, start);
        QFETCH(QString, data);
        QFETCH(QString, received);
        QFETCH(QString, echoRow);
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("sim.log"));
        Simulator sim;
        QVERIFY(sim.start(mode, log));
        test::ScriptedPrompts prompts;
        MonitorWindow window(sim.device.toStdString(), platformPorts(), prompts);
        window.show();
        QTRY_VERIFY_WITH_TIMEOUT(window.list()->rowCount() >= 2, 10000);
        QVERIFY(listHas(window.list(), rowStatus, QString()));

        window.startEdit()->setText(start);
        window.dataEdit()->setText(data);
        QTest::mouseClick(window.transmitButton(), Qt::LeftButton);
        if (!received.isEmpty()) {
            QTRY_VERIFY_WITH_TIMEOUT(readAll(log).contains(received), 10000);
        } else {
            QTest::qWait(1500);
            QVERIFY(!readAll(log).contains(QStringLiteral("IO OUT")));
        }
        if (!echoRow.isEmpty()) {
            QTRY_VERIFY_WITH_TIMEOUT(listHas(window.list(), "Output data", echoRow), 10000);
        }
        // Rows keep coming while the window is open: the simulator is still answered.
        const int rows = window.list()->rowCount();
        QTRY_VERIFY_WITH_TIMEOUT(window.list()->rowCount() > rows, 10000);
        QVERIFY(prompts.told.empty());
        QVERIFY(prompts.unexpected.empty());
    }

    // "Stop Saving" into a file that cannot be created says so and writes nothing.
    void unwritableLogIsReported() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("missing/monitor.txt"));
        test::ScriptedPrompts prompts;
        prompts.files.push_back(path.toStdString());
        MonitorWindow window("/nonexistent/port", platformPorts(), prompts);
        window.showTick({{str::MonitorInputData, "12:00:00", "01 02 "}}, {});
        QTest::mouseClick(window.saveButton(), Qt::LeftButton);
        QCOMPARE(window.saveButton()->text(), QStringLiteral("Stop Saving"));
        QTest::mouseClick(window.saveButton(), Qt::LeftButton);
        QCOMPARE(prompts.told.size(), std::size_t{1});
        QVERIFY(!QFile::exists(path));
        QCOMPARE(window.saveButton()->text(), QStringLiteral("Save Content"));
    }

    // Toolbar "Monitor": the serial dialog first while the port was never configured (its
    // Cancel still marks it configured), then the monitor window over the selected port, beside
    // the main window.
    void monitorCommandAsksForThePortOnce() {
        test::ScriptedPrompts prompts;
        prompts.configTypes.push_back(0);
        prompts.configFormats.push_back(1);
        MainWindow frame(prompts);
        QCOMPARE(frame.start(QString()), MainWindow::StartResult::Running);
        frame.setMonitorPorts(platformPorts());
        int serialDialogs = 0;
        QTimer::singleShot(50, [&] {
            if (auto* d = qobject_cast<SerialDialog*>(QApplication::activeModalWidget())) {
                ++serialDialogs;
                d->reject();
            }
        });
        frame.action(QStringLiteral("Monitor"))->trigger();
        QCOMPARE(serialDialogs, 1);
        QVERIFY(frame.serialSettings().configured);
        QPointer<MonitorWindow> w = frame.monitorWindow();
        QVERIFY(w != nullptr && w->isVisible() && !w->isModal());
        w->reject();
        QTRY_VERIFY(w == nullptr);
        // Save Content, then Stop Saving: the main window's status bar names the log.
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("monitor.txt"));
        prompts.files.push_back(log.toStdString());
        frame.action(QStringLiteral("Monitor"))->trigger();
        QCOMPARE(serialDialogs, 1);
        w = frame.monitorWindow();
        QVERIFY(w != nullptr);
        QTest::mouseClick(w->saveButton(), Qt::LeftButton);
        QTest::mouseClick(w->saveButton(), Qt::LeftButton);
        w->reject();
        QVERIFY(QFile::exists(log));
        QCOMPARE(frame.statusBar()->currentMessage(), QStringLiteral("Saved ") + log);
        QVERIFY(prompts.unexpected.empty());
    }

    // Through the menus against a simulator playing input values: the Commands view follows the
    // frames while the configuration stays open for browsing, an edit raises the banner,
    // Transmit by command reaches the gateway, and closing asks about the outputs left set.
    void commandsViewThroughTheMenus() {
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("sim.log"));
        Simulator sim;
        QVERIFY(sim.start(QStringLiteral("addressed"), log,
                          {QStringLiteral("--step"), QStringLiteral("0F 00 01"),
                           QStringLiteral("--step"), QStringLiteral("10 00 02")}));
        test::ScriptedPrompts prompts;
        prompts.configTypes.push_back(0);
        prompts.configFormats.push_back(1);
        MainWindow frame(prompts);
        QCOMPARE(frame.start(QString()), MainWindow::StartResult::Running);
        frame.setMonitorPorts(platformPorts());
        frame.show();
        QVERIFY(frame.document()->openRecent(
            QStringLiteral(TORVANE_TEST_DATA_DIR "/monitor_drive.xml")));
        frame.session().noteGatewayEqual(); // as a comparison with the gateway would find it
        SerialDialogState& port = frame.serialSettings();
        port.ports = {sim.device.toStdString()};
        port.portIndex = 0;
        port.configured = true;

        auto open = [&] {
            frame.action(QStringLiteral("Monitor"))->trigger();
            MonitorWindow* w = frame.monitorWindow();
            return w;
        };
        auto transmit = [&](MonitorWindow* w, const QString& value) {
            w->commandsView()->setCurrentItem(w->commandsView()->topLevelItem(2));
            w->valueEdit()->setText(value);
            QTRY_VERIFY_WITH_TIMEOUT(w->commandTransmitButton()->isEnabled(), 10000);
            QTest::keyClick(w->valueEdit(), Qt::Key_Return);
            QTRY_VERIFY_WITH_TIMEOUT(w->outputsLabel()->text().endsWith(": 0"), 10000);
        };
        QPointer<MonitorWindow> w = open();
        QVERIFY(w != nullptr && !w->isModal());
        QTreeWidget* view = w->commandsView();
        QCOMPARE(view->topLevelItemCount(), 4);
        QTRY_COMPARE_WITH_TIMEOUT(view->topLevelItem(0)->text(6), QStringLiteral("0F 00"), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(view->topLevelItem(0)->text(6), QStringLiteral("10 00"), 10000);
        QCOMPARE(view->topLevelItem(1)->text(7), QStringLiteral("2"));
        QVERIFY(w->banner()->isHidden());
        // Browsing goes on; a transfer is refused while the monitor holds the port.
        frame.action(ui(str::TipDownload))->trigger();
        QCOMPARE(QString::fromStdString(prompts.told.back()), ui(str::MonitorUsesPort));

        // An edit: the banner, and no writing by command; Undo makes it the gateway's again.
        const CommitResult edited =
            frame.session().commitCell(canopenSideItem(frame.session().configuration()), 3, "30");
        QVERIFY(edited.modified);
        QTRY_VERIFY(!w->banner()->isHidden());
        view->setCurrentItem(view->topLevelItem(2));
        QVERIFY(!w->commandTransmitButton()->isEnabled());
        frame.action(QStringLiteral("Undo(&U)"))->trigger();
        QTRY_VERIFY(w->banner()->isHidden());

        // Control word 0x000F on the Receive PDO at output byte 0.
        transmit(w, QStringLiteral("0x000F"));
        QVERIFY(readAll(log).contains(QStringLiteral("IO OUT start 0 data 0F 00")));
        QTRY_COMPARE_WITH_TIMEOUT(view->topLevelItem(2)->text(7), QStringLiteral("15"), 10000);

        // Cancel stays; Yes sends 00 to byte 0 and closes once it went out.
        prompts.yesNoCancel = {SaveAnswer::Cancel, SaveAnswer::Yes};
        w->reject();
        QVERIFY(w->isVisible());
        w->reject();
        QTRY_VERIFY_WITH_TIMEOUT(w == nullptr, 10000);
        QVERIFY(readAll(log).contains(QStringLiteral("IO OUT start 0 data 00 \n")));

        // No closes at once and leaves the output set.
        w = open();
        QVERIFY(w != nullptr);
        transmit(w, QStringLiteral("7"));
        const QString before = readAll(log);
        prompts.yesNoCancel = {SaveAnswer::No};
        w->reject();
        QTRY_VERIFY(w == nullptr);
        QTest::qWait(1500);
        QCOMPARE(readAll(log).count(QStringLiteral("data 00 \n")), before.count("data 00 \n"));
        QCOMPARE(prompts.asked.size(), std::size_t{3});
        QVERIFY(prompts.unexpected.empty());
    }

    void conflictWindowColoursTheByteMaps_data() {
        QTest::addColumn<QString>("commands"); // "type:bytes:address" separated by blanks
        QTest::addColumn<int>("uncheck");      // list line to uncheck afterwards, -1 none
        QTest::addColumn<QString>("input");    // offsets 0..7 before / after unchecking
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("inputAfter");
        QTest::newRow("two TPDOs overlap") << "3:4:0 3:4:2" << 1 << "IIXXII.."
                                           << "........"
                                           << "IIII....";
        QTest::newRow("TPDO and RPDO at 0") << "3:1:0 4:1:0" << -1 << "I......."
                                            << "O......."
                                            << "I.......";
        QTest::newRow("0-byte command") << "1:0:0" << -1 << "........"
                                        << "........"
                                        << "........";
        QTest::newRow("no address") << "2:2:-1" << -1 << "........"
                                    << "........"
                                    << "........";
    }

    void conflictWindowColoursTheByteMaps() {
        QFETCH(QString, commands);
        QFETCH(int, uncheck);
        QFETCH(QString, input);
        QFETCH(QString, output);
        QFETCH(QString, inputAfter);
        std::vector<std::array<std::string, 3>> parts;
        for (const QString& c : commands.split(' ')) {
            const QStringList f = c.split(':');
            parts.push_back({f[0].toStdString(), f[1].toStdString(), f[2].toStdString()});
        }
        GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
        for (std::size_t i = 0; i < parts.size(); ++i) {
            INSTRUCTION& ins = cfg.Config.Instructions[i];
            ins.InstructionType = parts[i][0];
            ins.Bytes = parts[i][1];
            ins.MappingAddress = parts[i][2];
            ins.NodeAddress = "1";
            ins.NodeIndex = 1;
        }
        cfg.Config.InstructionCount = static_cast<int>(parts.size());
        const GatewayConfiguration before = cfg;
        ConflictDialog dialog(cfg);
        QCOMPARE(dialog.commandList()->count(), static_cast<int>(parts.size()));
        QCOMPARE(strip(dialog.grid(BufferSide::Input), 8), input);
        QCOMPARE(strip(dialog.grid(BufferSide::Output), 8), output);
        if (uncheck >= 0) {
            dialog.commandList()->item(uncheck)->setCheckState(Qt::Unchecked);
        }
        QCOMPARE(strip(dialog.grid(BufferSide::Input), 8), inputAfter);
        if (uncheck >= 0) {
            dialog.commandList()->item(uncheck)->setCheckState(Qt::Checked);
            QCOMPARE(strip(dialog.grid(BufferSide::Input), 8), input);
        }
        QVERIFY(cfg == before);
    }

    // Offset 123 is row 12, column 4; the rows are labelled with their first offset.
    void conflictWindowPlacesOffsets() {
        const GatewayConfiguration cfg = withCommands({{"3", "1", "123"}, {"1", "2", "249"}});
        ConflictDialog dialog(cfg);
        QTableWidget* in = dialog.grid(BufferSide::Input);
        QCOMPARE(in->item(12, 0)->text(), QStringLiteral("0120"));
        QCOMPARE(in->item(0, 0)->text(), QStringLiteral("0000"));
        QCOMPARE(in->item(24, 0)->text(), QStringLiteral("0240"));
        QCOMPARE(in->item(12, 4)->background().color(), QColor(0, 255, 0));
        QVERIFY(!in->item(12, 3)->data(Qt::BackgroundRole).isValid());
        // 249 is the last byte with a cell; 250 has none.
        QCOMPARE(in->item(24, 10)->background().color(), QColor(0, 255, 0));
        QStringList labels;
        for (int i = 0; i < dialog.commandList()->count(); ++i) {
            labels << dialog.commandList()->item(i)->text();
        }
        QCOMPARE(labels, QStringList({"TPDO", "Upload SDO"}));
    }

    // Tools -> "Mapping Address Conflict Detection(&C)" shows the live configuration.
    void conflictCommandShowsTheLiveConfiguration() {
        test::ScriptedPrompts prompts;
        prompts.configTypes.push_back(0);
        prompts.configFormats.push_back(1);
        MainWindow frame(prompts);
        QCOMPARE(frame.start(QString()), MainWindow::StartResult::Running);
        liveConfiguration(frame.session()) = withCommands({{"4", "2", "3"}});
        QString seen;
        QTimer::singleShot(50, [&] {
            if (auto* d = qobject_cast<ConflictDialog*>(QApplication::activeModalWidget())) {
                seen = strip(d->grid(BufferSide::Output), 6);
                d->reject();
            }
        });
        frame.action(QStringLiteral("Mapping Address Conflict Detection(&C)"))->trigger();
        QCOMPARE(seen, QStringLiteral("...OO."));
    }

    // --demo: the simulator comes up, its port is listed as "Demo gateway", it answers the
    // monitor, and it is gone when the demo ends.
    void demoGatewayStartsAndEnds() {
        qint64 pid = 0;
        {
            DemoGateway demo;
            QString error;
            QVERIFY2(demo.start(error), qPrintable(error));
            pid = demo.processId();
            QVERIFY(pid > 0);
            const std::vector<std::string> ports = platform::serialPortList();
            QVERIFY(std::find(ports.begin(), ports.end(), demo.device()) != ports.end());
            QCOMPARE(portDisplayName(demo.device()), QStringLiteral("Demo gateway"));
            SerialDialogState state;
            SerialDialog dialog(state, ports);
            QVERIFY(dialog.portBox()->findText(QStringLiteral("Demo gateway")) >= 0);

            test::ScriptedPrompts prompts;
            MonitorWindow window(demo.device(), platformPorts(), prompts);
            window.show();
            QTRY_VERIFY_WITH_TIMEOUT(window.list()->rowCount() >= 1, 10000);
        }
        QVERIFY(::kill(static_cast<pid_t>(pid), 0) != 0);
    }

    // `torvane --demo` starts the simulator as its child (the kernel keeps 15 letters of its
    // name); when the program dies without a word,
    // the simulator goes with it.
    void demoGatewayEndsWithACrashedProgram() {
        QProcess program;
        program.start(QStringLiteral(TORVANE_PROGRAM), {QStringLiteral("--demo")});
        QVERIFY(program.waitForStarted(5000));
        std::vector<pid_t> sims;
        QTRY_VERIFY_WITH_TIMEOUT(
            !(sims = childrenNamed(program.processId(), "torvane-gateway")).empty(), 10000);
        ::kill(static_cast<pid_t>(program.processId()), SIGKILL);
        QVERIFY(program.waitForFinished(5000));
        QTRY_VERIFY_WITH_TIMEOUT(::kill(sims.front(), 0) != 0, 5000);
    }
};

QTEST_MAIN(MonitorWindowTest)
#include "monitor_window_test.moc"
