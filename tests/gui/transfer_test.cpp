// Download, Upload and both compare windows from the main window against torvane-gatewaysim on a
// pseudo-terminal, with the real waits.

#include "../support/session_access.h"
#include "gateway_sim.h"
#include "gui/app/gui_texts.h"
#include "gui/app/main_window.h"
#include "gui/app/translation.h"
#include "gui/comm/progress_window.h"
#include "gui/comm/serial_dialog.h"
#include "gui/editor/compare_window.h"
#include "gui/editor/config_document.h"
#include "gui/editor/config_view.h"
#include "gui_test_support.h"
#include "model/config_file.h"
#include "model/strings.h"

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>

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

QStringList rowTexts(const CompareWindow* window, int row) {
    const QTreeWidgetItem* item = window->list()->topLevelItem(row);
    return {item->text(0), item->text(1), item->text(2)};
}

// A double click on row `row`, as a user gives it: a click, then the double click.
void doubleClick(QTreeWidget* list, int row) {
    const QPoint at = list->visualItemRect(list->topLevelItem(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class TransferTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<MainWindow> frame_;
    QTemporaryDir dir_;

    QAction* act(const QString& text) { return frame_->action(text); }
    ConfigView* view() { return frame_->view(); }
    CompareWindow* compareWindow() { return frame_->findChild<CompareWindow*>(); }

    // Opens a configuration written by transfer_fixture (beside this program) to NAME.chg.
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
        frame_->show();
    }

    void cleanup() {
        if (frame_ != nullptr && frame_->transfers()->running()) {
            waitIdle();
        }
        frame_.reset();
    }

    // The serial dialog comes first; the download greys both commands, sends the configuration
    // as it was while the user edits on, and adds no undo step; the upload fills a new document.
    void downloadThenUploadIntoNewDocument() {
        GatewaySim sim({}, dir_.filePath("roundtrip.log"));
        QVERIFY(!sim.device().isEmpty());
        QVERIFY(openFixture("new"));
        const GatewayConfiguration sent = frame_->session().configuration();
        prompts_->okCancel = {true, true, true, true};
        test::whenShown<SerialDialog>([&](SerialDialog* d) {
            d->portBox()->setCurrentIndex(d->portBox()->findText(sim.device()));
            d->accept();
        });
        QList<int> progress;
        QProgressBar* bar = frame_->waitDialog()->bar();
        connect(bar, &QProgressBar::valueChanged, this, [&](int v) {
            if (frame_->waitDialog()->isVisible() && v > 0) {
                progress << v;
            }
        });
        act(ui(str::TipDownload))->trigger();
        QVERIFY(frame_->transfers()->running());
        QVERIFY(!act(ui(str::TipDownload))->isEnabled());
        QVERIFY(!act(ui(str::TipUpload))->isEnabled());
        liveConfiguration(frame_->session()).Config.SYNC = "77";
        waitIdle();
        QCOMPARE(progress.size(), 13);
        QCOMPARE(progress.last(), 1300);
        QVERIFY(!frame_->waitDialog()->isVisible());
        QCOMPARE(frame_->waitDialog()->lineLabel()->text(),
                 QStringLiteral("Download to %1: frame 13 of 13").arg(sim.device()));
        QCOMPARE(prompts_->told, kSuccess);
        QVERIFY(act(ui(str::TipUpload))->isEnabled());
        QCOMPARE(frame_->session().configuration().Config.SYNC, std::string("77"));
        QAction* undo = act(QStringLiteral("Undo(&U)"));
        QVERIFY(!undo->isEnabled());
        QVERIFY(!frame_->isWindowModified());

        prompts_->saveAnswers = {SaveAnswer::No};
        prompts_->configTypes = {0};
        frame_->document()->fileNew();
        transfer(ui(str::TipUpload));
        QCOMPARE(prompts_->told, kSuccess);
        const CONFIG& back = frame_->session().configuration().Config;
        QCOMPARE(back.SYNC, sent.Config.SYNC);
        QCOMPARE(back.InstructionCount, sent.Config.InstructionCount);
        QVERIFY(frame_->document()->document().ModifiedFlag());
        QVERIFY(!undo->isEnabled());
        QCOMPARE(view()->tree()->topLevelItem(1)->childCount(), sent.Config.NodeCount);

        // 85 commands: the download cuts the last one, and that is a step that says so.
        prompts_->saveAnswers = {SaveAnswer::No};
        QVERIFY(openFixture("master85"));
        transfer(ui(str::TipDownload));
        QCOMPARE(prompts_->told, kSuccess);
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
        QVERIFY(openFixture("edition220"));
        ScriptedQuestions questions(static_cast<FormatChoice>(answer));
        frame_->setTransferQuestions(&questions);
        confirmPort(sim.device());
        view()->tree()->setCurrentItem(
            view()->itemFor(canopenSideItem(frame_->session().configuration())));
        transfer(ui(str::TipDownload));
        frame_->setTransferQuestions(nullptr);
        QCOMPARE(questions.asked, 1);
        QVERIFY(questions.onGuiThread);
        QCOMPARE(prompts_->told.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(prompts_->told[0]).trimmed(), message);
        QCOMPARE(frame_->session().configuration().Config.ConfigEdition, edition);
        for (int row : {8, 9}) {
            QCOMPARE(view()->grid()->item(row, 1)->background().color() == QColor(200, 200, 200),
                     rowsGrey);
        }
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
        QVERIFY(openFixture("new"));
        prompts_->told.clear();
        CONFIG& c = liveConfiguration(frame_->session()).Config;
        if (how == "cancel") {
            test::whenShown<SerialDialog>([](SerialDialog* d) { d->reject(); });
        } else {
            confirmPort(sim.device());
        }
        if (how == "no ports") {
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

    // While a transfer runs no second one starts: the master download greys the commands, the
    // slave download leaves them enabled and a second start is refused as a busy port. A
    // document made meanwhile keeps its own state: the result belongs to what was sent.
    void noSecondTransfer() {
        QFETCH(QString, variant);
        QFETCH(bool, commandsEnabled);
        GatewaySim sim(commandsEnabled ? QStringList{"--model", "slave"} : QStringList{},
                       dir_.filePath("second.log"));
        QVERIFY(!sim.device().isEmpty());
        QVERIFY(openFixture(variant.toLatin1().constData()));
        prompts_->okCancel = {true, true, true, true};
        confirmPort(sim.device());
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

    // A configuration downloaded, then edited: the window lists exactly the edits, names both
    // sides, copies them, selects a row's item and follows later edits and downloads.
    void compareWithGateway() {
        GatewaySim sim({"--firmware", "5.2"}, dir_.filePath("compare.log"));
        QVERIFY(!sim.device().isEmpty());
        QVERIFY(openFixture("new"));
        const QString path = dir_.filePath("new.chg");
        confirmPort(sim.device());
        transfer(ui(str::TipDownload));
        QCOMPARE(prompts_->told, kSuccess);
        GatewayConfiguration& live = liveConfiguration(frame_->session());
        live.Config.SYNC = "77";
        live.Config.Instructions[1].Bytes = "6"; // Transmit PDO 389 of node 5
        const GatewayConfiguration before = live;

        transfer(ui(str::MenuCompareGateway));
        QVERIFY(prompts_->told.empty()); // the window is the answer
        QVERIFY(live == before);
        CompareWindow* window = compareWindow();
        QVERIFY(window != nullptr);
        QCOMPARE(window->list()->topLevelItemCount(), 2);
        QCOMPARE(rowTexts(window, 0), (QStringList{"CANopen: SYNC Cycle", "77", "20"}));
        QCOMPARE(rowTexts(window, 1),
                 (QStringList{"Node 5 / Transmit PDO COB-ID 389: Number of Bytes", "6", "8"}));
        QVERIFY(window->countLabel()->text().startsWith(QStringLiteral("Differences: 2")));
        const QString sides = ui(str::CompareOursColumn) + ": " + path + "\n" +
                              ui(str::CompareGatewayColumn) + ": " + sim.device() + ", ";
        QVERIFY2(window->sourceLabel()->text().startsWith(sides),
                 qPrintable(window->sourceLabel()->text()));
        QTest::mouseClick(window->copyButton(), Qt::LeftButton);
        const QString copied = QApplication::clipboard()->text();
        QVERIFY(copied.startsWith(window->sourceLabel()->text() + "\n"));
        QVERIFY(copied.endsWith("CANopen: SYNC Cycle: 77 -> 20\n"
                                "Node 5 / Transmit PDO COB-ID 389: Number of Bytes: 6 -> 8\n"));
        doubleClick(window->list(), 1);
        QCOMPARE(view()->selection().kind, TreeItemKind::Command);
        QCOMPARE(view()->selection().data, 2);
        QVERIFY(live == before);

        // An edit makes the window out of date; "Compare Again" uploads into the same window.
        QVERIFY(!window->outOfDate());
        frame_->session().commitCell(canopenSideItem(live), 7, "78"); // SYNC Cycle
        QVERIFY(window->outOfDate());
        QVERIFY(window->outOfDateLabel()->isVisible());
        QTest::mouseClick(window->againButton(), Qt::LeftButton);
        waitIdle();
        QCOMPARE(frame_->findChildren<CompareWindow*>(), QList<CompareWindow*>{window});
        QVERIFY(!window->outOfDate());
        QCOMPARE(rowTexts(window, 0), (QStringList{"CANopen: SYNC Cycle", "78", "20"}));
        transfer(ui(str::TipDownload));
        QVERIFY(window->outOfDate());
        QVERIFY(prompts_->unexpected.empty());
    }

    // A chosen archive: Cancel shows nothing, the rows, a row's item selected, the same window
    // for the next file, and an unreadable file told.
    void compareWithFile() {
        QVERIFY(openFixture("compatible"));
        const QString path = dir_.filePath("compatible.chg");
        const GatewayConfiguration before = frame_->session().configuration();
        GatewayConfiguration other = before;
        other.Config.Nodes[1].NodeName = "Drain";
        other.Config.InstructionCount -= 1; // drops Download SDO 25088/255 of node 5
        const std::string chg = dir_.filePath("other.chg").toStdString();
        Message error;
        QVERIFY(saveConfigurationFile(chg, other, error));
        prompts_->files = {std::nullopt, chg, chg, dir_.filePath("missing.chg").toStdString()};
        QAction* entry = act(ui(str::MenuCompareFile));
        entry->trigger();
        QVERIFY(compareWindow() == nullptr);
        entry->trigger();
        CompareWindow* window = compareWindow();
        QVERIFY(window != nullptr);
        QCOMPARE(window->list()->topLevelItemCount(), 2);
        QCOMPARE(rowTexts(window, 0), (QStringList{"Node 9", "Valve", "Drain"}));
        QCOMPARE(rowTexts(window, 1),
                 (QStringList{"Node 5 / Download SDO Index 25088 Sub-index 255", "(present)",
                              "(absent)"}));
        QCOMPARE(window->sourceLabel()->text(), ui(str::CompareOursColumn) + ": " + path + "\n" +
                                                    ui(str::CompareFileColumn) + ": " +
                                                    QString::fromStdString(chg));
        doubleClick(window->list(), 0);
        QCOMPARE(view()->selection().kind, TreeItemKind::Node);
        QCOMPARE(view()->selection().data, 2);
        entry->trigger();
        QCOMPARE(frame_->findChildren<CompareWindow*>(), QList<CompareWindow*>{window});
        QVERIFY(prompts_->told.empty());
        entry->trigger();
        QCOMPARE(prompts_->told.size(), std::size_t{1});
        QVERIFY(frame_->session().configuration() == before);
        QVERIFY(prompts_->unexpected.empty());
    }
};

QTEST_MAIN(TransferTest)
#include "transfer_test.moc"
