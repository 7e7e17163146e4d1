#include "gui/app/main_window.h"

#include "devices/device_library.h"
#include "export/eds_generator.h"
#include "export/workbook_export.h"
#include "gui/app/about_dialog.h"
#include "gui/app/desktop_opener.h"
#include "gui/app/info_bar.h"
#include "gui/app/toolbar_icons.h"
#include "gui/app/translation.h"
#include "gui/comm/format_dialog.h"
#include "gui/comm/progress_window.h"
#include "gui/comm/serial_dialog.h"
#include "gui/comm/transfer_runner.h"
#include "gui/devices/device_library_dialog.h"
#include "gui/editor/compare_window.h"
#include "gui/editor/config_document.h"
#include "gui/editor/config_view.h"
#include "gui/editor/prompts.h"
#include "gui/mapping/conflict_dialog.h"
#include "gui/monitor/monitor_window.h"
#include "gui/plc/plc_export.h"
#include "model/strings.h"
#include "platform/data_files.h"
#include "platform/serial_ports.h"
#include "platform/text_codec.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <optional>

namespace torvane::gui {

namespace {
QString qs(const char* text) {
    return QString::fromLatin1(text);
}

// "Download hint:" on the GUI thread, unless a test answers instead.
class FrameQuestions final : public TransferQuestions {
public:
    FrameQuestions(QWidget* owner, TransferQuestions* const& override)
        : owner_(owner), override_(override) {}
    FormatChoice askDownloadFormat() override {
        if (override_ != nullptr) {
            return override_->askDownloadFormat();
        }
        FormatDialog dialog(owner_);
        dialog.exec();
        return dialog.choice();
    }

private:
    QWidget* owner_;
    TransferQuestions* const& override_;
};

QSettings profile() {
    return QSettings(QStringLiteral("Local AppWizard-Generated Applications"),
                     QStringLiteral("Torvane"));
}
} // namespace

std::vector<std::string> RecentFiles::paths() const {
    QSettings settings = profile();
    std::vector<std::string> files;
    for (int i = 1; i <= kSize; ++i) {
        const QVariant v = settings.value(QStringLiteral("Recent File List/File%1").arg(i));
        const QByteArray bytes =
            v.typeId() == QMetaType::QByteArray ? v.toByteArray() : QFile::encodeName(v.toString());
        if (!bytes.isEmpty()) {
            files.emplace_back(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        }
    }
    return files;
}

QStringList RecentFiles::load() const {
    QStringList files;
    for (const std::string& path : paths()) {
        files << QFile::decodeName(QByteArray::fromStdString(path));
    }
    return files;
}

void RecentFiles::add(const std::string& path) const {
    std::vector<std::string> files = paths();
    std::erase(files, path);
    files.insert(files.begin(), path);
    files.resize(std::min<std::size_t>(files.size(), kSize));
    QSettings settings = profile();
    for (int i = 1; i <= kSize; ++i) {
        const QString key = QStringLiteral("Recent File List/File%1").arg(i);
        if (i > static_cast<int>(files.size())) {
            settings.remove(key);
            continue;
        }
        const QByteArray bytes = QByteArray::fromStdString(files[static_cast<std::size_t>(i - 1)]);
        const QString text = QFile::decodeName(bytes);
        if (QFile::encodeName(text) == bytes) {
            settings.setValue(key, text);
        } else {
            settings.setValue(key, bytes);
        }
    }
}

MainWindow::MainWindow(Prompts& prompts, QWidget* parent)
    : QMainWindow(parent), prompts_(prompts), dataFile_(platform::findDataFile),
      now_(currentLocalTime) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(qs(str::AppTitle));
    setWindowIcon(toolIcon(ToolIcon::Application));
    resize(1440, 750);

    monitorPorts_ = [] { return platform::createSerialPort(); };
    session_ = std::make_unique<ConfigSession>(prompts_);
    view_ = new ConfigView(*session_, prompts_, this);
    setCentralWidget(view_);
    doc_ = new ConfigDocument(*view_, *session_, this);

    infoBar_ = new InfoBar(this);
    setDockOptions(dockOptions() | QMainWindow::AllowNestedDocks);
    addDockWidget(Qt::BottomDockWidgetArea, infoBar_);
    resizeDocks({infoBar_}, {200}, Qt::Vertical);

    createActions();
    createMenus();
    createToolBar();
    createStatusBar();

    serial_ = std::make_unique<SerialDialogState>();
    dialogQuestions_ = std::make_unique<FrameQuestions>(this, questionsOverride_);
    wait_ = new ProgressWindow(this);
    runner_ = new TransferRunner(
        *session_, *wait_, prompts_, *dialogQuestions_, [] { return platform::createSerialPort(); },
        this);
    runner_->setFinishedHandler([this](TransferKind kind, const TransferOutcome& outcome) {
        applyTransferOutcome(kind, outcome);
    });
    connect(runner_, &TransferRunner::idle, this, [this] { setTransferCommandsEnabled(true); });

    connect(view_, &ConfigView::helpTextChanged, infoBar_, &InfoBar::setHelpText);
    connect(view_, &ConfigView::valueTipChanged, this,
            [this](const QString& tip) { statusBar()->showMessage(tip); });
    connect(view_, &ConfigView::noteShown, this,
            [this](const QString& note) { statusBar()->showMessage(note); });
    connect(view_, &ConfigView::editStateChanged, this, &MainWindow::updateEditActions);
    session_->onModified([this] {
        updateEditActions();
        setWindowModified(session_->document().ModifiedFlag());
    });
    session_->document().onFileUsed([this](const std::string& path) {
        RecentFiles().add(path);
        updateRecentMenu();
    });
    connect(doc_, &ConfigDocument::captionChanged, this, &MainWindow::showCaption);
    updateEditActions();
    updateRecentMenu();

    // The news page is read after the window is shown: it never delays start-up.
    QTimer::singleShot(0, infoBar_, &InfoBar::loadNews);
}

MainWindow::~MainWindow() {
    // The runner waits for a running transfer; it goes before the windows it reports to.
    delete runner_;
    runner_ = nullptr;
    // The view and the document show the session; they go before it.
    delete doc_;
    doc_ = nullptr;
    delete view_;
    view_ = nullptr;
}

void MainWindow::createActions() {
    auto make = [this](const str::UiText& text, std::optional<str::UiText> tip,
                       std::optional<ToolIcon> icon, auto slot) {
        auto* a = new QAction(ui(text), this);
        if (tip) {
            a->setToolTip(ui(*tip));
        }
        if (icon) {
            a->setIcon(toolIcon(*icon));
        }
        connect(a, &QAction::triggered, this, [this, slot] {
            // Toolbar and menu clicks do not take the focus: commit an open cell editor first.
            view_->commitOpenEditor();
            slot();
        });
        return a;
    };

    newAct_ = make(str::MenuNew, str::TipNew, ToolIcon::New, [this] { doc_->fileNew(); });
    newAct_->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
    newAct_->setStatusTip(ui(str::PromptNew));
    openAct_ = make(str::MenuOpen, str::TipOpen, ToolIcon::Open, [this] { doc_->fileOpen(); });
    openAct_->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    openAct_->setStatusTip(ui(str::PromptOpen));
    saveAct_ = make(str::MenuSave, str::TipSave, ToolIcon::Save, [this] { doc_->fileSave(); });
    saveAct_->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    saveAct_->setStatusTip(ui(str::PromptSave));
    saveAsAct_ = make(str::MenuSaveAs, std::nullopt, std::nullopt, [this] { doc_->fileSaveAs(); });
    saveAsAct_->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    saveAsAct_->setStatusTip(ui(str::PromptSaveAs));
    exitAct_ = make(str::MenuExit, std::nullopt, std::nullopt, [this] { close(); });
    exitAct_->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    exitAct_->setStatusTip(ui(str::PromptExit));

    addNodeAct_ = make(str::MainMenuAddNode, str::MenuAddNode, ToolIcon::AddNode,
                       [this] { view_->addNode(); });
    deleteNodeAct_ = make(str::MainMenuDeleteNode, str::MenuDeleteNode, ToolIcon::DeleteNode,
                          [this] { view_->deleteNode(); });
    addCommandAct_ = make(str::MainMenuAddCommand, str::MenuAddCommand, ToolIcon::AddCommand,
                          [this] { view_->addCommand(); });
    deleteCommandAct_ = make(str::MainMenuDeleteCommand, str::MenuDeleteCommand,
                             ToolIcon::DeleteCommand, [this] { view_->deleteCommand(); });
    // Delete in the tree removes the selected node or command; the two are never enabled at
    // once, and in the grid the key stays the cell editor's.
    for (QAction* a : {deleteNodeAct_, deleteCommandAct_}) {
        a->setShortcut(QKeySequence(QKeySequence::Delete));
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        view_->tree()->addAction(a);
    }
    copyNodeAct_ =
        make(str::MainMenuCopyNode, std::nullopt, std::nullopt, [this] { view_->copyNode(); });
    pasteNodeAct_ =
        make(str::MainMenuPasteNode, std::nullopt, std::nullopt, [this] { view_->pasteNode(); });
    addNodeFromDeviceAct_ = make(str::MainMenuAddNodeFromDevice, std::nullopt, std::nullopt,
                                 [this] { view_->addFromDevice(true); });
    deviceLibraryAct_ =
        make(str::MenuDeviceLibrary, std::nullopt, std::nullopt, [this] { showDeviceLibrary(); });
    undoAct_ = make(str::MenuUndo, std::nullopt, std::nullopt, [this] { undoOrRedo(true); });
    undoAct_->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    redoAct_ = make(str::MenuRedo, std::nullopt, std::nullopt, [this] { undoOrRedo(false); });
    redoAct_->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});

    serialAct_ = make(str::MenuSerial, std::nullopt, std::nullopt, [this] { showSerialDialog(); });
    uploadAct_ = make(str::MenuUpload, str::TipUpload, ToolIcon::Upload, [this] { startUpload(); });
    downloadAct_ =
        make(str::MenuDownload, str::TipDownload, ToolIcon::Download, [this] { startDownload(); });
    mappingAct_ = make(str::MenuCalculateMapping, str::TipCalculateMapping,
                       ToolIcon::CalculateMapping, [this] { view_->calculateMapping(); });
    exportAct_ = make(str::MenuExportExcel, str::TipExportExcel, ToolIcon::ExportExcel,
                      [this] { exportExcel(); });
    conflictAct_ = make(str::MenuConflict, str::TipConflict, ToolIcon::Conflict,
                        [this] { showConflictDetection(); });
    edsAct_ = make(str::MenuCreateEds, std::nullopt, std::nullopt, [this] { createEds(); });
    plcTagsAct_ = make(str::MenuExportPlcTags, std::nullopt, std::nullopt, [this] {
        if (const std::string path = exportPlcTags(*session_, prompts_, this); !path.empty()) {
            showSaved(path);
        }
    });
    ioMapAct_ = make(str::MenuPrintIoMap, std::nullopt, std::nullopt, [this] {
        if (const std::string path = printIoMap(*session_, prompts_); !path.empty()) {
            showSaved(path);
        }
    });
    monitorAct_ =
        make(str::MenuMonitor, str::MonitorTitle, ToolIcon::Monitor, [this] { showMonitor(); });
    monitorAct_->setShortcut(QKeySequence(QStringLiteral("Ctrl+M")));

    promptInfoAct_ = infoBar_->toggleViewAction();
    promptInfoAct_->setText(ui(str::MenuPromptInformation));
    compareGatewayAct_ = make(str::MenuCompareGateway, std::nullopt, std::nullopt,
                              [this] { startCompareWithGateway(); });
    compareFileAct_ =
        make(str::MenuCompareFile, std::nullopt, std::nullopt, [this] { compareWithFile(); });

    contentAct_ = make(str::MenuContent, std::nullopt, std::nullopt, [this] { showHelpContent(); });
    contentAct_->setShortcut(QKeySequence(Qt::Key_F1));
    aboutAct_ = make(str::MenuAbout, std::nullopt, std::nullopt, [this] { showAbout(); });
    aboutAct_->setStatusTip(ui(str::PromptAbout));

    // Ctrl+P is the standard print of the view; this program prints nothing, so the key is
    // taken and ignored rather than reaching a widget.
    printAct_ = new QAction(this);
    printAct_->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    addAction(printAct_);
}

void MainWindow::createMenus() {
    QMenu* file = menuBar()->addMenu(ui(str::MenuFile));
    file->addAction(newAct_);
    file->addAction(openAct_);
    file->addAction(saveAct_);
    file->addAction(saveAsAct_);
    file->addAction(ioMapAct_);
    file->addSeparator();
    recentMenu_ = file;
    for (int i = 0; i < RecentFiles::kSize; ++i) {
        auto* a = new QAction(this);
        a->setVisible(false);
        a->setStatusTip(ui(str::PromptRecent));
        connect(a, &QAction::triggered, this,
                [this, a] { openRecent(a->data().toByteArray().toStdString()); });
        recentActions_ << a;
        file->addAction(a);
    }
    file->addSeparator();
    file->addAction(exitAct_);

    QMenu* edit = menuBar()->addMenu(ui(str::MenuEdit));
    edit->addAction(addNodeAct_);
    edit->addAction(deleteNodeAct_);
    edit->addAction(addCommandAct_);
    edit->addAction(deleteCommandAct_);
    edit->addAction(copyNodeAct_);
    edit->addAction(pasteNodeAct_);
    edit->addAction(addNodeFromDeviceAct_);
    edit->addSeparator();
    edit->addAction(undoAct_);
    edit->addAction(redoAct_);

    QMenu* tools = menuBar()->addMenu(ui(str::MenuTools));
    tools->addAction(serialAct_);
    tools->addAction(uploadAct_);
    tools->addAction(downloadAct_);
    tools->addAction(monitorAct_);
    tools->addAction(mappingAct_);
    tools->addAction(exportAct_);
    tools->addAction(conflictAct_);
    tools->addAction(edsAct_);
    tools->addAction(plcTagsAct_);
    tools->addAction(promptInfoAct_);
    tools->addSeparator();
    tools->addAction(deviceLibraryAct_);
    tools->addSeparator();
    tools->addAction(compareGatewayAct_);
    tools->addAction(compareFileAct_);

    QMenu* help = menuBar()->addMenu(ui(str::MenuHelp));
    help->addAction(contentAct_);
    help->addAction(aboutAct_);
}

void MainWindow::createToolBar() {
    toolBar_ = addToolBar(QStringLiteral("Standard"));
    toolBar_->setObjectName(QStringLiteral("toolbar"));
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->addAction(newAct_);
    toolBar_->addAction(openAct_);
    toolBar_->addAction(saveAct_);
    toolBar_->addSeparator();
    toolBar_->addAction(addNodeAct_);
    toolBar_->addAction(deleteNodeAct_);
    toolBar_->addAction(addCommandAct_);
    toolBar_->addAction(deleteCommandAct_);
    toolBar_->addSeparator();
    toolBar_->addAction(uploadAct_);
    toolBar_->addAction(downloadAct_);
    toolBar_->addAction(mappingAct_);
    toolBar_->addAction(conflictAct_);
    toolBar_->addAction(exportAct_);
    toolBar_->addAction(monitorAct_);
}

void MainWindow::createStatusBar() {
    statusBar()->showMessage(ui(str::StatusReady));
    // The lock-key panes are shown as labels; key lock states are not readable portably.
    for (const str::UiText& text : {str::StatusCapital, str::MonitorColumnData, str::StatusRoll}) {
        auto* pane = new QLabel(ui(text), this);
        pane->setEnabled(false);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setMinimumWidth(60);
        pane->setAlignment(Qt::AlignCenter);
        statusBar()->addPermanentWidget(pane);
    }
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& m) {
        if (m.isEmpty()) {
            statusBar()->showMessage(ui(str::StatusReady));
        }
    });
}

QAction* MainWindow::action(const QString& text) const {
    for (QAction* a : findChildren<QAction*>()) {
        if (a->text() == text || a->toolTip() == text) {
            return a;
        }
    }
    if (promptInfoAct_->text() == text) {
        return promptInfoAct_;
    }
    return nullptr;
}

void MainWindow::updateEditActions() {
    // Every change of the configuration (or another document) passes here.
    markComparisonsOutOfDate(false);
    const EditFlags f = view_->editFlags();
    addNodeAct_->setEnabled(f.addNode);
    deleteNodeAct_->setEnabled(f.deleteNode);
    addCommandAct_->setEnabled(f.addCommand);
    deleteCommandAct_->setEnabled(f.deleteCommand);
    copyNodeAct_->setEnabled(f.copyNode);
    pasteNodeAct_->setEnabled(f.pasteNode);
    edsAct_->setEnabled(!session_->configuration().isMaster());
    addNodeFromDeviceAct_->setEnabled(session_->configuration().isMaster());
    const EditStep* undo = session_->undoStep();
    const EditStep* redo = session_->redoStep();
    undoAct_->setEnabled(undo != nullptr);
    undoAct_->setStatusTip(undo != nullptr ? ui(str::StatusUndo) + core(undo->name) : QString());
    redoAct_->setEnabled(redo != nullptr);
    redoAct_->setStatusTip(redo != nullptr ? ui(str::StatusRedo) + core(redo->name) : QString());
}

void MainWindow::undoOrRedo(bool undo) {
    // A cell being typed in is committed first, so its text is one more step, never lost.
    view_->commitOpenEditor();
    const EditStep* step = undo ? session_->undoStep() : session_->redoStep();
    if (step == nullptr) {
        return;
    }
    const QString message = ui(undo ? str::StatusUndo : str::StatusRedo) + core(step->name);
    if (undo) {
        view_->undo();
    } else {
        view_->redo();
    }
    updateEditActions();
    statusBar()->showMessage(message);
}

void MainWindow::updateRecentMenu() {
    const QStringList files = RecentFiles().load();
    const std::vector<std::string> paths = RecentFiles().paths();
    for (int i = 0; i < recentActions_.size(); ++i) {
        QAction* a = recentActions_[i];
        if (i < files.size()) {
            a->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(files[i]));
            a->setData(QByteArray::fromStdString(paths[static_cast<std::size_t>(i)]));
            a->setVisible(true);
        } else {
            a->setVisible(false);
        }
    }
    // With no entry the platform shows one greyed "Recent" item.
    if (files.isEmpty()) {
        recentActions_.front()->setText(ui(str::MenuRecent));
        recentActions_.front()->setVisible(true);
        recentActions_.front()->setEnabled(false);
    } else {
        recentActions_.front()->setEnabled(true);
    }
}

void MainWindow::openRecent(const std::string& path) {
    doc_->openRecent(path); // a file that opens joins the list through the document
    updateRecentMenu();
}

void MainWindow::showCaption() {
    setWindowTitle(doc_->caption());
    setWindowModified(session_->document().ModifiedFlag());
}

MainWindow::StartResult MainWindow::start(const QString& commandLineFile) {
    const QByteArray path = QFile::encodeName(commandLineFile);
    return startPath({path.constData(), static_cast<std::size_t>(path.size())});
}

MainWindow::StartResult MainWindow::startPath(const std::string& commandLineFile) {
    std::string full = commandLineFile;
    if (!full.empty() && full.front() != '/') {
        const QByteArray here = QFile::encodeName(QDir::currentPath());
        full = here.toStdString() + '/' + full;
    }
    switch (doc_->startUp(full)) {
    case DocStatus::EndProgram:
        return StartResult::Cancelled;
    case DocStatus::Failed:
        return StartResult::FileNotLoaded;
    default:
        break;
    }
    return StartResult::Running;
}

QString MainWindow::helpFilePath() const {
    return QString::fromStdString(dataFile_(localizedName(str::HelpFileName)));
}

void MainWindow::setUrlOpener(UrlOpener opener) {
    urlOpener_ = std::move(opener);
}

void MainWindow::openFile(const QString& path, const std::function<void()>& failed) {
    if (urlOpener_) {
        if (!urlOpener_(QUrl::fromLocalFile(path))) {
            failed();
        }
        return;
    }
    openOnDesktop(path, this, failed);
}

void MainWindow::showSaved(const std::string& path) {
    statusBar()->showMessage(
        ui(str::StatusSaved).arg(QFile::decodeName(QByteArray::fromStdString(path))));
}

void MainWindow::showHelpContent() {
    const QString path = helpFilePath();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        prompts_.tell(ui(str::HelpFileMissing).arg(path));
        return;
    }
    file.close();
    openFile(path, [this, path] { showHelpInWindow(path); });
}

void MainWindow::showHelpInWindow(const QString& path) {
    prompts_.tell(ui(str::HelpNotOpened).arg(path));
    if (helpWindow_ == nullptr) {
        helpWindow_ = new QDialog(this);
        helpWindow_->setObjectName(QStringLiteral("helpWindow"));
        helpWindow_->setWindowTitle(ui(str::HelpWindowTitle));
        auto* browser = new QTextBrowser(helpWindow_);
        browser->setObjectName(QStringLiteral("helpBrowser"));
        browser->setOpenExternalLinks(true);
        auto* layout = new QVBoxLayout(helpWindow_);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(browser);
        helpWindow_->resize(800, 600);
    }
    helpWindow_->findChild<QTextBrowser*>()->setSource(QUrl::fromLocalFile(path));
    helpWindow_->show();
    helpWindow_->raise();
}

namespace {
// A save dialog offering one file type.
FileDialogRequest saveDialog(const str::UiText& filter, const char* extension) {
    FileDialogRequest r;
    r.kind = FileDialogKind::SaveAs;
    r.save = true;
    r.defaultSuffix = extension;
    r.filters.emplace_back(Message::plain(ui(filter).toStdString()), std::string("*.") + extension);
    return r;
}

// The user-visible message, with the reason on a second line when there is one.
Message withReason(const Message& message, const Message& reason) {
    return reason.empty() ? message : Message(str::TwoLines, message, reason);
}
} // namespace

void MainWindow::createEds() {
    // The menu item is greyed for a master; a stray trigger must not write a meaningless file.
    if (!edsAvailable(session_->configuration())) {
        return;
    }
    const std::optional<std::string> path =
        prompts_.chooseFile(saveDialog(str::FilterEds, str::ExtensionEds));
    if (!path) {
        return;
    }
    const EdsTemplatePaths templates{dataFile_(kEdsTemplate1File), dataFile_(kEdsTemplate2File)};
    const EdsOutcome outcome = createEdsFile(session_->configuration(), *path, templates, now_());
    if (outcome.result != EdsResult::Ok) {
        prompts_.tell(withReason(outcome.message, outcome.detail));
        return;
    }
    showSaved(*path);
}

void MainWindow::exportExcel() {
    const std::optional<std::string> path =
        prompts_.chooseFile(saveDialog(str::FilterExcel, str::ExtensionExcel));
    if (!path) {
        return;
    }
    const GatewayConfiguration& cfg = session_->configuration();
    const WorkbookOutcome outcome =
        exportWorkbook(cfg, dataFile_(workbookTemplateName(cfg.ConfigType)), *path);
    if (outcome.result != WorkbookResult::Ok) {
        prompts_.tell(withReason(outcome.message, outcome.detail));
        return;
    }
    showSaved(*path);
    // The user goes on in the spreadsheet program with the finished workbook.
    const QString saved = QFile::decodeName(QByteArray::fromStdString(*path));
    openFile(saved, [this, saved] { prompts_.tell(ui(str::WorkbookNotOpened).arg(saved)); });
}

void MainWindow::showAbout() {
    AboutDialog about(this);
    about.exec();
}

bool MainWindow::showSerialDialog() {
    std::vector<std::string> ports;
    platform::EnumerateSerialPorts(ports);
    SerialDialog dialog(*serial_, ports, this);
    return dialog.exec() == QDialog::Accepted;
}

void MainWindow::showMonitor() {
    if (monitor_ != nullptr) {
        monitor_->raise();
        monitor_->activateWindow();
        return;
    }
    if (runner_->running()) {
        // The port is opened exclusively: a running transfer holds it.
        prompts_.tell(transferResultText(TransferResult::OpenFailed, {}, str::OpenBusy));
        return;
    }
    if (!serial_->configured) {
        // The monitor opens whatever the answer: the flag is set either way.
        showSerialDialog();
        serial_->configured = true;
    }
    // A port index outside the list (the ports may have changed) opens nothing; the window
    // then stays empty, as for any port that cannot be opened.
    // The PLC start addresses are the tag export's settings; absent means not set.
    QSettings settings = profile();
    PlcStarts starts;
    for (auto [key, start] : {std::pair{"PlcTags/InputStart", &starts.input},
                              std::pair{"PlcTags/OutputStart", &starts.output}}) {
        bool ok = false;
        const int value = settings.value(QLatin1String(key)).toInt(&ok);
        if (ok) {
            *start = value;
        }
    }
    std::vector<DeviceMessage> problems; // a library file that no longer reads names no objects
    auto* window =
        new MonitorWindow(serial_->selectedPort(), monitorPorts_, prompts_, this, session_.get(),
                          listDevices(platform::deviceLibraryFolder(), problems), starts);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &MonitorWindow::contentSaved, this, [this](const QString& path) {
        statusBar()->showMessage(ui(str::StatusSaved).arg(path));
    });
    monitor_ = window;
    window->show();
}

MonitorWindow* MainWindow::monitorWindow() const {
    return monitor_.data();
}

bool MainWindow::monitorHoldsPort() {
    if (monitor_ == nullptr) {
        return false;
    }
    prompts_.tell(ui(str::MonitorUsesPort));
    return true;
}

void MainWindow::showDeviceLibrary() {
    DeviceLibraryDialog dialog(platform::deviceLibraryFolder(), prompts_, this);
    dialog.exec();
}

void MainWindow::showConflictDetection() {
    ConflictDialog dialog(session_->configuration(), this);
    dialog.exec();
}

bool MainWindow::serialReady() {
    if (!serial_->configured && !showSerialDialog()) {
        return false;
    }
    return !serial_->ports.empty();
}

void MainWindow::setTransferCommandsEnabled(bool enabled) {
    downloadAct_->setEnabled(enabled);
    uploadAct_->setEnabled(enabled);
}

void MainWindow::startDownload() {
    if (monitorHoldsPort()) {
        return;
    }
    if (runner_->running()) {
        // Only a slave download leaves the commands enabled; its port is taken.
        prompts_.tell(transferResultText(TransferResult::OpenFailed, {}, str::OpenBusy));
        return;
    }
    if (!serialReady()) {
        return;
    }
    const GatewayConfiguration& cfg = session_->configuration();
    if (cfg.ConfigType != kCanopenMaster && cfg.ConfigType != kCanopenSlave) {
        return;
    }
    if (cfg.isMaster()) {
        setTransferCommandsEnabled(false);
    }
    transferGeneration_ = session_->documentGeneration();
    transferPort_ = serial_->selectedPort();
    runner_->start(TransferKind::Download, serial_->ports, serial_->portIndex);
}

void MainWindow::startUpload() {
    if (monitorHoldsPort()) {
        return;
    }
    if (runner_->running()) {
        prompts_.tell(transferResultText(TransferResult::OpenFailed, {}, str::OpenBusy));
        return;
    }
    // An upload replaces the configuration: unsaved edits are offered for saving first.
    if (!doc_->saveChangesFirst(SaveReason::Upload) || !serialReady()) {
        return;
    }
    setTransferCommandsEnabled(false);
    transferGeneration_ = session_->documentGeneration();
    transferPort_ = serial_->selectedPort();
    runner_->start(TransferKind::Upload, serial_->ports, serial_->portIndex);
}

void MainWindow::startCompareWithGateway() {
    if (monitorHoldsPort()) {
        return;
    }
    if (runner_->running()) {
        prompts_.tell(transferResultText(TransferResult::OpenFailed, {}, str::OpenBusy));
        return;
    }
    if (!serialReady()) {
        return;
    }
    setTransferCommandsEnabled(false);
    transferGeneration_ = session_->documentGeneration();
    transferPort_ = serial_->selectedPort();
    runner_->start(TransferKind::Compare, serial_->ports, serial_->portIndex);
}

void MainWindow::compareWithFile() {
    const std::optional<std::string> path =
        prompts_.chooseFile(fileDialogRequest(FileDialogKind::Open));
    if (!path) {
        return;
    }
    compareFile(*path);
}

void MainWindow::compareFile(const std::string& path) {
    FileSide file;
    Message error;
    if (!readFileSide(path, file, error)) {
        prompts_.tell(error);
        return;
    }
    if (!file.warning.empty()) {
        prompts_.tell(file.warning);
    }
    comparedFile_ = path;
    showComparison(false, torvane::compareWithFile(session_->configuration(), nullptr, file),
                   QFile::decodeName(QByteArray::fromStdString(path)));
}

CompareWindow* MainWindow::compareWindow(bool withGateway) const {
    return compareWindows_[withGateway ? 1 : 0].data();
}

void MainWindow::markComparisonsOutOfDate(bool always) {
    for (int k = 0; k < 2; ++k) {
        CompareWindow* window = compareWindows_[k].data();
        if (window != nullptr && !window->outOfDate() &&
            (always || compareChanges_[k] != session_->changeCount())) {
            window->setOutOfDate(true);
        }
    }
}

void MainWindow::showComparison(bool withGateway, const CompareResult& result,
                                const QString& theirs) {
    const int k = withGateway ? 1 : 0;
    const std::string& file = session_->document().CurrentFilePath();
    const QString ours = file.empty() ? core(str::UntitledDocument)
                                      : QFile::decodeName(QByteArray::fromStdString(file));
    compareChanges_[k] = session_->changeCount();
    if (CompareWindow* open = compareWindows_[k].data()) {
        open->showComparison(result, ours, theirs);
        open->raise();
        open->activateWindow();
        return;
    }
    auto* window =
        new CompareWindow(withGateway ? str::CompareGatewayTitle : str::CompareFileTitle,
                          withGateway ? str::CompareGatewayColumn : str::CompareFileColumn, this);
    window->setObjectName("compareWindow");
    compareWindows_[k] = window;
    connect(window, &CompareWindow::compareAgainRequested, this, [this, withGateway] {
        view_->commitOpenEditor();
        if (withGateway) {
            startCompareWithGateway();
        } else {
            compareFile(comparedFile_);
        }
    });
    connect(window, &CompareWindow::differenceActivated, this, [this](PlaceKind kind, int at) {
        TreeSelection wanted;
        switch (kind) {
        case PlaceKind::Profibus:
            wanted.kind = TreeItemKind::Profibus;
            break;
        case PlaceKind::Canopen:
            wanted = canopenSideItem(session_->configuration());
            break;
        case PlaceKind::Node:
            wanted = {TreeItemKind::Node, at, {}};
            break;
        case PlaceKind::Command:
            wanted = {TreeItemKind::Command, at, {}};
            break;
        case PlaceKind::Configuration:
            return;
        }
        view_->commitOpenEditor();
        view_->select(wanted);
    });
    window->showComparison(result, ours, theirs);
    window->show();
}

void MainWindow::applyTransferOutcome(TransferKind kind, const TransferOutcome& outcome) {
    if (session_->documentGeneration() != transferGeneration_) {
        return; // another document was opened meanwhile; the result belongs to the old one
    }
    if (kind == TransferKind::Compare) {
        // The open configuration never changes: the uploaded one is only compared.
        if (outcome.resultCode == static_cast<int>(TransferResult::Success)) {
            const CompareResult result =
                compareWithUpload(session_->configuration(), outcome.configuration, outcome.format,
                                  outcome.sdoOptionsRead);
            if (result.equal()) {
                session_->noteGatewayEqual();
            }
            const QString when =
                QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            showComparison(
                true, result,
                ui(str::CompareGatewaySource).arg(QString::fromStdString(transferPort_), when));
        }
        return;
    }
    if (kind == TransferKind::Download) {
        if (outcome.started) {
            markComparisonsOutOfDate(true);
        }
        const DownloadApplied applied = session_->applyDownload(outcome, view_->selection());
        if (applied.commandsCut) {
            view_->commitOpenEditor();
            view_->rebuildTree(false);
        } else {
            view_->refreshPage();
        }
        if (!applied.faultCommands.empty() || applied.faultNode >= 0) {
            view_->commitOpenEditor();
            view_->selectFault(applied.faultCommands, applied.faultNode);
        }
        return;
    }
    if (outcome.configurationChanged) {
        // Only a complete upload replaces the document; a failed one leaves it as it was.
        doc_->adoptUpload(outcome.configuration);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (runner_ != nullptr && runner_->running()) {
        // Ending now would cut the gateway off in the middle of a configuration.
        prompts_.tell(ui(str::TransferRunningOnClose));
        event->ignore();
        return;
    }
    if (monitor_ != nullptr && !monitor_->close()) {
        event->ignore(); // the monitor stays: the test outputs are answered first
        return;
    }
    view_->commitOpenEditor();
    if (doc_->canClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

} // namespace torvane::gui
