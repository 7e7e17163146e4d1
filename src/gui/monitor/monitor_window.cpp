#include "gui/monitor/monitor_window.h"

#include "comm/serial_link.h"
#include "gui/app/translation.h"
#include "gui/editor/prompts.h"
#include "model/atomic_file.h"
#include "monitor/monitor_session.h"

#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

namespace torvane::gui {

// Owns the port and the engine on the worker thread; everything here runs on that thread.
class MonitorWorker : public QObject {
public:
    MonitorWorker(std::string device, SerialPortFactory makePort, MonitorWindow* window)
        : device_(std::move(device)), makePort_(std::move(makePort)), window_(window) {}

    void start() {
        port_ = makePort_();
        session_ = std::make_unique<MonitorSession>(*port_, clock_);
        Message reason;
        // A port that cannot be opened is not reported: the list simply stays empty.
        session_->open(device_, reason);
        timer_ = new QTimer(this);
        timer_->setInterval(500);
        connect(timer_, &QTimer::timeout, this, [this] { tick(); });
        timer_->start();
    }

    void stop() {
        if (timer_ != nullptr) {
            timer_->stop();
        }
        if (port_) {
            port_->close();
        }
    }

    void setStartText(const std::string& text) { startText_ = text; }
    void setDisplaying(bool on) { session_->engine().setDisplaying(on); }

    void transmit(const std::string& start, const std::string& data) {
        const Message message = session_->engine().transmit(start, data);
        if (!message.empty()) {
            deliver({}, {message});
        }
    }

private:
    void tick() {
        const QTime t = QTime::currentTime();
        MonitorTick out = session_->tick({t.hour(), t.minute(), t.second()}, startText_);
        if (!out.rows.empty() || !out.messages.empty()) {
            deliver(std::move(out.rows), std::move(out.messages));
        }
    }

    void deliver(std::vector<MonitorRow> rows, std::vector<Message> messages) {
        MonitorWindow* w = window_;
        QMetaObject::invokeMethod(
            w,
            [w, rows = std::move(rows), messages = std::move(messages)] {
                w->showTick(rows, messages);
            },
            Qt::QueuedConnection);
    }

    std::string device_;
    SerialPortFactory makePort_;
    MonitorWindow* window_;
    SteadyClock clock_;
    std::unique_ptr<SerialPort> port_;
    std::unique_ptr<MonitorSession> session_;
    QTimer* timer_ = nullptr;
    std::string startText_;
};

namespace {

QLabel* note(const str::UiText& text) {
    auto* l = new QLabel(ui(text));
    l->setStyleSheet("color: #555");
    return l;
}

} // namespace

MonitorWindow::MonitorWindow(const std::string& device, SerialPortFactory makePort,
                             Prompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts) {
    setObjectName("MonitorWindow");
    setWindowTitle(ui(str::MonitorTitle));

    list_ = new QTableWidget(0, 3, this);
    list_->setHorizontalHeaderLabels(
        {ui(str::MonitorColumnStatus), ui(str::MonitorColumnTime), ui(str::MonitorColumnData)});
    list_->setColumnWidth(0, 80);
    list_->setColumnWidth(1, 80);
    list_->setColumnWidth(2, 550);
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    list_->setShowGrid(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setMinimumSize(740, 300);
    connect(list_, &QTableWidget::cellClicked, this, [this](int row, int) {
        if (QTableWidgetItem* item = list_->item(row, 2)) {
            inputData_->setPlainText(item->text());
        }
    });

    inputData_ = new QPlainTextEdit(this);
    inputData_->setReadOnly(true);
    inputData_->setMaximumHeight(70);

    startEdit_ = new QLineEdit(this);
    dataEdit_ = new QLineEdit(this);
    transmitButton_ = new QPushButton(ui(str::MonitorTransmit), this);
    auto* output = new QGroupBox(ui(str::MonitorOutputGroup), this);
    auto* og = new QGridLayout(output);
    og->addWidget(new QLabel(ui(str::MonitorStartLabel)), 0, 0);
    og->addWidget(startEdit_, 0, 1);
    og->addWidget(note(str::MonitorStartNote), 0, 2);
    og->addWidget(new QLabel(ui(str::MonitorDataLabel)), 1, 0);
    og->addWidget(dataEdit_, 1, 1);
    og->addWidget(note(str::MonitorDataNote), 1, 2);
    og->addWidget(transmitButton_, 0, 3, 2, 1);
    og->setColumnStretch(1, 1);

    saveButton_ = new QPushButton(ui(str::MonitorSaveContent), this);
    displayButton_ = new QPushButton(ui(str::MonitorStopDisplaying), this);
    auto* exitButton = new QPushButton(ui(str::MonitorExit), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveButton_);
    buttons->addWidget(displayButton_);
    buttons->addWidget(exitButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addWidget(new QLabel(ui(str::MonitorInputDataLabel)));
    layout->addWidget(inputData_);
    layout->addWidget(output);
    layout->addLayout(buttons);

    connect(transmitButton_, &QPushButton::clicked, this, &MonitorWindow::transmit);
    connect(displayButton_, &QPushButton::clicked, this, &MonitorWindow::toggleDisplay);
    connect(saveButton_, &QPushButton::clicked, this, &MonitorWindow::saveContent);
    connect(exitButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(this, &QDialog::finished, this, [this] {
        stopWorker();
        // Closing while recording keeps what was recorded, as "Stop Saving" would.
        if (saving_) {
            stopSaving();
        }
    });

    worker_ = new MonitorWorker(device, std::move(makePort), this);
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    connect(startEdit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        QMetaObject::invokeMethod(
            worker_, [w = worker_, t = text.toStdString()] { w->setStartText(t); },
            Qt::QueuedConnection);
    });
    thread_.start();
    QMetaObject::invokeMethod(
        worker_, [w = worker_] { w->start(); }, Qt::QueuedConnection);
}

MonitorWindow::~MonitorWindow() {
    stopWorker();
}

void MonitorWindow::stopWorker() {
    if (!thread_.isRunning()) {
        return;
    }
    QMetaObject::invokeMethod(
        worker_, [w = worker_] { w->stop(); }, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
}

void MonitorWindow::showTick(const std::vector<MonitorRow>& rows,
                             const std::vector<Message>& messages) {
    for (const MonitorRow& r : rows) {
        rows_.push_back(r);
        const int n = list_->rowCount();
        list_->insertRow(n);
        // The status is shown translated; the saved log keeps the row as the engine made it.
        list_->setItem(n, 0, new QTableWidgetItem(core(r.Status)));
        list_->setItem(n, 1, new QTableWidgetItem(QString::fromStdString(r.Time)));
        list_->setItem(n, 2, new QTableWidgetItem(QString::fromStdString(r.Data)));
    }
    if (!rows.empty()) {
        list_->scrollToBottom();
    }
    for (const Message& m : messages) {
        prompts_.tell(m);
    }
}

void MonitorWindow::transmit() {
    QMetaObject::invokeMethod(
        worker_,
        [w = worker_, s = startEdit_->text().toStdString(), d = dataEdit_->text().toStdString()] {
            w->transmit(s, d);
        },
        Qt::QueuedConnection);
}

void MonitorWindow::toggleDisplay() {
    displaying_ = !displaying_;
    displayButton_->setText(
        ui(displaying_ ? str::MonitorStopDisplaying : str::MonitorContinueDisplay));
    QMetaObject::invokeMethod(
        worker_, [w = worker_, on = displaying_] { w->setDisplaying(on); }, Qt::QueuedConnection);
}

void MonitorWindow::saveContent() {
    if (!saving_) {
        FileDialogRequest request;
        request.kind = FileDialogKind::SaveAs;
        request.save = true;
        request.defaultSuffix = "txt";
        request.filters = {{Message::plain(ui(str::MonitorLogFilter).toStdString()), "*.txt"}};
        const std::optional<std::string> path = prompts_.chooseFile(request);
        if (path && !path->empty()) {
            savePath_ = *path;
            saving_ = true;
            saveButton_->setText(ui(str::MonitorStopSaving));
        }
        return;
    }
    stopSaving();
}

void MonitorWindow::stopSaving() {
    Message error;
    if (writeFileAtomically(savePath_, monitorLogText(rows_), error)) {
        emit contentSaved(QFile::decodeName(QByteArray::fromStdString(savePath_)));
    } else {
        prompts_.tell(error);
    }
    saving_ = false;
    saveButton_->setText(ui(str::MonitorSaveContent));
}

} // namespace torvane::gui
