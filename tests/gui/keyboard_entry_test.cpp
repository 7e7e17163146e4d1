// The main window without a mouse: menus by their letters, the grid's keys (Enter, F2, typing,
// Tab, Shift+Tab, Escape, Delete), the last folder of the file dialogs, and the command a failed
// check selects. Every message is answered by ScriptedPrompts.

#include "../support/session_access.h"
#include "editor/command_pages.h"
#include "gui/app/gui_texts.h"
#include "gui/app/main_window.h"
#include "gui/app/translation.h"
#include "gui/comm/serial_dialog.h"
#include "gui/comm/transfer_runner.h"
#include "gui/editor/select_commands_dialog.h"
#include "gui_test_support.h"
#include "model/strings.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QListWidget>
#include <QMenu>
#include <QTemporaryDir>

using namespace torvane;
using namespace torvane::gui;
using test::whenShown;

class KeyboardEntryTest : public test::WindowFixture {
    Q_OBJECT

private:
    QTemporaryDir dir_;

    QLineEdit* textEditor() const { return view()->textEditor(); }
    QComboBox* listEditor() const { return view()->listEditor(); }
    const CONFIG& config() const { return frame_->session().configuration().Config; }

    // Node 5 (master) or the slave gateway with an Upload SDO of 8192/1 (command 1) and a
    // Transmit PDO of COB-ID 389 mapped at 2 (command 2).
    void startSample(int configType) {
        startFrame(configType);
        loadSample(configType == kCanopenMaster ? "sdo_tpdo_master.chg" : "sdo_tpdo_slave.chg");
    }

    // Selects command `position` (1-based) and focuses the grid.
    void focusCommand(int position) {
        QVERIFY(view()->select({TreeItemKind::Command, position, {}}));
        grid()->setFocus(Qt::OtherFocusReason);
        QTRY_VERIFY(grid()->hasFocus());
    }

    // Opens the Edit menu with Alt+E and presses `letter` in it.
    void editMenuKey(Qt::Key letter) {
        // A closed dialog leaves no active window on the offscreen platform.
        QApplication::setActiveWindow(frame_.get());
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
        whenShown<QMenu>([letter](QMenu* menu) { QTest::keyClick(menu, letter); });
        QTest::keyClick(frame_.get(), Qt::Key_E, Qt::AltModifier);
    }

    QWidget* openEditor() const {
        return textEditor()->isVisible() ? static_cast<QWidget*>(textEditor()) : listEditor();
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

    // A node and an Upload SDO made and filled in with keys alone: the Edit menu's letters,
    // "Select Commands" by Enter and Esc, typing that opens the editor with the typed character,
    // Enter and Tab; then Delete in the tree removes, and in the grid stays the editor's key.
    void wholeCommandByKeys() {
        startFrame(kCanopenMaster);
        QVERIFY(view()->select({TreeItemKind::CanopenNetwork, 0, {}}));
        editMenuKey(Qt::Key_N);
        QTRY_COMPARE(config().NodeCount, 1);
        tree()->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(tree(), Qt::Key_Down);
        QTest::keyClick(tree(), Qt::Key_Tab);
        QTRY_VERIFY(grid()->hasFocus());
        QTest::keyClicks(grid(), QStringLiteral("5"));
        QCOMPARE(textEditor()->text(), QStringLiteral("5"));
        QTest::keyClick(textEditor(), Qt::Key_Return);
        QCOMPARE(tree()->currentItem()->text(0), QStringLiteral("Node-5"));

        // Keypad Enter adds and leaves the list open for more; Escape closes it.
        bool openAfterEnter = false;
        whenShown<SelectCommandsDialog>([&openAfterEnter](SelectCommandsDialog* dialog) {
            dialog->list()->setCurrentRow(0);
            QTest::keyClick(dialog->list(), Qt::Key_Enter);
            openAfterEnter = dialog->isVisible();
            QTest::keyClick(dialog->list(), Qt::Key_Escape);
        });
        editMenuKey(Qt::Key_I);
        QTRY_COMPARE(config().InstructionCount, 1);
        QVERIFY(openAfterEnter);
        QApplication::setActiveWindow(frame_.get());
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
        tree()->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(tree(), Qt::Key_Right); // expands Node-5
        QTest::keyClick(tree(), Qt::Key_Down);
        QTest::keyClick(tree(), Qt::Key_Tab);
        QTRY_VERIFY(grid()->hasFocus());
        QCOMPARE(view()->currentRow(), 1); // the address is read-only
        QTest::keyClick(grid(), Qt::Key_Return);
        const char* const typed[] = {"0x6041", "1", "2", "4", "Speed"};
        for (const char* t : typed) {
            QTest::keyClicks(textEditor(), QString::fromLatin1(t));
            QTest::keyClick(textEditor(), t == typed[4] ? Qt::Key_Return : Qt::Key_Tab);
        }
        QVERIFY(!textEditor()->isVisible() && grid()->hasFocus());
        QCOMPARE(view()->currentRow(), 5);
        const INSTRUCTION& sdo = config().Instructions[0];
        QCOMPARE(sdo.Index + "/" + sdo.SubIndex + "/" + sdo.Bytes + "/" + sdo.MappingAddress + "/" +
                     sdo.Description,
                 std::string("24641/1/2/4/Speed"));

        QTest::keyClick(grid(), Qt::Key_Delete);
        QCOMPARE(config().InstructionCount, 1);
        tree()->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(tree(), Qt::Key_Delete);
        QCOMPARE(config().InstructionCount, 0);
        QVERIFY(view()->select({TreeItemKind::Node, 1, "Node-5"}));
        tree()->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(tree(), Qt::Key_Delete);
        QCOMPARE(config().NodeCount, 0);
        QTest::keyClick(tree(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(config().NodeCount, 1);
        QVERIFY(prompts_.told.empty());
    }

    // Keys in an open editor: Escape closes it however it was opened and keeps the cell (on an
    // open drop-down the first Escape closes the list only); Tab and Shift+Tab (Backtab here)
    // move it past read-only rows, or close it (-1) at either end.
    void keysInAnOpenEditor_data() {
        QTest::addColumn<int>("configType");
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("typed"); // empty: opened by F2
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("to");
        const int master = kCanopenMaster;
        const int slave = kCanopenSlave;
        const int esc = Qt::Key_Escape;
        const int tab = Qt::Key_Tab;
        const int back = Qt::Key_Backtab;
        QTest::newRow("Escape, typed index") << master << 1 << 1 << "0x10" << esc << -1;
        QTest::newRow("Escape, COB-ID drop-down") << master << 2 << 1 << "" << esc << -1;
        QTest::newRow("master SDO back over the address") << master << 1 << 1 << "" << back << -1;
        QTest::newRow("master SDO past the last row") << master << 1 << 5 << "" << tab << -1;
        QTest::newRow("master TPDO mapping editable") << master << 2 << 2 << "" << tab << 3;
        QTest::newRow("slave TPDO over the mapping") << slave << 2 << 2 << "" << tab << 4;
        QTest::newRow("slave TPDO back over the mapping") << slave << 2 << 4 << "" << back << 2;
    }
    void keysInAnOpenEditor() {
        QFETCH(int, configType);
        QFETCH(int, command);
        QFETCH(int, row);
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(int, to);
        startSample(configType);
        focusCommand(command);
        goToRow(row);
        const CONFIG before = config();
        const QString shown = cell(row);
        if (typed.isEmpty()) {
            QTest::keyClick(grid(), Qt::Key_F2);
        } else {
            typeInGrid(typed);
        }
        if (listEditor()->view()->isVisible()) {
            QTest::keyClick(listEditor()->view(), Qt::Key_Escape);
            QTRY_VERIFY(!listEditor()->view()->isVisible());
            QVERIFY(listEditor()->isVisible());
        }
        const bool backwards = key == Qt::Key_Backtab;
        QTest::keyClick(openEditor(), backwards ? Qt::Key_Tab : static_cast<Qt::Key>(key),
                        backwards ? Qt::ShiftModifier : Qt::NoModifier);
        QCOMPARE(view()->currentRow(), to < 0 ? row : to);
        QCOMPARE(openEditor()->isVisible(), to >= 0);
        if (key == Qt::Key_Escape) {
            QCOMPARE(cell(row), shown);
            tree()->setFocus(Qt::OtherFocusReason);
            QVERIFY(config() == before);
        }
        QVERIFY(prompts_.told.empty());
    }

    // Ctrl+A, Ctrl+C, Ctrl+V, Ctrl+Z and Ctrl+Y stay with the open editor: neither Undo nor
    // window shortcuts on the same keys fire; without an editor Ctrl+Z is Undo again.
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
        focusCommand(1);
        goToRow(5);
        typeInGrid(QStringLiteral("ab"));
        QLineEdit* e = textEditor();
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(e, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(e, Qt::Key_End);
        QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(e->text(), QStringLiteral("ab"));
        QTest::keyClick(e, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(e->text(), QStringLiteral("abab"));
        QCOMPARE(fired, 0);
        QTest::keyClick(e, Qt::Key_Return);
        QCOMPARE(config().Instructions[0].Description, std::string("abab"));
        QTest::keyClick(grid(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(fired, 1);
        QCOMPARE(config().Instructions[0].Description, std::string());
    }

    // The file dialogs start in the folder last chosen, also after a restart (a new prompts
    // object); a cancelled dialog keeps it, and a vanished folder is forgotten.
    void fileDialogsStartInLastFolder() {
        const QString a = QDir(dir_.path()).filePath(QStringLiteral("a"));
        const QString b = QDir(dir_.path()).filePath(QStringLiteral("b"));
        QVERIFY(QDir().mkpath(a) && QDir().mkpath(b));
        const struct {
            FileDialogKind kind;
            QString pick;
            QString startsIn; // empty: wherever the dialog starts by itself
        } steps[] = {
            {FileDialogKind::Open, a + QStringLiteral("/one.chg"), QString()},
            {FileDialogKind::SaveAs, b + QStringLiteral("/two.chg"), a},
            {FileDialogKind::SaveAs, QString(), b},
            {FileDialogKind::Save, a + QStringLiteral("/three.chg"), b},
        };
        for (const auto& step : steps) {
            WidgetPrompts prompts;
            QString startedIn;
            whenShown<QFileDialog>([&](QFileDialog* dialog) {
                startedIn = dialog->directory().absolutePath();
                // done() skips the dialog's own checks against a folder listing that loads in
                // the background.
                dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(step.pick);
                static_cast<QDialog*>(dialog)->done(step.pick.isEmpty() ? QDialog::Rejected
                                                                        : QDialog::Accepted);
            });
            const std::optional<std::string> chosen =
                prompts.chooseFile(fileDialogRequest(step.kind));
            QVERIFY(step.startsIn.isEmpty() || QDir(startedIn) == QDir(step.startsIn));
            QCOMPARE(chosen.has_value(), !step.pick.isEmpty());
        }
        QCOMPARE(QDir(lastFileFolder()), QDir(a));
        QVERIFY(QDir(a).removeRecursively());
        QCOMPARE(lastFileFolder(), QString());
    }

    // A refused mapping calculation or download selects the command at fault.
    void failedCheckSelectsCommand_data() {
        QTest::addColumn<bool>("download");
        QTest::addColumn<QString>("bytes2");
        QTest::addColumn<QString>("mapping2");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("selected"); // 1-based command position
        QTest::newRow("mapping refused: no byte count")
            << false << ""
            << "2" << QString::fromLatin1(str::MappingMissingBytes.source) << 2;
        QTest::newRow("download: overlapping addresses")
            << true << "4"
            << "1" << QString::fromLatin1(str::CheckAddressConflict.source) << 1;
    }
    void failedCheckSelectsCommand() {
        QFETCH(bool, download);
        QFETCH(QString, bytes2);
        QFETCH(QString, mapping2);
        QFETCH(QString, message);
        QFETCH(int, selected);
        startSample(kCanopenMaster);
        // No cycle, so no bus-load question.
        CONFIG& c = liveConfiguration(frame_->session()).Config;
        c.RPDOCycle = "0";
        c.SDOCycle = "0";
        c.Instructions[1].Bytes = bytes2.toStdString();
        c.Instructions[1].MappingAddress = mapping2.toStdString();
        QVERIFY(view()->select({TreeItemKind::Profibus, 0, {}}));
        if (download) {
            frame_->serialSettings().configured = true;
            frame_->serialSettings().ports = {"/dev/no-such-port"};
            frame_->startDownload();
            QTRY_VERIFY(!frame_->transfers()->running());
        } else {
            prompts_.okCancel = {true};
            frame_->action(ui(str::TipCalculateMapping))->trigger();
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
