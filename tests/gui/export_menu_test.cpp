// The commands that write a file or open a window of their own, through the main window's menus
// and the keyboard: the exports, Help -> Content, the PLC tags dialog, the device library and the
// device dialog. Dialogs are answered by ScriptedPrompts; nothing is launched.

#include "../support/session_access.h"
#include "export/eds_generator.h"
#include "export/workbook_export.h"
#include "gui/app/gui_texts.h"
#include "gui/app/main_window.h"
#include "gui/app/translation.h"
#include "gui/devices/device_commands_dialog.h"
#include "gui/devices/device_library_dialog.h"
#include "gui/editor/config_view.h"
#include "gui/plc/plc_export.h"
#include "gui_test_support.h"
#include "model/strings.h"
#include "platform/data_files.h"

#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QUrl>

using namespace torvane;
using namespace torvane::gui;
using test::whenShown;

namespace {

const std::string kDevices = std::string(TORVANE_TEST_DATA_DIR) + "/devices/";

// Keys reach a dialog's widgets only while it is active; a failed check must not leave it open.
[[nodiscard]] auto activated(QDialog* dialog) {
    QApplication::setActiveWindow(dialog);
    [&] { QVERIFY(QTest::qWaitForWindowActive(dialog)); }();
    return qScopeGuard([dialog] {
        if (dialog->isVisible()) {
            dialog->reject();
        }
    });
}

// A button of `dialog` pressed from the keyboard: focused, then Space.
void press(QWidget* dialog, const char* name) {
    auto* button = dialog->findChild<QWidget*>(QString::fromLatin1(name));
    QVERIFY(button != nullptr);
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
}

} // namespace

class ExportMenuTest : public test::WindowFixture {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QList<QUrl> opened_;

    QString path(const QString& name) const { return dir_.filePath(name); }
    const CONFIG& config() const { return frame_->session().configuration().Config; }

    void startFrame(int configType) {
        WindowFixture::startFrame(configType);
        opened_.clear();
        frame_->setUrlOpener([this](const QUrl& url) {
            opened_ << url;
            return true;
        });
    }

    // Node 1 with a Transmit PDO ("Speed") and a Receive PDO, mapped.
    void addPdos() {
        CONFIG& c = liveConfiguration(frame_->session()).Config;
        c.SlaveNodeAddress = "1";
        appendNode(c, {"1", "Node-1"});
        appendCommand(c, {"1", "3", "", "", "385", "0", "2", "Speed", "", 1});
        appendCommand(c, {"1", "4", "", "", "513", "2", "3", "", "", 1});
    }

    // Data files come from `folder` instead of beside the program.
    void useDataFolder(const QString& folder) {
        frame_->setDataFileLookup([folder](const std::string& name) {
            return QDir(folder).filePath(QString::fromStdString(name)).toStdString();
        });
    }

    void menuKey(Qt::Key menu, Qt::Key letter) {
        whenShown<QMenu>([letter](QMenu* m) { QTest::keyClick(m, letter); });
        QTest::keyClick(frame_.get(), menu, Qt::AltModifier);
    }

private slots: // NOLINT(readability-redundant-access-specifiers): moc needs the slots section
    void initTestCase() {
        QVERIFY(dir_.isValid());
        const QString home = path(QStringLiteral("Daten-数据"));
        QVERIFY(QDir().mkpath(home));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home));
        test::clearProgramSettings();
    }

    void cleanup() {
        if (frame_) {
            prompts_.saveAnswers = {SaveAnswer::No, SaveAnswer::No};
            frame_->close();
            frame_.reset();
        }
        QVERIFY2(prompts_.unexpected.empty(), test::unexpectedQuestions(prompts_).c_str());
    }

    void exportWritesTheChosenFile_data() {
        QTest::addColumn<int>("configType");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("removed"); // a data file taken away
        QTest::addColumn<QString>("result");  // what the file holds, or the message told
        QTest::addColumn<bool>("opened");
        const QString eds = ui(str::MenuCreateEds);
        const QString xls = ui(str::MenuExportExcel);
        const QString map = ui(str::MenuPrintIoMap);
        QTest::newRow("EDS") << kCanopenSlave << eds << "slave.eds"
                             << ""
                             << "DefaultValue=$NODEID+0x180\r\n"
                             << false;
        QTest::newRow("workbook") << kCanopenSlave << xls << "slave.xlsx"
                                  << ""
                                  << "PK\x03\x04" << true;
        QTest::newRow("I/O map as PDF") << kCanopenMaster << map << "map.pdf"
                                        << ""
                                        << "%PDF-" << false;
        QTest::newRow("I/O map as a page") << kCanopenMaster << map << "map.html"
                                           << ""
                                           << "<h1>I/O Map</h1>" << false;
        // The window tells the layer's message, opens nothing and leaves no file.
        QTest::newRow("EDS template missing")
            << kCanopenSlave << eds << "a.eds"
            << "EDSTemplate1.dat"
            << "Cannot read the EDS template file %1/EDSTemplate1.dat" << false;
    }

    // Cancel writes nothing; then the live configuration reaches the chosen file.
    void exportWritesTheChosenFile() {
        QFETCH(int, configType);
        QFETCH(QString, command);
        QFETCH(QString, file);
        QFETCH(QString, removed);
        QFETCH(QString, result);
        QFETCH(bool, opened);
        startFrame(configType);
        addPdos();
        const QDir row(path(QString::fromLatin1(QTest::currentDataTag())));
        const QString data = row.filePath(QStringLiteral("data"));
        QVERIFY(QDir().mkpath(data));
        for (const char* f :
             {kEdsTemplate1File, kEdsTemplate2File, kTemplateMasterFile, kTemplateSlaveFile}) {
            QVERIFY(QFile::copy(QString::fromStdString(platform::findDataFile(f)),
                                QDir(data).filePath(QLatin1String(f))));
        }
        QVERIFY(removed.isEmpty() || QFile::remove(QDir(data).filePath(removed)));
        useDataFolder(data);
        const QString out = row.filePath(file);
        prompts_.files = {std::nullopt, out.toStdString()};
        frame_->action(command)->trigger();
        QVERIFY(!QFileInfo::exists(out));
        frame_->action(command)->trigger();
        if (removed.isEmpty()) {
            QVERIFY2(prompts_.told.empty(), test::unexpectedQuestions(prompts_).c_str());
            QVERIFY(test::readAll(out).contains(result.toLatin1()));
        } else {
            QCOMPARE(prompts_.told.size(), size_t(1));
            QCOMPARE(QString::fromStdString(prompts_.told[0]).section('\n', 0, 0),
                     result.arg(data));
            QCOMPARE(row.entryList(QDir::Files), QStringList());
        }
        QCOMPARE(opened_, opened ? QList<QUrl>{QUrl::fromLocalFile(out)} : QList<QUrl>{});
    }

    // Greyed for a master, and a stray trigger asks for no file.
    void edsOnlyForASlave() {
        startFrame(kCanopenMaster);
        QAction* eds = frame_->action(ui(str::MenuCreateEds));
        QVERIFY(!eds->isEnabled());
        eds->trigger();
        QVERIFY(prompts_.fileRequests.empty());
    }

    // The shipped guide opens in the default handler.
    void helpContent() {
        startFrame(kCanopenMaster);
        frame_->action(ui(str::MenuContent))->trigger();
        QCOMPARE(opened_, QList<QUrl>{QUrl::fromLocalFile(frame_->helpFilePath())});
    }

    // Tools -> Export PLC Tags…: the dialog's choices reach the file.
    void plcTagsExportedThroughTheMenu() {
        startFrame(kCanopenMaster);
        addPdos();
        const QString out = path(QStringLiteral("tags.st"));
        prompts_.files = {out.toStdString()};
        QAction* a = frame_->action(ui(str::MenuExportPlcTags));
        whenShown<PlcTagsDialog>([](PlcTagsDialog* d) {
            auto* format = d->findChild<QComboBox*>();
            format->setCurrentIndex(format->findData(QStringLiteral("iec")));
            d->findChildren<QSpinBox*>().at(0)->setValue(12);
            d->accept();
        });
        a->trigger();
        QVERIFY(test::readAll(out).contains("Speed AT %IW12 : WORD;"));
    }

    // Tools -> "Device Library…": import of two files, Remove after
    // the question.
    void libraryImportsAndRemoves() {
        startFrame(kCanopenMaster);
        prompts_.deviceFiles = {{kDevices + "e35.eds", kDevices + "demoDevice.eds"}};
        prompts_.okCancel = {true};
        int shown = 0;
        int left = 0;
        whenShown<DeviceLibraryDialog>([&](DeviceLibraryDialog* d) {
            const auto guard = activated(d);
            press(d, "importButton");
            shown = d->devices()->topLevelItemCount();
            QTest::keyClick(d->devices(), Qt::Key_Down);
            press(d, "removeButton");
            left = d->devices()->topLevelItemCount();
            QTest::keyClick(d, Qt::Key_Escape);
        });
        menuKey(Qt::Key_T, Qt::Key_L);
        QTRY_VERIFY(left > 0);
        QCOMPARE(shown, 2);
        QCOMPARE(left, 1);
        QCOMPARE(prompts_.told.size(), size_t(1));
    }

    // Edit -> "Add Node from Device…": the address typed, Enter adds the node with its enabled
    // PDOs in one step.
    void nodeAndCommandsFromDevice() {
        startFrame(kCanopenMaster);
        prompts_.deviceFiles = {{kDevices + "e35.eds"}};
        int checks = 0;
        whenShown<DeviceCommandsDialog>([&](DeviceCommandsDialog* d) {
            const auto guard = activated(d);
            press(d, "fileButton");
            d->addressChoice()->setFocus();
            QTest::keyClicks(d->addressChoice(), QStringLiteral("9"));
            checks = d->preview()->count();
            QTest::keyClick(d->addressChoice(), Qt::Key_Return);
        });
        menuKey(Qt::Key_E, Qt::Key_F);
        QTRY_COMPARE(config().NodeCount, 1);
        QCOMPARE(config().Nodes[0].NodeAddress, std::string("9"));
        QVERIFY(checks > 0);
        QCOMPARE(config().InstructionCount, checks);
    }
};

QTEST_MAIN(ExportMenuTest)
#include "export_menu_test.moc"
