// The main window through its widgets: a configuration built, saved and reopened, the routes a
// file comes by, undo and redo, the tree across edits, uploads, the monitor's recording, and the
// dialogs and pieces the window is made of. Every question is answered by ScriptedPrompts.

#include "gateway_sim.h"
#include "gui/app/command_line.h"
#include "gui/app/main_window.h"
#include "gui/comm/serial_dialog.h"
#include "gui/editor/config_view.h"
#include "gui/editor/prompts.h"
#include "gui/editor/save_changes_dialog.h"
#include "gui/editor/select_commands_dialog.h"
#include "gui/monitor/monitor_window.h"
#include "gui_test_support.h"
#include "model/config_file.h"
#include "model/strings.h"
#include "platform/serial_ports.h"
#include "platform/text_codec.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolBar>
#include <functional>

using namespace torvane;
using namespace torvane::gui;
using test::ScriptedPrompts;
using test::whenShown;

namespace {

// Answers the next "Select Commands" by double-clicking `entries`, then Esc.
void addCommands(const QList<int>& entries) {
    whenShown<SelectCommandsDialog>([entries](SelectCommandsDialog* dialog) {
        QListWidget* list = dialog->list();
        for (const int entry : entries) {
            const QPoint at = list->visualItemRect(list->item(entry)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            // Keeps the next press from counting as part of this double-click.
            QTest::qWait(QApplication::doubleClickInterval() + 20);
        }
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
}

} // namespace

class MainWindowTest : public test::WindowFixture {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    const QStringList canopen_{QStringLiteral("CANopen Network")};

    QString path(const QString& name) const { return dir_.filePath(name); }

    QString save(const QString& name, const GatewayConfiguration& cfg) const {
        Message error;
        return saveConfigurationFile(path(name).toStdString(), cfg, error) ? path(name) : QString();
    }

    std::string syncIn(const QString& file) const {
        GatewayConfiguration read;
        DocumentState state;
        Message error;
        return loadConfigurationFile(file.toStdString(), read, state, error) ? read.Config.SYNC
                                                                             : "unreadable";
    }

    void clickAction(const QString& text) {
        QAction* a = frame_->action(text);
        QVERIFY2(a != nullptr, qPrintable(text));
        if (QWidget* button = frame_->toolBar()->widgetForAction(a)) {
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            a->trigger();
        }
    }

    // A right-button press as the platform delivers it; the offscreen platform makes no
    // context-menu event itself.
    void rightClick(const QPoint& at) {
        QTest::mousePress(tree()->viewport(), Qt::RightButton, {}, at);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, tree()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree()->viewport(), &event);
        QTest::mouseRelease(tree()->viewport(), Qt::RightButton, {}, at);
    }

    QStringList selectedPath() const {
        QStringList path;
        for (QTreeWidgetItem* it = tree()->currentItem(); it != nullptr; it = it->parent()) {
            path.prepend(it->text(0));
        }
        return path;
    }

    void pressOnTree(const char* keys) {
        QApplication::setActiveWindow(frame_.get());
        tree()->setFocus();
        QTest::keySequence(tree(), QKeySequence(QString::fromLatin1(keys)));
    }

private slots: // NOLINT(readability-redundant-access-specifiers): moc needs the slots section
    void initTestCase() {
        QVERIFY(dir_.isValid());
        test::clearProgramSettings();
    }

    void cleanup() {
        if (frame_) {
            QTRY_VERIFY_WITH_TIMEOUT(!frame_->transfers()->running(), 90000);
            prompts_.saveAnswers = {SaveAnswer::No};
            frame_->close();
            frame_.reset();
        }
        QVERIFY2(prompts_.unexpected.empty(), test::unexpectedQuestions(prompts_).c_str());
    }

    // A node and commands through the toolbar, the context menu and "Select Commands", cells
    // filled with the real editors, saved, and reopened in a fresh window.
    void buildSaveAndReopen() {
        startFrame(kCanopenMaster);
        clickItem(canopen_);
        clickAction(QStringLiteral("Add Node"));
        clickItem(canopen_ + QStringList{QStringLiteral("New node")});
        typeIntoCell(0, QStringLiteral("5"));
        const QStringList node5 = canopen_ + QStringList{QStringLiteral("Node-5")};
        QVERIFY(item(node5) != nullptr);

        addCommands({2, 2, 0});
        whenShown<QMenu>([](QMenu* menu) {
            for (QAction* a : menu->actions()) {
                if (a->text() == QLatin1String("Add Command")) {
                    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
                }
            }
            menu->close();
        });
        rightClick(tree()->visualItemRect(item(node5)).center());
        QTreeWidgetItem* node = item(node5);
        QCOMPARE(node->childCount(), 3);
        QCOMPARE(node->child(2)->text(0), QStringLiteral("Upload SDO"));

        // A list pick left by a click on a label cell; typed cells; a description committed by
        // clicking away.
        tree()->setCurrentItem(node->child(0));
        pickFromList(1, QStringLiteral("389 (0x185)"));
        clickCell(4, 0);
        typeIntoCell(2, QStringLiteral("4"));
        typeIntoCell(3, QStringLiteral("0"));
        clickCell(4, 1);
        QTest::keyClicks(view()->textEditor(), QStringLiteral("Drive status"));
        clickCell(0, 0);

        // A list left without a pick stores its first entry and opens the row it governs.
        clickItem(canopen_);
        QCOMPARE(cell(14), QString());
        clickCell(13, 1);
        QVERIFY(view()->listEditor()->isVisible());
        view()->listEditor()->hidePopup();
        clickCell(0, 0);
        QCOMPARE(cell(13), QStringLiteral("Disable"));
        QCOMPARE(cell(14), QStringLiteral("0"));
        pickFromList(1, QStringLiteral("500K"));
        clickCell(0, 0);
        typeIntoCell(7, QStringLiteral("50"));
        QVERIFY(prompts_.told.empty());

        prompts_.files = {path(QStringLiteral("built.chg")).toStdString()};
        clickAction(QStringLiteral("Save"));
        const GatewayConfiguration saved = frame_->session().configuration();
        const INSTRUCTION& t = saved.Config.Instructions[0];
        QCOMPARE(t.InstructionType + "/" + t.NodeAddress + "/" + t.CobId + "/" + t.Bytes + "/" +
                     t.MappingAddress + "/" + t.Description,
                 std::string("3/5/389/4/0/Drive status"));
        QCOMPARE(saved.Config.BuadRate + "/" + saved.Config.SYNC, std::string("500K/50"));

        startFrame(kCanopenMaster);
        prompts_.files = {path(QStringLiteral("built.chg")).toStdString()};
        clickAction(QStringLiteral("Open"));
        QTRY_VERIFY(item(node5) != nullptr);
        QVERIFY(frame_->session().configuration().Config == saved.Config);
    }

    // Whatever route a file came by, the caption names it, it heads the recent list once, Ctrl+S
    // writes it back in its own format without a dialog, and so does Yes at closing.
    void fileRoutes_data() {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("name");
        for (const char* name : {"route.chg", "route.xml"}) {
            for (const char* route : {"open", "recent", "command line", "save as"}) {
                QTest::addRow("%s %s", route, name)
                    << QString::fromLatin1(route) << QString::fromLatin1(name);
            }
        }
    }
    void fileRoutes() {
        QFETCH(QString, route);
        QFETCH(QString, name);
        const QString file = save(name, newConfiguration(kCanopenMaster));
        RecentFiles().add(path(QStringLiteral("elsewhere.chg")).toStdString());
        RecentFiles().add(file.toStdString());
        RecentFiles().add(path(QStringLiteral("later.chg")).toStdString());
        if (route == QLatin1String("command line")) {
            startFrame(kCanopenMaster, file);
        } else {
            startFrame(kCanopenMaster);
            prompts_.files = {file.toStdString()};
        }
        if (route == QLatin1String("open")) {
            clickAction(QStringLiteral("Open"));
        } else if (route == QLatin1String("recent")) {
            QAction* recent = frame_->action(QStringLiteral("&2 ") + file);
            QVERIFY(recent != nullptr);
            recent->trigger();
        } else if (route == QLatin1String("save as")) {
            frame_->action(QStringLiteral("Save As(&A)"))->trigger();
        }
        const QString title = file + QStringLiteral(" - Torvane");
        QCOMPARE(test::shownTitle(frame_.get()), title);
        QCOMPARE(RecentFiles().load().value(0), file);
        QCOMPARE(RecentFiles().load().count(file), 1);

        clickItem(canopen_);
        typeIntoCell(7, QStringLiteral("33"));
        QCOMPARE(test::shownTitle(frame_.get()), file + QStringLiteral("* - Torvane"));
        const std::size_t dialogs = prompts_.fileRequests.size();
        QTest::keySequence(frame_.get(), QKeySequence(QStringLiteral("Ctrl+S")));
        QCOMPARE(test::shownTitle(frame_.get()), title);
        QCOMPARE(syncIn(file), std::string("33"));

        typeIntoCell(7, QStringLiteral("44"));
        prompts_.saveAnswers = {SaveAnswer::Cancel, SaveAnswer::Yes};
        QVERIFY(!frame_->close());
        QVERIFY(frame_->close());
        frame_.reset();
        QCOMPARE(prompts_.fileRequests.size(), dialogs);
        QCOMPARE(syncIn(file), std::string("44"));
        QCOMPARE(RecentFiles().load().count(file), 1);
        QVERIFY(prompts_.told.empty());
    }

    // In a non-ASCII folder a refused file is named as it is; a Chinese
    // description committed by an input method is stored as GB18030, and shown the same after
    // reopening from the command line.
    void nonAsciiFolderAndChineseDescription() {
        const QString folder = path(QStringLiteral("Prüfstand-配置"));
        const QString file = folder + QStringLiteral("/anlage.chg");
        QVERIFY(QDir().mkpath(folder));
        QFile bad(file);
        QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("not a configuration") > 0);
        bad.close();
        startFrame(kCanopenMaster);
        prompts_.files = {QFile::encodeName(file).toStdString()};
        clickAction(QStringLiteral("Open"));
        const QString refused = file + QStringLiteral(": not a readable configuration archive: ");
        QVERIFY(QString::fromStdString(prompts_.told.at(0)).startsWith(refused));
        prompts_.told.clear();

        loadSample("two_nodes.chg");
        const QStringList command =
            canopen_ + QStringList{QStringLiteral("Node-5"), QStringLiteral("Transmit PDO")};
        clickItem(command);
        const QString typed = QStringLiteral("温度 ü");
        const std::string stored = "\xCE\xC2\xB6\xC8 \xA8\xB9";
        clickCell(4, 1);
        QInputMethodEvent event; // how Chinese reaches an editor: key events carry none
        event.setCommitString(typed);
        QApplication::sendEvent(view()->textEditor(), &event);
        QTest::keyClick(view()->textEditor(), Qt::Key_Return);
        QCOMPARE(frame_->session().configuration().Config.Instructions[0].Description, stored);
        prompts_.files = {QFile::encodeName(file).toStdString()};
        clickAction(QStringLiteral("Save"));
        QCOMPARE(test::shownTitle(frame_.get()), file + QStringLiteral(" - Torvane"));

        prompts_.saveAnswers = {SaveAnswer::No};
        frame_->close();
        startFrame(kCanopenMaster, file);
        QAction* entry = frame_->action(QStringLiteral("&1 ") + file);
        QVERIFY(entry != nullptr && entry->isVisible() && entry->isEnabled());
        QCOMPARE(frame_->session().configuration().Config.Instructions[0].Description, stored);
        clickItem(command);
        QCOMPARE(cell(4), typed);
        QVERIFY(prompts_.told.empty());
    }

    // Steps made through the toolbar, a cell and a dialog, undone with Ctrl+Z and made again with
    // Ctrl+Y and Ctrl+Shift+Z: each time the configuration is as it was and the step's item is
    // selected.
    void undoAndRedo() {
        startFrame(kCanopenMaster);
        QAction* undo = frame_->action(QStringLiteral("Undo(&U)"));
        QAction* redo = frame_->action(QStringLiteral("Redo(&R)"));
        QVERIFY(!undo->isEnabled() && !redo->isEnabled());
        const QStringList node5 = canopen_ + QStringList{QStringLiteral("Node-5")};
        const QStringList newNode = canopen_ + QStringList{QStringLiteral("New node")};
        struct Seen {
            QStringList before, after; // selections around the step
            GatewayConfiguration cfg;
        };
        std::vector<Seen> seen{{{}, {}, frame_->session().configuration()}};
        auto step = [&](const QStringList& item, const std::function<void()>& act) {
            clickItem(item);
            const QStringList before = selectedPath();
            act();
            seen.push_back({before, selectedPath(), frame_->session().configuration()});
        };
        step(canopen_, [&] { clickAction(QStringLiteral("Add Node")); });
        step(newNode, [&] { typeIntoCell(0, QStringLiteral("5")); });
        step(node5, [&] {
            addCommands({2});
            clickAction(QStringLiteral("Add Command"));
        });
        step(node5, [&] { clickAction(QStringLiteral("Delete Node")); });

        for (std::size_t i = seen.size() - 1; i > 0; --i) {
            pressOnTree("Ctrl+Z");
            QVERIFY(frame_->session().configuration() == seen[i - 1].cfg);
            QCOMPARE(selectedPath(), seen[i].before);
        }
        QVERIFY(!undo->isEnabled());
        for (std::size_t i = 1; i < seen.size(); ++i) {
            pressOnTree(i % 2 == 0 ? "Ctrl+Y" : "Ctrl+Shift+Z");
            QVERIFY(frame_->session().configuration() == seen[i].cfg);
            QCOMPARE(selectedPath(), seen[i].after);
        }
        QVERIFY(!redo->isEnabled());
    }

    // A right-click on empty tree space leaves no target behind: the next "Select Commands"
    // adds to the selected node.
    void rightClickOnEmptyTreeIsNoTarget() {
        startFrame(kCanopenMaster);
        loadSample("two_nodes.chg");
        tree()->expandAll();
        const QRect last = tree()->visualItemRect(
            item(canopen_ + QStringList{QStringLiteral("Node-6"), QStringLiteral("Receive PDO")}));
        const QPoint empty(last.center().x(), last.bottom() + 40);
        QVERIFY(tree()->itemAt(empty) == nullptr);
        rightClick(empty);
        QCOMPARE(view()->selection().kind, TreeItemKind::None);
        clickItem(canopen_ + QStringList{QStringLiteral("Node-6")});
        addCommands({0});
        clickAction(QStringLiteral("Add Command"));
        QCOMPARE(item(canopen_ + QStringList{QStringLiteral("Node-6")})->childCount(), 2);
        QVERIFY(prompts_.told.empty());
    }

    // Upload with unsaved edits asks first: Cancel sends nothing; No uploads into an untitled,
    // modified document, and Paste Node has nothing left to paste.
    void uploadAsksToSaveThenMakesAnUntitledDocument_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("No") << static_cast<int>(SaveAnswer::No);
        QTest::newRow("Cancel") << static_cast<int>(SaveAnswer::Cancel);
    }
    void uploadAsksToSaveThenMakesAnUntitledDocument() {
        QFETCH(int, answer);
        const bool uploads = static_cast<SaveAnswer>(answer) == SaveAnswer::No;
        test::GatewaySim sim({}, path(QStringLiteral("upload.log")));
        QVERIFY(!sim.device().isEmpty());
        startFrame(kCanopenMaster);
        SerialDialogState& port = frame_->serialSettings();
        port.ports = {sim.device().toStdString()};
        port.portIndex = 0;
        port.configured = true;
        loadSample("two_nodes.chg");
        clickItem(canopen_ + QStringList{QStringLiteral("Node-5")});
        frame_->action(QStringLiteral("Copy Node(&C)"))->trigger();
        clickAction(QStringLiteral("Add Node"));
        prompts_.saveAnswers = {static_cast<SaveAnswer>(answer)};
        clickAction(QStringLiteral("Upload"));
        QCOMPARE(prompts_.saveQuestions, 1);
        QTRY_VERIFY_WITH_TIMEOUT(!frame_->transfers()->running(), 90000);
        QCOMPARE(sim.received().isEmpty(), !uploads);
        QCOMPARE(frame_->action(QStringLiteral("Paste Node(&P)"))->isEnabled(), !uploads);
        if (!uploads) {
            QCOMPARE(frame_->session().configuration().Config.NodeCount, 3);
            QVERIFY(prompts_.told.empty());
            return;
        }
        QCOMPARE(prompts_.told, std::vector<std::string>{str::ResultSuccess.source});
        QCOMPARE(test::shownTitle(frame_.get()), QString::fromLatin1(str::UntitledDocument.source) +
                                                     QStringLiteral("* - ") +
                                                     QString::fromLatin1(str::AppTitle));
    }

    // Closing the monitor while "Save Content" records writes the rows.
    void monitorCloseWhileRecordingWritesLog() {
        const QString file = path(QStringLiteral("close.txt"));
        ScriptedPrompts prompts;
        prompts.files = {file.toStdString()};
        MonitorWindow window(
            "/nonexistent/port", [] { return platform::createSerialPort(); }, prompts);
        window.show();
        QTest::mouseClick(window.saveButton(), Qt::LeftButton);
        const std::vector<MonitorRow> rows{{str::MonitorInputData, "12:00:00", "01 02 "},
                                           {str::MonitorOutputData, "12:00:01", "FF "}};
        window.showTick(rows, {});
        window.close();
        QVERIFY(!window.isVisible());
        QCOMPARE(test::readAll(file), QByteArray::fromStdString(monitorLogText(rows)));
        QVERIFY(prompts.told.empty());
    }

    // Configuration text is GB18030; bytes that do not decode survive an untouched cell and
    // are replaced only by an edit.
    void configTextRoundTrip_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown"); // null: does not decode
        QTest::newRow("empty") << QByteArray() << QString("");
        QTest::newRow("gb2312 text")
            << QByteArray("\xc6\xf4\xb6\xaf 1") << QStringLiteral("启动 1");
        QTest::newRow("four-byte gb18030")
            << QByteArray("\x81\x30\x89\x38") << QString(QChar(0x00DF)); // ß
        QTest::newRow("undecodable") << QByteArray("A\xff\xfe") << QString();
    }
    void configTextRoundTrip() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        const std::string stored(bytes.constData(), static_cast<size_t>(bytes.size()));
        const QString decoded = platform::fromConfigText(stored);
        QVERIFY(shown.isNull() || (decoded == shown && platform::toConfigText(shown) == stored));
        QCOMPARE(platform::toConfigText(decoded, stored), stored);
        QCOMPARE(platform::toConfigText(decoded + QLatin1Char('x'), stored).back(), 'x');
    }

    // What the program makes of its arguments (the first is its own name), as
    // "action file demo language"; an error or help prints the usage without Qt's options.
    void commandLine_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("expected");
        QTest::newRow("demo and xml") << QStringList{"--demo", "b.xml"} << "run b.xml 1 ";
        QTest::newRow("unknown beats help") << QStringList{"x.chg", "--bogus", "-h"} << "error  0 ";
        QTest::newRow("measure") << QStringList{"--measure-startup"} << "measure  0 ";
        QTest::newRow("Qt options pass")
            << QStringList{"-platform", "offscreen", "-reverse", "c.chg"} << "run c.chg 0 ";
        QTest::newRow("dash file after --") << QStringList{"--", "-odd.chg"} << "run -odd.chg 0 ";
        QTest::newRow("language") << QStringList{"--lang", "zh_CN", "a.chg"} << "run a.chg 0 zh_CN";
        QTest::newRow("two files") << QStringList{"a.chg", "b.chg"} << "error  0 ";
    }
    void commandLine() {
        QFETCH(QStringList, args);
        QFETCH(QString, expected);
        args.prepend(QStringLiteral("/usr/bin/torvane"));
        const CommandLine cl = parseCommandLine(args);
        const char* const actions[] = {"run", "measure", "help", "version", "error"};
        QCOMPARE(QStringLiteral("%1 %2 %3 %4")
                     .arg(QString::fromLatin1(actions[int(cl.action)]))
                     .arg(cl.file)
                     .arg(int(cl.demo))
                     .arg(cl.language),
                 expected);
        if (cl.action == CommandLine::Action::Error || cl.action == CommandLine::Action::Help) {
            QVERIFY(cl.text.contains(QStringLiteral("Usage: torvane [options] [FILE]\n")));
            QVERIFY(!cl.text.contains(QStringLiteral("-platform")));
        }
    }

    // A file name that is not text in the locale's encoding reaches the document as its bytes.
    void commandLineFileKeepsItsBytes() {
        const std::string name = "caf\xE9.chg";
        std::string args[] = {"torvane", "--lang", "en", name};
        char* argv[] = {args[0].data(), args[1].data(), args[2].data(), args[3].data()};
        const CommandLine cl = parseCommandLine(commandLineArguments(4, argv));
        QCOMPARE(cl.action, CommandLine::Action::Run);
        QCOMPARE(commandLineFilePath(cl.file, 4, argv), name);
        QCOMPARE(commandLineFilePath(QStringLiteral("plain.chg"), 4, argv),
                 std::string("plain.chg"));
    }

    // Enter keeps the work: "Yes(&Y)" is the default button, also before an upload.
    void saveQuestionDefaultsToYes() {
        for (const bool upload : {false, true}) {
            SaveChangesDialog dialog(nullptr, upload);
            auto* yes = dialog.findChild<QPushButton*>(QStringLiteral("yes"));
            QVERIFY(yes != nullptr && yes->isDefault());
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QTest::keyClick(&dialog, Qt::Key_Return);
            QCOMPARE(dialog.result(), int(SaveChangesDialog::Yes));
        }
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
