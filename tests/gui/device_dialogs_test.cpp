// The device library and the device dialog through the real menus and the keyboard: import and
// remove in Tools -> "Device Library…", a node from a device by the Edit menu (one undo step),
// commands for a node by its context menu.

#include "../support/session_access.h"
#include "gui/app/gui_texts.h"
#include "gui/app/main_window.h"
#include "gui/app/translation.h"
#include "gui/devices/device_commands_dialog.h"
#include "gui/devices/device_library_dialog.h"
#include "gui/editor/config_view.h"
#include "gui_test_support.h"
#include "model/strings.h"
#include "scripted_prompts.h"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <memory>

using namespace torvane;
using namespace torvane::gui;
using test::ScriptedPrompts;
using test::whenShown;

namespace {

const std::string kDevices = std::string(TORVANE_TEST_DATA_DIR) + "/devices/";

// Keys reach a dialog's widgets only while it is the active window. A dialog a failed check left
// open is closed by the guard, so that the test ends.
[[nodiscard]] auto closedAtTheEnd(QDialog* dialog) {
    return qScopeGuard([dialog] {
        if (dialog->isVisible()) {
            dialog->reject();
        }
    });
}

void activate(QWidget* dialog) {
    QApplication::setActiveWindow(dialog);
    QVERIFY(QTest::qWaitForWindowActive(dialog));
}

// A button of `dialog` pressed from the keyboard: focused, then Space.
void press(QWidget* dialog, const char* name) {
    auto* button = dialog->findChild<QWidget*>(QString::fromLatin1(name));
    QVERIFY(button != nullptr);
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
}

int checkedCount(QTreeWidget* tree) {
    int n = 0;
    for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it) {
        for (int c = 0; c < tree->columnCount(); ++c) {
            n +=
                (*it)->data(c, Qt::CheckStateRole).isValid() && (*it)->checkState(c) == Qt::Checked;
        }
    }
    return n;
}

} // namespace

class DeviceDialogsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir data_;
    ScriptedPrompts prompts_;
    std::unique_ptr<MainWindow> frame_;

    QTreeWidget* tree() const { return frame_->view()->tree(); }
    const CONFIG& config() const { return frame_->session().configuration().Config; }

    void menuKey(Qt::Key menu, Qt::Key letter) {
        QApplication::setActiveWindow(frame_.get());
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
        whenShown<QMenu>([letter](QMenu* m) { QTest::keyClick(m, letter); });
        QTest::keyClick(frame_.get(), menu, Qt::AltModifier);
    }

private slots: // NOLINT(readability-redundant-access-specifiers): moc needs the slots section
    void initTestCase() {
        QVERIFY(data_.isValid());
        const QString home = data_.filePath(QStringLiteral("Daten-数据"));
        QVERIFY(QDir().mkpath(home));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home));
        test::clearProgramSettings();
        prompts_.configTypes = {kCanopenMaster};
        frame_ = std::make_unique<MainWindow>(prompts_);
        QCOMPARE(frame_->start({}), MainWindow::StartResult::Running);
        frame_->show();
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
    }

    void cleanupTestCase() { frame_.reset(); }

    // Import of two files, the notes of the selected one, Remove after the question.
    void libraryImportsAndRemoves() {
        prompts_.deviceFiles = {{kDevices + "e35.eds", kDevices + "demoDevice.eds"}};
        prompts_.okCancel = {true};
        int shown = 0;
        int left = 0;
        QString notes;
        whenShown<DeviceLibraryDialog>([&](DeviceLibraryDialog* d) {
            const auto guard = closedAtTheEnd(d);
            activate(d);
            press(d, "importButton");
            shown = d->devices()->topLevelItemCount();
            QTest::keyClick(d->devices(), Qt::Key_Down);
            notes = d->notes()->toPlainText();
            press(d, "removeButton");
            left = d->devices()->topLevelItemCount();
            QTest::keyClick(d, Qt::Key_Escape);
        });
        menuKey(Qt::Key_T, Qt::Key_L);
        QTRY_VERIFY(left > 0);
        QCOMPARE(shown, 2);
        QCOMPARE(left, 1);
        QVERIFY2(notes.startsWith(QStringLiteral("Notes of ")), qPrintable(notes));
        QVERIFY(prompts_.told.size() == 1 && prompts_.told[0].starts_with("Imported:\n"));
        QVERIFY2(prompts_.unexpected.empty(), test::unexpectedQuestions(prompts_).c_str());
    }

    // Edit -> "Add Node from Device…" with the library's drive: address by typing, Enter adds the
    // node with its enabled PDOs in one step.
    void nodeFromDeviceIsOneStep() {
        prompts_ = ScriptedPrompts{};
        prompts_.deviceFiles = {{kDevices + "e35.eds"}};
        int checks = 0;
        QString preview;
        whenShown<DeviceCommandsDialog>([&](DeviceCommandsDialog* d) {
            const auto guard = closedAtTheEnd(d);
            activate(d);
            press(d, "fileButton"); // e35.eds
            d->addressChoice()->setFocus();
            QTest::keyClicks(d->addressChoice(), QStringLiteral("9"));
            checks = checkedCount(d->tree());
            preview = d->preview()->item(0)->text();
            QTest::keyClick(d->addressChoice(), Qt::Key_Return);
        });
        menuKey(Qt::Key_E, Qt::Key_F);
        QTRY_VERIFY(config().NodeCount > 0);
        QVERIFY2(prompts_.unexpected.empty(), test::unexpectedQuestions(prompts_).c_str());
        QCOMPARE(config().NodeCount, 1);
        QCOMPARE(config().Nodes[0].NodeAddress, std::string("9"));
        QVERIFY(checks > 0);
        QCOMPARE(config().InstructionCount, checks);
        QVERIFY2(preview.startsWith(QStringLiteral("Receive PDO  RPDO 1  COB-ID 521")) ||
                     preview.startsWith(QStringLiteral("Transmit PDO")),
                 qPrintable(preview));
        QCOMPARE(frame_->session().undoStep()->name.english(),
                 std::string(str::StepAddNodeFromDevice.source));
        QCOMPARE(
            tree()->currentItem()->text(0),
            QString::fromStdString(frame_->session().configuration().Config.Nodes[0].NodeName));
    }

    // The node's context menu: "Add Commands from Device…"; Space checks an object's Upload SDO.
    void commandsFromDeviceByContextMenu() {
        prompts_ = ScriptedPrompts{};
        const int before = config().InstructionCount;
        QTreeWidgetItem* node = tree()->currentItem();
        QVERIFY(node != nullptr);
        whenShown<QMenu>([](QMenu* m) {
            for (QAction* a : m->actions()) {
                if (a->text() == ui(str::MenuAddCommandsFromDevice)) {
                    m->setActiveAction(a);
                }
            }
            QTest::keyClick(m, Qt::Key_Return);
        });
        prompts_.deviceFiles = {{kDevices + "e35.eds"}};
        whenShown<DeviceCommandsDialog>([](DeviceCommandsDialog* d) {
            const auto guard = closedAtTheEnd(d);
            activate(d);
            // Only the objects 0x6041 are shown; nothing else stays checked.
            press(d, "fileButton");
            d->filterEdit()->setFocus();
            QTest::keyClicks(d->filterEdit(), QStringLiteral("6041"));
            QTest::keyClick(d->filterEdit(), Qt::Key_Tab);
            QTreeWidget* t = d->tree();
            for (QTreeWidgetItemIterator it(t); *it != nullptr; ++it) {
                if ((*it)->data(6, Qt::CheckStateRole).isValid()) {
                    (*it)->setCheckState(6, Qt::Unchecked);
                }
                if ((*it)->data(7, Qt::CheckStateRole).isValid()) {
                    (*it)->setCheckState(7, Qt::Unchecked);
                }
            }
            QTreeWidgetItem* statusword =
                test::treeItem(t, {ui(str::FromDeviceObjects), QStringLiteral("0x6041 sub 0")});
            QVERIFY(statusword != nullptr && !statusword->isHidden());
            t->setCurrentItem(statusword, 6);
            QTest::keyClick(t, Qt::Key_Space);
            QCOMPARE(statusword->checkState(6), Qt::Checked);
            QCOMPARE(d->preview()->count(), 1);
            QTest::keyClick(t, Qt::Key_Return);
        });
        const QPoint at = tree()->visualItemRect(node).center();
        QContextMenuEvent event(QContextMenuEvent::Keyboard, at,
                                tree()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree()->viewport(), &event);
        QTRY_COMPARE(config().InstructionCount, before + 1);
        const INSTRUCTION& added = config().Instructions[static_cast<std::size_t>(before)];
        QCOMPARE(added.InstructionType, std::string("1"));
        QCOMPARE(added.Index, std::string("24641"));
        QCOMPARE(frame_->session().undoStep()->name.english(),
                 std::string(str::StepAddCommandsFromDevice.source));
        QVERIFY2(prompts_.unexpected.empty(), test::unexpectedQuestions(prompts_).c_str());
    }
};

QTEST_MAIN(DeviceDialogsTest)
#include "device_dialogs_test.moc"
