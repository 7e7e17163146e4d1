// The main window through its menus and keys: accelerator letters and shortcuts, Select Commands
// by Enter, Delete in the tree, and what the status bar and the Info tab say about a typed value
// the grid keeps out.

#include "../support/session_access.h"
#include "editor/command_pages.h"
#include "gui/app/gui_texts.h"
#include "gui/app/info_bar.h"
#include "gui/app/main_window.h"
#include "gui/app/translation.h"
#include "gui/editor/config_view.h"
#include "gui/editor/select_commands_dialog.h"
#include "gui_test_support.h"
#include "model/strings.h"
#include "scripted_prompts.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <map>
#include <memory>

using namespace torvane;
using namespace torvane::gui;
using test::ScriptedPrompts;
using test::whenShown;

namespace {

// "menu: E (Edit(&E), Exit(&X))"-style lines for each accelerator letter two visible items share.
QStringList sharedLetters(const QString& menu, const QList<QAction*>& actions) {
    static const QRegularExpression letter(QStringLiteral("&([^&])"));
    std::map<QChar, QStringList> byLetter;
    for (QAction* a : actions) {
        const QRegularExpressionMatch m = letter.match(QString(a->text()).remove("&&"));
        if (a->isVisible() && m.hasMatch()) {
            byLetter[m.captured(1).at(0).toUpper()] << a->text();
        }
    }
    QStringList shared;
    for (const auto& [key, texts] : byLetter) {
        if (texts.size() > 1) {
            shared << menu + ": " + QString(key) + " (" + texts.join(", ") + ")";
        }
    }
    return shared;
}

} // namespace

class MenuKeysTest : public test::WindowFixture {
    Q_OBJECT

private:
    GatewayConfiguration& config() const { return liveConfiguration(frame_->session()); }

    // Node-5 with an Upload SDO of 8192/1, selected in the tree, which has the focus.
    void startWithNode5() {
        startFrame(kCanopenMaster);
        CONFIG& c = config().Config;
        c.NodeCount = 1;
        c.Nodes[0] = {"5", "Node-5"};
        c.InstructionCount = 1;
        c.Instructions[0] = {"5", "1", "8192", "1", "", "0", "2", "", "", 1};
        view()->rebuildTree(false);
        QVERIFY(view()->select({TreeItemKind::Node, 1, "Node-5"}));
        tree()->setFocus(Qt::OtherFocusReason);
    }

    // Opens the Edit menu with Alt+E and presses `letter` in it.
    void editMenuKey(Qt::Key letter) {
        // A closed dialog leaves no active window on the offscreen platform.
        QApplication::setActiveWindow(frame_.get());
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
        whenShown<QMenu>([letter](QMenu* menu) { QTest::keyClick(menu, letter); });
        QTest::keyClick(frame_.get(), Qt::Key_E, Qt::AltModifier);
    }

private slots: // NOLINT(readability-redundant-access-specifiers): moc needs the slots section
    void init() { test::clearProgramSettings(); }

    void cleanup() {
        frame_.reset();
        QVERIFY(installTranslations(QString::fromLatin1(kLanguageEnglish)));
    }

    // In both languages no two items of one menu (the menu bar's titles included) share an
    // accelerator letter, and the file and monitor commands have their keys.
    void everyMenuHasLettersOfItsOwn() {
        for (const char* language : {kLanguageEnglish, kLanguageChinese}) {
            QVERIFY(installTranslations(QString::fromLatin1(language)));
            startFrame(kCanopenMaster);
            QStringList shared =
                sharedLetters(QStringLiteral("menu bar"), frame_->menuBar()->actions());
            for (QAction* title : frame_->menuBar()->actions()) {
                shared << sharedLetters(title->text(), title->menu()->actions());
            }
            QVERIFY2(shared.isEmpty(), qPrintable(language + (": " + shared.join("; "))));

            QCOMPARE(frame_->action(ui(str::MenuSaveAs))->shortcut(),
                     QKeySequence(QStringLiteral("Ctrl+Shift+S")));
            QCOMPARE(frame_->action(ui(str::MenuExit))->shortcut(),
                     QKeySequence(QStringLiteral("Ctrl+Q")));
            QAction* monitor = frame_->action(ui(str::MenuMonitor));
            QVERIFY(monitor != nullptr && !monitor->shortcut().isEmpty());
            QMenu* tools = frame_->menuBar()->actions().at(2)->menu();
            QVERIFY(tools->actions().contains(monitor));
        }
    }

    // Edit -> Add Command by keys: Enter adds the selected kind, Escape ends the dialog; Add
    // Node on a node adds another and selects it; Delete in the tree removes the selected command
    // or node, one undo step each.
    void selectCommandsByEnterAndDeleteByKey() {
        startWithNode5();
        whenShown<SelectCommandsDialog>([](SelectCommandsDialog* dialog) {
            QTest::keyClick(dialog->list(), Qt::Key_Down);
            QTest::keyClick(dialog->list(), Qt::Key_Down);
            QTest::keyClick(dialog->list(), Qt::Key_Return);
            QTest::keyClick(dialog->list(), Qt::Key_Escape);
        });
        editMenuKey(Qt::Key_I);
        QTRY_COMPARE(config().Config.InstructionCount, 2);
        QTreeWidgetItem* node = tree()->topLevelItem(1)->child(0);
        QCOMPARE(node->childCount(), 2);

        editMenuKey(Qt::Key_N);
        QTRY_COMPARE(config().Config.NodeCount, 2);
        QCOMPARE(view()->selection(), (TreeSelection{TreeItemKind::Node, 2, str::NewNode}));
        QVERIFY(frame_->action(ui(str::MainMenuAddNode))->isEnabled());

        // Add Node built the tree anew.
        node = tree()->topLevelItem(1)->child(0);
        tree()->setCurrentItem(node->child(1));
        tree()->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(tree(), Qt::Key_Delete);
        QCOMPARE(config().Config.InstructionCount, 1);
        QCOMPARE(frame_->action(ui(str::MenuUndo))->statusTip(),
                 ui(str::StatusUndo) + core(str::StepDeleteCommand));

        QVERIFY(view()->select({TreeItemKind::Node, 1, "Node-5"}));
        tree()->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(tree(), Qt::Key_Delete);
        QCOMPARE(config().Config.NodeCount, 1);
        QCOMPARE(config().Config.InstructionCount, 0);
        frame_->action(ui(str::MenuUndo))->trigger();
        QCOMPARE(config().Config.NodeCount, 2);
        QCOMPARE(config().Config.InstructionCount, 1);

        // In the grid Delete stays the editor's key.
        QVERIFY(view()->select({TreeItemKind::Node, 1, "Node-5"}));
        grid()->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(grid(), Qt::Key_Delete);
        QCOMPARE(config().Config.NodeCount, 2);
        QVERIFY2(prompts_.unexpected.empty(), test::unexpectedQuestions(prompts_).c_str());
    }

    // A value the grid keeps out without a message box says why in the status bar and the Info
    // tab; the Info tab is emptied when another item is selected.
    void refusedValueLeavesAStatusLine() {
        startWithNode5();
        QTreeWidgetItem* sdo = tree()->topLevelItem(1)->child(0)->child(0);
        tree()->setCurrentItem(sdo);
        typeIntoRow(kRowSdoIndex, QStringLiteral("70000"));
        const QString note = QStringLiteral("70000 is out of range; allowed 1 to 65535");
        QCOMPARE(statusText(), note);
        QVERIFY(frame_->infoBar()->helpText().startsWith(note + "\n\n"));
        QCOMPARE(config().Config.Instructions[0].Index, std::string("8192"));
        QVERIFY(prompts_.told.empty());

        tree()->setCurrentItem(tree()->topLevelItem(0));
        QCOMPARE(frame_->infoBar()->helpText(), QString());
    }
};

QTEST_MAIN(MenuKeysTest)
#include "menu_keys_test.moc"
