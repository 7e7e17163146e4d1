// Download and Upload from the main window against torvane-gatewaysim on a pseudo-terminal, with
// the real waits: the serial dialog, the progress window, the "Download hint:" question, the one
// message box and the greying of the two commands.
//
// `gui_transfer_test --measure [RUNS]` instead prints the event loop's lateness during downloads;
// `gui_transfer_test --screenshot OUT.png` renders the progress popup mid-download.

#include "../support/session_access.h"
#include "gateway_sim.h"
#include "gui/app/gui_texts.h"
#include "gui/app/main_window.h"
#include "gui/app/translation.h"
#include "gui/comm/progress_window.h"
#include "gui/comm/serial_dialog.h"
#include "gui/editor/config_document.h"
#include "gui/editor/config_view.h"
#include "model/strings.h"
#include "scripted_prompts.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

using namespace torvane;
using namespace torvane::gui;
using test::GatewaySim;
using test::ScriptedPrompts;

namespace {

constexpr int kTransferTimeoutMs = 90000;
const QColor kGrey(200, 200, 200);

// What the protocol carries of a configuration; names and descriptions stay behind.
QStringList carried(const GatewayConfiguration& g) {
    const CONFIG& c = g.Config;
    std::vector<std::string> v = {g.Fieldbus.InportNum};
    if (g.isMaster()) {
        v.insert(v.end(),
                 {c.SlaveAddress, c.BuadRate, c.SDOTimeout, c.NMT, c.TPDOTimeout, c.DelayStart,
                  c.SYNC, c.ControlStatus, c.ErrorControl, c.RPDOCycle, c.OutputProcessing,
                  c.SDOCycle, c.SDOConcurrent, c.SDORetries, c.SDOPollDelay});
        std::vector<std::string> nodes;
        nodes.reserve(static_cast<std::size_t>(std::max(c.NodeCount, 0)));
        for (int n = 0; n < c.NodeCount; ++n) {
            nodes.push_back(c.Nodes[static_cast<std::size_t>(n)].NodeAddress);
        }
        std::sort(nodes.begin(), nodes.end());
        v.insert(v.end(), nodes.begin(), nodes.end());
    } else {
        v.insert(v.end(), {c.SlaveBaudRate, c.SlaveNodeAddress, c.RPDOTimeout, c.SlaveDelayStart});
    }
    // The gateway keeps the commands grouped by kind: compare them as a set.
    std::vector<std::string> commands;
    for (int i = 0; i < c.InstructionCount; ++i) {
        const INSTRUCTION& x = c.Instructions[static_cast<std::size_t>(i)];
        commands.push_back(x.InstructionType + "|" + x.CobId + "|" + x.Index + "|" + x.SubIndex +
                           "|" + x.Bytes + "|" + x.MappingAddress + "|" +
                           (g.isMaster() ? x.NodeAddress : ""));
    }
    std::sort(commands.begin(), commands.end());
    v.insert(v.end(), commands.begin(), commands.end());
    QStringList out;
    for (const std::string& s : v) {
        out << QString::fromStdString(s);
    }
    return out;
}

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

// Every value the progress bar took while the popup was visible, and whether it closed.
struct ProgressRecord {
    QList<int> values;
    int maximum = 0;
};

void recordProgress(ProgressWindow* wait, ProgressRecord& record) {
    QObject::connect(wait->bar(), &QProgressBar::valueChanged, wait, [wait, &record](int v) {
        if (wait->isVisible() && v > 0) {
            record.values << v;
            record.maximum = wait->bar()->maximum();
        }
    });
}

// Runs `action` on the modal dialog of type T once it is shown.
template <typename T> void whenShown(std::function<void(T*)> action) {
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, action] {
        if (auto* t = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(t);
        } else if (++*tries > 250) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(20);
}

} // namespace

class TransferTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<MainWindow> frame_;
    QTemporaryDir dir_;

    QAction* act(const QString& tip) { return frame_->action(tip); }
    ConfigView* view() { return frame_->view(); }

    // A configuration written by transfer_fixture (beside this program) and opened.
    void openFixture(const char* variant) {
        const QString path = dir_.filePath(QString::fromLatin1(variant) + ".chg");
        QVERIFY(GatewaySim::writeFixture(variant, path));
        QVERIFY(frame_->document()->openRecent(path));
    }

    // The serial settings as if the dialog had been confirmed on `device`.
    void confirmPort(const QString& device) {
        SerialDialogState& s = frame_->serialSettings();
        s.ports = {device.toStdString()};
        s.portIndex = 0;
        s.configured = true;
    }

    void waitIdle() {
        QTRY_VERIFY_WITH_TIMEOUT(!frame_->transfers()->running(), kTransferTimeoutMs);
    }

    void selectCanopenPage() {
        QTreeWidgetItem* item = view()->itemFor(canopenSideItem(frame_->session().configuration()));
        QVERIFY(item != nullptr);
        view()->tree()->setCurrentItem(item);
    }

private slots: // NOLINT(readability-redundant-access-specifiers)
    void init() {
        frame_.reset();
        prompts_ = std::make_unique<ScriptedPrompts>();
        prompts_->configTypes = {0};
        frame_ = std::make_unique<MainWindow>(*prompts_);
        QCOMPARE(frame_->start(QString()), MainWindow::StartResult::Running);
        frame_->show();
    }

    void cleanup() {
        if (frame_ != nullptr && frame_->transfers()->running()) {
            QTRY_VERIFY_WITH_TIMEOUT(!frame_->transfers()->running(), kTransferTimeoutMs);
        }
        frame_.reset();
    }

    // A master configuration goes down with 13 progress steps while the user edits on, then
    // comes back into a new document field for field.
    void downloadThenUploadIntoNewDocument() {
        GatewaySim sim({}, dir_.filePath("roundtrip.log"));
        QVERIFY(!sim.device().isEmpty());
        openFixture("new");
        const GatewayConfiguration sent = frame_->session().configuration();
        prompts_->okCancel = {true, true, true, true};

        // The serial dialog comes first: pick the simulator's port.
        whenShown<SerialDialog>([&](SerialDialog* d) {
            d->portBox()->setCurrentIndex(d->portBox()->findText(sim.device()));
            d->accept();
        });
        ProgressRecord progress;
        recordProgress(frame_->waitDialog(), progress);
        act(ui(str::TipDownload))->trigger();
        QVERIFY(frame_->serialSettings().configured);
        QVERIFY(frame_->transfers()->running());
        QVERIFY(!act(ui(str::TipDownload))->isEnabled());
        QVERIFY(!act(ui(str::TipUpload))->isEnabled());

        // Editing goes on meanwhile; the download sends the configuration as it was.
        liveConfiguration(frame_->session()).Config.SYNC = "77";
        waitIdle();

        QCOMPARE(progress.maximum, 1300);
        QCOMPARE(progress.values.size(), 13);
        QCOMPARE(progress.values.last(), 1300);
        QVERIFY(!frame_->waitDialog()->isVisible());
        QCOMPARE(frame_->waitDialog()->titleLabel()->text(), ui(str::WaitTitleDownload));
        QCOMPARE(frame_->waitDialog()->lineLabel()->text(),
                 QStringLiteral("Download to %1: frame 13 of 13").arg(sim.device()));
        QCOMPARE(prompts_->told, std::vector<std::string>{str::ResultSuccess.source});
        QVERIFY(act(ui(str::TipDownload))->isEnabled());
        QVERIFY(act(ui(str::TipUpload))->isEnabled());
        QCOMPARE(frame_->session().configuration().Config.SYNC, std::string("77"));
        // The new format's edition behaves as the current one: the download changed nothing of
        // the configuration, so it adds no undo step and leaves the mark clear.
        QCOMPARE(frame_->session().configuration().Config.ConfigEdition, sent.Config.ConfigEdition);
        QAction* undo = frame_->action(QStringLiteral("Undo(&U)"));
        QVERIFY(!undo->isEnabled());
        QVERIFY(!frame_->document()->document().ModifiedFlag());
        QVERIFY(!frame_->isWindowModified());

        prompts_->told.clear();
        prompts_->saveAnswers = {SaveAnswer::No};
        prompts_->configTypes = {0};
        frame_->document()->fileNew();
        QCOMPARE(frame_->session().configuration().Config.InstructionCount, 0);
        act(ui(str::TipUpload))->trigger();
        QVERIFY(!act(ui(str::TipDownload))->isEnabled());
        waitIdle();
        QCOMPARE(prompts_->told, std::vector<std::string>{str::ResultSuccess.source});
        QCOMPARE(carried(frame_->session().configuration()), carried(sent));
        QVERIFY(frame_->document()->document().ModifiedFlag());
        QVERIFY(!undo->isEnabled());
        // The tree shows what came back: both nodes under "CANopen Network".
        QCOMPARE(view()->tree()->topLevelItem(1)->childCount(), sent.Config.NodeCount);

        // 85 commands: the download cuts the last one, and that is a step that says so.
        prompts_->saveAnswers = {SaveAnswer::No};
        openFixture("master85");
        prompts_->told.clear();
        prompts_->okCancel = {true, true, true, true};
        act(ui(str::TipDownload))->trigger();
        waitIdle();
        QCOMPARE(prompts_->told, std::vector<std::string>{str::ResultSuccess.source});
        QCOMPARE(frame_->session().configuration().Config.InstructionCount, 84);
        QCOMPARE(undo->statusTip(), QStringLiteral("Undo: Download (84-command cut)"));
        QVERIFY(frame_->isWindowModified());
        undo->trigger();
        QCOMPARE(frame_->session().configuration().Config.InstructionCount, 85);
        QVERIFY(!frame_->document()->document().ModifiedFlag());
        QVERIFY(prompts_->unexpected.empty());
    }

    void downloadHint_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("edition");
        QTest::addColumn<bool>("rowsGrey");
        QTest::newRow("cancel") << int(FormatChoice::Cancel)
                                << QString(str::ResultDownloadCancel.source) << 220 << true;
        // Edition 220 has no RPDO cycle, which the new format needs; the edition is decided
        // all the same and rows 8 and 9 open up.
        QTest::newRow("new") << int(FormatChoice::New)
                             << QString("\"CANopen Network\\The Cycle for RPDO Transmission\"is "
                                        "empty")
                             << 320 << false;
    }

    // An archive of an earlier version meets new firmware: the question is asked on the GUI
    // thread while the transfer waits, and its answer decides the format and rows 8 and 9.
    void downloadHint() {
        QFETCH(int, answer);
        QFETCH(QString, message);
        QFETCH(int, edition);
        QFETCH(bool, rowsGrey);
        GatewaySim sim({"--firmware", "5.2"}, dir_.filePath("hint.log"));
        QVERIFY(!sim.device().isEmpty());
        openFixture("edition220");
        QCOMPARE(frame_->session().configuration().Config.ConfigEdition, 220);
        prompts_->told.clear();
        prompts_->okCancel = {true, true, true, true};
        ScriptedQuestions questions(static_cast<FormatChoice>(answer));
        frame_->setTransferQuestions(&questions);
        confirmPort(sim.device());
        selectCanopenPage();

        act(ui(str::TipDownload))->trigger();
        waitIdle();
        QCOMPARE(questions.asked, 1);
        QVERIFY(questions.onGuiThread);
        QCOMPARE(prompts_->told.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(prompts_->told[0]).trimmed(), message);
        QCOMPARE(frame_->session().configuration().Config.ConfigEdition, edition);
        for (int row : {8, 9}) {
            QCOMPARE(view()->grid()->item(row, 1)->background().color() == kGrey, rowsGrey);
        }
        frame_->setTransferQuestions(nullptr);
    }

    void stopsBeforeTheTransfer_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("toldSomething");
        QTest::newRow("serial dialog cancelled") << "cancel" << false;
        QTest::newRow("no port listed") << "no ports" << false;
        QTest::newRow("check fails") << "check" << true;
        QTest::newRow("bus-load question cancelled") << "cycle" << false;
    }

    // Commands that end before a frame is sent: silently, or with the check's own message, and
    // both commands stay enabled.
    void stopsBeforeTheTransfer() {
        QFETCH(QString, how);
        QFETCH(bool, toldSomething);
        GatewaySim sim({}, dir_.filePath("stop.log"));
        QVERIFY(!sim.device().isEmpty());
        openFixture("new");
        prompts_->told.clear();
        if (how == "cancel") {
            whenShown<SerialDialog>([](SerialDialog* d) { d->reject(); });
        } else if (how == "no ports") {
            confirmPort(sim.device());
            frame_->serialSettings().ports.clear();
        } else if (how == "check") {
            confirmPort(sim.device());
            // A node without a command fails the node check.
            CONFIG& c = liveConfiguration(frame_->session()).Config;
            c.Nodes[static_cast<std::size_t>(c.NodeCount)] = {"33", "Spare"};
            ++c.NodeCount;
        } else {
            confirmPort(sim.device());
            liveConfiguration(frame_->session()).Config.SDOCycle = "1";
            prompts_->okCancel = {false};
        }
        act(ui(str::TipDownload))->trigger();
        waitIdle();
        QCOMPARE(prompts_->told.empty(), !toldSomething);
        QCOMPARE(prompts_->told.size() <= 1, true);
        if (how != "check") {
            QVERIFY(prompts_->unexpected.empty());
        }
        QVERIFY(act(ui(str::TipDownload))->isEnabled());
        QVERIFY(act(ui(str::TipUpload))->isEnabled());
        QVERIFY(sim.received().isEmpty());
    }

    // A document opened while a download runs keeps what it has: the result belongs to the
    // configuration that was sent.
    void newDocumentDuringDownloadKeepsItsOwnState() {
        GatewaySim sim({}, dir_.filePath("newdoc.log"));
        QVERIFY(!sim.device().isEmpty());
        openFixture("new");
        prompts_->told.clear();
        prompts_->okCancel = {true, true, true, true};
        confirmPort(sim.device());
        act(ui(str::TipDownload))->trigger();
        QTest::qWait(300);
        prompts_->configTypes = {0};
        frame_->document()->fileNew();
        waitIdle();
        QCOMPARE(prompts_->told, std::vector<std::string>{str::ResultSuccess.source});
        QCOMPARE(frame_->session().configuration().Config.ConfigEdition, 500);
        QVERIFY(!frame_->document()->document().ModifiedFlag());
    }

    void noSecondTransfer_data() {
        QTest::addColumn<QString>("variant");
        QTest::addColumn<bool>("commandsEnabled");
        QTest::newRow("master download") << "new" << false;
        QTest::newRow("slave download") << "slave" << true;
    }

    // While a transfer runs no second one starts: the master download greys the commands, the
    // slave download leaves them enabled and a second start is refused as a busy port.
    void noSecondTransfer() {
        QFETCH(QString, variant);
        QFETCH(bool, commandsEnabled);
        const bool slave = variant == "slave";
        GatewaySim sim(slave ? QStringList{"--model", "slave"} : QStringList{},
                       dir_.filePath("second.log"));
        QVERIFY(!sim.device().isEmpty());
        openFixture(variant.toLatin1().constData());
        prompts_->told.clear();
        prompts_->okCancel = {true, true, true, true};
        confirmPort(sim.device());

        act(ui(str::TipDownload))->trigger();
        QVERIFY(frame_->transfers()->running());
        QCOMPARE(act(ui(str::TipDownload))->isEnabled(), commandsEnabled);
        QCOMPARE(act(ui(str::TipUpload))->isEnabled(), commandsEnabled);
        QTest::qWait(300);
        act(ui(str::TipUpload))->trigger();
        act(ui(str::TipDownload))->trigger();
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
    }
};

namespace {

// Downloads the "new" fixture `runs` times and prints how late a 10 ms timer fired on the GUI
// thread meanwhile.
int measure(int runs) {
    ScriptedPrompts prompts;
    prompts.configTypes = {0};
    MainWindow frame(prompts);
    if (frame.start(QString()) != MainWindow::StartResult::Running) {
        return 1;
    }
    frame.show();
    QTemporaryDir dir;
    const QString path = dir.filePath("new.chg");
    if (!GatewaySim::writeFixture("new", path) || !frame.document()->openRecent(path)) {
        std::fprintf(stderr, "cannot write or open the fixture\n");
        return 1;
    }
    GatewaySim sim({}, dir.filePath("sim.log"));
    if (sim.device().isEmpty()) {
        std::fprintf(stderr, "the simulator did not start\n");
        return 1;
    }
    SerialDialogState& s = frame.serialSettings();
    s.ports = {sim.device().toStdString()};
    s.portIndex = 0;
    s.configured = true;

    std::printf("event-loop lateness of a 10 ms timer during a download\n");
    std::printf("%-4s %10s %8s %10s %10s\n", "run", "transfer_s", "ticks", "mean_ms", "max_ms");
    qint64 worst = 0;
    for (int run = 1; run <= runs; ++run) {
        prompts.okCancel = {true, true, true, true};
        prompts.told.clear();
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
        frame.startDownload();
        while (frame.transfers()->running()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
            QCoreApplication::sendPostedEvents();
        }
        timer.stop();
        const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        if (prompts.told != std::vector<std::string>{str::ResultSuccess.source}) {
            std::fprintf(stderr, "run %d: %s\n", run,
                         prompts.told.empty() ? "no message" : prompts.told.back().c_str());
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

// Renders the main window with the progress popup over it, half-way through a download.
int screenshot(const QString& out, const QString& language) {
    if (!installTranslations(language)) {
        std::fprintf(stderr, "no translation for %s\n", qPrintable(language));
        return 1;
    }
    ScriptedPrompts prompts;
    prompts.configTypes = {0};
    MainWindow frame(prompts);
    if (frame.start(QString()) != MainWindow::StartResult::Running) {
        return 1;
    }
    frame.resize(1100, 640);
    frame.show();
    QTemporaryDir dir;
    const QString path = dir.filePath("Plant-Line-3.chg");
    GatewaySim sim({}, dir.filePath("sim.log"));
    if (!GatewaySim::writeFixture("new", path) || !frame.document()->openRecent(path) ||
        sim.device().isEmpty()) {
        std::fprintf(stderr, "cannot set up the download\n");
        return 1;
    }
    SerialDialogState& s = frame.serialSettings();
    s.ports = {sim.device().toStdString()};
    s.portIndex = 0;
    s.configured = true;
    prompts.okCancel = {true, true, true, true};
    frame.view()->tree()->expandAll();
    frame.startDownload();
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
        const QPoint at = frame.mapFromGlobal(wait->mapToGlobal(QPoint(0, 0)));
        p.translate(at);
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
    if (argc >= 2 && QString::fromLocal8Bit(argv[1]) == "--measure") {
        return measure(argc >= 3 ? std::max(1, std::atoi(argv[2])) : 3);
    }
    if (argc >= 3 && QString::fromLocal8Bit(argv[1]) == "--screenshot") {
        return screenshot(QString::fromLocal8Bit(argv[2]),
                          argc >= 4 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("en"));
    }
    TransferTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "transfer_test.moc"
