// Edits and loads that must not lose or overwrite work: the save question before an upload, the
// untitled document an upload makes, the copied node across loads, the right-click target, the
// tree's expansions, and the monitor's recording.

#include "../support/session_access.h"
#include "gateway_sim.h"
#include "gui/app/gui_texts.h"
#include "gui/app/main_window.h"
#include "gui/app/translation.h"
#include "gui/comm/serial_dialog.h"
#include "gui/editor/config_document.h"
#include "gui/editor/config_view.h"
#include "gui/editor/select_commands_dialog.h"
#include "gui/monitor/monitor_window.h"
#include "gui_test_support.h"
#include "model/config_file.h"
#include "model/strings.h"
#include "platform/gateway_simulator.h"
#include "platform/serial_ports.h"
#include "scripted_prompts.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

using namespace torvane;
using namespace torvane::gui;
using test::GatewaySim;
using test::ScriptedPrompts;
using test::whenShown;

namespace {

constexpr int kTransferTimeoutMs = 90000;

// A master with Node-5 (two Transmit PDOs) and Node-6 (one Receive PDO), mapped without gaps.
GatewayConfiguration twoNodes() {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    CONFIG& c = cfg.Config;
    c.NodeCount = 2;
    c.Nodes[0] = {"5", "Node-5"};
    c.Nodes[1] = {"6", "Node-6"};
    const struct {
        int node;
        const char* type;
        const char* cobId;
    } commands[] = {{1, "3", "389"}, {1, "3", "645"}, {2, "4", "518"}};
    for (const auto& k : commands) {
        INSTRUCTION& i = c.Instructions[static_cast<std::size_t>(c.InstructionCount++)];
        i.NodeIndex = k.node;
        i.NodeAddress = c.Nodes[static_cast<std::size_t>(k.node - 1)].NodeAddress;
        i.InstructionType = k.type;
        i.CobId = k.cobId;
        i.Bytes = "2";
        i.MappingAddress = "0";
    }
    return cfg;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class SafeEditingTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<MainWindow> frame_;
    QTemporaryDir dir_;

    ConfigView* view() const { return frame_->view(); }
    QTreeWidget* tree() const { return view()->tree(); }
    QAction* act(const QString& text) const { return frame_->action(text); }
    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    // A saved twoNodes() configuration, opened as from the recent-file list.
    QString openTwoNodes(const char* name = "two.chg") {
        QString file = path(name);
        Message error;
        if (!saveConfigurationFile(file.toStdString(), twoNodes(), error)) {
            qWarning("%s", error.english().c_str());
            return {};
        }
        if (!frame_->document()->openRecent(file)) {
            return {};
        }
        return file;
    }

    QTreeWidgetItem* node(int position) const {
        return view()->itemFor({TreeItemKind::Node, position, {}});
    }

    void selectNode(int position) {
        QTreeWidgetItem* it = node(position);
        QVERIFY(it != nullptr);
        tree()->setCurrentItem(it);
    }

    void waitIdle() {
        QTRY_VERIFY_WITH_TIMEOUT(!frame_->transfers()->running(), kTransferTimeoutMs);
    }

    void confirmPort(const QString& device) {
        SerialDialogState& s = frame_->serialSettings();
        s.ports = {device.toStdString()};
        s.portIndex = 0;
        s.configured = true;
    }

    // A right-button press and the context-menu event at `at` in the tree's viewport, as the
    // platform delivers them (the offscreen platform makes no context-menu event itself).
    void rightClick(const QPoint& at) {
        QTest::mousePress(tree()->viewport(), Qt::RightButton, {}, at);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, tree()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree()->viewport(), &event);
        QTest::mouseRelease(tree()->viewport(), Qt::RightButton, {}, at);
    }

    // "Select Commands" through the toolbar: double-clicks entry `entry` once, then Esc.
    void addCommandThroughDialog(int entry) {
        whenShown<SelectCommandsDialog>([entry](SelectCommandsDialog* dialog) {
            QListWidget* list = dialog->list();
            const QPoint at = list->visualItemRect(list->item(entry)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        act(ui(str::MainMenuAddCommand))->trigger();
        QTest::qWait(QApplication::doubleClickInterval() + 20);
    }

private slots: // NOLINT(readability-redundant-access-specifiers)
    void init() {
        frame_.reset();
        prompts_ = std::make_unique<ScriptedPrompts>();
        prompts_->configTypes = {kCanopenMaster};
        frame_ = std::make_unique<MainWindow>(*prompts_);
        QCOMPARE(frame_->start(QString()), MainWindow::StartResult::Running);
        frame_->show();
        QApplication::setActiveWindow(frame_.get());
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
    }

    void cleanup() {
        if (frame_ != nullptr && frame_->transfers()->running()) {
            waitIdle();
        }
        frame_.reset();
    }

    // Upload with unsaved edits asks "Save Configuration" before the transfer: Yes saves and
    // uploads, No uploads, Cancel leaves everything as it was and sends nothing.
    void uploadAsksToSaveFirst_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("uploads");
        QTest::newRow("Yes") << static_cast<int>(SaveAnswer::Yes) << true;
        QTest::newRow("No") << static_cast<int>(SaveAnswer::No) << true;
        QTest::newRow("Cancel") << static_cast<int>(SaveAnswer::Cancel) << false;
    }

    void uploadAsksToSaveFirst() {
        QFETCH(int, answer);
        QFETCH(bool, uploads);
        GatewaySim sim({}, path("ask.log"));
        QVERIFY(!sim.device().isEmpty());
        confirmPort(sim.device());
        tree()->setCurrentItem(view()->itemFor(canopenSideItem(frame_->session().configuration())));
        act(ui(str::MainMenuAddNode))->trigger();
        QVERIFY(frame_->session().document().ModifiedFlag());
        const QString saved = path("kept.chg");
        QFile::remove(saved);
        prompts_->saveAnswers = {static_cast<SaveAnswer>(answer)};
        if (answer == static_cast<int>(SaveAnswer::Yes)) {
            prompts_->files = {saved.toStdString()};
        }
        act(ui(str::TipUpload))->trigger();
        QCOMPARE(prompts_->saveQuestions, 1);
        QCOMPARE(frame_->transfers()->running(), uploads);
        waitIdle();
        QCOMPARE(QFile::exists(saved), answer == static_cast<int>(SaveAnswer::Yes));
        QCOMPARE(sim.received().isEmpty(), !uploads);
        if (!uploads) {
            QCOMPARE(frame_->session().configuration().Config.NodeCount, 1);
            QVERIFY(frame_->session().document().ModifiedFlag());
        }
        QVERIFY(prompts_->unexpected.empty());
    }

    // A complete upload makes an untitled, modified document: the caption says so, Save asks
    // for a name and the file that was open stays as it was; the copied node is forgotten.
    void uploadMakesUntitledDocument() {
        GatewaySim sim({}, path("untitled.log"));
        QVERIFY(!sim.device().isEmpty());
        confirmPort(sim.device());
        const QString file = openTwoNodes();
        QVERIFY(!file.isEmpty());
        const QByteArray before = readAll(file);
        selectNode(1);
        act(ui(str::MainMenuCopyNode))->trigger();
        QVERIFY(frame_->session().copyState().pastePossible);

        act(ui(str::TipUpload))->trigger();
        waitIdle();
        QCOMPARE(prompts_->told, std::vector<std::string>{str::ResultSuccess.source});
        // Modified: the caption carries the mark.
        const QString untitled = QString::fromLatin1(str::UntitledDocument.source) + "* - " +
                                 QString::fromLatin1(str::AppTitle);
        QCOMPARE(test::shownTitle(frame_.get()), untitled);
        QVERIFY(frame_->session().document().ModifiedFlag());
        QVERIFY(!frame_->session().copyState().pastePossible);

        prompts_->files = {std::nullopt};
        QTest::keySequence(frame_.get(), QKeySequence(QStringLiteral("Ctrl+S")));
        QCOMPARE(prompts_->fileRequests.size(), std::size_t{1});
        QCOMPARE(prompts_->fileRequests[0].kind, FileDialogKind::Save);
        QCOMPARE(readAll(file), before);
        QVERIFY(prompts_->unexpected.empty());
    }

    // After every load the copied node is gone: Paste Node is greyed and pastes nothing.
    void pasteAfterOpenCopiesNothing_data() {
        QTest::addColumn<QString>("load");
        QTest::newRow("File Open") << "open";
        QTest::newRow("recent file") << "recent";
        QTest::newRow("New") << "new";
    }

    void pasteAfterOpenCopiesNothing() {
        QFETCH(QString, load);
        const QString file = openTwoNodes();
        QVERIFY(!file.isEmpty());
        selectNode(1);
        act(ui(str::MainMenuCopyNode))->trigger();
        QVERIFY(act(ui(str::MainMenuPasteNode))->isEnabled());

        if (load == "open") {
            prompts_->files = {file.toStdString()};
            act(ui(str::TipOpen))->trigger();
        } else if (load == "recent") {
            QVERIFY(frame_->document()->openRecent(file));
        } else {
            prompts_->configTypes = {kCanopenMaster};
            act(ui(str::TipNew))->trigger();
            tree()->setCurrentItem(
                view()->itemFor(canopenSideItem(frame_->session().configuration())));
            act(ui(str::MainMenuAddNode))->trigger();
        }
        const int nodes = frame_->session().configuration().Config.NodeCount;
        selectNode(1);
        QVERIFY(!act(ui(str::MainMenuPasteNode))->isEnabled());
        view()->pasteNode();
        QCOMPARE(frame_->session().configuration().Config.NodeCount, nodes);
        QVERIFY(prompts_->unexpected.empty());
    }

    // A right-click on empty tree space opens no menu and leaves no target behind: the next
    // "Select Commands" double-click adds to the selected node.
    void rightClickOnEmptyTreeIsNoTarget() {
        QVERIFY(!openTwoNodes().isEmpty());
        tree()->expandAll();
        const QRect last = tree()->visualItemRect(node(2)->child(0));
        const QPoint empty(last.center().x(), last.bottom() + 40);
        QVERIFY(tree()->itemAt(empty) == nullptr);
        rightClick(empty);
        QCOMPARE(view()->selection().kind, TreeItemKind::None);

        selectNode(2);
        addCommandThroughDialog(0);
        QCOMPARE(node(2)->childCount(), 2);
        QCOMPARE(frame_->session().configuration().Config.InstructionCount, 4);
        QVERIFY(prompts_->told.empty());
    }

    // Add Node, Paste Node, Delete Command and Calculate Mapping Address keep the expanded items
    // and the selection where it still exists; Delete Node selects the CANopen side as before.
    void treeKeepsExpansion_data() {
        QTest::addColumn<QString>("command");
        // Selected before: a node's position, 0 "CANopen Network", -1 the second command.
        QTest::addColumn<int>("selectedNode");
        QTest::addColumn<QString>("selectedAfter");
        QTest::addColumn<bool>("node6Expanded");
        QTest::newRow("Add Node") << "add" << 0 << "New node" << true;
        QTest::newRow("Paste Node") << "paste" << 1 << "Node-5" << true;
        QTest::newRow("Delete Command") << "deleteCommand" << -1 << "Node-5" << true;
        QTest::newRow("Calculate Mapping") << "mapping" << -1 << "Transmit PDO" << true;
        QTest::newRow("Delete Node") << "deleteNode" << 1 << "CANopen Network" << false;
    }

    void treeKeepsExpansion() {
        QFETCH(QString, command);
        QFETCH(int, selectedNode);
        QFETCH(QString, selectedAfter);
        QFETCH(bool, node6Expanded);
        QVERIFY(!openTwoNodes().isEmpty());
        node(1)->setExpanded(true);
        node(2)->setExpanded(true);
        if (selectedNode > 0) {
            selectNode(selectedNode);
        } else if (selectedNode == 0) {
            tree()->setCurrentItem(
                view()->itemFor(canopenSideItem(frame_->session().configuration())));
        } else {
            tree()->setCurrentItem(node(1)->child(1));
        }
        if (command == "add") {
            act(ui(str::MainMenuAddNode))->trigger();
        } else if (command == "paste") {
            act(ui(str::MainMenuCopyNode))->trigger();
            act(ui(str::MainMenuPasteNode))->trigger();
        } else if (command == "deleteCommand") {
            act(ui(str::MainMenuDeleteCommand))->trigger();
        } else if (command == "mapping") {
            prompts_->okCancel = {true};
            act(ui(str::TipCalculateMapping))->trigger();
        } else {
            act(ui(str::MainMenuDeleteNode))->trigger();
        }
        QVERIFY(tree()->currentItem() != nullptr);
        QCOMPARE(tree()->currentItem()->text(0), selectedAfter);
        // Node-6 is the second node unless Delete Node removed Node-5.
        QTreeWidgetItem* six = node(command == "deleteNode" ? 1 : 2);
        QCOMPARE(six->text(0), QStringLiteral("Node-6"));
        QCOMPARE(six->isExpanded(), node6Expanded);
        if (command != "deleteNode") {
            QVERIFY(node(1)->isExpanded());
        }
        QVERIFY(prompts_->unexpected.empty());
    }

    // Closing the monitor while "Save Content" records writes the rows, as "Stop Saving" would,
    // whether through "Exit" or the window's close control.
    void monitorCloseWhileRecordingWritesLog_data() {
        QTest::addColumn<bool>("exitButton");
        QTest::newRow("Exit") << true;
        QTest::newRow("close control") << false;
    }

    void monitorCloseWhileRecordingWritesLog() {
        QFETCH(bool, exitButton);
        const QString file = path(exitButton ? "exit.txt" : "close.txt");
        ScriptedPrompts prompts;
        prompts.files = {file.toStdString()};
        MonitorWindow window(
            "/nonexistent/port", [] { return platform::createSerialPort(); }, prompts);
        window.show();
        QTest::mouseClick(window.saveButton(), Qt::LeftButton);
        QCOMPARE(window.saveButton()->text(), ui(str::MonitorStopSaving));
        const std::vector<MonitorRow> rows{{str::MonitorInputData, "12:00:00", "01 02 "},
                                           {str::MonitorOutputData, "12:00:01", "FF "}};
        window.showTick(rows, {});
        if (exitButton) {
            for (QPushButton* b : window.findChildren<QPushButton*>()) {
                if (b->text() == ui(str::MonitorExit)) {
                    QTest::mouseClick(b, Qt::LeftButton);
                }
            }
        } else {
            window.close();
        }
        QVERIFY(!window.isVisible());
        QCOMPARE(readAll(file), QByteArray::fromStdString(monitorLogText(rows)));
        QVERIFY(prompts.told.empty());
    }
};

QTEST_MAIN(SafeEditingTest)
#include "safe_editing_test.moc"
