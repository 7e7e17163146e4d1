// The monitor window against the gateway simulator through the main window's Monitor command, the
// conflict window, and `--demo`.

#include "../support/session_access.h"
#include "editor/config_session.h"
#include "gateway_sim.h"
#include "gui/app/demo_gateway.h"
#include "gui/app/gui_texts.h"
#include "gui/app/main_window.h"
#include "gui/app/translation.h"
#include "gui/comm/serial_dialog.h"
#include "gui/editor/config_document.h"
#include "gui/mapping/conflict_dialog.h"
#include "gui/monitor/monitor_window.h"
#include "model/strings.h"
#include "platform/serial_ports.h"
#include "scripted_prompts.h"

#include <QApplication>
#include <QComboBox>
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
using test::GatewaySim;

namespace {

// The platform's ports, as the program opens them (a pseudo-terminal without parity).
SerialPortFactory platformPorts() {
    return [] { return platform::createSerialPort(); };
}

bool listHas(QTableWidget* list, const QString& status, const QString& dataPrefix) {
    for (int r = 0; r < list->rowCount(); ++r) {
        if (list->item(r, 0)->text() == status && list->item(r, 2)->text().startsWith(dataPrefix)) {
            return true;
        }
    }
    return false;
}

// Cells of offsets from..from+n-1 as letters: . default, I green, O blue, X red.
QString strip(QTableWidget* grid, int from, qsizetype n) {
    QString s;
    for (int a = from; a < from + n; ++a) {
        const QVariant v = grid->item(a / 10, a % 10 + 1)->data(Qt::BackgroundRole);
        const QColor c = v.isValid() ? v.value<QBrush>().color() : QColor();
        s += !v.isValid()             ? '.'
             : c == QColor(0, 255, 0) ? 'I'
             : c == QColor(0, 0, 255) ? 'O'
             : c == QColor(255, 0, 0) ? 'X'
                                      : '?';
    }
    return s;
}

// A master whose commands of node 1 are "type:bytes:address" separated by blanks.
GatewayConfiguration withCommands(const QString& commands) {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    for (const QString& c : commands.split(' ')) {
        const QStringList f = c.split(':');
        INSTRUCTION ins;
        ins.InstructionType = f[0].toStdString();
        ins.Bytes = f[1].toStdString();
        ins.MappingAddress = f[2].toStdString();
        ins.NodeAddress = "1";
        ins.NodeIndex = 1;
        appendCommand(cfg.Config, ins);
    }
    return cfg;
}

// A child of `parent` named `name` (the kernel keeps 15 letters of it), found through /proc; 0
// when there is none.
pid_t childNamed(qint64 parent, const QByteArray& name) {
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        QFile stat(QString::fromStdString(entry.path().string() + "/stat"));
        if (!stat.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QByteArray text = stat.readAll(); // pid (comm) state ppid ...
        const qsizetype open = text.indexOf('(');
        const qsizetype close = text.lastIndexOf(')');
        const QList<QByteArray> rest = text.mid(close + 2).split(' ');
        if (rest.size() > 1 && rest[1].toLongLong() == parent &&
            text.mid(open + 1, close - open - 1) == name) {
            return text.left(text.indexOf(' ')).toInt();
        }
    }
    return 0;
}

// A main window started with a new master configuration and the platform's ports.
std::unique_ptr<MainWindow> startFrame(test::ScriptedPrompts& prompts) {
    prompts.configTypes.push_back(0);
    prompts.configFormats.push_back(1);
    auto frame = std::make_unique<MainWindow>(prompts);
    frame->start(QString());
    frame->setMonitorPorts(platformPorts());
    return frame;
}

} // namespace

class MonitorWindowTest : public QObject {
    Q_OBJECT

private slots:
    // Toolbar "Monitor": the serial dialog first while the port was never configured (its Cancel
    // still marks it configured), then the monitor beside the main window. Saving its content
    // names the log in the status bar; a log that cannot be created is told and not written.
    void monitorCommandAsksForThePortOnce() {
        test::ScriptedPrompts prompts;
        const auto frame = startFrame(prompts);
        int serialDialogs = 0;
        QTimer::singleShot(50, [&] {
            if (auto* d = qobject_cast<SerialDialog*>(QApplication::activeModalWidget())) {
                ++serialDialogs;
                d->reject();
            }
        });
        frame->action(QStringLiteral("Monitor"))->trigger();
        QCOMPARE(serialDialogs, 1);
        QVERIFY(frame->serialSettings().configured);
        QPointer<MonitorWindow> w = frame->monitorWindow();
        QVERIFY(w != nullptr && w->isVisible() && !w->isModal());
        w->reject();
        QTRY_VERIFY(w == nullptr);

        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("monitor.txt"));
        const QString unwritable = dir.filePath(QStringLiteral("missing/monitor.txt"));
        prompts.files = {log.toStdString(), unwritable.toStdString()};
        frame->action(QStringLiteral("Monitor"))->trigger();
        QCOMPARE(serialDialogs, 1);
        w = frame->monitorWindow();
        QVERIFY(w != nullptr);
        w->showTick({{str::MonitorInputData, "12:00:00", "01 02 "}}, {});
        for (int i = 0; i < 4; ++i) {
            QTest::mouseClick(w->saveButton(), Qt::LeftButton);
        }
        QCOMPARE(frame->statusBar()->currentMessage(), QStringLiteral("Saved ") + log);
        QCOMPARE(prompts.told.size(), std::size_t{1});
        QVERIFY(!QFile::exists(unwritable));
        QCOMPARE(w->saveButton()->text(), ui(str::MonitorSaveContent));
        w->reject();
        QVERIFY(QFile::exists(log));
        QVERIFY(prompts.unexpected.empty());
    }

    // Through the menus against a simulator playing input values: the Commands view follows the
    // frames while the configuration stays open for browsing, an edit raises the banner, Transmit
    // by command or by offset reaches the gateway, and closing asks about the outputs left set.
    void commandsViewThroughTheMenus() {
        QTemporaryDir dir;
        GatewaySim sim({QStringLiteral("--monitor"), QStringLiteral("addressed"),
                        QStringLiteral("--step"), QStringLiteral("0F 00 01"),
                        QStringLiteral("--step"), QStringLiteral("10 00 02")},
                       dir.filePath(QStringLiteral("sim.log")));
        QVERIFY(!sim.device().isEmpty());
        test::ScriptedPrompts prompts;
        const auto frame = startFrame(prompts);
        frame->show();
        QVERIFY(frame->document()->openRecent(
            QStringLiteral(TORVANE_TEST_DATA_DIR "/monitor_drive.xml")));
        frame->session().noteGatewayEqual(); // as a comparison with the gateway would find it
        SerialDialogState& port = frame->serialSettings();
        port.ports = {sim.device().toStdString()};
        port.portIndex = 0;
        port.configured = true;
        auto transmit = [&](MonitorWindow* w, const QString& value) {
            w->commandsView()->setCurrentItem(w->commandsView()->topLevelItem(2));
            w->valueEdit()->setText(value);
            QTRY_VERIFY_WITH_TIMEOUT(w->commandTransmitButton()->isEnabled(), 10000);
            QTest::keyClick(w->valueEdit(), Qt::Key_Return);
            QTRY_VERIFY_WITH_TIMEOUT(w->outputsLabel()->text().endsWith(": 0"), 10000);
        };
        frame->action(QStringLiteral("Monitor"))->trigger();
        QPointer<MonitorWindow> w = frame->monitorWindow();
        QVERIFY(w != nullptr && !w->isModal());
        QTRY_VERIFY_WITH_TIMEOUT(listHas(w->list(), "Input data", QString()), 10000);
        QTreeWidget* view = w->commandsView();
        QCOMPARE(view->topLevelItemCount(), 4);
        QTRY_COMPARE_WITH_TIMEOUT(view->topLevelItem(0)->text(6), QStringLiteral("0F 00"), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(view->topLevelItem(0)->text(6), QStringLiteral("10 00"), 10000);
        QCOMPARE(view->topLevelItem(1)->text(7), QStringLiteral("2"));
        QVERIFY(w->banner()->isHidden());
        // Browsing goes on; a transfer is refused while the monitor holds the port.
        frame->action(ui(str::TipDownload))->trigger();
        QCOMPARE(QString::fromStdString(prompts.told.back()), ui(str::MonitorUsesPort));

        // An edit: the banner, and no writing by command; Undo makes it the gateway's again.
        frame->session().commitCell(canopenSideItem(frame->session().configuration()), 3, "30");
        QTRY_VERIFY(!w->banner()->isHidden());
        view->setCurrentItem(view->topLevelItem(2));
        QVERIFY(!w->commandTransmitButton()->isEnabled());
        frame->action(QStringLiteral("Undo(&U)"))->trigger();
        QTRY_VERIFY(w->banner()->isHidden());

        // Control word 0x000F on the Receive PDO at output byte 0.
        transmit(w, QStringLiteral("0x000F"));
        QVERIFY(sim.logText().contains(QStringLiteral("IO OUT start 0 data 0F 00")));
        QTRY_COMPARE_WITH_TIMEOUT(view->topLevelItem(2)->text(7), QStringLiteral("15"), 10000);

        // Cancel stays; Yes sends 00 to byte 0 and closes once it went out.
        prompts.yesNoCancel = {SaveAnswer::Cancel, SaveAnswer::Yes};
        w->reject();
        QVERIFY(w->isVisible());
        w->reject();
        QTRY_VERIFY_WITH_TIMEOUT(w == nullptr, 10000);
        QVERIFY(sim.logText().contains(QStringLiteral("IO OUT start 0 data 00 \n")));

        // No closes at once and leaves the output set.
        frame->action(QStringLiteral("Monitor"))->trigger();
        w = frame->monitorWindow();
        QVERIFY(w != nullptr);
        transmit(w, QStringLiteral("7"));
        // Data typed by offset goes out beside it, and the rows keep coming.
        w->startEdit()->setText(QStringLiteral("4"));
        w->dataEdit()->setText(QStringLiteral("01 02"));
        QTest::mouseClick(w->transmitButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(sim.logText().contains("IO OUT start 4 data 01 02"), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(listHas(w->list(), "Output data", "07 00 00 00 01 02"), 10000);
        const int rows = w->list()->rowCount();
        QTRY_VERIFY_WITH_TIMEOUT(w->list()->rowCount() > rows, 10000);

        const QString before = sim.logText();
        prompts.yesNoCancel = {SaveAnswer::No};
        w->reject();
        QTRY_VERIFY(w == nullptr);
        QTest::qWait(1500);
        QCOMPARE(sim.logText().count("data 00 \n"), before.count("data 00 \n"));
        QCOMPARE(prompts.asked.size(), std::size_t{3});
        QVERIFY(prompts.unexpected.empty());
    }

    void conflictWindowColoursTheByteMaps_data() {
        QTest::addColumn<QString>("commands"); // "type:bytes:address" separated by blanks
        QTest::addColumn<int>("from");         // the first offset compared
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output");
        QTest::addColumn<int>("uncheck"); // list line to uncheck afterwards, -1 none
        QTest::addColumn<QString>("inputAfter");
        QTest::newRow("two TPDOs overlap") << "3:4:0 3:4:2" << 0 << "IIXXII.."
                                           << "........" << 1 << "IIII....";
        QTest::newRow("TPDO and RPDO at 0") << "3:1:0 4:1:0" << 0 << "I......."
                                            << "O......." << -1 << "";
        QTest::newRow("row 12, column 4") << "3:1:123" << 120 << "...I...."
                                          << "...." << -1 << "";
        QTest::newRow("the last byte with a cell") << "1:2:249" << 246 << "...I"
                                                   << "...." << -1 << "";
    }

    void conflictWindowColoursTheByteMaps() {
        QFETCH(QString, commands);
        QFETCH(int, from);
        QFETCH(QString, input);
        QFETCH(QString, output);
        QFETCH(int, uncheck);
        QFETCH(QString, inputAfter);
        ConflictDialog dialog(withCommands(commands));
        QTableWidget* in = dialog.grid(BufferSide::Input);
        QCOMPARE(strip(in, from, input.size()), input);
        QCOMPARE(strip(dialog.grid(BufferSide::Output), from, output.size()), output);
        if (uncheck >= 0) {
            dialog.commandList()->item(uncheck)->setCheckState(Qt::Unchecked);
            QCOMPARE(strip(in, from, input.size()), inputAfter);
            dialog.commandList()->item(uncheck)->setCheckState(Qt::Checked);
            QCOMPARE(strip(in, from, input.size()), input);
        }
    }

    // Tools -> "Mapping Address Conflict Detection(&C)" shows the live configuration.
    void conflictCommandShowsTheLiveConfiguration() {
        test::ScriptedPrompts prompts;
        const auto frame = startFrame(prompts);
        liveConfiguration(frame->session()) = withCommands(QStringLiteral("4:2:3"));
        QString seen;
        QTimer::singleShot(50, [&] {
            if (auto* d = qobject_cast<ConflictDialog*>(QApplication::activeModalWidget())) {
                seen = strip(d->grid(BufferSide::Output), 0, 6);
                d->reject();
            }
        });
        frame->action(QStringLiteral("Mapping Address Conflict Detection(&C)"))->trigger();
        QCOMPARE(seen, QStringLiteral("...OO."));
    }

    // --demo: the simulator comes up listed as "Demo gateway", answers the monitor, and is gone
    // when the demo ends, or when the program dies without a word.
    void demoGatewayStartsAndEnds() {
        qint64 pid = 0;
        {
            DemoGateway demo;
            QString error;
            QVERIFY2(demo.start(error), qPrintable(error));
            pid = demo.processId();
            SerialDialogState state;
            SerialDialog dialog(state, platform::serialPortList());
            QVERIFY(dialog.portBox()->findText(QStringLiteral("Demo gateway")) >= 0);
            test::ScriptedPrompts prompts;
            MonitorWindow window(demo.device(), platformPorts(), prompts);
            window.show();
            QTRY_VERIFY_WITH_TIMEOUT(window.list()->rowCount() >= 1, 10000);
        }
        QVERIFY(::kill(static_cast<pid_t>(pid), 0) != 0);

        QProcess program;
        program.start(QStringLiteral(TORVANE_PROGRAM), {QStringLiteral("--demo")});
        QVERIFY(program.waitForStarted(5000));
        pid_t sim = 0;
        QTRY_VERIFY_WITH_TIMEOUT((sim = childNamed(program.processId(), "torvane-gateway")) > 0,
                                 10000);
        ::kill(static_cast<pid_t>(program.processId()), SIGKILL);
        QVERIFY(program.waitForFinished(5000));
        QTRY_VERIFY_WITH_TIMEOUT(::kill(sim, 0) != 0, 5000);
    }
};

QTEST_MAIN(MonitorWindowTest)
#include "monitor_window_test.moc"
