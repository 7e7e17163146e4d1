#pragma once

#include "comm/serial_port.h"
#include "compare/compare_sources.h"
#include "editor/config_session.h"
#include "export/eds_generator.h"
#include "gui/app/gui_texts.h"
#include "gui/comm/transfer_runner.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QToolBar;
class QUrl;

namespace torvane::gui {

class ProgressWindow;
class CompareWindow;
class ConfigDocument;
class ConfigView;
class InfoBar;
class Prompts;
class MonitorWindow;
struct SerialDialogState;

// Where the recent-file list lives: QSettings("Local AppWizard-Generated Applications",
// "Torvane"), group "Recent File List", keys File1..File4. A path is kept as text; one whose
// name is not text in the locale's encoding is kept as its bytes.
class RecentFiles {
public:
    static constexpr int kSize = 4;
    // The entries as they are shown, most recent first.
    QStringList load() const;
    // The entries as the file system names them, most recent first.
    std::vector<std::string> paths() const;
    // Puts `path` first (removing an older entry of it) and keeps four.
    void add(const std::string& path) const;
};

// The main window: menus, toolbar, status bar, the "MY Control" bar and the view.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `prompts` answers every question and message box (the real dialogs or a test script);
    // it must outlive the window.
    explicit MainWindow(Prompts& prompts, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The live configuration, its document and editor state, shared by every window.
    ConfigSession& session() const { return *session_; }
    ConfigView* view() const { return view_; }
    ConfigDocument* document() const { return doc_; }
    InfoBar* infoBar() const { return infoBar_; }
    QToolBar* toolBar() const { return toolBar_; }
    Prompts& prompts() const { return prompts_; }

    // The action behind a menu item or toolbar button, by its menu text or tooltip
    // (e.g. "Add Node(&N)" or "Monitor"); nullptr when there is none.
    QAction* action(const QString& text) const;

    enum class StartResult {
        Running,       // the document is ready; the window may be shown
        Cancelled,     // the configuration type was cancelled: end quietly
        FileNotLoaded, // the command line's file did not load (reported): end with a failure
    };
    // Starts the document: the file named on the command line, or New with the
    // configuration-type question.
    StartResult start(const QString& commandLineFile);
    // The same for a path as the file system names it (which need not be text).
    StartResult startPath(const std::string& commandLineFile);

    // Help -> Content (F1): opens the help file, or tells that it does not exist. When the
    // desktop cannot open it, tells so and shows it in the program's own help window.
    void showHelpContent();
    // The program's own help window once it was needed, else nullptr.
    QDialog* helpWindow() const { return helpWindow_; }
    void showAbout();
    // The help-file path: the data file str::HelpFileName as the lookup finds it.
    QString helpFilePath() const;

    // Tools -> "Create EDS File": asks for the file and writes the slave's EDS there; the status
    // bar names the file.
    void createEds();
    // Tools -> "Export EXCEL": asks for the file, fills the template, names the file in the status
    // bar and opens the workbook.
    void exportExcel();

    // Where data files (templates, help) are found; platform::findDataFile unless replaced.
    using DataFileLookup = std::function<std::string(const std::string& name)>;
    void setDataFileLookup(DataFileLookup lookup) { dataFile_ = std::move(lookup); }
    // How a finished workbook or the help file is shown: the desktop's default program
    // (openOnDesktop) unless replaced, e.g. by a test that must launch nothing. A replacement
    // answers at once: false when nothing could show the file.
    using UrlOpener = std::function<bool(const QUrl& url)>;
    void setUrlOpener(UrlOpener opener);
    // The time an EDS file is stamped with; the local clock unless replaced.
    using LocalClock = std::function<LocalTime()>;
    void setLocalClock(LocalClock clock) { now_ = std::move(clock); }

    // Tools -> Serial Connection: the serial dialog, modal. False when it was not closed with OK.
    bool showSerialDialog();
    // Tools -> Download and Upload: start a transfer on a worker thread and return at once.
    void startDownload();
    void startUpload();
    // Tools -> "Compare with Gateway(&G)": an upload on the worker thread, only compared.
    void startCompareWithGateway();
    // Tools -> "Compare with File(&F)": a chosen .chg or .xml file, every field.
    void compareWithFile();
    // The comparison window of a kind while it is open, else nullptr; each kind has one.
    CompareWindow* compareWindow(bool withGateway) const;
    // The serial settings of this run (port list, selected index, configured flag).
    SerialDialogState& serialSettings() const { return *serial_; }
    // Who answers "Download hint:"; nullptr shows the real dialog.
    void setTransferQuestions(TransferQuestions* questions) { questionsOverride_ = questions; }
    TransferRunner* transfers() const { return runner_; }
    ProgressWindow* waitDialog() const { return wait_; }
    // Toolbar "Monitor": the serial dialog first when the port was never configured, then the
    // monitor window, modeless (raised when it is open already).
    void showMonitor();
    // The monitor holds the serial port: says so and returns true while it is open.
    bool monitorHoldsPort();
    // The monitor window while it is open, else nullptr.
    MonitorWindow* monitorWindow() const;
    // Creates the ports the monitor opens; the platform's ports unless a test sets its own.
    void setMonitorPorts(SerialPortFactory factory) { monitorPorts_ = std::move(factory); }
    // Tools -> "Mapping Address Conflict Detection": the conflict window over the live
    // configuration, modal; it changes nothing.
    void showConflictDetection();
    // Tools -> "Device Library…".
    void showDeviceLibrary();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void updateEditActions();
    void updateRecentMenu();
    void openRecent(const std::string& path);
    void showCaption();
    bool serialReady();
    void setTransferCommandsEnabled(bool enabled);
    void applyTransferOutcome(TransferKind kind, const TransferOutcome& outcome);
    // Shows `result` in the one window of its kind; `theirs` names the other side.
    void showComparison(bool withGateway, const CompareResult& result, const QString& theirs);
    void compareFile(const std::string& path);
    // Marks every comparison out of date that was made before the configuration last changed;
    // all of them when `always` (a download changed the gateway's side).
    void markComparisonsOutOfDate(bool always);
    // Opens `path` on the desktop; `failed` runs when nothing could show it.
    void openFile(const QString& path, const std::function<void()>& failed);
    void showSaved(const std::string& path);
    // The desktop could not show the guide at `path`: says so, then shows it in a window here.
    void showHelpInWindow(const QString& path);
    void undoOrRedo(bool undo);

    Prompts& prompts_;
    DataFileLookup dataFile_;
    UrlOpener urlOpener_; // a test's replacement; empty: the desktop
    LocalClock now_;
    std::unique_ptr<ConfigSession> session_;
    ConfigView* view_ = nullptr;
    ConfigDocument* doc_ = nullptr;
    InfoBar* infoBar_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QList<QAction*> recentActions_;
    QLabel* capsPane_ = nullptr;
    QLabel* numPane_ = nullptr;
    QLabel* scrollPane_ = nullptr;

    QAction* newAct_ = nullptr;
    QAction* openAct_ = nullptr;
    QAction* saveAct_ = nullptr;
    QAction* saveAsAct_ = nullptr;
    QAction* exitAct_ = nullptr;
    QAction* addNodeAct_ = nullptr;
    QAction* deleteNodeAct_ = nullptr;
    QAction* addCommandAct_ = nullptr;
    QAction* deleteCommandAct_ = nullptr;
    QAction* copyNodeAct_ = nullptr;
    QAction* pasteNodeAct_ = nullptr;
    QAction* addNodeFromDeviceAct_ = nullptr;
    QAction* deviceLibraryAct_ = nullptr;
    QAction* undoAct_ = nullptr;
    QAction* redoAct_ = nullptr;
    QAction* serialAct_ = nullptr;
    QAction* uploadAct_ = nullptr;
    QAction* downloadAct_ = nullptr;
    QAction* mappingAct_ = nullptr;
    QAction* exportAct_ = nullptr;
    QAction* conflictAct_ = nullptr;
    QAction* edsAct_ = nullptr;
    QAction* plcTagsAct_ = nullptr;
    QAction* ioMapAct_ = nullptr;
    QAction* promptInfoAct_ = nullptr;
    QAction* compareGatewayAct_ = nullptr;
    QAction* compareFileAct_ = nullptr;
    QAction* contentAct_ = nullptr;
    QAction* aboutAct_ = nullptr;
    QAction* monitorAct_ = nullptr;
    QAction* printAct_ = nullptr;

    std::unique_ptr<SerialDialogState> serial_;
    std::unique_ptr<TransferQuestions> dialogQuestions_;
    TransferQuestions* questionsOverride_ = nullptr;
    ProgressWindow* wait_ = nullptr;
    TransferRunner* runner_ = nullptr;
    int transferGeneration_ = 0; // the session's document when the running transfer started
    SerialPortFactory monitorPorts_;
    QPointer<MonitorWindow> monitor_;
    QDialog* helpWindow_ = nullptr;
    std::string transferPort_; // the port of the running or last transfer
    // The two comparison windows (file, gateway) and the session's change count each was made at.
    QPointer<CompareWindow> compareWindows_[2];
    int compareChanges_[2] = {0, 0};
    std::string comparedFile_;
};

} // namespace torvane::gui
