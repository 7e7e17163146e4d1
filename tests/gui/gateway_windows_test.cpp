// The windows that talk to the gateway, against torvane-gatewaysim on a pseudo-terminal with the
// real waits: Download and Upload, both compare windows, the monitor and `--demo`; and the
// conflict window.

#include "../support/session_access.h"
#include "gateway_sim.h"
#include "gui/app/demo_gateway.h"
#include "gui/app/gui_texts.h"
#include "gui/app/main_window.h"
#include "gui/app/translation.h"
#include "gui/comm/serial_dialog.h"
#include "gui/editor/compare_window.h"
#include "gui/editor/config_document.h"
#include "gui/editor/config_view.h"
#include "gui/mapping/conflict_dialog.h"
#include "gui/monitor/monitor_window.h"
#include "gui_test_support.h"
#include "model/config_file.h"
#include "model/strings.h"
#include "platform/serial_ports.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>

using namespace torvane;
using namespace torvane::gui;
using test::GatewaySim;
using test::ScriptedPrompts;

namespace {

constexpr int kTransferTimeoutMs = 90000;
const std::vector<std::string> kSuccess{str::ResultSuccess.source};

// Answers "Download hint:" and notes on which thread it was asked.
class ScriptedQuestions final : public TransferQuestions {
public:
    explicit ScriptedQuestions(FormatChoice answer) : answer_(answer) {}
    FormatChoice askDownloadFormat() override {
        ++asked;
        onGuiThread = QThread::currentThread() == QCoreApplication::instance()->thread();
        return answer_;
    }
    int asked = 0;
    bool onGuiThread = false;

private:
    FormatChoice answer_;
};

// The window's rows, one "item | ours | theirs" line each.
QString listed(const CompareWindow* window) {
    QString rows;
    for (int r = 0; r < window->list()->topLevelItemCount(); ++r) {
        const QTreeWidgetItem* item = window->list()->topLevelItem(r);
        rows += item->text(0) + " | " + item->text(1) + " | " + item->text(2) + "\n";
    }
    return rows;
}

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

// Cells of offsets 0..7 as letters: . default, I green, X red.
QString strip(QTableWidget* grid) {
    QString s;
    for (int a = 0; a < 8; ++a) {
        const QVariant v = grid->item(a / 10, a % 10 + 1)->data(Qt::BackgroundRole);
        const QColor c = v.isValid() ? v.value<QBrush>().color() : QColor();
        s += !v.isValid() ? '.' : c == QColor(0, 255, 0) ? 'I' : c == QColor(255, 0, 0) ? 'X' : '?';
    }
    return s;
}

// A master whose commands of node 1 are "type:bytes:address" separated by blanks.
GatewayConfiguration withCommands(const QString& commands) {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    for (const QString& c : commands.split(' ')) {
        const QStringList f = c.split(':');
        appendCommand(cfg.Config, {"1", f[0].toStdString(), "", "", "", f[2].toStdString(),
                                   f[1].toStdString(), "", "", 1});
    }
    return cfg;
}

} // namespace

class GatewayWindowsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<MainWindow> frame_;
    QTemporaryDir dir_;

    QAction* act(const QString& text) { return frame_->action(text); }
    ConfigView* view() { return frame_->view(); }
    CompareWindow* compareWindow() { return frame_->findChild<CompareWindow*>(); }

    // Opens a copy of the e2e tests' configuration NAME.
    bool openFixture(const char* variant) {
        const QString path = dir_.filePath(QString::fromLatin1(variant) + ".chg");
        return GatewaySim::writeFixture(variant, path) && frame_->document()->openRecent(path);
    }

    // The serial settings as if the dialog had been confirmed on `device`.
    void confirmPort(const QString& device) {
        SerialDialogState& s = frame_->serialSettings();
        s.ports = {device.toStdString()};
        s.portIndex = 0;
        s.configured = true;
    }

    // The simulator started, fixture `variant` open and the port confirmed on it.
    bool ready(const GatewaySim& sim, const char* variant) {
        confirmPort(sim.device());
        return !sim.device().isEmpty() && openFixture(variant);
    }

    void waitIdle() {
        QTRY_VERIFY_WITH_TIMEOUT(!frame_->transfers()->running(), kTransferTimeoutMs);
    }

    // Triggers `text` with every question answered OK and waits for the transfer to end.
    void transfer(const QString& text) {
        prompts_->told.clear();
        prompts_->okCancel = {true, true, true, true};
        act(text)->trigger();
        waitIdle();
    }

private slots: // NOLINT(readability-redundant-access-specifiers)
    void init() {
        prompts_ = std::make_unique<ScriptedPrompts>();
        prompts_->configTypes = {0};
        frame_ = std::make_unique<MainWindow>(*prompts_);
        QCOMPARE(frame_->start(QString()), MainWindow::StartResult::Running);
        frame_->setMonitorPorts(platformPorts());
        frame_->show();
    }

    void cleanup() {
        if (frame_ != nullptr && frame_->transfers()->running()) {
            waitIdle();
        }
        frame_.reset();
    }

    // A download sends the configuration as it was when started and adds no undo step; the
    // compare window then lists exactly the edits; an upload fills a new document.
    void downloadCompareUpload() {
        GatewaySim sim({"--firmware", "5.2"}, dir_.filePath("roundtrip.log"));
        QVERIFY(!sim.device().isEmpty());
        QVERIFY(openFixture("new"));
        const GatewayConfiguration sent = frame_->session().configuration();
        prompts_->okCancel = {true, true, true, true};
        test::whenShown<SerialDialog>([&](SerialDialog* d) {
            d->portBox()->setCurrentIndex(d->portBox()->findText(sim.device()));
            d->accept();
        });
        act(ui(str::TipDownload))->trigger();
        QVERIFY(frame_->transfers()->running());
        liveConfiguration(frame_->session()).Config.SYNC = "77";
        waitIdle();
        QCOMPARE(prompts_->told, kSuccess);
        QVERIFY(act(ui(str::TipUpload))->isEnabled());
        QCOMPARE(frame_->session().configuration().Config.SYNC, std::string("77"));
        QAction* undo = act(QStringLiteral("Undo(&U)"));
        QVERIFY(!undo->isEnabled());
        QVERIFY(!frame_->isWindowModified());

        GatewayConfiguration& live = liveConfiguration(frame_->session());
        live.Config.Instructions[1].Bytes = "6"; // Transmit PDO 389 of node 5
        const GatewayConfiguration before = live;

        transfer(ui(str::MenuCompareGateway));
        QVERIFY(prompts_->told.empty()); // the window is the answer
        QVERIFY(live == before);
        CompareWindow* window = compareWindow();
        QVERIFY(window != nullptr);
        QCOMPARE(listed(window), "CANopen: SYNC Cycle | 77 | 20\n"
                                 "Node 5 / Transmit PDO COB-ID 389: Number of Bytes | 6 | 8\n");

        frame_->session().commitCell(canopenSideItem(live), 7, "78"); // SYNC Cycle
        transfer(ui(str::TipDownload));

        // An upload into a new document brings back what the gateway holds.
        prompts_->saveAnswers = {SaveAnswer::No};
        prompts_->configTypes = {0};
        frame_->document()->fileNew();
        transfer(ui(str::TipUpload));
        QCOMPARE(prompts_->told, kSuccess);
        const CONFIG& back = frame_->session().configuration().Config;
        QCOMPARE(back.SYNC, std::string("78"));
        QCOMPARE(back.InstructionCount, sent.Config.InstructionCount);
        QVERIFY(!undo->isEnabled());
        QVERIFY(prompts_->unexpected.empty());
    }

    void downloadHint_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("edition");
        QTest::newRow("cancel") << int(FormatChoice::Cancel)
                                << QString(str::ResultDownloadCancel.source) << 220;
        // Edition 220 has no RPDO cycle, which the new format needs.
        QTest::newRow("new") << int(FormatChoice::New)
                             << QString("\"CANopen Network\\The Cycle for RPDO Transmission\"is "
                                        "empty")
                             << 320;
    }

    // Asked on the GUI thread while the transfer waits.
    void downloadHint() {
        QFETCH(int, answer);
        QFETCH(QString, message);
        QFETCH(int, edition);
        GatewaySim sim({"--firmware", "5.2"}, dir_.filePath("hint.log"));
        QVERIFY(ready(sim, "edition220"));
        ScriptedQuestions questions(static_cast<FormatChoice>(answer));
        frame_->setTransferQuestions(&questions);
        view()->tree()->setCurrentItem(
            view()->itemFor(canopenSideItem(frame_->session().configuration())));
        transfer(ui(str::TipDownload));
        frame_->setTransferQuestions(nullptr);
        QCOMPARE(questions.asked, 1);
        QVERIFY(questions.onGuiThread);
        QCOMPARE(prompts_->told.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(prompts_->told[0]).trimmed(), message);
        QCOMPARE(frame_->session().configuration().Config.ConfigEdition, edition);
    }

    void stopsBeforeTheTransfer_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("toldSomething");
        QTest::newRow("serial dialog cancelled") << "cancel" << false;
        QTest::newRow("no port listed") << "no ports" << false;
        QTest::newRow("check fails") << "check" << true;
        QTest::newRow("bus-load question cancelled") << "cycle" << false;
    }

    // Ends before a frame is sent, silently or with the check's message; commands stay enabled.
    void stopsBeforeTheTransfer() {
        QFETCH(QString, how);
        QFETCH(bool, toldSomething);
        GatewaySim sim({}, dir_.filePath("stop.log"));
        QVERIFY(ready(sim, "new"));
        prompts_->told.clear();
        CONFIG& c = liveConfiguration(frame_->session()).Config;
        if (how == "cancel") {
            frame_->serialSettings().configured = false;
            test::whenShown<SerialDialog>([](SerialDialog* d) { d->reject(); });
        } else if (how == "no ports") {
            frame_->serialSettings().ports.clear();
        } else if (how == "check") {
            appendNode(c, {"33", "Spare"}); // a node without a command fails the node check
        } else if (how == "cycle") {
            c.SDOCycle = "1";
            prompts_->okCancel = {false};
        }
        act(ui(str::TipDownload))->trigger();
        waitIdle();
        QCOMPARE(prompts_->told.size(), std::size_t(toldSomething ? 1 : 0));
        QVERIFY(how == "check" || prompts_->unexpected.empty());
        QVERIFY(act(ui(str::TipDownload))->isEnabled());
        QVERIFY(act(ui(str::TipUpload))->isEnabled());
        QVERIFY(sim.received().isEmpty());
    }

    void noSecondTransfer_data() {
        QTest::addColumn<QString>("variant");
        QTest::addColumn<bool>("commandsEnabled");
        QTest::newRow("master download") << "new" << false;
        QTest::newRow("slave download") << "slave" << true;
    }

    // No second transfer starts (greyed, or refused as a busy port); a document made meanwhile
    // keeps its own state.
    void noSecondTransfer() {
        QFETCH(QString, variant);
        QFETCH(bool, commandsEnabled);
        GatewaySim sim(commandsEnabled ? QStringList{"--model", "slave"} : QStringList{},
                       dir_.filePath("second.log"));
        QVERIFY(ready(sim, variant.toLatin1().constData()));
        prompts_->okCancel = {true, true, true, true};
        act(ui(str::TipDownload))->trigger();
        QVERIFY(frame_->transfers()->running());
        QCOMPARE(act(ui(str::TipDownload))->isEnabled(), commandsEnabled);
        QCOMPARE(act(ui(str::TipUpload))->isEnabled(), commandsEnabled);
        QTest::qWait(300);
        act(ui(str::TipUpload))->trigger();
        act(ui(str::TipDownload))->trigger();
        prompts_->configTypes = {0};
        frame_->document()->fileNew();
        waitIdle();

        const std::string busy =
            transferResultText(TransferResult::OpenFailed, {}, str::OpenBusy).english();
        std::vector<std::string> want;
        if (commandsEnabled) {
            want = {busy, busy};
        }
        want.push_back(str::ResultSuccess.source);
        QCOMPARE(prompts_->told, want);
        QCOMPARE(sim.received().count("FE 00 FE"), 1);
        QCOMPARE(frame_->session().configuration().Config.ConfigEdition, 500);
        QVERIFY(!frame_->document()->document().ModifiedFlag());
    }

    // A chosen archive: Cancel shows nothing, then its rows; a missing one is told.
    void compareWithFile() {
        QVERIFY(openFixture("compatible"));
        const GatewayConfiguration before = frame_->session().configuration();
        GatewayConfiguration other = before;
        other.Config.Nodes[1].NodeName = "Drain";
        other.Config.InstructionCount -= 1; // drops Download SDO 25088/255 of node 5
        const std::string chg = dir_.filePath("other.chg").toStdString();
        Message error;
        QVERIFY(saveConfigurationFile(chg, other, error));
        prompts_->files = {std::nullopt, chg, dir_.filePath("missing.chg").toStdString()};
        QAction* entry = act(ui(str::MenuCompareFile));
        entry->trigger();
        QVERIFY(compareWindow() == nullptr);
        entry->trigger();
        CompareWindow* window = compareWindow();
        QVERIFY(window != nullptr);
        QCOMPARE(listed(window),
                 "Node 9 | Valve | Drain\n"
                 "Node 5 / Download SDO Index 25088 Sub-index 255 | (present) | (absent)\n");
        entry->trigger();
        QCOMPARE(prompts_->told.size(), std::size_t{1});
        QVERIFY(frame_->session().configuration() == before);
        QVERIFY(prompts_->unexpected.empty());
    }

    // "Monitor" asks for the port once (Cancel too marks it configured). An edit raises the banner;
    // Transmit by command or by offset reaches the gateway; closing asks about the outputs left
    // set. A log that cannot be created is told.
    void monitorThroughTheMenus() {
        GatewaySim sim({"--monitor", "addressed", "--step", "0F 00 01", "--step", "10 00 02"},
                       dir_.filePath("monitor.log"));
        QVERIFY(!sim.device().isEmpty());
        prompts_->configFormats = {1};
        QVERIFY(frame_->document()->openRecent(
            QStringLiteral(TORVANE_TEST_DATA_DIR "/monitor_drive.xml")));
        frame_->session().noteGatewayEqual(); // as a comparison with the gateway would find it
        int serialDialogs = 0;
        test::whenShown<SerialDialog>([&](SerialDialog* d) {
            ++serialDialogs;
            d->reject();
        });
        act(QStringLiteral("Monitor"))->trigger();
        QVERIFY(frame_->serialSettings().configured);
        QPointer<MonitorWindow> w = frame_->monitorWindow();
        QVERIFY(w != nullptr && w->isVisible() && !w->isModal());
        w->showTick({{str::MonitorInputData, "12:00:00", "01 02 "}}, {});
        const QString unwritable = dir_.filePath("missing/monitor.txt");
        prompts_->files = {unwritable.toStdString()};
        QTest::mouseClick(w->saveButton(), Qt::LeftButton);
        QTest::mouseClick(w->saveButton(), Qt::LeftButton);
        QCOMPARE(prompts_->told.size(), std::size_t{1});
        QVERIFY(!QFile::exists(unwritable));
        w->reject();
        QTRY_VERIFY(w == nullptr);
        confirmPort(sim.device());
        auto transmit = [&](MonitorWindow* w, const QString& value) {
            w->commandsView()->setCurrentItem(w->commandsView()->topLevelItem(2));
            w->valueEdit()->setText(value);
            QTRY_VERIFY_WITH_TIMEOUT(w->commandTransmitButton()->isEnabled(), 10000);
            QTest::keyClick(w->valueEdit(), Qt::Key_Return);
            QTRY_VERIFY_WITH_TIMEOUT(w->outputsLabel()->text().endsWith(": 0"), 10000);
        };
        act(QStringLiteral("Monitor"))->trigger();
        w = frame_->monitorWindow();
        QVERIFY(w != nullptr);
        QTRY_VERIFY_WITH_TIMEOUT(listHas(w->list(), "Input data", QString()), 10000);
        QTreeWidget* view = w->commandsView();
        QCOMPARE(view->topLevelItemCount(), 4);
        QVERIFY(w->banner()->isHidden());
        // Browsing goes on; a transfer is refused while the monitor holds the port.
        act(ui(str::TipDownload))->trigger();
        QCOMPARE(QString::fromStdString(prompts_->told.back()), ui(str::MonitorUsesPort));

        // An edit: the banner, and no writing by command; Undo makes it the gateway's again.
        frame_->session().commitCell(canopenSideItem(frame_->session().configuration()), 3, "30");
        QTRY_VERIFY(!w->banner()->isHidden());
        view->setCurrentItem(view->topLevelItem(2));
        QVERIFY(!w->commandTransmitButton()->isEnabled());
        act(QStringLiteral("Undo(&U)"))->trigger();
        QTRY_VERIFY(w->banner()->isHidden());

        // Control word 0x000F on the Receive PDO at output byte 0.
        transmit(w, QStringLiteral("0x000F"));
        QVERIFY(sim.logText().contains(QStringLiteral("IO OUT start 0 data 0F 00")));
        QTRY_COMPARE_WITH_TIMEOUT(view->topLevelItem(2)->text(7), QStringLiteral("15"), 10000);

        // Cancel stays; Yes sends 00 to byte 0 and closes once it went out.
        prompts_->yesNoCancel = {SaveAnswer::Cancel, SaveAnswer::Yes};
        w->reject();
        QVERIFY(w->isVisible());
        w->reject();
        QTRY_VERIFY_WITH_TIMEOUT(w == nullptr, 10000);
        QVERIFY(sim.logText().contains(QStringLiteral("IO OUT start 0 data 00 \n")));

        // No closes at once and leaves the output set.
        act(QStringLiteral("Monitor"))->trigger();
        w = frame_->monitorWindow();
        QVERIFY(w != nullptr);
        transmit(w, QStringLiteral("7"));
        // Data typed by offset goes out beside it, and the rows keep coming.
        w->startEdit()->setText(QStringLiteral("4"));
        w->dataEdit()->setText(QStringLiteral("01 02"));
        QTest::mouseClick(w->transmitButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(sim.logText().contains("IO OUT start 4 data 01 02"), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(listHas(w->list(), "Output data", "07 00 00 00 01 02"), 10000);

        const QString before = sim.logText();
        prompts_->yesNoCancel = {SaveAnswer::No};
        w->reject();
        QTRY_VERIFY(w == nullptr);
        QTest::qWait(1500);
        QCOMPARE(sim.logText().count("data 00 \n"), before.count("data 00 \n"));
        QCOMPARE(prompts_->asked.size(), std::size_t{3});
        QCOMPARE(serialDialogs, 1);
        QVERIFY2(prompts_->unexpected.empty(), test::unexpectedQuestions(*prompts_).c_str());
    }

    // Tools -> "Mapping Address Conflict Detection(&C)" on the live configuration: two TPDOs
    // overlap, and unchecking one recolours the input map.
    void conflictWindowColoursTheByteMaps() {
        liveConfiguration(frame_->session()) = withCommands("3:4:0 3:4:2");
        QStringList seen; // input, output, input unchecked, input checked again
        test::whenShown<ConflictDialog>([&](ConflictDialog* d) {
            QTableWidget* in = d->grid(BufferSide::Input);
            seen << strip(in) << strip(d->grid(BufferSide::Output));
            d->commandList()->item(1)->setCheckState(Qt::Unchecked);
            seen << strip(in);
            d->commandList()->item(1)->setCheckState(Qt::Checked);
            seen << strip(in);
            d->reject();
        });
        act(QStringLiteral("Mapping Address Conflict Detection(&C)"))->trigger();
        QCOMPARE(seen, QStringList({"IIXXII..", "........", "IIII....", "IIXXII.."}));
    }

    // The demo simulator answers and ends with the demo.
    void demoGatewayStartsAndEnds() {
        qint64 pid = 0;
        {
            DemoGateway demo;
            QString error;
            QVERIFY2(demo.start(error), qPrintable(error));
            pid = demo.processId();
            test::ScriptedPrompts prompts;
            MonitorWindow window(demo.device(), platformPorts(), prompts);
            window.show();
            QTRY_VERIFY_WITH_TIMEOUT(window.list()->rowCount() >= 1, 10000);
        }
        QVERIFY(::kill(static_cast<pid_t>(pid), 0) != 0);
    }
};

QTEST_MAIN(GatewayWindowsTest)
#include "gateway_windows_test.moc"
