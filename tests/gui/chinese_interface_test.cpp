// The interface in Simplified Chinese, through the real windows: every text translated and
// fitting its widget, the values the files and the gateway hold shown as they are, and every
// file written the same as in English.

#include "../support/sample_ports.h"
#include "../support/session_access.h"
#include "editor/add_command.h"
#include "editor/command_pages.h"
#include "editor/grid_page.h"
#include "gui/app/about_dialog.h"
#include "gui/app/info_bar.h"
#include "gui/app/main_window.h"
#include "gui/app/translation.h"
#include "gui/comm/format_dialog.h"
#include "gui/comm/serial_dialog.h"
#include "gui/editor/archive_format_dialog.h"
#include "gui/editor/compare_window.h"
#include "gui/editor/config_type_dialog.h"
#include "gui/editor/config_view.h"
#include "gui/editor/save_changes_dialog.h"
#include "gui/editor/select_commands_dialog.h"
#include "gui/mapping/conflict_dialog.h"
#include "gui/monitor/monitor_window.h"
#include "gui_test_support.h"
#include "model/strings.h"
#include "platform/serial_ports.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDockWidget>
#include <QFile>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QXmlStreamReader>
#include <QtTest>
#include <set>
#include <zip.h>

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
        if (!xml.isStartElement()) {
            continue;
        }
        if (xml.name() == QLatin1String("name")) {
            context = elementText(xml);
        } else if (xml.name() == QLatin1String("source")) {
            all.push_back({context, elementText(xml), {}});
        } else if (xml.name() == QLatin1String("translation") && !all.empty()) {
            all.back().translation = elementText(xml);
        }
    }
    return all;
}

bool isCoreContext(const QString& context) {
    static const QStringList core = {
        QStringLiteral("Editor"),   QStringLiteral("Help"),   QStringLiteral("Checks"),
        QStringLiteral("Transfer"), QStringLiteral("Export"), QStringLiteral("Monitor"),
        QStringLiteral("Compare"),  QStringLiteral("Files"),  QStringLiteral("Messages")};
    return core.contains(context);
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

// The widgets whose text needs more room than they have.
QStringList cutTexts(QWidget* window) {
    QStringList cut;
    for (auto* l : window->findChildren<QLabel*>()) {
        if (!l->isVisible() || l->text().isEmpty()) {
            continue;
        }
        const bool fits = l->wordWrap() ? l->height() >= l->heightForWidth(l->width())
                                        : l->width() >= l->sizeHint().width();
        if (!fits) {
            cut << l->text();
        }
    }
    for (auto* b : window->findChildren<QAbstractButton*>()) {
        if (b->isVisible() && !b->text().isEmpty() && b->width() < b->sizeHint().width()) {
            cut << b->text();
        }
    }
    for (auto* g : window->findChildren<QGroupBox*>()) {
        if (g->isVisible() && g->width() < g->fontMetrics().horizontalAdvance(g->title())) {
            cut << g->title();
        }
    }
    return cut;
}

QString sourceDir() {
    return QStringLiteral(TORVANE_SOURCE_DIR);
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A workbook's parts by name (the archive's time stamps left out).
std::map<std::string, std::string> zipParts(const QString& path) {
    std::map<std::string, std::string> parts;
    int error = 0;
    zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (z == nullptr) {
        return parts;
    }
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(z, static_cast<zip_uint64_t>(i), 0, &st);
        std::string bytes(static_cast<std::size_t>(st.size), '\0');
        if (zip_file_t* f = zip_fopen_index(z, static_cast<zip_uint64_t>(i), 0)) {
            zip_fread(f, bytes.data(), st.size);
            zip_fclose(f);
        }
        parts[st.name] = bytes;
    }
    zip_close(z);
    return parts;
}

} // namespace

class ChineseInterfaceTest : public QObject {
    Q_OBJECT

    ScriptedPrompts prompts_;
    std::unique_ptr<MainWindow> frame_;
    QTemporaryDir dir_;
    std::vector<Entry> catalogue_;
    std::set<QString> english_; // sources that read differently in Chinese

    ConfigView* view() const { return frame_->view(); }
    QTreeWidget* tree() const { return view()->tree(); }
    QTableWidget* grid() const { return view()->grid(); }
    QString path(const QString& name) const { return dir_.filePath(name); }

    void startFrame(int configType) {
        prompts_ = ScriptedPrompts{};
        prompts_.configTypes = {configType};
        frame_ = std::make_unique<MainWindow>(prompts_);
        QCOMPARE(frame_->start({}), MainWindow::StartResult::Running);
        frame_->setUrlOpener([](const QUrl&) { return true; });
        frame_->setLocalClock([] { return LocalTime{2026, 12, 7, 9, 30}; });
        frame_->show();
        QApplication::setActiveWindow(frame_.get());
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
    }

    QTreeWidgetItem* item(const QStringList& path) const { return treeItem(tree(), path); }

    void select(const QStringList& path) {
        QTreeWidgetItem* it = item(path);
        QVERIFY2(it != nullptr, qPrintable(path.join(QLatin1Char('/'))));
        tree()->scrollToItem(it);
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {},
                          tree()->visualItemRect(it).center());
    }

    void clickCell(int row) {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                          grid()->visualItemRect(grid()->item(row, 1)).center());
    }

    void typeIntoCell(int row, const QString& text) {
        clickCell(row);
        QVERIFY(view()->textEditor()->isVisible());
        QTest::keyClicks(view()->textEditor(), text);
        QTest::keyClick(view()->textEditor(), Qt::Key_Return);
    }

    // Picks a list entry with the keyboard: the stored value typed, Enter.
    void pickFromList(int row, const QString& entry) {
        clickCell(row);
        QComboBox* combo = view()->listEditor();
        QVERIFY(combo->isVisible());
        QTRY_VERIFY(combo->view()->isVisible());
        QVERIFY2(combo->findText(entry) >= 0, qPrintable(entry));
        QTest::keyClick(combo->view(), Qt::Key_Escape);
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo->lineEdit(), entry);
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
        QVERIFY(!combo->isVisible());
    }

    // Fails with the texts of `window` that are still English or do not fit.
    void checkWindow(QWidget* window) {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QStringList english;
        for (const QString& t : shownTexts(window)) {
            if (english_.count(t) != 0) {
                english << t;
            }
        }
        QVERIFY2(english.isEmpty(), qPrintable(window->objectName() + ": " + english.join(" | ")));
        const QStringList cut = cutTexts(window);
        QVERIFY2(cut.isEmpty(), qPrintable(window->objectName() + ": " + cut.join(" | ")));
    }

    // The same edits through the same windows in either language, saved as .chg and .xml.
    void buildAndSave(const QString& folder) {
        QVERIFY(QDir().mkpath(path(folder)));
        startFrame(0);
        const QString canopen = QString::fromLatin1(str::CanopenNetwork);
        select({canopen});
        pickFromList(1, QStringLiteral("500K"));
        typeIntoCell(3, QStringLiteral("150"));
        pickFromList(4, QString::fromLatin1(str::Disable));
        frame_->action(ui(str::MainMenuAddNode))->trigger();
        select({canopen, QString::fromLatin1(str::NewNode)});
        typeIntoCell(0, QStringLiteral("5"));
        select({canopen, QStringLiteral("Node-5")});
        whenShown<SelectCommandsDialog>([](SelectCommandsDialog* dialog) {
            for (int entry : {2, 0}) {
                QListWidget* list = dialog->list();
                const QPoint at = list->visualItemRect(list->item(entry)).center();
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
                QTest::qWait(QApplication::doubleClickInterval() + 20);
            }
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        frame_->action(ui(str::MainMenuAddCommand))->trigger();
        QTreeWidgetItem* node = item({canopen, QStringLiteral("Node-5")});
        QVERIFY(node != nullptr && node->childCount() == 2);
        tree()->setCurrentItem(node->child(0));
        pickFromList(1, QStringLiteral("389 (0x185)"));
        typeIntoCell(2, QStringLiteral("4"));
        // A Chinese description comes from the input method, as a user types it.
        clickCell(4);
        QInputMethodEvent typed;
        typed.setCommitString(QStringLiteral("电机状态"));
        QApplication::sendEvent(view()->textEditor(), &typed);
        QTest::keyClick(view()->textEditor(), Qt::Key_Return);
        tree()->setCurrentItem(node->child(1));
        typeIntoCell(1, QStringLiteral("0x6041"));
        prompts_.files = {path(folder + "/built.chg").toStdString(),
                          path(folder + "/built.xml").toStdString()};
        frame_->action(ui(str::TipSave))->trigger();
        frame_->action(ui(str::MenuSaveAs))->trigger();
        QVERIFY2(prompts_.unexpected.empty(), unexpectedQuestions(prompts_).c_str());
        frame_.reset();
    }

    // An EDS file, a workbook and a monitor log made in the current language.
    // Each into `folder` under the same names (an EDS file names itself).
    void exportAll(const QString& folder) {
        QVERIFY(QDir().mkpath(path(folder)));
        startFrame(1);
        prompts_.files = {path(folder + "/gateway.eds").toStdString(),
                          path(folder + "/gateway.xlsx").toStdString()};
        frame_->createEds();
        frame_->exportExcel();
        QVERIFY2(prompts_.told.empty(), prompts_.told.empty() ? "" : prompts_.told[0].c_str());
        frame_.reset();

        ScriptedPrompts prompts;
        prompts.files = {path(folder + "/monitor.txt").toStdString()};
        MonitorWindow monitor(
            "/nonexistent/port", [] { return platform::createSerialPort(); }, prompts);
        monitor.showTick({{str::MonitorInputData, "09:30:00", "01 02 "},
                          {str::MonitorOutputData, "09:30:01", "0A FF "},
                          {str::MonitorMalformed, "09:30:02", "55 "}},
                         {});
        QTest::mouseClick(monitor.saveButton(), Qt::LeftButton);
        QTest::mouseClick(monitor.saveButton(), Qt::LeftButton);
        QVERIFY(prompts.told.empty());
    }

private slots:
    void initTestCase() {
        clearProgramSettings();
        catalogue_ = readCatalogue(sourceDir() + "/translations/torvane_zh_CN.ts");
        QVERIFY(catalogue_.size() > 200);
        for (const Entry& m : catalogue_) {
            if (m.translation != m.source) {
                english_.insert(m.source);
            }
        }
        QVERIFY(dir_.isValid());
    }

    void init() { QVERIFY(installTranslations(QString::fromLatin1(kLanguageChinese))); }

    void cleanup() {
        frame_.reset();
        installTranslations(QString::fromLatin1(kLanguageEnglish));
    }

    void theLanguageFollowsTheLocaleUnlessOneIsChosen() {
        const struct {
            const char* requested;
            const char* locale;
            const char* language;
        } cases[] = {
            {"", "zh_CN", "zh_CN"}, {"", "zh_SG", "zh_CN"},      {"", "zh_TW", "en"},
            {"", "en_US", "en"},    {"", "de_DE", "en"},         {"", "C", "en"},
            {"en", "zh_CN", "en"},  {"zh_CN", "en_US", "zh_CN"},
        };
        for (const auto& c : cases) {
            QCOMPARE(interfaceLanguage(QString::fromLatin1(c.requested),
                                       QLocale(QString::fromLatin1(c.locale))),
                     QString::fromLatin1(c.language));
        }
        QCOMPARE(currentLanguage(), QStringLiteral("zh_CN"));
        QVERIFY(!installTranslations(QStringLiteral("xx")));
        QCOMPARE(currentLanguage(), QStringLiteral("en"));
        QCOMPARE(ui(str::MenuFile), QStringLiteral("File(&F)"));
    }

    // Each core text in a message box of its own: shown in Chinese, the box sized to it.
    void everyCoreTextIsShownTranslated() {
        int checked = 0;
        for (const Entry& m : catalogue_) {
            if (!isCoreContext(m.context)) {
                continue;
            }
            const QByteArray context = m.context.toUtf8();
            const QByteArray source = m.source.toUtf8();
            const Message message(Text{context.constData(), source.constData()});
            QCOMPARE(core(message), m.translation);
            const auto box = messageBox(str::AppTitle, message, nullptr);
            QCOMPARE(box->text(), m.translation);
            box->show();
            QVERIFY(QTest::qWaitForWindowExposed(box.get()));
            const QStringList cut = cutTexts(box.get());
            QVERIFY2(cut.isEmpty(), qPrintable(cut.join(" | ")));
            ++checked;
        }
        QVERIFY(checked > 100);
    }

    // The core puts numbers, paths, names and other messages into its messages: the marked texts
    // are translated, what was put in stays as it is.
    void messagesKeepWhatWasPutIntoThem() {
        const auto plain = [](const char* text) { return Message::plain(text); };
        const struct {
            Message message;
            QString expected;
        } cases[] = {
            {Message(str::CheckCobIdConflict, 3, 12),
             QStringLiteral("节点 3 与节点 12 下有命令的 PDO COB-ID 冲突！")},
            {transferResultText(TransferResult::OpenFailed, {}, str::OpenBusy),
             QStringLiteral("打开串口失败\n该端口正被其他程序或其他传输占用。")},
            {Message(str::TwoLines, str::ResultReadFailed, Message(str::PortLine, "/dev/ttyUSB0")),
             QStringLiteral("读取串口数据失败\n端口: /dev/ttyUSB0")},
            // A value typed into a cell goes back in as it was typed, placeholders and all.
            {Message(str::NoteIndexReadAsDecimal, "6041", "1799"),
             QStringLiteral("6041 按十进制读取 (0x1799)；十六进制请输入 0x6041")},
            {Message(str::NoteOutOfRange, "%1%d", "1", "8"),
             QStringLiteral("%1%d 超出范围；允许范围 1 到 8")},
            // A node named like a label keeps its name; the row label is translated.
            {Message(
                 str::CheckIsEmpty,
                 joined({plain("Add Node"), plain("Upload SDO"), str::CmdRowIndex}, str::PathStep)),
             QStringLiteral("\"Add Node\\Upload SDO\\索引值\"为空")},
            {Message(str::EdsTemplateUnreadable, "/opt/模板/EDSTemplate1.dat"),
             QStringLiteral("无法读取 EDS 模板文件 /opt/模板/EDSTemplate1.dat")},
            {Message(str::CompareNotDownloadable, str::ResultMappingOverflow),
             QStringLiteral("无法生成下载时发送的数据: 映射地址溢出")},
            {Message(str::FileCannotRead, "/tmp/配置/a.chg", str::FileNotRegular),
             QStringLiteral("无法读取 /tmp/配置/a.chg: 不是普通文件")},
            {Message(str::Colon, str::ParamCanopen, str::ParamSdoTimeout),
             QStringLiteral("CANopen: SDO 响应超时")},
            {Message(str::CompareCommandOfNode, Message(str::CompareNodePlace, "6"),
                     Message(str::CompareSdoPlace, "Download SDO", "24576", "0")),
             QStringLiteral("节点 6 / Download SDO 索引 24576 子索引 0")},
            // Nothing the core marked: shown as it is.
            {plain("Node-5"), QStringLiteral("Node-5")},
        };
        for (const auto& c : cases) {
            QCOMPARE(core(c.message), c.expected);
        }
        // Every port detail line keeps its value; the label is translated.
        platform::PortDetails port;
        port.device = "/dev/ttyUSB0";
        port.manufacturer = "FTDI";
        QCOMPARE(core(platform::describePort(port)),
                 QStringLiteral("/dev/ttyUSB0\n  制造商: FTDI"));
    }

    // Tree texts, cell values and list entries are what the files hold, in any language.
    void storedValuesAreShownAsTheyAre() {
        for (int type : {0, 1}) {
            startFrame(type);
            GatewayConfiguration& cfg = liveConfiguration(frame_->session());
            cfg.Config.NodeCount = 1;
            cfg.Config.Nodes[0].NodeAddress = "5";
            cfg.Config.Nodes[0].NodeName = "Node-5";
            cfg.Config.InstructionCount = 3;
            cfg.Config.Instructions[0] = {"5", "1", "24641", "0", "", "0", "2", "", "", 0};
            cfg.Config.Instructions[1] = {"5", "3", "", "", "389", "2", "4", "", "", 0};
            cfg.Config.Instructions[2] = {"5", "4", "", "", "517", "6", "4", "", "", 0};
            view()->rebuildTree(false);
            for (QTreeWidgetItemIterator it(tree()); *it != nullptr; ++it) {
                tree()->setCurrentItem(*it);
                const TreeSelection s = view()->selection();
                QCOMPARE((*it)->text(0), QString::fromStdString(s.text));
                const GridPage page = view()->page();
                for (int r = 0; r < static_cast<int>(page.rows.size()); ++r) {
                    const GridRow& row = page.rows[static_cast<std::size_t>(r)];
                    QCOMPARE(grid()->item(r, 1)->text(),
                             QString::fromStdString(commandCellText(page.kind, r, row.value)));
                    if (!row.choices.empty() && !row.grey && row.openRefusal.empty()) {
                        clickCell(r);
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
            frame_.reset();
        }
    }

    void everyWindowIsTranslatedAndFitsItsTexts() {
        startFrame(0);
        frame_->action(ui(str::MainMenuAddNode))->trigger();
        for (QTreeWidgetItemIterator it(tree()); *it != nullptr; ++it) {
            tree()->setCurrentItem(*it);
            for (int r = 0; r < grid()->rowCount(); ++r) {
                if (QTableWidgetItem* label = grid()->item(r, 0)) {
                    QVERIFY2(english_.count(label->text()) == 0, qPrintable(label->text()));
                    QVERIFY2(grid()->fontMetrics().horizontalAdvance(label->text()) <
                                 grid()->columnWidth(0),
                             qPrintable(label->text()));
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
        for (const auto& w : windows) {
            checkWindow(w.get());
            w->hide(); // closing would delete the compare window, which deletes itself
        }
    }

    void aConfigurationMadeInChineseSavesTheSameBytes() {
        QVERIFY(installTranslations(QString::fromLatin1(kLanguageEnglish)));
        buildAndSave(QStringLiteral("en"));
        QVERIFY(installTranslations(QString::fromLatin1(kLanguageChinese)));
        buildAndSave(QStringLiteral("zh"));
        for (const char* name : {"/built.chg", "/built.xml"}) {
            const QByteArray english = fileBytes(path("en") + name);
            QVERIFY(!english.isEmpty());
            QCOMPARE(fileBytes(path("zh") + name), english);
        }
        // Every edit arrived: the list entries, the typed numbers, the node and its commands.
        const QByteArray xml = fileBytes(path("en/built.xml"));
        for (const char* part : {"500K", "150", "389", "24641", "Disable"}) {
            QVERIFY2(xml.contains(part), part);
        }
    }

    void filesWrittenStayEnglish() {
        QVERIFY(installTranslations(QString::fromLatin1(kLanguageEnglish)));
        exportAll(QStringLiteral("en"));
        QVERIFY(installTranslations(QString::fromLatin1(kLanguageChinese)));
        exportAll(QStringLiteral("zh"));
        for (const char* name : {"/gateway.eds", "/monitor.txt"}) {
            const QByteArray english = fileBytes(path("en") + name);
            QVERIFY(!english.isEmpty());
            QCOMPARE(fileBytes(path("zh") + name), english);
        }
        QVERIFY(fileBytes(path("en/monitor.txt")).contains("Input data"));
        const auto workbook = zipParts(path("en/gateway.xlsx"));
        QVERIFY(!workbook.empty());
        QVERIFY(zipParts(path("zh/gateway.xlsx")) == workbook);
    }

    // The monitor shows its rows' status translated; Help, News and the Info font follow too.
    void shownTextsFollowTheLanguage() {
        ScriptedPrompts prompts;
        MonitorWindow monitor(
            "/nonexistent/port", [] { return platform::createSerialPort(); }, prompts);
        monitor.showTick({{str::MonitorInputData, "09:30:00", "01 02 "}}, {});
        QCOMPARE(monitor.list()->item(0, 0)->text(), core(str::MonitorInputData));
        QCOMPARE(monitor.list()->item(0, 2)->text(), QStringLiteral("01 02 "));

        startFrame(0);
        QVERIFY(frame_->helpFilePath().endsWith(QStringLiteral("Torvane_zh_CN.html")));
        QVERIFY(QFile::exists(frame_->helpFilePath()));
        auto* news = frame_->infoBar()->findChild<QTextBrowser*>(QStringLiteral("news"));
        QVERIFY(news->source().toLocalFile().endsWith(QStringLiteral("Torvane_zh_CN.html")));
        const QString family = infoFontFamily();
        QVERIFY2(QFontDatabase::writingSystems(family).contains(QFontDatabase::SimplifiedChinese),
                 qPrintable(family));
        QVERIFY(installTranslations(QString::fromLatin1(kLanguageEnglish)));
        QCOMPARE(infoFontFamily(), QString::fromLatin1(str::InfoFont));
    }
};

QTEST_MAIN(ChineseInterfaceTest)
#include "chinese_interface_test.moc"
