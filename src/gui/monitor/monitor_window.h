#pragma once

#include "comm/serial_port.h"
#include "monitor/command_monitor.h"
#include "monitor/monitor_engine.h"
#include "monitor/monitor_recording.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QThread>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace torvane {
class ConfigSession;
}

namespace torvane::gui {

// What one tick brought besides the rows: the frames, the output that went out, and the mode.
struct MonitorReport {
    std::vector<MonitorFrame> frames;
    std::optional<SentOutput> sent;
    MonitorMode mode = MonitorMode::Undecided;
    int outputLength = -1;
};

class Prompts;
class MonitorWorker;

// The I/O monitor ("Monitor"), modeless. The port is read and answered on a worker thread, so
// the 50-250 ms read waits of every 500 ms tick never freeze the window; the dialog only shows
// rows and forwards the buttons. Beside the raw list, the Commands view shows the frames decoded
// by the session's configuration.
class MonitorWindow : public QDialog {
    Q_OBJECT
public:
    // `device` is the selected port; `makePort` creates the port the worker opens. Without a
    // session the Commands view stays empty.
    MonitorWindow(const std::string& device, SerialPortFactory makePort, Prompts& prompts,
                  QWidget* parent = nullptr, const ConfigSession* session = nullptr,
                  std::vector<LibraryDevice> devices = {}, PlcStarts plcStarts = {});
    ~MonitorWindow() override;

    QTreeWidget* commandsView() const { return commandsView_; }
    QLabel* banner() const { return banner_; }
    QLineEdit* valueEdit() const { return valueEdit_; }
    QPushButton* commandTransmitButton() const { return commandTransmit_; }
    QLabel* outputsLabel() const { return outputsLabel_; }
    QPushButton* recordButton() const { return recordButton_; }
    const CommandMonitor& commands() const { return commands_; }

    // The session's configuration or its state towards the gateway changed: decode again.
    void configurationChanged();
    // The frames of one tick, delivered on the GUI thread.
    void showReport(const MonitorReport& report);
    // Closing asks whether the test outputs go back to 00 first.
    void done(int result) override;

    QTableWidget* list() const { return list_; }
    QLineEdit* startEdit() const { return startEdit_; }
    QLineEdit* dataEdit() const { return dataEdit_; }
    QPushButton* transmitButton() const { return transmitButton_; }
    QPushButton* saveButton() const { return saveButton_; }
    QPushButton* displayButton() const { return displayButton_; }
    QPlainTextEdit* inputData() const { return inputData_; }

    // Rows and messages of one tick, delivered on the GUI thread.
    void showTick(const std::vector<MonitorRow>& rows, const std::vector<Message>& messages);

signals:
    // "Stop Saving" wrote the log to `path`.
    void contentSaved(const QString& path);

private:
    void transmit();
    void toggleDisplay();
    void saveContent();
    void stopSaving();
    void stopWorker();
    void rebuildCommands();
    void showCommandRow(std::size_t i);
    void refreshHighlights();
    void updateTransmitState();
    void transmitCommand();
    void showSelectedBytes();
    void toggleRecording();
    void stopRecording();
    void queueOutputs(const std::vector<SentOutput>& outputs);
    void finishReset(bool sent);
    std::optional<std::size_t> selectedRow() const;
    LocalStamp localNow() const;

    Prompts& prompts_;
    const ConfigSession* session_;
    std::vector<LibraryDevice> devices_;
    PlcStarts plcStarts_;
    CommandMonitor commands_;
    OutputsThatStay stay_;
    MonitorRecording recording_;
    MonitorMode mode_ = MonitorMode::Undecided;
    int outputLength_ = -1;
    bool wholeImageTold_ = false;
    bool resetting_ = false;
    bool closeNow_ = false;
    int seenChanges_ = -1;
    int closeResult_ = 0;
    QElapsedTimer clock_;
    std::vector<QTreeWidgetItem*> items_;
    std::vector<bool> highlighted_;
    std::string lastInputText_;
    std::string lastOutputText_;
    QThread thread_;
    MonitorWorker* worker_ = nullptr;
    std::vector<MonitorRow> rows_;
    bool displaying_ = true;
    bool saving_ = false;
    std::string savePath_;

    QTableWidget* list_ = nullptr;
    QPlainTextEdit* inputData_ = nullptr;
    QLineEdit* startEdit_ = nullptr;
    QLineEdit* dataEdit_ = nullptr;
    QPushButton* transmitButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* displayButton_ = nullptr;
    QTreeWidget* commandsView_ = nullptr;
    QLabel* banner_ = nullptr;
    QLineEdit* valueEdit_ = nullptr;
    QPushButton* commandTransmit_ = nullptr;
    QLabel* transmitNote_ = nullptr;
    QLabel* outputsLabel_ = nullptr;
    QPushButton* recordButton_ = nullptr;
    QCheckBox* recordRaw_ = nullptr;
    QTimer* highlightTimer_ = nullptr;
    QTimer* resetTimer_ = nullptr;
};

} // namespace torvane::gui
