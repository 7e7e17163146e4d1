// Renders the windows shown in the README into PNG files: torvane-screenshots OUTPUT_DIR.

#include "gui/app/about_dlg.h"
#include "gui/app/info_bar.h"
#include "gui/app/main_frame.h"
#include "gui/editor/dins.h"
#include "gui/editor/modbus_config_doc.h"
#include "gui/editor/modbus_config_view.h"
#include "scripted_prompts.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QPainter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
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

void clickCell(CModbusConfigView* view, int row) {
    QTableWidget* grid = view->grid();
    const QRect cell = grid->visualItemRect(grid->item(row, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

// A master configuration with two nodes and a few commands, built through the real commands.
void buildMaster(CMainFrame& frame, test::ScriptedPrompts& prompts) {
    CModbusConfigView* view = frame.view();
    GatewayConfiguration& cfg = view->configuration();
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

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    bool ok = true;

    test::ScriptedPrompts prompts;
    {
        prompts.configTypes = {0};
        CMainFrame frame(prompts);
        frame.start({});
        frame.show();
        (void)QTest::qWaitForWindowExposed(&frame);
        buildMaster(frame, prompts);
        CModbusConfigView* view = frame.view();
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

        CDIns dialog(
            {QStringLiteral("Upload SDO -> Profibus In"),
             QStringLiteral("Download SDO <- Profibus Out"),
             QStringLiteral("Transmit PDO -> Profibus In"),
             QStringLiteral("Receive PDO <- Profibus Out")},
            [](int) {}, &frame);
        dialog.show();
        dialog.list()->setCurrentRow(2);
        (void)QTest::qWaitForWindowExposed(&dialog);
        ok &= save(dialog.grab(), out, "select-commands.png");
        dialog.close();

        CAboutDlg about(&frame);
        about.show();
        (void)QTest::qWaitForWindowExposed(&about);
        ok &= save(about.grab(), out, "about.png");
        about.close();
    }
    {
        prompts.configTypes = {1};
        CMainFrame frame(prompts);
        frame.start({});
        frame.show();
        (void)QTest::qWaitForWindowExposed(&frame);
        CModbusConfigView* view = frame.view();
        GatewayConfiguration& cfg = view->configuration();
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
    return ok ? 0 : 1;
}
