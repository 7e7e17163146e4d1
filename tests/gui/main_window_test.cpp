// The main window driven through its real widgets: menus, toolbar, context menu, the "Select
// Commands" list and the grid's cell editors. Every dialog is answered by ScriptedPrompts.

#include "../support/session_access.h"
#include "gui/app/application.h"
#include "gui/app/gui_texts.h"
#include "gui/app/info_bar.h"
#include "gui/app/main_window.h"
#include "gui/app/translation.h"
#include "gui/editor/config_document.h"
#include "gui/editor/config_view.h"
#include "gui/editor/prompts.h"
#include "gui/editor/select_commands_dialog.h"
#include "gui_test_support.h"
#include "model/config_file.h"
#include "model/strings.h"
#include "platform/data_files.h"
#include "scripted_prompts.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QSettings>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <functional>

using namespace torvane;
using namespace torvane::gui;
using test::ScriptedPrompts;
using test::whenShown;

namespace {

const QColor kGrey(200, 200, 200);

// A double-click as the window system delivers it: press, release, double-click press, release.
void doubleClick(QListWidget* list, int row) {
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    // Keeps the next press from counting as part of this double-click.
    QTest::qWait(QApplication::doubleClickInterval() + 20);
}

} // namespace

class MainWindowTest : public test::WindowFixture {
    Q_OBJECT

private:
    QTemporaryDir dir_;

    void clickAction(const QString& text) {
        QAction* a = frame_->action(text);
        QVERIFY2(a != nullptr, qPrintable(text));
        if (QWidget* button = frame_->toolBar()->widgetForAction(a)) {
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            a->trigger();
        }
    }

    // Right-clicks a tree item and chooses `entry` in the context menu.
    void contextMenu(const QStringList& path, const char* entry) {
        whenShown<QMenu>([entry](QMenu* menu) {
            for (QAction* a : menu->actions()) {
                if (a->text() == QLatin1String(entry)) {
                    QVERIFY(a->isEnabled());
                    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
                    return;
                }
            }
            menu->close();
            QFAIL(entry);
        });
        // The platform turns a right-button press into a context-menu event; the offscreen
        // test platform does not, so the test sends it the same way.
        QTreeWidgetItem* it = item(path);
        QVERIFY(it != nullptr);
        const QPoint at = tree()->visualItemRect(it).center();
        QTest::mousePress(tree()->viewport(), Qt::RightButton, {}, at);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, tree()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree()->viewport(), &event);
        QTest::mouseRelease(tree()->viewport(), Qt::RightButton, {}, at);
    }

    // The tree as indented texts with the expanded items marked, what the user sees of it.
    QString treeText() const {
        QString out;
        const std::function<void(QTreeWidgetItem*, int)> add = [&](QTreeWidgetItem* it, int depth) {
            out += QString(static_cast<qsizetype>(depth) * 2, QLatin1Char(' ')) + it->text(0) +
                   (it->isExpanded() ? QStringLiteral(" +\n") : QStringLiteral("\n"));
            for (int i = 0; i < it->childCount(); ++i) {
                add(it->child(i), depth + 1);
            }
        };
        for (int i = 0; i < tree()->topLevelItemCount(); ++i) {
            add(tree()->topLevelItem(i), 0);
        }
        return out;
    }

    QStringList selectedPath() const {
        QStringList path;
        for (QTreeWidgetItem* it = tree()->currentItem(); it != nullptr; it = it->parent()) {
            path.prepend(it->text(0));
        }
        return path;
    }

    QStringList gridValues() const {
        QStringList values;
        for (int r = 0; r < grid()->rowCount(); ++r) {
            values << cell(r);
        }
        return values;
    }

    void pressOnTree(const QKeySequence& keys) {
        QApplication::setActiveWindow(frame_.get());
        tree()->setFocus();
        QTest::keySequence(tree(), keys);
    }

    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    // The n-th entry of the File menu's recent list.
    QAction* recentAction(int n) const {
        for (QAction* a : frame_->findChildren<QAction*>()) {
            if (a->text().startsWith(QStringLiteral("&%1 ").arg(n))) {
                return a;
            }
        }
        return nullptr;
    }

    // Text as an input method commits it: how Chinese reaches an editor (key events carry no
    // such characters).
    void commitFromInputMethod(const QString& text) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(view()->textEditor(), &event);
    }

    // One cell's text of the workbook `file`, read by unzipping it with Python's own modules
    // (no part of the program's workbook code is involved).
    static QString workbookCell(const QString& file, const char* sheet, const char* cell) {
        static const char* const kReader = R"(import sys, zipfile, xml.etree.ElementTree as ET
M = '{http://schemas.openxmlformats.org/spreadsheetml/2006/main}'
R = '{http://schemas.openxmlformats.org/officeDocument/2006/relationships}'
path, name, ref = sys.argv[1:4]
z = zipfile.ZipFile(path)
rid = [s for s in ET.fromstring(z.read('xl/workbook.xml')).iter(M + 'sheet')
       if s.get('name') == name][0].get(R + 'id')
target = [r for r in ET.fromstring(z.read('xl/_rels/workbook.xml.rels'))
          if r.get('Id') == rid][0].get('Target')
part = target.lstrip('/') if target.startswith('/') else 'xl/' + target
shared = []
if 'xl/sharedStrings.xml' in z.namelist():
    shared = [''.join(t.text or '' for t in si.iter(M + 't'))
              for si in ET.fromstring(z.read('xl/sharedStrings.xml')).iter(M + 'si')]
c = [c for c in ET.fromstring(z.read(part)).iter(M + 'c') if c.get('r') == ref][0]
if c.get('t') == 's':
    text = shared[int(c.find(M + 'v').text)]
elif c.get('t') == 'inlineStr':
    text = ''.join(t.text or '' for t in c.iter(M + 't'))
else:
    text = c.find(M + 'v').text
sys.stdout.buffer.write(text.encode('utf-8'))
)";
        QProcess python;
        python.start(QStringLiteral("python3"),
                     {QStringLiteral("-c"), QString::fromLatin1(kReader), file,
                      QString::fromLatin1(sheet), QString::fromLatin1(cell)});
        if (!python.waitForFinished(30000) || python.exitCode() != 0) {
            return QStringLiteral("<reading the workbook failed: %1>")
                .arg(QString::fromUtf8(python.readAllStandardError()));
        }
        return QString::fromUtf8(python.readAllStandardOutput());
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

    void shellLayout() {
        startFrame(kCanopenMaster);
        QCOMPARE(frame_->size(), QSize(1440, 750));
        QCOMPARE(test::shownTitle(frame_.get()),
                 QStringLiteral("Gateway Configuration Software Torvane"));
        const QStringList menus = {QStringLiteral("File(&F)"), QStringLiteral("Edit(&E)"),
                                   QStringLiteral("Tools(&T)"), QStringLiteral("Help(&H)")};
        QStringList shown;
        for (QAction* a : frame_->menuBar()->actions()) {
            shown << a->text();
        }
        QCOMPARE(shown, menus);
        QStringList tips;
        for (QAction* a : frame_->toolBar()->actions()) {
            tips << (a->isSeparator() ? QStringLiteral("|") : a->toolTip());
        }
        QCOMPARE(tips.join(QLatin1Char(',')),
                 QStringLiteral("New,Open,Save,|,Add Node,Delete Node,Add Command,Delete Command,|,"
                                "Upload,Download,Calculate Mapping Address,Mapping Address "
                                "Conflict Detection,Export EXCEL,Monitor"));
        // The News tab is in front; the tree starts on "Profibus Network".
        QCOMPARE(frame_->infoBar()->tabs()->tabText(frame_->infoBar()->tabs()->currentIndex()),
                 QStringLiteral("News"));
        QCOMPARE(tree()->currentItem()->text(0), QStringLiteral("Profibus Network"));
        QCOMPARE(cell(0), QStringLiteral("Profibus"));
        QCOMPARE(grid()->item(0, 1)->background().color(), kGrey);
        QCOMPARE(grid()->columnWidth(0), grid()->viewport()->width() / 2);
    }

    void promptInformationToggles() {
        startFrame(kCanopenMaster);
        QAction* a = frame_->action(QStringLiteral("Prompt Information"));
        QVERIFY(a != nullptr);
        QVERIFY(a->isChecked());
        a->trigger();
        QVERIFY(!frame_->infoBar()->isVisible());
        QVERIFY(!a->isChecked());
        a->trigger();
        QVERIFY(frame_->infoBar()->isVisible());
        QVERIFY(a->isChecked());
    }

    void messagesGoThroughTell() {
        startFrame(kCanopenMaster);
        // No help file in this folder, and nothing is launched.
        frame_->setDataFileLookup([this](const std::string& name) {
            return path("no-such-folder/").toStdString() + name;
        });
        frame_->setUrlOpener([](const QUrl&) { return true; });
        frame_->action(QStringLiteral("Content(&C)"))->trigger();
        QCOMPARE(prompts_.told.size(), size_t(1));
        QCOMPARE(QString::fromStdString(prompts_.told[0]),
                 QStringLiteral("Help file\n%1\ndo not exist!").arg(frame_->helpFilePath()));
        // "Calculate Mapping Address" asks first; Cancel changes nothing, OK reports.
        prompts_.okCancel = {false, true};
        clickAction("Calculate Mapping Address");
        QCOMPARE(prompts_.told.size(), size_t(1));
        clickAction("Calculate Mapping Address");
        QCOMPARE(prompts_.told.back(), std::string(str::MappingSuccessful.source));
    }

    void cancelAtStartUpEndsTheProgram() {
        prompts_ = ScriptedPrompts{};
        prompts_.configTypes = {std::nullopt};
        MainWindow frame(prompts_);
        const MainWindow::StartResult result = frame.start({});
        QCOMPARE(result, MainWindow::StartResult::Cancelled);
        QCOMPARE(startExitStatus(result), 0);
    }

    // Add a node and commands through menu, context menu and "Select Commands"; fill the cells
    // with the real editors; save; open the file again in a fresh window and compare.
    void buildSaveAndReopen() {
        startFrame(kCanopenMaster);
        clickItem({QStringLiteral("CANopen Network")});
        clickAction("Add Node");
        QVERIFY(item({QStringLiteral("CANopen Network"), QStringLiteral("New node")}) != nullptr);

        clickItem({QStringLiteral("CANopen Network"), QStringLiteral("New node")});
        typeIntoCell(0, QStringLiteral("5"));
        QCOMPARE(cell(0), QStringLiteral("5"));
        QVERIFY(item({QStringLiteral("CANopen Network"), QStringLiteral("Node-5")}) != nullptr);

        // Two Transmit PDOs and one Upload SDO through the context menu's "Add Command".
        whenShown<SelectCommandsDialog>([](SelectCommandsDialog* dialog) {
            QListWidget* list = dialog->list();
            for (int entry : {2, 2, 0}) {
                doubleClick(list, entry);
            }
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        contextMenu({QStringLiteral("CANopen Network"), QStringLiteral("Node-5")}, "Add Command");
        QTreeWidgetItem* node = item({QStringLiteral("CANopen Network"), QStringLiteral("Node-5")});
        QCOMPARE(node->childCount(), 3);
        QCOMPARE(node->child(0)->text(0), QStringLiteral("Transmit PDO"));
        QCOMPARE(node->child(2)->text(0), QStringLiteral("Upload SDO"));

        // First Transmit PDO: COB-ID picked from the list, then the focus leaves by a click on
        // a label cell; byte count and mapping address typed.
        tree()->setCurrentItem(node->child(0));
        pickFromList(1, QStringLiteral("389 (0x185)"));
        clickCell(4, 0);
        QCOMPARE(cell(1), QStringLiteral("389 (0x185)"));
        typeIntoCell(2, QStringLiteral("4"));
        typeIntoCell(3, QStringLiteral("0"));
        clickCell(4, 1);
        QTest::keyClicks(view()->textEditor(), QStringLiteral("Drive status"));
        clickCell(0, 0); // click away commits
        QCOMPARE(cell(4), QStringLiteral("Drive status"));

        // Parameter page: a list pick and a typed value.
        clickItem({QStringLiteral("CANopen Network")});
        pickFromList(1, QStringLiteral("500K"));
        clickCell(0, 0);
        typeIntoCell(7, QStringLiteral("50"));
        QCOMPARE(cell(1), QStringLiteral("500K"));
        QVERIFY(prompts_.told.empty());

        prompts_.files = {path("built.chg").toStdString()};
        clickAction("Save");
        QVERIFY(QFile::exists(path("built.chg")));
        QCOMPARE(test::shownTitle(frame_.get()), path("built.chg") + QStringLiteral(" - Torvane"));
        const GatewayConfiguration saved = frame_->session().configuration();

        // Reopen through File -> Open in a new window and compare with what was saved.
        startFrame(kCanopenMaster);
        prompts_.files = {path("built.chg").toStdString()};
        clickAction("Open");
        QTRY_VERIFY(item({QStringLiteral("CANopen Network"), QStringLiteral("Node-5")}));
        const CONFIG& c = liveConfiguration(frame_->session()).Config;
        QCOMPARE(c.NodeCount, 1);
        QCOMPARE(c.Nodes[0].NodeAddress, std::string("5"));
        QCOMPARE(c.InstructionCount, 3);
        const INSTRUCTION& t = c.Instructions[0];
        QCOMPARE(t.InstructionType, std::string("3"));
        QCOMPARE(t.NodeAddress, std::string("5"));
        QCOMPARE(t.CobId, std::string("389"));
        QCOMPARE(t.Bytes, std::string("4"));
        QCOMPARE(t.MappingAddress, std::string("0"));
        QCOMPARE(t.Description, std::string("Drive status"));
        QCOMPARE(c.BuadRate, std::string("500K"));
        QCOMPARE(c.SYNC, std::string("50"));
        QVERIFY(frame_->session().configuration().Config == saved.Config);
    }

    void listLeftWithoutPickStoresFirstEntry() {
        startFrame(kCanopenMaster);
        clickItem({QStringLiteral("CANopen Network")});
        QCOMPARE(cell(14), QString());
        QCOMPARE(grid()->item(14, 1)->background().color(), kGrey);
        clickCell(13, 1);
        QVERIFY(view()->listEditor()->isVisible());
        view()->listEditor()->hidePopup();
        clickCell(0, 0);
        QCOMPARE(cell(13), QStringLiteral("Disable"));
        QCOMPARE(cell(14), QStringLiteral("0"));
        QCOMPARE(grid()->item(15, 1)->background().color(), QColor(255, 255, 255));
    }

    // Copy Node / Paste Node from the Edit menu, then the pasted node's address moves its COB-ID.
    void copyPasteAndRenumber() {
        startFrame(kCanopenMaster);
        GatewayConfiguration& cfg = liveConfiguration(frame_->session());
        cfg.Config.NodeCount = 1;
        cfg.Config.Nodes[0] = {"5", "Node-5"};
        cfg.Config.InstructionCount = 1;
        cfg.Config.Instructions[0] = {"5", "3", "", "", "389", "0", "4", "status", "", 1};
        view()->rebuildTree(false);
        QAction* paste = frame_->action(QStringLiteral("Paste Node(&P)"));
        clickItem({QStringLiteral("CANopen Network"), QStringLiteral("Node-5")});
        QVERIFY(!paste->isEnabled());
        frame_->action(QStringLiteral("Copy Node(&C)"))->trigger();
        QVERIFY(paste->isEnabled());
        paste->trigger();
        QTreeWidgetItem* pasted =
            item({QStringLiteral("CANopen Network"), QStringLiteral("New node")});
        QVERIFY(pasted != nullptr);
        QCOMPARE(pasted->childCount(), 1);
        clickItem({QStringLiteral("CANopen Network"), QStringLiteral("New node")});
        typeIntoCell(0, QStringLiteral("6"));
        QCOMPARE(cfg.Config.Instructions[1].CobId, std::string("390"));
        QCOMPARE(cfg.Config.Instructions[1].Description, std::string());
        QVERIFY(item({QStringLiteral("CANopen Network"), QStringLiteral("Node-6")}) != nullptr);
    }

    // Every kind of step, undone one by one with Ctrl+Z and made again with Ctrl+Y and
    // Ctrl+Shift+Z: each time the configuration and the tree are as they were, the step's item
    // is selected and the grid shows it.
    void undoAndRedoEveryKindOfStep() {
        startFrame(kCanopenMaster);
        QAction* undo = frame_->action(QStringLiteral("Undo(&U)"));
        QAction* redo = frame_->action(QStringLiteral("Redo(&R)"));
        QVERIFY(undo != nullptr && redo != nullptr);
        QVERIFY(!undo->isEnabled() && !redo->isEnabled());
        const QStringList canopen = {QStringLiteral("CANopen Network")};
        const QStringList node5 = canopen + QStringList{QStringLiteral("Node-5")};

        struct Seen {
            QString name;
            QStringList before, after; // selections around the step
            QString tree;
            GatewayConfiguration cfg;
        };
        std::vector<Seen> seen{{{}, {}, {}, treeText(), frame_->session().configuration()}};
        // Each step selects its item, then changes the configuration.
        auto step = [&](const char* name, const QStringList& item,
                        const std::function<void()>& act) {
            clickItem(item);
            const QStringList before = selectedPath();
            act();
            seen.push_back({QString::fromLatin1(name), before, selectedPath(), treeText(),
                            frame_->session().configuration()});
            QCOMPARE(undo->statusTip(), QStringLiteral("Undo: ") + QString::fromLatin1(name));
        };
        const QStringList newNode = canopen + QStringList{QStringLiteral("New node")};
        const QStringList pdo = node5 + QStringList{QStringLiteral("Transmit PDO")};
        step("Add Node", canopen, [&] { clickAction("Add Node"); });
        step("Slave Address (1 to 127)", newNode, [&] { typeIntoCell(0, QStringLiteral("5")); });
        step("Add Command", node5, [&] {
            whenShown<SelectCommandsDialog>([](SelectCommandsDialog* dialog) {
                doubleClick(dialog->list(), 2);
                QTest::keyClick(dialog, Qt::Key_Escape);
            });
            contextMenu(node5, "Add Command");
        });
        step("COB-ID", pdo, [&] {
            pickFromList(1, QStringLiteral("389 (0x185)"));
            clickCell(4, 0);
        });
        step(str::ParamNumberOfBytes.source, pdo, [&] { typeIntoCell(2, QStringLiteral("4")); });
        step("Paste Node", node5, [&] {
            frame_->action(QStringLiteral("Copy Node(&C)"))->trigger();
            frame_->action(QStringLiteral("Paste Node(&P)"))->trigger();
        });
        step("Delete Command", newNode + QStringList{QStringLiteral("Transmit PDO")},
             [&] { clickAction("Delete Command"); });
        step("Calculate Mapping Address", node5, [&] {
            prompts_.okCancel = {true};
            clickAction("Calculate Mapping Address");
        });
        step("Delete Node", newNode, [&] { clickAction("Delete Node"); });

        auto check = [&](const Seen& state, const QStringList& selected) {
            QVERIFY(frame_->session().configuration() == state.cfg);
            QVERIFY2(selectedPath() == selected,
                     qPrintable(selectedPath().join('/') + " is not " + selected.join('/')));
            // The grid is the page of the selected item: choosing it again shows the same.
            const QStringList shownNow = gridValues();
            QTreeWidgetItem* current = tree()->currentItem();
            tree()->setCurrentItem(tree()->topLevelItem(0));
            tree()->setCurrentItem(current);
            QCOMPARE(gridValues(), shownNow);
        };
        for (size_t i = seen.size() - 1; i > 0; --i) {
            pressOnTree(QKeySequence(QStringLiteral("Ctrl+Z")));
            QCOMPARE(frame_->statusBar()->currentMessage(),
                     QStringLiteral("Undo: ") + seen[i].name);
            check(seen[i - 1], seen[i].before);
            QCOMPARE(redo->statusTip(), QStringLiteral("Redo: ") + seen[i].name);
        }
        QVERIFY(!undo->isEnabled());
        for (size_t i = 1; i < seen.size(); ++i) {
            pressOnTree(QKeySequence(i % 2 == 0 ? QStringLiteral("Ctrl+Y")
                                                : QStringLiteral("Ctrl+Shift+Z")));
            QCOMPARE(frame_->statusBar()->currentMessage(),
                     QStringLiteral("Redo: ") + seen[i].name);
            check(seen[i], seen[i].after);
        }
        QVERIFY(!redo->isEnabled());
        QVERIFY(prompts_.told.empty() || prompts_.told.back() == str::MappingSuccessful.source);
    }

    // The state last opened or saved as an archive is unmodified again after Undo, so New asks
    // nothing; an XML save leaves the mark as it always did.
    void undoBackToTheSavedStateClearsTheModifiedMark() {
        startFrame(kCanopenMaster);
        const Document& doc = frame_->session().document();
        clickItem({QStringLiteral("CANopen Network")});
        typeIntoCell(7, QStringLiteral("50"));
        prompts_.files = {path("undo.chg").toStdString()};
        clickAction("Save");
        QVERIFY(!doc.ModifiedFlag());
        typeIntoCell(7, QStringLiteral("60"));
        QVERIFY(doc.ModifiedFlag());
        pressOnTree(QKeySequence(QStringLiteral("Ctrl+Z")));
        QVERIFY(!doc.ModifiedFlag());
        QCOMPARE(cell(7), QStringLiteral("50"));
        pressOnTree(QKeySequence(QStringLiteral("Ctrl+Z")));
        QVERIFY(doc.ModifiedFlag());
        pressOnTree(QKeySequence(QStringLiteral("Ctrl+Y")));
        QVERIFY(!doc.ModifiedFlag());
        prompts_.configTypes = {kCanopenMaster};
        clickAction("New");
        QCOMPARE(prompts_.saveQuestions, 0);
        QVERIFY(!frame_->action(QStringLiteral("Undo(&U)"))->isEnabled());

        // An XML file that holds every value is a saved state too.
        clickItem({QStringLiteral("CANopen Network")});
        typeIntoCell(7, QStringLiteral("50"));
        prompts_.files = {path("undo.xml").toStdString()};
        frame_->action(QStringLiteral("Save As(&A)"))->trigger();
        QVERIFY(!doc.ModifiedFlag());
        typeIntoCell(7, QStringLiteral("60"));
        QVERIFY(doc.ModifiedFlag());
        pressOnTree(QKeySequence(QStringLiteral("Ctrl+Z")));
        QVERIFY(!doc.ModifiedFlag());
    }

    // File -> Open of an XML file after an archive with values XML does not hold: every field is
    // the file's or a new configuration's, nothing of the archive survives.
    void xmlOpenStartsFromANewConfiguration() {
        GatewayConfiguration archive = newConfiguration(kCanopenMaster);
        archive.Config.RPDOCycle = "55";
        archive.Config.OutputProcessing = str::Clear;
        archive.Config.SDORetries = "3";
        archive.Config.SlaveNodeAddress = "9";
        archive.Config.NodeCount = 2;
        archive.Config.Nodes[0] = {"5", "Left"};
        archive.Config.Nodes[1] = {"6", "Right"};
        GatewayConfiguration other = newConfiguration(kCanopenMaster);
        other.Config.BuadRate = "500K";
        other.Config.NodeCount = 1;
        other.Config.Nodes[0] = {"7", "Valve"};
        Message error;
        QVERIFY(saveConfigurationFile(path("plant.chg").toStdString(), archive, error));
        QVERIFY(saveConfigurationFile(path("other.xml").toStdString(), other, error));

        startFrame(kCanopenMaster);
        for (const char* file : {"plant.chg", "other.xml"}) {
            prompts_.files = {path(file).toStdString()};
            QTest::keySequence(frame_.get(), QKeySequence(QStringLiteral("Ctrl+O")));
            QCOMPARE(test::shownTitle(frame_.get()), path(file) + QStringLiteral(" - Torvane"));
        }
        QCOMPARE(frame_->session().configuration(), other);
        clickItem({QStringLiteral("CANopen Network")});
        QCOMPARE(cell(1), QStringLiteral("500K"));
        QCOMPARE(cell(10), QStringLiteral("0"));
        QCOMPARE(cell(11), QStringLiteral("Hold"));
        QVERIFY(item({QStringLiteral("CANopen Network"), QStringLiteral("Valve")}) != nullptr);
        QVERIFY(prompts_.told.empty());
    }

    // Files the window refuses, and a damaged one it opens as far as it goes and tells about.
    void xmlFileThatHoldsNoConfigurationOrIsDamaged_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("told");
        QTest::addColumn<bool>("opens");
        QTest::newRow("bare FiledBus")
            << QByteArray("<FiledBus/>") << QStringLiteral(": holds no configuration") << false;
        QTest::newRow("damaged")
            << QByteArray("<FiledBus Value=\"FiledBus\"><InportNum Value=\"48\"/></FiledBus>\n"
                          "<ConfigType Value=\"TAVO20\"/>\n<ConfigEdition Value=\"320\"/>\n"
                          "<CANopen Value=\"CANopen\"></CANopn>\n")
            << QStringLiteral(": damaged at line 4; read as far as it goes") << true;
    }
    void xmlFileThatHoldsNoConfigurationOrIsDamaged() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, told);
        QFETCH(bool, opens);
        const QString file = path("odd.xml");
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(bytes);
        }
        startFrame(kCanopenSlave);
        prompts_.files = {file.toStdString()};
        clickAction("Open");
        QCOMPARE(prompts_.told.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(prompts_.told[0]), file + told);
        QCOMPARE(frame_->session().configuration().isMaster(), opens);
        QCOMPARE(frame_->session().configuration().Fieldbus.InportNum,
                 std::string(opens ? "48" : "112"));
        QCOMPARE(test::shownTitle(frame_.get()).startsWith(file), opens);
    }

    // Saving values XML cannot hold asks first, naming them: No writes nothing, Yes writes and
    // keeps the modified mark; Save asks again.
    void saveAsXmlAsksAboutWhatItLeavesOut() {
        startFrame(kCanopenMaster);
        clickItem({QStringLiteral("CANopen Network")});
        typeIntoCell(10, QStringLiteral("55"));
        pickFromList(11, QStringLiteral("Clear"));
        clickCell(0, 0);
        const QString file = path("drops.xml");
        QFile::remove(file);
        const std::vector<DroppedField> named = {{str::ParamRpdoCycle, "55"},
                                                 {str::ParamOutputProcessing, "Clear"}};
        QCOMPARE(xmlDropsQuestion(named),
                 QStringLiteral("The XML file does not hold: The Cycle for RPDO Transmission (55), "
                                "Output Data Processing (Clear). Save anyway?"));
        QAction* saveAs = frame_->action(QStringLiteral("Save As(&A)"));
        prompts_.files = {file.toStdString()};
        prompts_.dropAnswers = {false};
        saveAs->trigger();
        QVERIFY(!QFile::exists(file));
        QCOMPARE(test::shownTitle(frame_.get()),
                 QStringLiteral("Gateway Configuration Software Torvane*"));
        prompts_.files = {file.toStdString()};
        prompts_.dropAnswers = {true};
        saveAs->trigger();
        QVERIFY(QFile::exists(file));
        QCOMPARE(test::shownTitle(frame_.get()), file + QStringLiteral("* - Torvane"));
        prompts_.dropAnswers = {true};
        QTest::keySequence(frame_.get(), QKeySequence(QStringLiteral("Ctrl+S")));
        QCOMPARE(prompts_.dropQuestions, (std::vector<std::vector<DroppedField>>(3, named)));
        QCOMPARE(prompts_.fileRequests.size(), std::size_t{2});
        QVERIFY(frame_->isWindowModified());
    }

    // Whatever route a file came by, the caption names it and Ctrl+S writes it back in its own
    // format without a dialog; it heads the recent list once.
    void captionAndSaveTargetAfterEachRoute_data() {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("name");
        for (const char* name : {"route.chg", "route.xml"}) {
            for (const char* route : {"open", "recent", "command line", "save as"}) {
                QTest::addRow("%s %s", route, name)
                    << QString::fromLatin1(route) << QString::fromLatin1(name);
            }
        }
    }
    void captionAndSaveTargetAfterEachRoute() {
        QFETCH(QString, route);
        QFETCH(QString, name);
        const QString file = path(name.toLatin1().constData());
        Message error;
        QVERIFY(saveConfigurationFile(file.toStdString(), newConfiguration(kCanopenMaster), error));
        RecentFiles().add(path("elsewhere.chg").toStdString());
        RecentFiles().add(file.toStdString());
        RecentFiles().add(path("later.chg").toStdString());
        if (route == QLatin1String("command line")) {
            prompts_ = ScriptedPrompts{};
            frame_ = std::make_unique<MainWindow>(prompts_);
            QCOMPARE(frame_->start(file), MainWindow::StartResult::Running);
            frame_->show();
            QApplication::setActiveWindow(frame_.get());
            QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
        } else {
            startFrame(kCanopenMaster);
        }
        if (route == QLatin1String("open")) {
            prompts_.files = {file.toStdString()};
            clickAction("Open");
        } else if (route == QLatin1String("recent")) {
            frame_->action(QStringLiteral("&2 ") + file)->trigger();
        } else if (route == QLatin1String("save as")) {
            prompts_.files = {file.toStdString()};
            frame_->action(QStringLiteral("Save As(&A)"))->trigger();
        }
        QCOMPARE(test::shownTitle(frame_.get()), file + QStringLiteral(" - Torvane"));
        QCOMPARE(RecentFiles().load().value(0), file);
        QCOMPARE(RecentFiles().load().count(file), 1);

        clickItem({QStringLiteral("CANopen Network")});
        typeIntoCell(7, QStringLiteral("33"));
        QCOMPARE(test::shownTitle(frame_.get()), file + QStringLiteral("* - Torvane"));
        const std::size_t dialogs = prompts_.fileRequests.size();
        QTest::keySequence(frame_.get(), QKeySequence(QStringLiteral("Ctrl+S")));
        QCOMPARE(prompts_.fileRequests.size(), dialogs);
        QCOMPARE(test::shownTitle(frame_.get()), file + QStringLiteral(" - Torvane"));
        GatewayConfiguration read;
        DocumentState state;
        QVERIFY(loadConfigurationFile(file.toStdString(), read, state, error));
        QCOMPARE(read.Config.SYNC, std::string("33"));
        QCOMPARE(RecentFiles().load().value(0), file);
        QCOMPARE(RecentFiles().load().count(file), 1);
        QVERIFY(prompts_.told.empty());
    }

    // "Yes" at exit writes the XML file that is open, as XML, without asking for a name.
    void exitYesSavesTheKnownXmlFile() {
        const QString file = path("known.xml");
        Message error;
        QVERIFY(saveConfigurationFile(file.toStdString(), newConfiguration(kCanopenMaster), error));
        startFrame(kCanopenMaster);
        frame_->document()->openRecent(file);
        clickItem({QStringLiteral("CANopen Network")});
        typeIntoCell(7, QStringLiteral("44"));
        prompts_.saveAnswers = {SaveAnswer::Yes};
        QVERIFY(frame_->close());
        QVERIFY(prompts_.fileRequests.empty());
        frame_.reset();
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.startsWith("<?xml"));
        QVERIFY(bytes.contains("<SYNC Value=\"44\"/>"));
    }

    // A file whose name is not text in the locale's encoding opens from the command line and
    // from the recent list, and is saved back under its own name.
    void fileNameThatIsNotText() {
        const std::string file = path("caf").toStdString() + "\xE9.chg";
        Message error;
        QVERIFY(saveConfigurationFile(file, newConfiguration(kCanopenSlave), error));
        prompts_ = ScriptedPrompts{};
        frame_ = std::make_unique<MainWindow>(prompts_);
        QCOMPARE(frame_->startPath(file), MainWindow::StartResult::Running);
        QVERIFY(prompts_.told.empty());
        QVERIFY(!frame_->session().configuration().isMaster());
        QCOMPARE(RecentFiles().paths().front(), file);
        startFrame(kCanopenMaster);
        recentAction(1)->trigger();
        QVERIFY(prompts_.told.empty());
        QVERIFY(!frame_->session().configuration().isMaster());
        QCOMPARE(frame_->session().document().CurrentFilePath(), file);
    }

    // While a cell's editor is open, Ctrl+Z is the editor's own; the configuration's Undo
    // takes the committed cells back afterwards.
    void undoKeysBelongToAnOpenCellEditor() {
        startFrame(kCanopenMaster);
        clickItem({QStringLiteral("CANopen Network")});
        typeIntoCell(7, QStringLiteral("50"));
        clickCell(3, 1);
        QLineEdit* editor = view()->textEditor();
        QVERIFY(editor->isVisible());
        QTest::keyClicks(editor, QStringLiteral("300"));
        QTest::keySequence(editor, QKeySequence(QStringLiteral("Ctrl+Z")));
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->text(), QStringLiteral("200"));
        QCOMPARE(frame_->session().configuration().Config.SYNC, std::string("50"));
        QTest::keyClicks(editor, QStringLiteral("300"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(cell(3), QStringLiteral("300"));
        pressOnTree(QKeySequence(QStringLiteral("Ctrl+Z")));
        QCOMPARE(cell(3), QStringLiteral("200"));
        QCOMPARE(cell(7), QStringLiteral("50"));
        pressOnTree(QKeySequence(QStringLiteral("Ctrl+Z")));
        QCOMPARE(cell(7), QStringLiteral("0"));
    }

    // Closing with unsaved edits: Cancel, and Yes followed by a cancelled file dialog, keep the
    // window open; No closes it.
    void exitQuestion() {
        startFrame(kCanopenMaster);
        clickItem({QStringLiteral("CANopen Network")});
        clickAction("Add Node");
        prompts_.saveAnswers = {SaveAnswer::Cancel};
        QVERIFY(!frame_->close());
        prompts_.saveAnswers = {SaveAnswer::Yes};
        prompts_.files = {std::nullopt};
        QVERIFY(!frame_->close());
        QCOMPARE(prompts_.saveQuestions, 2);
        prompts_.saveAnswers = {SaveAnswer::No};
        QVERIFY(frame_->close());
        frame_.reset();
    }

    // New with unsaved edits asks first: Cancel keeps the node, No goes on to the type question.
    void newAsksBeforeDiscardingEdits() {
        startFrame(kCanopenMaster);
        clickItem({QStringLiteral("CANopen Network")});
        clickAction("Add Node");
        prompts_.saveAnswers = {SaveAnswer::Cancel};
        clickAction("New");
        QCOMPARE(frame_->session().configuration().Config.NodeCount, 1);
        prompts_.saveAnswers = {SaveAnswer::No};
        prompts_.configTypes = {kCanopenSlave};
        clickAction("New");
        QCOMPARE(prompts_.saveQuestions, 2);
        QVERIFY(item({QStringLiteral("CANopen Slave")}) != nullptr);
        QCOMPARE(tree()->currentItem()->text(0), QStringLiteral("Profibus Network"));
        QCOMPARE(test::shownTitle(frame_.get()), QStringLiteral("Untitled - Torvane"));
    }

    void commandLineFileOpensAndIsRemembered() {
        GatewayConfiguration cfg = newConfiguration(kCanopenSlave);
        cfg.Config.InstructionCount = 1;
        cfg.Config.Instructions[0].InstructionType = "3";
        Message error;
        QVERIFY(saveConfigurationFile(path("slave.chg").toStdString(), cfg, error));
        prompts_ = ScriptedPrompts{};
        frame_ = std::make_unique<MainWindow>(prompts_);
        QCOMPARE(frame_->start(path("slave.chg")), MainWindow::StartResult::Running);
        QVERIFY(item({QStringLiteral("CANopen Slave"), QStringLiteral("Transmit PDO")}));
        QCOMPARE(RecentFiles().load().value(0), path("slave.chg"));
        QCOMPARE(test::shownTitle(frame_.get()), path("slave.chg") + QStringLiteral(" - Torvane"));
        // The same archive under an .xml name is read as XML, so it is refused.
        QVERIFY(QFile::copy(path("slave.chg"), path("slave-as.xml")));
        QVERIFY(!frame_->document()->openRecent(path("slave-as.xml")));
        QCOMPARE(prompts_.told.size(), size_t(1));
        QCOMPARE(RecentFiles().load().value(0), path("slave.chg"));
    }

    // A command-line file that does not load is reported through the message interface, then
    // start-up ends with a failure status: no New, no window, the recent list unchanged.
    void commandLineFileNotLoadedEndsTheProgram_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("missing") << QStringLiteral("missing.chg") << QByteArray();
        QTest::newRow("empty") << QStringLiteral("empty.chg") << QByteArray("");
        QTest::newRow("not an archive") << QStringLiteral("text.chg") << QByteArray("hello\n");
        QTest::newRow("archive named xml") << QStringLiteral("archive.xml") << QByteArray("chg");
        QTest::newRow("a folder") << QStringLiteral(".") << QByteArray();
    }
    void commandLineFileNotLoadedEndsTheProgram() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        if (bytes == "chg") {
            Message error;
            QVERIFY(saveConfigurationFile(path("archive.chg").toStdString(),
                                          newConfiguration(kCanopenMaster), error));
            QVERIFY(QFile::copy(path("archive.chg"), path(name.toLatin1().constData())));
        } else if (!bytes.isNull()) {
            QFile f(path(name.toLatin1().constData()));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        const QStringList recent = RecentFiles().load();
        prompts_ = ScriptedPrompts{};
        MainWindow frame(prompts_);
        const MainWindow::StartResult result = frame.start(path(name.toLatin1().constData()));
        QCOMPARE(result, MainWindow::StartResult::FileNotLoaded);
        QCOMPARE(prompts_.told.size(), size_t(1));
        QVERIFY(!prompts_.told[0].empty());
        QVERIFY(startExitStatus(result) > 0);
        QVERIFY(!frame.isVisible());
        QCOMPARE(RecentFiles().load(), recent);
    }

    // A folder whose name is not ASCII: a bad file there is refused with its path intact; a
    // Chinese description typed in the grid is saved as GB18030, exported, and shown the same
    // after reopening from the command line and from the recent-file menu.
    void nonAsciiFolderAndChineseDescription() {
        const QString folder = dir_.filePath(QStringLiteral("Prüfstand-配置"));
        QVERIFY(QDir().mkpath(folder));
        const QString file = folder + QStringLiteral("/anlage.chg");
        {
            QFile bad(file);
            QVERIFY(bad.open(QIODevice::WriteOnly));
            bad.write("not a configuration");
        }
        startFrame(kCanopenMaster);
        prompts_.files = {QFile::encodeName(file).toStdString()};
        clickAction("Open");
        QCOMPARE(prompts_.told.size(), size_t(1));
        const QString refused = file + QStringLiteral(": not a readable configuration archive: ");
        QVERIFY2(QString::fromStdString(prompts_.told[0]).startsWith(refused),
                 prompts_.told[0].c_str());
        // The message box shows the same characters.
        QVERIFY(messageBox(str::AppTitle, prompts_.toldMessages[0], frame_.get())
                    ->text()
                    .startsWith(refused));
        prompts_.told.clear();

        GatewayConfiguration& cfg = liveConfiguration(frame_->session());
        cfg.Config.NodeCount = 1;
        cfg.Config.Nodes[0] = {"5", "Node-5"};
        cfg.Config.InstructionCount = 1;
        cfg.Config.Instructions[0] = {"5", "3", "", "", "389", "0", "4", "", "", 1};
        view()->rebuildTree(false);
        const QStringList command = {QStringLiteral("CANopen Network"), QStringLiteral("Node-5"),
                                     QStringLiteral("Transmit PDO")};
        clickItem(command);
        const QString typed = QStringLiteral("温度 ü");
        const std::string stored = "\xCE\xC2\xB6\xC8 \xA8\xB9"; // GB18030
        clickCell(4, 1);
        QVERIFY(view()->textEditor()->isVisible());
        commitFromInputMethod(typed);
        QTest::keyClick(view()->textEditor(), Qt::Key_Return);
        QCOMPARE(cell(4), typed);
        QCOMPARE(cfg.Config.Instructions[0].Description, stored);

        prompts_.files = {QFile::encodeName(file).toStdString()};
        clickAction("Save");
        QCOMPARE(test::shownTitle(frame_.get()), file + QStringLiteral(" - Torvane"));
        QVERIFY(QFile(file).size() > 0);

        frame_->setUrlOpener([](const QUrl&) { return true; });
        const QString workbook = folder + QStringLiteral("/anlage.xlsx");
        prompts_.files = {QFile::encodeName(workbook).toStdString()};
        clickAction(ui(str::TipExportExcel));
        QVERIFY2(prompts_.told.empty(), prompts_.told.empty() ? "" : prompts_.told[0].c_str());
        QCOMPARE(workbookCell(workbook, "TPDO", "E2"), typed);

        // Reopened from the command line: the file joins the recent list, shown as it is named.
        prompts_.saveAnswers = {SaveAnswer::No};
        frame_->close();
        prompts_ = ScriptedPrompts{};
        frame_ = std::make_unique<MainWindow>(prompts_);
        QCOMPARE(frame_->start(file), MainWindow::StartResult::Running);
        frame_->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
        QCOMPARE(RecentFiles().load().value(0), file);
        QAction* recent = frame_->action(QStringLiteral("&1 ") + file);
        QVERIFY(recent != nullptr && recent->isVisible() && recent->isEnabled());
        QCOMPARE(frame_->session().configuration().Config.Instructions[0].Description, stored);
        clickItem(command);
        QCOMPARE(cell(4), typed);

        // And once more from the recent-file menu, into a fresh window.
        startFrame(kCanopenMaster);
        frame_->action(QStringLiteral("&1 ") + file)->trigger();
        QCOMPARE(test::shownTitle(frame_.get()), file + QStringLiteral(" - Torvane"));
        QCOMPARE(frame_->session().configuration().Config.Instructions[0].Description, stored);
        clickItem(command);
        QCOMPARE(cell(4), typed);
        QVERIFY(prompts_.told.empty());
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
