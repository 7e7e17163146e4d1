// "Create EDS File", "Export EXCEL" and Help -> Content driven through the main window's menu and
// toolbar. Dialogs are answered by ScriptedPrompts; the desktop's default handler is replaced, so
// nothing is launched.

#include "../support/session_access.h"
#include "export/eds_generator.h"
#include "export/workbook_export.h"
#include "gui/app/gui_texts.h"
#include "gui/app/main_window.h"
#include "gui/app/translation.h"
#include "gui/editor/config_view.h"
#include "gui/plc/plc_export.h"
#include "gui_test_support.h"
#include "platform/data_files.h"
#include "scripted_prompts.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

using namespace torvane;
using namespace torvane::gui;
using test::ScriptedPrompts;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::string joined(const std::vector<std::string>& texts) {
    std::string all;
    for (const std::string& t : texts) {
        all += t + "; ";
    }
    return all;
}

INSTRUCTION pdo(const char* type, const char* cobId, const char* bytes) {
    INSTRUCTION i;
    i.NodeAddress = "1";
    i.InstructionType = type;
    i.CobId = cobId;
    i.Bytes = bytes;
    i.MappingAddress = "0";
    return i;
}

} // namespace

class ExportMenuTest : public QObject {
    Q_OBJECT

private:
    ScriptedPrompts prompts_;
    std::unique_ptr<MainWindow> frame_;
    QTemporaryDir dir_;
    QList<QUrl> opened_;
    bool openerWorks_ = true;

    QString path(const QString& name) const { return dir_.filePath(name); }

    void startFrame(int configType) {
        prompts_ = ScriptedPrompts{};
        prompts_.configTypes = {configType};
        opened_.clear();
        openerWorks_ = true;
        frame_ = std::make_unique<MainWindow>(prompts_);
        frame_->setUrlOpener([this](const QUrl& url) {
            opened_ << url;
            return openerWorks_;
        });
        QCOMPARE(frame_->start({}), MainWindow::StartResult::Running);
        frame_->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    }

    // Data files come from `folder` instead of beside the program.
    void useDataFolder(const QString& folder) {
        frame_->setDataFileLookup([folder](const std::string& name) {
            return QDir(folder).filePath(QString::fromStdString(name)).toStdString();
        });
    }

    QAction* toolsItem(const QString& text) const {
        for (QAction* m : frame_->menuBar()->actions()) {
            if (m->text() == ui(str::MenuTools)) {
                for (QAction* a : m->menu()->actions()) {
                    if (a->text() == text) {
                        return a;
                    }
                }
            }
        }
        return nullptr;
    }

    // Chooses a Tools menu item; the test fails when it is missing or greyed.
    void chooseTool(const QString& text) {
        QAction* a = toolsItem(text);
        if (a == nullptr || !a->isEnabled()) {
            QFAIL(qPrintable(text));
        }
        a->trigger();
    }

    void addSlavePdos() {
        CONFIG& c = liveConfiguration(frame_->session()).Config;
        c.SlaveNodeAddress = "1";
        c.Instructions[0] = pdo("3", "385", "2"); // $NODEID+0x180
        c.Instructions[1] = pdo("4", "513", "3"); // $NODEID+0x200
        c.InstructionCount = 2;
    }

    // A copy of the program's data files in `folder`, so that one of them can be spoiled.
    static void copyDataFiles(const QString& folder) {
        QDir().mkpath(folder);
        for (const char* f :
             {kEdsTemplate1File, kEdsTemplate2File, kTemplateMasterFile, kTemplateSlaveFile}) {
            QVERIFY2(QFile::copy(QString::fromStdString(platform::findDataFile(f)),
                                 QDir(folder).filePath(QLatin1String(f))),
                     f);
        }
    }

private slots: // NOLINT(readability-redundant-access-specifiers): moc needs the slots section
    void initTestCase() {
        QVERIFY(dir_.isValid());
        test::clearProgramSettings();
    }

    void cleanup() {
        if (frame_) {
            prompts_.saveAnswers = {SaveAnswer::No, SaveAnswer::No};
            frame_->close();
            frame_.reset();
        }
        QVERIFY2(prompts_.unexpected.empty(), joined(prompts_.unexpected).c_str());
    }

    void edsWrittenFromTheMenu() {
        startFrame(kCanopenSlave);
        addSlavePdos();
        const QString out = path(QStringLiteral("slave.eds"));
        prompts_.files = {std::nullopt, out.toStdString()};
        chooseTool(ui(str::MenuCreateEds)); // Cancel writes nothing
        QVERIFY(!QFileInfo::exists(out));
        chooseTool(ui(str::MenuCreateEds));

        QVERIFY2(prompts_.told.empty(), joined(prompts_.told).c_str());
        const FileDialogRequest& r = prompts_.fileRequests.at(1);
        QVERIFY(r.save);
        QCOMPARE(r.defaultSuffix, std::string("eds"));
        QCOMPARE(r.filters.size(), size_t(1));
        QCOMPARE(r.filters[0].first.english(), std::string("Electronic Data Sheet(*.eds)"));
        QCOMPARE(r.filters[0].second, std::string("*.eds"));

        // The live configuration reached the file; the file name is written without its folder.
        const QByteArray eds = readAll(out);
        QVERIFY(eds.startsWith("[FileInfo]\r\nFileName=slave.eds\r\n"));
        QVERIFY(eds.contains("NrOfTXPDO=1\r\nNrOfRXPDO=1\r\n"));
        QVERIFY(eds.contains("DefaultValue=$NODEID+0x180\r\n"));
        QVERIFY(eds.contains("DefaultValue=$NODEID+0x200\r\n"));
        QVERIFY(opened_.isEmpty());
        QCOMPARE(frame_->statusBar()->currentMessage(), ui(str::StatusSaved).arg(out));
    }

    void workbookWrittenFromTheToolbarAndOpened() {
        startFrame(kCanopenSlave);
        addSlavePdos();
        const QString out = path(QStringLiteral("slave.xlsx"));
        prompts_.files = {out.toStdString()};
        QAction* a = frame_->action(ui(str::TipExportExcel));
        QVERIFY(a != nullptr);
        QTest::mouseClick(frame_->toolBar()->widgetForAction(a), Qt::LeftButton);

        QVERIFY2(prompts_.told.empty(), joined(prompts_.told).c_str());
        const FileDialogRequest& r = prompts_.fileRequests.at(0);
        QCOMPARE(r.defaultSuffix, std::string("xlsx"));
        QCOMPARE(r.filters.size(), size_t(1));
        QCOMPARE(r.filters[0].first.english(), std::string("Execl File(*.xlsx)"));
        QCOMPARE(r.filters[0].second, std::string("*.xlsx"));
        QVERIFY(readAll(out).startsWith("PK\x03\x04"));
        QCOMPARE(opened_, QList<QUrl>{QUrl::fromLocalFile(out)});
        QCOMPARE(frame_->statusBar()->currentMessage(), ui(str::StatusSaved).arg(out));

        // A desktop without a spreadsheet program: the saved file is named, nothing is lost.
        openerWorks_ = false;
        prompts_.files = {out.toStdString()};
        chooseTool(ui(str::MenuExportExcel));
        QCOMPARE(prompts_.told.size(), size_t(1));
        QVERIFY(QString::fromStdString(prompts_.told[0]).contains(out));
        QVERIFY(readAll(out).startsWith("PK\x03\x04"));
    }

    void edsOnlyForASlave() {
        startFrame(kCanopenMaster);
        QAction* eds = toolsItem(ui(str::MenuCreateEds));
        QVERIFY(eds != nullptr);
        QVERIFY(!eds->isEnabled());
        eds->trigger(); // a greyed item does nothing
        QVERIFY(prompts_.fileRequests.empty());

        // New with a slave configuration enables it; New with a master greys it again.
        prompts_.configTypes = {kCanopenSlave, kCanopenMaster};
        frame_->action(ui(str::TipNew))->trigger();
        QVERIFY(eds->isEnabled());
        frame_->action(ui(str::TipNew))->trigger();
        QVERIFY(!eds->isEnabled());
    }

    // Failures: the window tells the layer's message, opens nothing and leaves no file (every
    // failure of its own is a row of the export tests).
    void failuresLeaveNoFile_data() {
        QTest::addColumn<int>("configType");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("spoil");   // data file removed ("-name") or broken ("!name")
        QTest::addColumn<QString>("target");  // chosen file, relative to the row's folder
        QTest::addColumn<QString>("message"); // first line; %1 the data folder, %2 the target

        const QString eds = ui(str::MenuCreateEds);
        const QString xls = ui(str::MenuExportExcel);
        QTest::newRow("EDS template 1 missing")
            << kCanopenSlave << eds << "-EDSTemplate1.dat"
            << "a.eds"
            << "Cannot read the EDS template file %1/EDSTemplate1.dat";
        QTest::newRow("EDS path is a folder") << kCanopenSlave << eds << ""
                                              << "data"
                                              << "Create EDS File Error!!";
        QTest::newRow("master workbook template broken")
            << kCanopenMaster << xls << "!Template_Master.xlsx"
            << "a.xlsx"
            << "The workbook template is damaged: %1/Template_Master.xlsx";
    }

    void failuresLeaveNoFile() {
        QFETCH(int, configType);
        QFETCH(QString, command);
        QFETCH(QString, spoil);
        QFETCH(QString, target);
        QFETCH(QString, message);

        startFrame(configType);
        addSlavePdos();
        const QDir row(path(QString::fromLatin1(QTest::currentDataTag())));
        const QString data = row.filePath(QStringLiteral("data"));
        copyDataFiles(data);
        useDataFolder(data);
        if (spoil.startsWith(QLatin1Char('-'))) {
            QVERIFY(QFile::remove(QDir(data).filePath(spoil.mid(1))));
        } else if (spoil.startsWith(QLatin1Char('!'))) {
            QFile f(QDir(data).filePath(spoil.mid(1)));
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write("PK\x03\x04 not a workbook");
        }
        const QString out = row.filePath(target);
        prompts_.files = {out.toStdString()};
        chooseTool(command.toLatin1().constData());

        QCOMPARE(prompts_.told.size(), size_t(1));
        const QString told = QString::fromStdString(prompts_.told[0]);
        QCOMPARE(
            told.section(QLatin1Char('\n'), 0, 0),
            QString(message).replace(QLatin1String("%1"), data).replace(QLatin1String("%2"), out));
        QVERIFY(!QFileInfo(out).isFile());
        QCOMPARE(row.entryList(QDir::Files), QStringList());
        QVERIFY(opened_.isEmpty());
    }

    void helpContent() {
        startFrame(kCanopenMaster);
        useDataFolder(path(QStringLiteral("empty")));
        frame_->action(ui(str::MenuContent))->trigger();
        QCOMPARE(QString::fromStdString(prompts_.told.at(0)),
                 QStringLiteral("Help file\n%1\ndo not exist!").arg(frame_->helpFilePath()));
        QVERIFY(opened_.isEmpty());

        // The guide shipped beside the program opens in the default handler.
        frame_->setDataFileLookup(platform::findDataFile);
        frame_->action(ui(str::MenuContent))->trigger();
        QCOMPARE(prompts_.told.size(), size_t(1));
        QCOMPARE(opened_, QList<QUrl>{QUrl::fromLocalFile(frame_->helpFilePath())});
    }

    // Every picture each guide shows is shipped with it, and the page is not empty.
    void helpGuideIsComplete_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("English") << QString::fromLatin1(str::HelpFileName);
        QTest::newRow("Chinese") << QStringLiteral("Torvane_zh_CN.html");
    }
    void helpGuideIsComplete() {
        QFETCH(QString, name);
        const QString guide = QString::fromStdString(platform::findDataFile(name.toStdString()));
        QTextBrowser browser;
        browser.setSource(QUrl::fromLocalFile(guide));
        QTextDocument* doc = browser.document();
        QVERIFY(doc->toPlainText().size() > 2000);
        int images = 0;
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat f = it.fragment().charFormat();
                if (f.isImageFormat()) {
                    const QString src = f.toImageFormat().name();
                    QVERIFY2(QFileInfo::exists(QFileInfo(guide).dir().filePath(src)),
                             qPrintable(src));
                    QVERIFY2(!doc->resource(QTextDocument::ImageResource, QUrl(src)).isNull(),
                             qPrintable(src));
                    ++images;
                }
            }
        }
        QVERIFY(images >= 4);
    }

    // Tools -> Export PLC Tags…: the dialog's choices reach the file and the settings; a
    // command without mapping address keeps OK greyed with the core's message.
    void plcTagsExportedThroughTheMenu() {
        qputenv("XDG_DATA_HOME", dir_.filePath(QStringLiteral("no-library")).toUtf8());
        startFrame(kCanopenMaster);
        GatewayConfiguration& cfg = liveConfiguration(frame_->session());
        appendNode(cfg.Config, {"1", "Node-1"});
        INSTRUCTION speed = pdo("3", "385", "2");
        speed.NodeIndex = 1;
        speed.Description = "Speed";
        appendCommand(cfg.Config, speed);
        const QString out = path(QStringLiteral("tags.st"));
        prompts_.files = {out.toStdString()};
        bool seen = false;
        QTimer::singleShot(0, [&seen] {
            auto* d = qobject_cast<PlcTagsDialog*>(QApplication::activeModalWidget());
            QVERIFY(d != nullptr);
            auto* format = d->findChild<QComboBox*>();
            format->setCurrentIndex(format->findData(QStringLiteral("iec")));
            const auto spins = d->findChildren<QSpinBox*>();
            spins.at(0)->setValue(12);
            auto* preview = d->findChildren<QTableWidget*>().last();
            QCOMPARE(preview->rowCount(), 1);
            QCOMPARE(preview->item(0, 0)->text(), QStringLiteral("Speed"));
            QCOMPARE(preview->item(0, 1)->text(), QStringLiteral("I12"));
            seen = true;
            d->accept();
        });
        QAction* a = toolsItem(ui(str::MenuExportPlcTags));
        QVERIFY(a != nullptr);
        a->trigger();
        QVERIFY(seen);
        QCOMPARE(prompts_.fileRequests.at(0).defaultSuffix, std::string("st"));
        QVERIFY(readAll(out).contains("Speed AT %IW12 : WORD;"));
        QCOMPARE(QSettings(QStringLiteral("Local AppWizard-Generated Applications"),
                           QStringLiteral("Torvane"))
                     .value(QStringLiteral("PlcTags/InputStart"))
                     .toInt(),
                 12);

        cfg.Config.Instructions[0].MappingAddress = "";
        QTimer::singleShot(0, [] {
            auto* d = qobject_cast<PlcTagsDialog*>(QApplication::activeModalWidget());
            QVERIFY(d != nullptr);
            QCOMPARE(d->findChildren<QSpinBox*>().at(0)->value(), 12); // remembered
            QVERIFY(!d->okButton()->isEnabled());
            d->reject();
        });
        a->trigger();
        QCOMPARE(prompts_.fileRequests.size(), size_t(1));
    }

    // File -> Print I/O Map…: PDF or HTML by the chosen name.
    void ioMapPrintedFromTheFileMenu() {
        startFrame(kCanopenMaster);
        const QString pdf = path(QStringLiteral("map.pdf"));
        const QString page = path(QStringLiteral("map.html"));
        prompts_.files = {pdf.toStdString(), page.toStdString()};
        QAction* print = nullptr;
        for (QAction* m : frame_->menuBar()->actions()) {
            for (QAction* a : m->menu()->actions()) {
                if (a->text() == ui(str::MenuPrintIoMap)) {
                    print = a;
                }
            }
        }
        QVERIFY(print != nullptr);
        print->trigger();
        print->trigger();
        QVERIFY2(prompts_.told.empty(), joined(prompts_.told).c_str());
        QVERIFY(readAll(pdf).startsWith("%PDF-"));
        QVERIFY(readAll(page).contains("<h1>I/O Map</h1>"));
        QCOMPARE(prompts_.fileRequests.at(0).filters.size(), size_t(2));
    }
};

QTEST_MAIN(ExportMenuTest)
#include "export_menu_test.moc"
