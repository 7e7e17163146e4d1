// Renders the windows shown in the README into PNG files:
// torvane_screenshots OUTPUT_DIR [LANGUAGE] (en or zh_CN; English by default).

#include "devices/device_library.h"
#include "gui/app/about_dialog.h"
#include "gui/app/gui_texts.h"
#include "gui/app/info_bar.h"
#include "gui/app/main_window.h"
#include "gui/app/translation.h"
#include "gui/comm/serial_dialog.h"
#include "gui/devices/device_commands_dialog.h"
#include "gui/devices/device_library_dialog.h"
#include "gui/editor/archive_format_dialog.h"
#include "gui/editor/compare_window.h"
#include "gui/editor/config_document.h"
#include "gui/editor/config_type_dialog.h"
#include "gui/editor/config_view.h"
#include "gui/editor/prompts.h"
#include "gui/editor/save_changes_dialog.h"
#include "gui/editor/select_commands_dialog.h"
#include "gui/plc/plc_export.h"
#include "mapping/mapping_calculation.h"
#include "model/config_file.h"
#include "model/strings.h"
#include "platform/text_codec.h"
#include "plc/io_map.h"
#include "scripted_prompts.h"
#include "support/sample_ports.h"
#include "support/session_access.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QScopeGuard>
#include <QStyleOptionTitleBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>

using namespace torvane;
using namespace torvane::gui;

namespace {

bool save(const QPixmap& pixmap, const QString& dir, const char* name) {
    const QString path = QDir(dir).filePath(QString::fromLatin1(name));
    if (!pixmap.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

void clickCell(ConfigView* view, int row) {
    QTableWidget* grid = view->grid();
    const QRect cell = grid->visualItemRect(grid->item(row, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

// A master configuration with two nodes and a few commands, built through the real commands.
void buildMaster(MainWindow& frame, test::ScriptedPrompts& prompts) {
    ConfigView* view = frame.view();
    GatewayConfiguration& cfg = liveConfiguration(frame.session());
    cfg.Config.NodeCount = 2;
    cfg.Config.Nodes[0] = {"5", "Node-5"};
    cfg.Config.Nodes[1] = {"6", "Node-6"};
    const INSTRUCTION commands[] = {
        {"5", "1", "8192", "1", "", "0", "2", "Temperature", "", 1},
        {"5", "3", "", "", "389", "2", "4", "Drive status", "", 1},
        {"5", "4", "", "", "517", "0", "4", "Drive command", "", 1},
        {"6", "3", "", "", "390", "6", "8", "Encoder", "", 2},
        {"6", "2", "24576", "0", "", "4", "2", "Set point", "", 2},
    };
    cfg.Config.InstructionCount = 5;
    for (int i = 0; i < 5; ++i) {
        cfg.Config.Instructions[static_cast<size_t>(i)] = commands[i];
    }
    view->rebuildTree(false);
    (void)prompts;
}

// The window with its caption: offscreen windows have no frame, so the style draws the title bar
// the way a window manager would.
QPixmap withCaption(QWidget& window) {
    const QPixmap body = window.grab();
    QStyleOptionTitleBar bar;
    bar.initFrom(&window);
    // Qt's modified mark as the window system shows it.
    bar.text = window.windowTitle().replace(
        QStringLiteral("[*]"), window.isWindowModified() ? QStringLiteral("*") : QString());
    bar.icon = window.windowIcon();
    bar.state |= QStyle::State_Active;
    bar.titleBarState = Qt::WindowActive;
    bar.titleBarFlags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                        Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
    const int height = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, &bar, &window);
    bar.rect = QRect(0, 0, body.width(), height);
    QPixmap shot(body.width(), height + body.height());
    shot.fill(Qt::white);
    QPainter p(&shot);
    window.style()->drawComplexControl(QStyle::CC_TitleBar, &bar, &p, &window);
    p.drawPixmap(0, height, body);
    return shot;
}

// A folder named "Prüfstand-配置": a refused file's message, then a configuration with a
// Chinese description opened from there, its caption and the recent-file entry.
bool nonAsciiFolder(const QString& out) {
    // A fixed folder, so that the pictures come out the same on every run.
    QDir base(QDir::temp().filePath(QStringLiteral("torvane-screenshots")));
    base.removeRecursively();
    const QString folder = base.filePath(QStringLiteral("Prüfstand-配置"));
    QDir().mkpath(folder);
    const auto cleanUp = qScopeGuard([&] { base.removeRecursively(); });
    const QString file = folder + QStringLiteral("/anlage.chg");
    QFile bad(file);
    if (!bad.open(QIODevice::WriteOnly) || bad.write("not a configuration") < 0) {
        return false;
    }
    bad.close();
    bool ok = true;
    test::ScriptedPrompts prompts;
    {
        prompts.configTypes = {0};
        MainWindow frame(prompts);
        frame.start({});
        frame.show();
        (void)QTest::qWaitForWindowExposed(&frame);
        prompts.files = {QFile::encodeName(file).toStdString()};
        frame.document()->fileOpen();
        if (prompts.told.empty()) {
            return false;
        }
        const std::unique_ptr<QMessageBox> box =
            messageBox(str::AppTitle, prompts.toldMessages.back(), &frame);
        box->show();
        (void)QTest::qWaitForWindowExposed(box.get());
        ok &= save(withCaption(*box), out, "open-failed-non-ascii.png");
        box->close();

        GatewayConfiguration& cfg = liveConfiguration(frame.session());
        cfg.Config.NodeCount = 1;
        cfg.Config.Nodes[0] = {"5", "Node-5"};
        cfg.Config.InstructionCount = 2;
        cfg.Config.Instructions[0] = {"5", "3", "", "", "389", "0", "2", "温度传感器", "", 1};
        cfg.Config.Instructions[1] = {"5", "4", "", "", "517", "0", "2", "Sollwert Lüfter", "", 1};
        for (INSTRUCTION& ins : cfg.Config.Instructions) {
            ins.Description = platform::toConfigText(QString::fromStdString(ins.Description));
        }
        prompts.files = {QFile::encodeName(file).toStdString()};
        frame.document()->fileSaveAs();
    }
    {
        // Opened as from the command line, which puts it on the recent-file list, then through
        // File -> Open, which names it in the caption.
        MainWindow frame(prompts);
        frame.start(file);
        frame.show();
        (void)QTest::qWaitForWindowExposed(&frame);
        prompts.files = {QFile::encodeName(file).toStdString()};
        frame.document()->fileOpen();
        ConfigView* view = frame.view();
        QTreeWidgetItem* node = view->tree()->topLevelItem(1)->child(0);
        node->setExpanded(true);
        view->tree()->setCurrentItem(node->child(0));
        clickCell(view, 4);
        view->commitOpenEditor();
        frame.infoBar()->tabs()->setCurrentIndex(0);
        QTest::qWait(50);
        QPixmap shot = withCaption(frame);
        QMenu* fileMenu = frame.menuBar()->actions().constFirst()->menu();
        fileMenu->popup(frame.mapToGlobal(QPoint(0, frame.menuBar()->height())));
        QTest::qWait(100);
        if (fileMenu->isVisible()) {
            QPainter p(&shot);
            const int top = shot.height() - frame.height();
            p.drawPixmap(frame.menuBar()
                                 ->actionGeometry(frame.menuBar()->actions().constFirst())
                                 .bottomLeft() +
                             QPoint(0, top + 1),
                         fileMenu->grab());
        }
        fileMenu->close();
        ok &= save(shot, out, "main-window-non-ascii.png");
    }
    for (const std::string& q : prompts.unexpected) {
        std::fprintf(stderr, "unexpected question: %s\n", q.c_str());
    }
    return ok && prompts.unexpected.empty();
}

// "Serial Port Configuration" with the port list open and the tooltip of its second entry.
QPixmap serialDialogWithTooltip() {
    const platform::PortDetails onboard = samples::barePort("/dev/ttyS0");
    const platform::PortDetails usb = samples::usbAdapter();
    platform::PortDetails acm = samples::barePort("/dev/ttyACM0");
    acm.byIdLink = "/dev/serial/by-id/usb-Example_Service_Port_0042-if00";
    acm.vendorId = 0x1d50;
    acm.productId = 0x6018;
    acm.description = "Service Port";
    SerialDialogState state;
    SerialDialog dialog(state, std::vector<platform::PortDetails>{onboard, usb, acm});
    dialog.show();
    (void)QTest::qWaitForWindowExposed(&dialog);
    QComboBox* box = dialog.portBox();
    box->showPopup();
    QTest::qWait(100);
    QAbstractItemView* list = box->view();
    list->setCurrentIndex(box->model()->index(1, 0)); // as under the mouse
    const QRect item = list->visualRect(box->model()->index(1, 0));
    QToolTip::showText(list->viewport()->mapToGlobal(item.center()),
                       box->itemData(1, Qt::ToolTipRole).toString(), list->viewport());
    QTest::qWait(100);
    QWidget* tip = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->inherits("QTipLabel")) {
            tip = w;
        }
    }
    // Offscreen windows have no shared screen position: lay the pieces out as a screen would.
    const QPixmap face = dialog.grab();
    const QPixmap popup = list->window()->grab();
    const QPixmap tipShot = tip != nullptr ? tip->grab() : QPixmap();
    const QPoint popupAt = box->mapTo(&dialog, QPoint(0, box->height()));
    const QPoint tipAt = popupAt + QPoint(item.center().x(), item.bottom() + 6);
    QPixmap shot(
        std::max(face.width(), tipAt.x() + tipShot.width()) + 8,
        std::max({face.height(), popupAt.y() + popup.height(), tipAt.y() + tipShot.height()}) + 8);
    shot.fill(QColor(90, 90, 90));
    QPainter p(&shot);
    p.drawPixmap(0, 0, face);
    p.drawPixmap(popupAt, popup);
    if (!tipShot.isNull()) {
        p.drawPixmap(tipAt, tipShot);
    }
    p.end();
    box->hidePopup();
    QToolTip::hideText();
    return shot;
}

// Node-5's Upload SDO with its Index row made current by the arrow keys: the cell's tooltip and
// the status bar show the index in decimal and in hex.
QPixmap hexTooltip(MainWindow& frame, QTreeWidgetItem* sdo) {
    ConfigView* view = frame.view();
    view->tree()->setCurrentItem(sdo);
    QTableWidget* grid = view->grid();
    grid->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Down);
    const QRect cell = grid->visualItemRect(grid->item(1, 1));
    QToolTip::showText(grid->viewport()->mapToGlobal(cell.center()), grid->item(1, 1)->toolTip(),
                       grid->viewport());
    QTest::qWait(100);
    QWidget* tip = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->inherits("QTipLabel")) {
            tip = w;
        }
    }
    QPixmap shot = frame.grab();
    if (tip != nullptr) {
        // Offscreen windows have no shared screen position: draw the tip where a screen shows it,
        // just below the pointer in the middle of the cell.
        QPainter p(&shot);
        p.drawPixmap(grid->viewport()->mapTo(&frame, cell.center() + QPoint(2, 18)), tip->grab());
    }
    QToolTip::hideText();
    return shot;
}

} // namespace

// The window with menu `index` of its menu bar open and `active` under the mouse.
QPixmap openMenuShot(MainWindow& frame, int index, QAction* active) {
    QMenuBar* bar = frame.menuBar();
    QMenu* menu = bar->actions().at(index)->menu();
    const QPoint at = bar->actionGeometry(bar->actions().at(index)).bottomLeft();
    menu->popup(frame.mapToGlobal(bar->mapTo(&frame, at)));
    (void)QTest::qWaitForWindowExposed(menu);
    menu->setActiveAction(active);
    QTest::qWait(50);
    QPixmap shot = frame.grab();
    {
        QPainter p(&shot);
        p.drawPixmap(bar->mapTo(&frame, at), menu->grab());
    }
    menu->close();
    return shot;
}

int main(int argc, char** argv) {
    // The recent-file list these windows write stays out of the user's own settings.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const QString language = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("en");
    if (!installTranslations(language)) {
        std::fprintf(stderr, "no translation for %s\n", qPrintable(language));
        return 1;
    }
    QDir().mkpath(out);
    bool ok = true;

    test::ScriptedPrompts prompts;
    {
        prompts.configTypes = {0};
        MainWindow frame(prompts);
        frame.start({});
        frame.show();
        (void)QTest::qWaitForWindowExposed(&frame);
        buildMaster(frame, prompts);
        ConfigView* view = frame.view();
        // Node-5 expanded, its Transmit PDO selected, the byte-count row clicked for its help.
        QTreeWidgetItem* node = view->tree()->topLevelItem(1)->child(0);
        node->setExpanded(true);
        view->tree()->topLevelItem(1)->child(1)->setExpanded(true);
        view->tree()->setCurrentItem(node->child(1));
        clickCell(view, 2);
        view->commitOpenEditor();
        frame.infoBar()->tabs()->setCurrentIndex(0);
        QTest::qWait(50);
        ok &= save(frame.grab(), out, "main-window-master.png");
        ok &= save(hexTooltip(frame, node->child(0)), out, "hex-tooltip.png");

        // The parameter page with the baud-rate list open.
        view->tree()->setCurrentItem(view->tree()->topLevelItem(1));
        clickCell(view, 1);
        QTest::qWait(100);
        QPixmap shot = frame.grab();
        QWidget* popup = view->listEditor()->view()->window();
        if (popup->isVisible()) {
            QPainter p(&shot);
            // Offscreen windows have no shared screen position: draw the list under its box.
            QComboBox* combo = view->listEditor();
            p.drawPixmap(combo->mapTo(&frame, QPoint(0, combo->height())), popup->grab());
        }
        ok &= save(shot, out, "grid-list-editor.png");
        view->commitOpenEditor();

        // The Edit menu after an Add Node, Undo under the mouse and its step in the status bar.
        view->tree()->setCurrentItem(view->tree()->topLevelItem(1));
        view->addNode();
        ok &= save(openMenuShot(frame, 1, frame.action(ui(str::MenuUndo))), out,
                   "edit-menu-undo.png");

        // The Tools menu with Monitor under the mouse.
        ok &=
            save(openMenuShot(frame, 2, frame.action(ui(str::MenuMonitor))), out, "tools-menu.png");

        // An Index typed beyond its range: kept out, the reason in the status bar and the Info tab.
        QTreeWidgetItem* node5 = view->tree()->topLevelItem(1)->child(0); // the tree was rebuilt
        node5->setExpanded(true);
        view->tree()->setCurrentItem(node5->child(0));
        clickCell(view, 1);
        view->textEditor()->setText(QStringLiteral("70000"));
        view->commitOpenEditor();
        frame.infoBar()->tabs()->setCurrentIndex(0);
        QTest::qWait(50);
        ok &= save(frame.grab(), out, "refused-value.png");

        SelectCommandsDialog dialog(
            {core(str::AddMasterUploadSdo), core(str::AddMasterDownloadSdo),
             core(str::AddMasterTransmitPdo), core(str::AddMasterReceivePdo)},
            [](int) {}, &frame);
        dialog.show();
        dialog.list()->setCurrentRow(2);
        dialog.list()->setFocus();
        (void)QTest::qWaitForWindowExposed(&dialog);
        ok &= save(dialog.grab(), out, "select-commands.png");
        dialog.close();

        // The device library with a drive and a vendor's untidy file, the drive's notes shown.
        QTemporaryDir library;
        const std::string devices = TORVANE_TEST_DATA_DIR "/devices/";
        std::vector<ImportedDevice> imported;
        importDevices(QFile::encodeName(library.path()).toStdString(),
                      {devices + "e35.eds", devices + "bad/vendor_mess.eds"}, imported);
        test::ScriptedPrompts devicePrompts;
        DeviceLibraryDialog libraryWindow(QFile::encodeName(library.path()).toStdString(),
                                          devicePrompts, &frame);
        libraryWindow.show();
        libraryWindow.devices()->setCurrentItem(libraryWindow.devices()->topLevelItem(1));
        (void)QTest::qWaitForWindowExposed(&libraryWindow);
        ok &= save(withCaption(libraryWindow), out, "device-library.png");
        libraryWindow.close();

        // A node from the drive at the first free address: its PDOs, the Statusword read, an
        // object too large for an SDO.
        std::vector<DeviceMessage> problems;
        DeviceCommandsDialog fromDevice(
            frame.session(), devicePrompts, 0, {},
            listDevices(QFile::encodeName(library.path()).toStdString(), problems), &frame);
        fromDevice.show();
        for (QTreeWidgetItemIterator it(fromDevice.tree()); *it != nullptr; ++it) {
            const QString object = (*it)->text(0);
            if (object == QStringLiteral("0x6041 sub 0") ||
                object == QStringLiteral("0x1008 sub 0")) {
                (*it)->setCheckState(6, Qt::Checked);
            }
        }
        (void)QTest::qWaitForWindowExposed(&fromDevice);
        ok &= save(withCaption(fromDevice), out, "device-commands.png");
        fromDevice.close();

        // A message with numbers in it: a renumbered node's COB-ID clashing with node 6.
        const std::unique_ptr<QMessageBox> box =
            messageBox(str::AppTitle, Message(str::RenumberCobIdConflict, 6), &frame);
        box->show();
        (void)QTest::qWaitForWindowExposed(box.get());
        ok &= save(withCaption(*box), out, "message-box.png");
        box->close();
        // A short one: the box stays wide enough for its whole title.
        const std::unique_ptr<QMessageBox> shortBox =
            messageBox(str::AppTitle, str::MappingSuccessful, &frame);
        shortBox->show();
        (void)QTest::qWaitForWindowExposed(shortBox.get());
        ok &= save(withCaption(*shortBox), out, "message-box-short.png");
        shortBox->close();

        AboutDialog about(&frame);
        about.show();
        (void)QTest::qWaitForWindowExposed(&about);
        ok &= save(about.grab(), out, "about.png");
        about.close();

        // The PLC tag export over the configuration with its addresses calculated, and the
        // first page of its I/O map.
        {
            GatewayConfiguration mapped = frame.session().configuration();
            calculateMapping(mapped);
            PlcTagsDialog tags(mapped, {}, &frame);
            tags.show();
            (void)QTest::qWaitForWindowExposed(&tags);
            ok &= save(withCaption(tags), out, "plc-tags.png");
            tags.close();
            QTextDocument page;
            page.setHtml(QString::fromStdString(ioMapHtml(
                mapped, {"master.chg", "2026-05-04 09:30", 0, 0},
                [](const char* context, const std::string& text) {
                    return QCoreApplication::translate(context, text.c_str()).toStdString();
                })));
            page.setTextWidth(760);
            QImage image(800, 1000, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            painter.translate(20, 20);
            page.drawContents(&painter, QRectF(0, 0, 760, 960));
            painter.end();
            ok &= save(QPixmap::fromImage(image), out, "io-map.png");
        }

        // The save question, as before an upload, with "Yes(&Y)" the default button.
        SaveChangesDialog question(&frame, true);
        question.show();
        (void)QTest::qWaitForWindowExposed(&question);
        ok &= save(withCaption(question), out, "save-question.png");
        question.close();

        // Saving as XML with values an XML file cannot hold.
        const std::unique_ptr<QMessageBox> drops = xmlDropsBox(
            {{str::ParamRpdoCycle, "55"}, {str::ParamOutputProcessing, str::Clear}}, &frame);
        drops->show();
        (void)QTest::qWaitForWindowExposed(drops.get());
        ok &= save(withCaption(*drops), out, "xml-save-question.png");
        drops->close();

        // Tools -> "Compare with File(&F)" against a copy with a changed time-out, a resized
        // command and one command fewer; then an edit makes it out of date.
        // A fixed folder, so that the path in the picture is the same on every run.
        QDir files(QDir::temp().filePath(QStringLiteral("torvane-screenshots-compare")));
        files.mkpath(QStringLiteral("."));
        const auto removeFiles = qScopeGuard([&] { files.removeRecursively(); });
        GatewayConfiguration other = frame.session().configuration();
        other.Config.SDOTimeout = "300";
        other.Config.Instructions[1].Bytes = "2";
        other.Config.InstructionCount = 4;
        const std::string path = files.filePath(QStringLiteral("line-2.chg")).toStdString();
        Message error;
        ok &= saveConfigurationFile(path, other, error);
        prompts.files = {path};
        frame.action(ui(str::MenuCompareFile))->trigger();
        if (auto* compare = frame.findChild<CompareWindow*>()) {
            (void)QTest::qWaitForWindowExposed(compare);
            frame.session().commitCell(canopenSideItem(frame.session().configuration()), 7,
                                       "30"); // SYNC Cycle
            QTest::qWait(50);
            ok &= save(withCaption(*compare), out, "compare.png");
            compare->close();
        } else {
            ok = false;
        }
    }
    ok &= save(serialDialogWithTooltip(), out, "serial-dialog.png");
    {
        prompts.configTypes = {1};
        MainWindow frame(prompts);
        frame.start({});
        frame.show();
        (void)QTest::qWaitForWindowExposed(&frame);
        ConfigView* view = frame.view();
        GatewayConfiguration& cfg = liveConfiguration(frame.session());
        const INSTRUCTION commands[] = {
            {"1", "3", "", "", "385", "0", "4", "Status word", "", 0},
            {"1", "3", "", "", "641", "4", "2", "Actual speed", "", 0},
            {"1", "4", "", "", "513", "0", "4", "Control word", "", 0},
        };
        cfg.Config.InstructionCount = 3;
        for (int i = 0; i < 3; ++i) {
            cfg.Config.Instructions[static_cast<size_t>(i)] = commands[i];
        }
        view->rebuildTree(false);
        clickCell(view, 0);
        view->commitOpenEditor();
        QTest::qWait(50);
        ok &= save(frame.grab(), out, "main-window-slave.png");
    }
    // The folder pictures are about paths, which no language changes.
    if (language == QLatin1String("en")) {
        ok &= nonAsciiFolder(out);
    }
    return ok ? 0 : 1;
}
