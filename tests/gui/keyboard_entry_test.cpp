// The grid without a mouse (Enter, F2, typing, Tab, Shift+Tab, Escape), both forms of a
// hexadecimal cell, the last folder of the file dialogs, F1 and the help window, and the
// command a failed check or mapping calculation selects. Real widgets on the offscreen platform;
// every message is answered by ScriptedPrompts.

#include "../support/session_access.h"
#include "editor/command_pages.h"
#include "gui/app/gui_texts.h"
#include "gui/app/main_window.h"
#include "gui/app/translation.h"
#include "gui/comm/serial_dialog.h"
#include "gui/comm/transfer_runner.h"
#include "gui/editor/config_view.h"
#include "gui/editor/prompts.h"
#include "gui/editor/select_commands_dialog.h"
#include "gui_test_support.h"
#include "model/strings.h"
#include "model/text_number.h"
#include "scripted_prompts.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QSettings>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <functional>

using namespace torvane;
using namespace torvane::gui;
using test::ScriptedPrompts;
using test::whenShown;

namespace {

// A command of node 1 (master) or of the slave gateway.
void addCommand(GatewayConfiguration& cfg, const char* type, const char* key, const char* bytes,
                const char* mapping) {
    CONFIG& c = cfg.Config;
    INSTRUCTION& i = c.Instructions[static_cast<std::size_t>(c.InstructionCount++)];
    i.InstructionType = type;
    i.NodeIndex = cfg.isMaster() ? 1 : 0;
    i.NodeAddress = cfg.isMaster() ? c.Nodes[0].NodeAddress : c.SlaveNodeAddress;
    (isPdoCommand(type) ? i.CobId : i.Index) = key;
    i.SubIndex = isPdoCommand(type) ? "" : "1";
    i.Bytes = bytes;
    i.MappingAddress = mapping;
}

} // namespace

class KeyboardEntryTest : public test::WindowFixture {
    Q_OBJECT

private:
    QTemporaryDir dir_;

    QLineEdit* textEditor() const { return view()->textEditor(); }
    QComboBox* listEditor() const { return view()->listEditor(); }
    const CONFIG& config() const { return frame_->session().configuration().Config; }

    // Node 5 (master) with an Upload SDO of 8192/1 (command 1) and a Transmit PDO of COB-ID 389
    // (command 2); the slave gateway with the same two commands.
    void startSample(int configType) {
        startFrame(configType);
        GatewayConfiguration& cfg = liveConfiguration(frame_->session());
        if (cfg.isMaster()) {
            cfg.Config.Nodes[0] = {"5", "Node-5"};
            cfg.Config.NodeCount = 1;
        }
        addCommand(cfg, kUploadSdo, "8192", "2", "0");
        addCommand(cfg, kTransmitPdo, "389", "4", "2");
        view()->rebuildTree(false);
    }

    // Selects command `position` (1-based) in the tree and puts the focus in the grid.
    void focusCommand(int position) {
        QVERIFY(view()->select({TreeItemKind::Command, position, {}}));
        grid()->setFocus(Qt::OtherFocusReason);
        QTRY_VERIFY(grid()->hasFocus());
    }

private slots: // NOLINT(readability-redundant-access-specifiers): moc needs the slots section
    void initTestCase() {
        QVERIFY(dir_.isValid());
        test::clearProgramSettings();
    }

    void cleanup() {
        if (frame_) {
            prompts_.saveAnswers = {SaveAnswer::No};
            frame_->close();
            frame_.reset();
        }
        QVERIFY2(prompts_.unexpected.empty(), test::unexpectedQuestions(prompts_).c_str());
    }

    // A node address and a new Upload SDO filled in with keys alone: typing opens the editor
    // with the typed character, Enter opens and commits, Tab commits and opens the next row.
    void keyboardEditsWholeSdoCommand() {
        startFrame(kCanopenMaster);
        QVERIFY(view()->select({TreeItemKind::CanopenNetwork, 0, {}}));
        frame_->action(QStringLiteral("Add Node(&N)"))->trigger();
        tree()->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(tree(), Qt::Key_Down);
        QCOMPARE(tree()->currentItem()->text(0), QStringLiteral("New node"));
        QTest::keyClick(tree(), Qt::Key_Tab);
        QTRY_VERIFY(grid()->hasFocus());
        QTest::keyClicks(grid(), QStringLiteral("5"));
        QVERIFY(textEditor()->isVisible());
        QCOMPARE(textEditor()->text(), QStringLiteral("5"));
        QTest::keyClick(textEditor(), Qt::Key_Return);
        QCOMPARE(config().Nodes[0].NodeAddress, std::string("5"));
        QCOMPARE(tree()->currentItem()->text(0), QStringLiteral("Node-5"));

        // "Select Commands" adds by double-click too; Esc closes it.
        whenShown<SelectCommandsDialog>([](SelectCommandsDialog* dialog) {
            QListWidget* list = dialog->list();
            const QPoint at = list->visualItemRect(list->item(0)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        frame_->action(QStringLiteral("Add Command(&I)"))->trigger();
        QCOMPARE(config().InstructionCount, 1);
        QApplication::setActiveWindow(frame_.get());
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));

        tree()->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(tree(), Qt::Key_Right); // expands Node-5
        QTest::keyClick(tree(), Qt::Key_Down);
        QCOMPARE(tree()->currentItem()->text(0), QStringLiteral("Upload SDO"));
        QTest::keyClick(tree(), Qt::Key_Tab);
        QTRY_VERIFY(grid()->hasFocus());
        QCOMPARE(view()->currentRow(), 1); // the first editable row; the address is read-only
        QTest::keyClick(grid(), Qt::Key_Return);
        QVERIFY(textEditor()->isVisible());
        const char* const typed[] = {"0x6041", "1", "2", "4", "Speed"};
        for (const char* t : typed) {
            QTest::keyClicks(textEditor(), QString::fromLatin1(t));
            QTest::keyClick(textEditor(), t == typed[4] ? Qt::Key_Return : Qt::Key_Tab);
        }
        QVERIFY(!textEditor()->isVisible());
        QVERIFY(grid()->hasFocus());
        QCOMPARE(view()->currentRow(), 5);
        const INSTRUCTION& sdo = config().Instructions[0];
        QCOMPARE(sdo.Index, std::string("24641"));
        QCOMPARE(sdo.SubIndex, std::string("1"));
        QCOMPARE(sdo.Bytes, std::string("2"));
        QCOMPARE(sdo.MappingAddress, std::string("4"));
        QCOMPARE(sdo.Description, std::string("Speed"));
        QCOMPARE(cell(1), QStringLiteral("24641 (0x6041)"));
        QVERIFY(prompts_.told.empty());
    }

    void keyboardEscapeCancels_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("opener"); // 0 typing, 1 F2, 2 Enter
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("typed index") << 1 << 1 << 0 << "0x10"
                                     << "8192 (0x2000)";
        QTest::newRow("F2 then description") << 1 << 5 << 1 << "gone"
                                             << "";
        QTest::newRow("Enter then bytes") << 1 << 3 << 2 << "4"
                                          << "2";
        QTest::newRow("typed COB-ID list") << 2 << 1 << 0 << "390"
                                           << "389 (0x185)";
        QTest::newRow("COB-ID list with its drop-down") << 2 << 1 << 2 << ""
                                                        << "389 (0x185)";
    }

    void keyboardEscapeCancels() {
        QFETCH(int, command);
        QFETCH(int, row);
        QFETCH(int, opener);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        startSample(kCanopenMaster);
        focusCommand(command);
        goToRow(row);
        const CONFIG before = config();
        if (opener == 0) {
            typeInGrid(typed);
        } else {
            QTest::keyClick(grid(), opener == 1 ? Qt::Key_F2 : Qt::Key_Return);
        }
        const bool list = listEditor()->isVisible();
        QVERIFY(list || textEditor()->isVisible());
        if (list && listEditor()->view()->isVisible()) {
            // The first Escape closes the drop-down list, the second the editor.
            QTest::keyClick(listEditor()->view(), Qt::Key_Escape);
            QTRY_VERIFY(!listEditor()->view()->isVisible());
            QVERIFY(listEditor()->isVisible());
        } else if (opener != 0) {
            QTest::keyClicks(textEditor(), typed);
        }
        QTest::keyClick(list ? static_cast<QWidget*>(listEditor())
                             : static_cast<QWidget*>(textEditor()),
                        Qt::Key_Escape);
        QVERIFY(!listEditor()->isVisible());
        QVERIFY(!textEditor()->isVisible());
        QCOMPARE(cell(row), shown);
        QVERIFY(config() == before);
        QCOMPARE(view()->currentRow(), row);
        QVERIFY(prompts_.told.empty());
        // Leaving the grid afterwards commits nothing either.
        tree()->setFocus(Qt::OtherFocusReason);
        QVERIFY(config() == before);
    }

    void keyboardTabSkipsReadOnlyRows_data() {
        QTest::addColumn<int>("configType");
        QTest::addColumn<int>("command"); // 0: the CANopen page
        QTest::addColumn<int>("from");
        QTest::addColumn<bool>("back");
        QTest::addColumn<int>("to"); // -1: the editor closes on `from`
        QTest::newRow("master SDO back over the address") << kCanopenMaster << 1 << 1 << true << -1;
        QTest::newRow("master SDO forward") << kCanopenMaster << 1 << 1 << false << 2;
        QTest::newRow("master SDO past the last row") << kCanopenMaster << 1 << 5 << false << -1;
        QTest::newRow("master TPDO mapping editable") << kCanopenMaster << 2 << 2 << false << 3;
        QTest::newRow("slave TPDO over the mapping") << kCanopenSlave << 2 << 2 << false << 4;
        QTest::newRow("slave TPDO back over the mapping") << kCanopenSlave << 2 << 4 << true << 2;
        QTest::newRow("CANopen page back over the type") << kCanopenMaster << 0 << 1 << true << -1;
    }

    void keyboardTabSkipsReadOnlyRows() {
        QFETCH(int, configType);
        QFETCH(int, command);
        QFETCH(int, from);
        QFETCH(bool, back);
        QFETCH(int, to);
        startSample(configType);
        if (command == 0) {
            QVERIFY(view()->select({TreeItemKind::CanopenNetwork, 0, {}}));
            grid()->setFocus(Qt::OtherFocusReason);
        } else {
            focusCommand(command);
        }
        goToRow(from);
        QTest::keyClick(grid(), Qt::Key_F2);
        QWidget* editor = QApplication::focusWidget();
        QVERIFY(textEditor()->isVisible() || listEditor()->isVisible());
        if (listEditor()->view()->isVisible()) {
            QTest::keyClick(listEditor()->view(), Qt::Key_Escape);
            QTRY_VERIFY(!listEditor()->view()->isVisible());
            editor = listEditor();
        }
        QTest::keyClick(editor, Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
        QVERIFY(prompts_.told.empty());
        if (to < 0) {
            QVERIFY(!textEditor()->isVisible() && !listEditor()->isVisible());
            QCOMPARE(view()->currentRow(), from);
        } else {
            QCOMPARE(view()->currentRow(), to);
            QVERIFY(textEditor()->isVisible() || listEditor()->isVisible());
            const QWidget* open =
                textEditor()->isVisible() ? static_cast<QWidget*>(textEditor()) : listEditor();
            QCOMPARE(open->geometry(), grid()->visualItemRect(grid()->item(to, 1)));
        }
    }

    // Ctrl+Z, Ctrl+C, Ctrl+V, Ctrl+A stay with the open editor: neither Undo nor window
    // shortcuts on the same keys fire.
    void editingKeysStayInTheEditor() {
        startSample(kCanopenMaster);
        int fired = 0;
        for (const char* keys : {"Ctrl+C", "Ctrl+V", "Ctrl+A"}) {
            auto* a = new QAction(frame_.get());
            a->setShortcut(QKeySequence(QString::fromLatin1(keys)));
            connect(a, &QAction::triggered, [&fired] { ++fired; });
            frame_->addAction(a);
        }
        for (const char* text : {"Undo(&U)", "Redo(&R)"}) {
            connect(frame_->action(QString::fromLatin1(text)), &QAction::triggered,
                    [&fired] { ++fired; });
        }
        const std::string before = config().Instructions[0].Description;
        focusCommand(1);
        goToRow(5);
        typeInGrid(QStringLiteral("ab"));
        QLineEdit* e = textEditor();
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(e, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(e, Qt::Key_End);
        QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(e->text(), QStringLiteral("abab"));
        QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(e->text(), QStringLiteral("ab"));
        QTest::keyClick(e, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(e->text(), QStringLiteral("abab"));
        QCOMPARE(fired, 0);
        QTest::keyClick(e, Qt::Key_Return);
        QCOMPARE(config().Instructions[0].Description, std::string("abab"));
        // Without an open editor the keys are the window's again: Undo takes the cell back.
        QTest::keyClick(grid(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(fired, 1);
        QCOMPARE(config().Instructions[0].Description, before);
    }

    // The cell's tooltip and, while the row is current, the status bar show both forms.
    void hexTooltipShowsBothForms() {
        startSample(kCanopenMaster);
        focusCommand(1);
        QCOMPARE(grid()->item(kRowSdoIndex, 1)->toolTip(), QStringLiteral("8192 = 0x2000"));
        QCOMPARE(grid()->item(kRowSdoSubIndex, 1)->toolTip(), QString());
        typeIntoRow(kRowSdoIndex, QStringLiteral("0x6041"));
        QCOMPARE(grid()->item(kRowSdoIndex, 1)->toolTip(), QStringLiteral("24641 = 0x6041"));
        QCOMPARE(statusText(), QStringLiteral("24641 = 0x6041"));
        QTest::keyClick(grid(), Qt::Key_Down);
        QCOMPARE(view()->currentRow(), kRowSdoSubIndex);
        QCOMPARE(statusText(), ui(str::StatusReady));

        focusCommand(2);
        QCOMPARE(grid()->item(kRowPdoCobId, 1)->toolTip(), QStringLiteral("389 = 0x185"));
        goToRow(kRowPdoCobId);
        QCOMPARE(statusText(), QStringLiteral("389 = 0x185"));
        // A click makes the row current too.
        goToRow(kRowPdoBytes);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                          grid()->visualItemRect(grid()->item(kRowPdoCobId, 0)).center());
        QCOMPARE(statusText(), QStringLiteral("389 = 0x185"));
    }

    // Open, Save As and the other file dialogs start in the folder last chosen, also after a
    // restart (a new prompts object), and a vanished folder is forgotten.
    void fileDialogsStartInLastFolder() {
        QDir(dir_.path()).mkpath(QStringLiteral("a"));
        QDir(dir_.path()).mkpath(QStringLiteral("b"));
        const QString a = QDir(dir_.filePath(QStringLiteral("a"))).canonicalPath();
        const QString b = QDir(dir_.filePath(QStringLiteral("b"))).canonicalPath();
        QFile(a + QStringLiteral("/one.chg")).open(QIODevice::WriteOnly);
        QSettings(QStringLiteral("Local AppWizard-Generated Applications"),
                  QStringLiteral("Torvane"))
            .remove(QStringLiteral("Settings/Last Folder"));
        const struct {
            FileDialogKind kind;
            QString pick;
            QString startsIn; // empty: wherever the dialog starts by itself
        } steps[] = {
            {FileDialogKind::Open, a + QStringLiteral("/one.chg"), QString()},
            {FileDialogKind::SaveAs, b + QStringLiteral("/two.chg"), a},
            {FileDialogKind::Open, a + QStringLiteral("/one.chg"), b},
            {FileDialogKind::SaveAs, QString(), a}, // cancelled: the folder stays
            {FileDialogKind::Save, b + QStringLiteral("/three.chg"), a},
        };
        for (const auto& step : steps) {
            WidgetPrompts prompts; // a fresh one each time: the folder lives in the settings
            QString startedIn;
            whenShown<QFileDialog>([&](QFileDialog* dialog) {
                startedIn = QDir(dialog->directory().absolutePath()).canonicalPath();
                if (step.pick.isEmpty()) {
                    static_cast<QDialog*>(dialog)->done(QDialog::Rejected);
                } else {
                    // done() skips the dialog's own file checks, which run against a folder
                    // listing that loads in the background.
                    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                        ->setText(step.pick);
                    static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
                }
            });
            const std::optional<std::string> chosen =
                prompts.chooseFile(fileDialogRequest(step.kind));
            if (!step.startsIn.isEmpty()) {
                QCOMPARE(startedIn, step.startsIn);
            }
            QCOMPARE(chosen.has_value(), !step.pick.isEmpty());
        }
        QCOMPARE(QDir(lastFileFolder()).canonicalPath(), b);
        QVERIFY(QDir(b).removeRecursively());
        QCOMPARE(lastFileFolder(), QString());
    }

    void f1OpensHelp() {
        startFrame(kCanopenMaster);
        QFile guide(dir_.filePath(QStringLiteral("Torvane.html")));
        QVERIFY(guide.open(QIODevice::WriteOnly));
        guide.write("<html><body><h1>Keyboard editing</h1></body></html>");
        guide.close();
        frame_->setDataFileLookup(
            [this](const std::string& name) { return dir_.path().toStdString() + "/" + name; });
        QList<QUrl> opened;
        frame_->setUrlOpener([&opened](const QUrl& url) {
            opened << url;
            return true;
        });
        QTest::keyClick(frame_.get(), Qt::Key_F1);
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(guide.fileName())});
        QVERIFY(prompts_.told.empty());
        QVERIFY(frame_->helpWindow() == nullptr);
    }

    // The desktop cannot show the guide: a message names the file, then the program's own
    // window shows it.
    void guideFallbackWindow() {
        startFrame(kCanopenMaster);
        QFile guide(dir_.filePath(QStringLiteral("Torvane.html")));
        QVERIFY(guide.open(QIODevice::WriteOnly));
        guide.write("<html><body><h1>Hex entry</h1></body></html>");
        guide.close();
        frame_->setDataFileLookup(
            [this](const std::string& name) { return dir_.path().toStdString() + "/" + name; });
        frame_->setUrlOpener([](const QUrl&) { return false; });
        for (int i = 0; i < 2; ++i) { // twice: one window, shown again
            frame_->action(QStringLiteral("Content(&C)"))->trigger();
            QCOMPARE(prompts_.told.size(), size_t(i + 1));
            QCOMPARE(QString::fromStdString(prompts_.told.back()),
                     ui(str::HelpNotOpened).arg(guide.fileName()));
            QDialog* window = frame_->helpWindow();
            QVERIFY(window != nullptr && window->isVisible());
            QCOMPARE(window->windowTitle(), ui(str::HelpWindowTitle));
            auto* browser = window->findChild<QTextBrowser*>();
            QCOMPARE(browser->source(), QUrl::fromLocalFile(guide.fileName()));
            QVERIFY(browser->toPlainText().contains(QStringLiteral("Hex entry")));
            QCOMPARE(window->findChildren<QTextBrowser*>().size(), 1);
            QCOMPARE(frame_->findChildren<QDialog*>(QStringLiteral("helpWindow")).size(), 1);
        }
    }

    void failedCheckSelectsCommand_data() {
        QTest::addColumn<QString>("how"); // "map" or "download"
        QTest::addColumn<QString>("bytes2");
        QTest::addColumn<QString>("mapping2");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("selected"); // 1-based command position
        QTest::newRow("mapping refused: no byte count")
            << "map"
            << ""
            << "2" << QString::fromLatin1(str::MappingMissingBytes.source) << 2;
        QTest::newRow("download: overlapping addresses")
            << "download"
            << "4"
            << "1" << QString::fromLatin1(str::CheckAddressConflict.source) << 1;
    }

    void failedCheckSelectsCommand() {
        QFETCH(QString, how);
        QFETCH(QString, bytes2);
        QFETCH(QString, mapping2);
        QFETCH(QString, message);
        QFETCH(int, selected);
        startSample(kCanopenMaster);
        // The Upload SDO and the Transmit PDO both fill the input buffer: the SDO at 0..1, the
        // PDO where the row says. No bus-load question: no cycle is configured.
        liveConfiguration(frame_->session()).Config.RPDOCycle = "0";
        liveConfiguration(frame_->session()).Config.SDOCycle = "0";
        INSTRUCTION& second = liveConfiguration(frame_->session()).Config.Instructions[1];
        second.Bytes = bytes2.toStdString();
        second.MappingAddress = mapping2.toStdString();
        liveConfiguration(frame_->session()).Config.Instructions[0].MappingAddress = "0";
        QVERIFY(view()->select({TreeItemKind::Profibus, 0, {}}));
        if (how == QLatin1String("map")) {
            prompts_.okCancel = {true};
            frame_->action(ui(str::TipCalculateMapping))->trigger();
        } else {
            frame_->serialSettings().configured = true;
            frame_->serialSettings().ports = {"/dev/no-such-port"};
            frame_->startDownload();
            QTRY_VERIFY(!frame_->transfers()->running());
        }
        QTRY_VERIFY(!prompts_.told.empty());
        QCOMPARE(QString::fromStdString(prompts_.told.front()), message);
        QCOMPARE(view()->selection().kind, TreeItemKind::Command);
        QCOMPARE(view()->selection().data, selected);
        QCOMPARE(tree()->currentItem()->parent()->text(0), QStringLiteral("Node-5"));
    }
};

QTEST_MAIN(KeyboardEntryTest)
#include "keyboard_entry_test.moc"
