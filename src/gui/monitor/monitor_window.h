#pragma once

#include "comm/serial_port.h"
#include "monitor/monitor_engine.h"

#include <QDialog>
#include <QThread>
#include <memory>
#include <string>
#include <vector>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace torvane::gui {

class Prompts;
class MonitorWorker;

// The I/O monitor ("Monitor"). The port is read and answered on a worker thread, so the
// 50-250 ms read waits of every 500 ms tick never freeze the window; the dialog only shows
// rows and forwards the buttons.
class MonitorWindow : public QDialog {
    Q_OBJECT
public:
    // `device` is the selected port; `makePort` creates the port the worker opens.
    MonitorWindow(const std::string& device, SerialPortFactory makePort, Prompts& prompts,
                  QWidget* parent = nullptr);
    ~MonitorWindow() override;

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

    Prompts& prompts_;
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
};

} // namespace torvane::gui
