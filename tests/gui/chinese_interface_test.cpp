// The interface in Simplified Chinese, through the real windows: every text translated, and the
// values the files and the gateway hold shown and written as they are.

#include "../support/sample_ports.h"
#include "devices/device_reader.h"
#include "editor/add_command.h"
#include "editor/command_pages.h"
#include "editor/grid_page.h"
#include "gui/app/about_dialog.h"
#include "gui/app/main_window.h"
#include "gui/app/translation.h"
#include "gui/comm/format_dialog.h"
#include "gui/comm/serial_dialog.h"
#include "gui/devices/device_commands_dialog.h"
#include "gui/devices/device_library_dialog.h"
#include "gui/editor/archive_format_dialog.h"
#include "gui/editor/compare_window.h"
#include "gui/editor/config_document.h"
#include "gui/editor/config_type_dialog.h"
#include "gui/editor/config_view.h"
#include "gui/editor/save_changes_dialog.h"
#include "gui/editor/select_commands_dialog.h"
#include "gui/mapping/conflict_dialog.h"
#include "gui/monitor/monitor_window.h"
#include "gui_test_support.h"
#include "model/strings.h"
#include "platform/serial_ports.h"

#include <QDockWidget>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <set>

using namespace torvane;
using namespace torvane::gui;
using namespace torvane::gui::test;

namespace {

struct Entry {
    QString context;
    QString source;
    QString translation;
};

// The text of the element the reader is on, with lupdate's <byte value="xd"/> put back.
QString elementText(QXmlStreamReader& xml) {
    QString text;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isCharacters()) {
            text += xml.text();
        } else if (xml.isStartElement() && xml.name() == QLatin1String("byte")) {
            const QString v = xml.attributes().value(QLatin1String("value")).toString();
            text += QChar(v.startsWith(QLatin1Char('x')) ? v.mid(1).toInt(nullptr, 16) : v.toInt());
        } else if (xml.isEndElement() && xml.name() != QLatin1String("byte")) {
            break;
        }
    }
    return text;
}

std::vector<Entry> readCatalogue(const QString& path) {
    QFile file(path);
    std::vector<Entry> all;
    if (!file.open(QIODevice::ReadOnly)) {
        return all;
    }
    QXmlStreamReader xml(&file);
    QString context;
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (xml.isStartElement() && xml.name() == QLatin1String("name")) {
            context = elementText(xml);
        } else if (xml.isStartElement() && xml.name() == QLatin1String("source")) {
            all.push_back({context, elementText(xml), {}});
        } else if (xml.isStartElement() && xml.name() == QLatin1String("translation")) {
            all.back().translation = elementText(xml);
        }
    }
    return all;
}

// Every text a window shows on its widgets (not the values of its cells).
QStringList shownTexts(QWidget* window) {
    QStringList texts{window->windowTitle()};
    for (auto* l : window->findChildren<QLabel*>()) {
        texts << l->text();
    }
    for (auto* b : window->findChildren<QAbstractButton*>()) {
        texts << b->text();
    }
    for (auto* g : window->findChildren<QGroupBox*>()) {
        texts << g->title();
    }
    for (auto* t : window->findChildren<QTabWidget*>()) {
        for (int i = 0; i < t->count(); ++i) {
            texts << t->tabText(i);
        }
    }
    for (auto* d : window->findChildren<QDockWidget*>()) {
        texts << d->windowTitle();
    }
    for (auto* a : window->findChildren<QAction*>()) {
        texts << a->text() << a->toolTip() << a->statusTip();
    }
    for (auto* tree : window->findChildren<QTreeWidget*>()) {
        for (int c = 0; c < tree->columnCount(); ++c) {
            texts << tree->headerItem()->text(c);
        }
    }
    for (auto* table : window->findChildren<QTableWidget*>()) {
        for (int c = 0; c < table->columnCount(); ++c) {
            if (QTableWidgetItem* h = table->horizontalHeaderItem(c)) {
                texts << h->text();
            }
        }
    }
    texts.removeAll(QString());
    return texts;
}

} // namespace

class ChineseInterfaceTest : public WindowFixture {
    Q_OBJECT

    std::vector<Entry> catalogue_;
    std::set<QString> english_; // sources that read differently in Chinese

    // Fails with the texts of `window` that are still English.
    void checkWindow(QWidget* window) {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QStringList english = shownTexts(window);
        english.removeIf([this](const QString& t) { return english_.count(t) == 0; });
        QVERIFY2(english.isEmpty(), qPrintable(window->objectName() + ": " + english.join(" | ")));
    }

private slots:
    void initTestCase() {
        clearProgramSettings();
        catalogue_ = readCatalogue(TORVANE_SOURCE_DIR "/translations/torvane_zh_CN.ts");
        QVERIFY(catalogue_.size() > 200);
        for (const Entry& m : catalogue_) {
            if (m.translation != m.source) {
                english_.insert(m.source);
            }
        }
    }

    void init() { QVERIFY(installTranslations(QString::fromLatin1(kLanguageChinese))); }

    void cleanup() {
        frame_.reset();
        installTranslations(QString::fromLatin1(kLanguageEnglish));
    }

    // Tree texts, cell values and list entries are what the files hold, in any language.
    void storedValuesAreShownAsTheyAre() {
        startFrame(0);
        prompts_.configFormats = {1};
        QVERIFY(frame_->document()->openRecent(
            QStringLiteral(TORVANE_TEST_DATA_DIR "/monitor_drive.xml")));
        for (QTreeWidgetItemIterator it(tree()); *it != nullptr; ++it) {
            tree()->setCurrentItem(*it);
            QCOMPARE((*it)->text(0), QString::fromStdString(view()->selection().text));
            const GridPage page = view()->page();
            for (int r = 0; r < static_cast<int>(page.rows.size()); ++r) {
                const GridRow& row = page.rows[static_cast<std::size_t>(r)];
                QCOMPARE(grid()->item(r, 1)->text(),
                         QString::fromStdString(commandCellText(page.kind, r, row.value)));
                if (row.choices.empty() || row.grey || !row.openRefusal.empty()) {
                    continue;
                }
                QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                                  grid()->visualItemRect(grid()->item(r, 1)).center());
                QComboBox* combo = view()->listEditor();
                QTRY_VERIFY(combo->isVisible());
                for (int i = 0; i < combo->count(); ++i) {
                    QCOMPARE(combo->itemText(i),
                             QString::fromStdString(row.choices[static_cast<size_t>(i)]));
                }
                QTest::keyClick(combo->view(), Qt::Key_Escape);
                QTest::keyClick(combo->lineEdit(), Qt::Key_Escape);
            }
        }
    }

    void everyWindowIsTranslated() {
        startFrame(0);
        frame_->action(ui(str::MainMenuAddNode))->trigger();
        QCOMPARE(frame_->session().configuration().Config.Nodes[0].NodeName,
                 std::string(str::NewNode));
        for (QTreeWidgetItemIterator it(tree()); *it != nullptr; ++it) {
            tree()->setCurrentItem(*it);
            for (int r = 0; r < grid()->rowCount(); ++r) {
                if (QTableWidgetItem* label = grid()->item(r, 0)) {
                    QVERIFY2(english_.count(label->text()) == 0, qPrintable(label->text()));
                }
            }
        }
        checkWindow(frame_.get());
        for (QAction* menu : frame_->menuBar()->actions()) {
            checkWindow(menu->menu());
            menu->menu()->close();
        }
        // With no program to show it, the guide opens in a window of the program's own.
        frame_->setUrlOpener([](const QUrl&) { return false; });
        frame_->action(ui(str::MenuContent))->trigger();
        QVERIFY(frame_->helpWindow() != nullptr);
        checkWindow(frame_->helpWindow());
        frame_->helpWindow()->close();

        SerialDialogState serial;
        std::vector<std::unique_ptr<QWidget>> windows;
        windows.push_back(std::make_unique<ConfigTypeDialog>());
        windows.push_back(std::make_unique<ArchiveFormatDialog>());
        windows.push_back(std::make_unique<SaveChangesDialog>());
        windows.push_back(std::make_unique<FormatDialog>());
        windows.push_back(std::make_unique<AboutDialog>());
        windows.push_back(std::make_unique<ConflictDialog>(frame_->session().configuration()));
        windows.push_back(std::make_unique<SerialDialog>(
            serial, std::vector<platform::PortDetails>{samples::usbAdapter()}));
        windows.push_back(std::make_unique<MonitorWindow>(
            "/nonexistent/port", [] { return platform::createSerialPort(); }, prompts_));
        CompareResult compared;
        compared.differences.push_back(
            {Message(str::Colon, str::ParamCanopen, str::ParamSdoTimeout), Message::plain("200"),
             Message::plain("300")});
        auto compare =
            std::make_unique<CompareWindow>(str::CompareFileTitle, str::CompareFileColumn);
        compare->showComparison(compared, QStringLiteral("/home/a/line-1.chg"),
                                QStringLiteral("/home/a/line-2.chg"));
        compare->setOutOfDate(true);
        windows.push_back(std::move(compare));
        QStringList entries;
        for (const AddCommandEntry& e : addCommandEntries(kCanopenMaster)) {
            entries << core(e.text);
        }
        windows.push_back(std::make_unique<SelectCommandsDialog>(entries, [](int) {}));
        windows.push_back(std::make_unique<DeviceLibraryDialog>(std::string(), prompts_));
        LibraryDevice drive;
        QVERIFY(readDeviceFile(TORVANE_TEST_DATA_DIR "/devices/e35.eds", drive.device).result ==
                DeviceReadResult::Ok);
        windows.push_back(std::make_unique<DeviceCommandsDialog>(
            frame_->session(), prompts_, 0, TreeSelection{}, std::vector<LibraryDevice>{drive}));
        for (const auto& w : windows) {
            checkWindow(w.get());
            w->hide(); // closing would delete the compare window, which deletes itself
        }
    }

    // The monitor saves its rows in English.
    void monitorLogStaysEnglish() {
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("monitor.txt"));
        ScriptedPrompts prompts;
        prompts.files = {log.toStdString()};
        MonitorWindow monitor(
            "/nonexistent/port", [] { return platform::createSerialPort(); }, prompts);
        monitor.showTick({{str::MonitorInputData, "09:30:00", "01 02 "}}, {});
        QTest::mouseClick(monitor.saveButton(), Qt::LeftButton);
        QTest::mouseClick(monitor.saveButton(), Qt::LeftButton);
        QFile saved(log);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll().contains("Input data"));
    }
};

QTEST_MAIN(ChineseInterfaceTest)
#include "chinese_interface_test.moc"
