// Tools -> "Compare with Gateway(&G)" and "Compare with File(&C)" through the real menus: the
// window's rows, count and copy button, double-click selecting the tree item, and the open
// configuration left as it was.

#include "../support/session_access.h"
#include "gateway_sim.h"
#include "gui/app/gui_texts.h"
#include "gui/app/main_window.h"
#include "gui/app/translation.h"
#include "gui/comm/serial_dialog.h"
#include "gui/editor/compare_window.h"
#include "gui/editor/config_document.h"
#include "gui/editor/config_view.h"
#include "model/config_file.h"
#include "model/strings.h"
#include "model/xml_file.h"
#include "scripted_prompts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <memory>

using namespace torvane;
using namespace torvane::gui;
using test::GatewaySim;
using test::ScriptedPrompts;

namespace {

constexpr int kTransferTimeoutMs = 90000;

QString qs(const char* text) {
    return QString::fromUtf8(text);
}

QStringList rowTexts(const QTreeWidgetItem* item) {
    return {item->text(0), item->text(1), item->text(2)};
}

} // namespace

class CompareTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<MainWindow> frame_;
    QTemporaryDir dir_;

    // The Tools menu entry `text`; it must follow a separator, after every other entry.
    QAction* toolsEntry(const QString& text) {
        QMenu* tools = nullptr;
        for (QAction* a : frame_->menuBar()->actions()) {
            if (a->text() == ui(str::MenuTools)) {
                tools = a->menu();
            }
        }
        if (tools == nullptr) {
            return nullptr;
        }
        const QList<QAction*> entries = tools->actions();
        const qsizetype n = entries.size();
        if (n < 3 || !entries[n - 3]->isSeparator() ||
            entries[n - 2]->text() != ui(str::MenuCompareGateway) ||
            entries[n - 1]->text() != ui(str::MenuCompareFile)) {
            return nullptr;
        }
        return entries[n - 2]->text() == text ? entries[n - 2] : entries[n - 1];
    }

    QString fixture(const char* variant) {
        const QString path = dir_.filePath(QString::fromLatin1(variant) + ".chg");
        return GatewaySim::writeFixture(variant, path) ? path : QString();
    }

    // A double click on row `row`, as a user gives it: a click, then the double click.
    static void doubleClick(QTreeWidget* list, int row) {
        const QPoint at = list->visualItemRect(list->topLevelItem(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }

    CompareWindow* compareWindow() { return frame_->findChild<CompareWindow*>(); }

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

    // A configuration downloaded, then edited: the gateway differs by exactly the edits.
    void compareWithGateway() {
        GatewaySim sim({"--firmware", "5.2"}, dir_.filePath("compare.log"));
        QVERIFY(!sim.device().isEmpty());
        const QString path = fixture("new");
        QVERIFY(!path.isEmpty());
        QVERIFY(frame_->document()->openRecent(path));
        SerialDialogState& s = frame_->serialSettings();
        s.ports = {sim.device().toStdString()};
        s.portIndex = 0;
        s.configured = true;
        prompts_->okCancel = {true, true, true, true};
        frame_->action(ui(str::TipDownload))->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!frame_->transfers()->running(), kTransferTimeoutMs);
        QCOMPARE(prompts_->told, std::vector<std::string>{str::ResultSuccess.source});
        prompts_->told.clear();

        GatewayConfiguration& live = liveConfiguration(frame_->session());
        live.Config.SYNC = "77";
        live.Config.Instructions[1].Bytes = "6"; // Transmit PDO 389 of node 5
        const GatewayConfiguration before = live;

        QAction* entry = toolsEntry(ui(str::MenuCompareGateway));
        QVERIFY(entry != nullptr);
        entry->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!frame_->transfers()->running(), kTransferTimeoutMs);
        QVERIFY(prompts_->told.empty()); // the window is the answer
        QVERIFY(live == before);

        CompareWindow* window = compareWindow();
        QVERIFY(window != nullptr);
        QCOMPARE(window->windowTitle(), ui(str::CompareGatewayTitle));
        QCOMPARE(window->list()->headerItem()->text(2), ui(str::CompareGatewayColumn));
        QCOMPARE(window->list()->topLevelItemCount(), 2);
        QCOMPARE(rowTexts(window->list()->topLevelItem(0)),
                 (QStringList{"CANopen: SYNC Cycle", "77", "20"}));
        QCOMPARE(rowTexts(window->list()->topLevelItem(1)),
                 (QStringList{"Node 5 / Transmit PDO COB-ID 389: Number of Bytes", "6", "8"}));
        QVERIFY(window->countLabel()->text().startsWith(QStringLiteral("Differences: 2")));

        // Both sides are named: the open file, and the port with the time of the upload.
        const QString sides = ui(str::CompareOursColumn) + ": " + path + "\n" +
                              ui(str::CompareGatewayColumn) + ": " + sim.device() + ", ";
        QVERIFY2(window->sourceLabel()->text().startsWith(sides),
                 qPrintable(window->sourceLabel()->text()));
        QTest::mouseClick(window->copyButton(), Qt::LeftButton);
        const QString copied = QApplication::clipboard()->text();
        QVERIFY(copied.startsWith(window->sourceLabel()->text() + "\n"));
        QVERIFY(copied.endsWith("CANopen: SYNC Cycle: 77 -> 20\n"
                                "Node 5 / Transmit PDO COB-ID 389: Number of Bytes: 6 -> 8\n"));
        QVERIFY(!window->outOfDate());

        // Double-clicking a difference selects its item in the tree.
        QTreeWidget* list = window->list();
        doubleClick(list, 1);
        QCOMPARE(frame_->view()->selection().kind, TreeItemKind::Command);
        QCOMPARE(frame_->view()->selection().data, 2);
        QVERIFY(live == before);

        // An edit makes the window out of date; "Compare Again" uploads into the same window.
        frame_->session().commitCell(canopenSideItem(live), 7, "78"); // SYNC Cycle
        QVERIFY(window->outOfDate());
        QVERIFY(window->outOfDateLabel()->isVisible());
        QTest::mouseClick(window->againButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!frame_->transfers()->running(), kTransferTimeoutMs);
        QCOMPARE(compareWindow(), window);
        QCOMPARE(frame_->findChildren<CompareWindow*>().size(), 1);
        QVERIFY(!window->outOfDate());
        QCOMPARE(rowTexts(window->list()->topLevelItem(0)),
                 (QStringList{"CANopen: SYNC Cycle", "78", "20"}));
        // So does a download, which changes the gateway's side.
        prompts_->okCancel = {true, true, true, true};
        prompts_->told.clear();
        frame_->action(ui(str::TipDownload))->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!frame_->transfers()->running(), kTransferTimeoutMs);
        QVERIFY(window->outOfDate());
        QVERIFY(prompts_->unexpected.empty());
    }

    // A chosen archive and a chosen XML file, every field.
    void compareWithFile() {
        const QString path = fixture("compatible");
        QVERIFY(!path.isEmpty());
        QVERIFY(frame_->document()->openRecent(path));
        const GatewayConfiguration before = frame_->session().configuration();

        GatewayConfiguration other = before;
        other.Config.Nodes[1].NodeName = "Drain";
        other.Config.InstructionCount -= 1; // drops Download SDO 25088/255 of node 5
        const std::string chg = dir_.filePath("other.chg").toStdString();
        Message error;
        QVERIFY(saveConfigurationFile(chg, other, error));
        prompts_->files = {chg};
        QAction* entry = toolsEntry(ui(str::MenuCompareFile));
        QVERIFY(entry != nullptr);
        entry->trigger();
        QCOMPARE(prompts_->fileRequests.size(), std::size_t{1});
        CompareWindow* window = compareWindow();
        QVERIFY(window != nullptr);
        QCOMPARE(window->windowTitle(), ui(str::CompareFileTitle));
        QCOMPARE(window->list()->topLevelItemCount(), 2);
        QCOMPARE(rowTexts(window->list()->topLevelItem(0)),
                 (QStringList{"Node 9", "Valve", "Drain"}));
        QCOMPARE(rowTexts(window->list()->topLevelItem(1)),
                 (QStringList{"Node 5 / Download SDO Index 25088 Sub-index 255", "(present)",
                              "(absent)"}));
        QCOMPARE(window->sourceLabel()->text(), ui(str::CompareOursColumn) + ": " + path + "\n" +
                                                    ui(str::CompareFileColumn) + ": " +
                                                    QString::fromStdString(chg));
        QTreeWidget* list = window->list();
        doubleClick(list, 0);
        QCOMPARE(frame_->view()->selection().kind, TreeItemKind::Node);
        QCOMPARE(frame_->view()->selection().data, 2);
        // The next comparison with a file is shown in the same window.
        prompts_->files = {chg};
        entry->trigger();
        QCOMPARE(compareWindow(), window);
        QCOMPARE(frame_->findChildren<CompareWindow*>().size(), 1);
        window->close();
        QTRY_VERIFY(compareWindow() == nullptr);

        // An XML file: what it does not hold is counted, not listed.
        const QString xml = dir_.filePath("same.xml");
        QFile f(xml);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray::fromStdString(writeXml(before)));
        f.close();
        prompts_->files = {xml.toStdString()};
        entry->trigger();
        window = compareWindow();
        QVERIFY(window != nullptr);
        QCOMPARE(window->list()->topLevelItemCount(), 0);
        QVERIFY(window->countLabel()->text().startsWith(qs(str::CompareEqual.source)));

        // Cancel and an unreadable file.
        window->close();
        prompts_->files = {std::nullopt, dir_.filePath("missing.chg").toStdString()};
        entry->trigger();
        QVERIFY(prompts_->told.empty());
        entry->trigger();
        QCOMPARE(prompts_->told.size(), std::size_t{1});
        QVERIFY(frame_->session().configuration() == before);
        QVERIFY(prompts_->unexpected.empty());
    }
};

QTEST_MAIN(CompareTest)
#include "compare_test.moc"
