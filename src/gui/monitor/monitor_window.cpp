#include "gui/monitor/monitor_window.h"

#include "comm/serial_link.h"
#include "editor/config_session.h"
#include "gui/app/translation.h"
#include "gui/editor/prompts.h"
#include "model/atomic_file.h"
#include "model/strings.h"
#include "monitor/monitor_session.h"

#include <QCheckBox>
#include <QDateTime>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTextBlock>
#include <QTime>
#include <QTimer>
#include <QTreeWidget>
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
            deliver({}, {message}, {});
        }
    }

    void queue(const std::vector<SentOutput>& outputs) {
        for (const SentOutput& o : outputs) {
            session_->queueOutput(o.start, o.bytes);
        }
    }

private:
    void tick() {
        const QTime t = QTime::currentTime();
        MonitorTick out = session_->tick({t.hour(), t.minute(), t.second()}, startText_);
        MonitorReport report{std::move(out.frames), std::move(out.sent), session_->engine().mode(),
                             session_->engine().outputLength()};
        if (!out.rows.empty() || !out.messages.empty() || !report.frames.empty() || report.sent ||
            report.mode != lastMode_) {
            lastMode_ = report.mode;
            deliver(std::move(out.rows), std::move(out.messages), std::move(report));
        }
    }

    void deliver(std::vector<MonitorRow> rows, std::vector<Message> messages,
                 MonitorReport report) {
        MonitorWindow* w = window_;
        QMetaObject::invokeMethod(
            w,
            [w, rows = std::move(rows), messages = std::move(messages),
             report = std::move(report)] {
                w->showTick(rows, messages);
                w->showReport(report);
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
    MonitorMode lastMode_ = MonitorMode::Undecided;
};

namespace {

QLabel* note(const str::UiText& text) {
    auto* l = new QLabel(ui(text));
    l->setStyleSheet("color: #555");
    return l;
}

enum Column {
    ColNode,
    ColCommand,
    ColTarget,
    ColDescription,
    ColBytes,
    ColPlc,
    ColRaw,
    ColUnsigned,
    ColSigned,
    ColChanged,
    ColumnCount
};

const QColor kRecentColour(255, 236, 140);

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// An object's place in its command's bytes: a byte range, or byte.bit for one that is not
// whole bytes.
QString objectPlace(const CommandRow& row, const ObjectRow& o) {
    const qint64 first = static_cast<qint64>(row.address) + o.bitOffset / 8;
    if (o.bitOffset % 8 == 0 && o.bits % 8 == 0) {
        return o.bits == 8 ? QString::number(first)
                           : QStringLiteral("%1..%2").arg(first).arg(first + o.bits / 8 - 1);
    }
    return QStringLiteral("%1.%2").arg(first).arg(o.bitOffset % 8);
}

} // namespace

MonitorWindow::MonitorWindow(const std::string& device, SerialPortFactory makePort,
                             Prompts& prompts, QWidget* parent, const ConfigSession* session,
                             std::vector<LibraryDevice> devices, PlcStarts plcStarts)
    : QDialog(parent), prompts_(prompts), session_(session), devices_(std::move(devices)),
      plcStarts_(plcStarts) {
    setObjectName("MonitorWindow");
    clock_.start();
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
            inputData_->setExtraSelections({});
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

    // The Commands view.
    banner_ = new QLabel(core(str::MonitorConfigurationDiffers), this);
    banner_->setObjectName("monitorBanner");
    banner_->setWordWrap(true);
    banner_->setStyleSheet("background: #fff3b0; color: #6b4e00; padding: 4px;");
    commandsView_ = new QTreeWidget(this);
    commandsView_->setObjectName("monitorCommands");
    commandsView_->setColumnCount(ColumnCount);
    commandsView_->setHeaderLabels({ui(str::MonitorColumnNode), ui(str::MonitorColumnCommand),
                                    ui(str::MonitorColumnTarget), ui(str::MonitorColumnDescription),
                                    ui(str::MonitorColumnBytes), ui(str::MonitorColumnPlc),
                                    ui(str::MonitorColumnRaw), ui(str::MonitorColumnUnsigned),
                                    ui(str::MonitorColumnSigned), ui(str::MonitorColumnChanged)});
    commandsView_->setRootIsDecorated(true);
    commandsView_->setUniformRowHeights(true);
    commandsView_->setAllColumnsShowFocus(true);
    commandsView_->setMinimumWidth(560);
    connect(commandsView_, &QTreeWidget::currentItemChanged, this, [this] {
        showSelectedBytes();
        updateTransmitState();
    });
    valueEdit_ = new QLineEdit(this);
    valueEdit_->setObjectName("monitorValue");
    commandTransmit_ = new QPushButton(ui(str::MonitorTransmit), this);
    commandTransmit_->setObjectName("monitorCommandTransmit");
    transmitNote_ = new QLabel(this);
    transmitNote_->setWordWrap(true);
    transmitNote_->setStyleSheet("color: #555");
    outputsLabel_ = new QLabel(ui(str::MonitorNoOutputsSet), this);
    recordButton_ = new QPushButton(ui(str::MonitorRecord), this);
    recordButton_->setObjectName("monitorRecord");
    recordRaw_ = new QCheckBox(ui(str::MonitorRecordRaw), this);
    auto* valueRow = new QHBoxLayout;
    valueRow->addWidget(new QLabel(ui(str::MonitorValueLabel)));
    valueRow->addWidget(valueEdit_, 1);
    valueRow->addWidget(note(str::MonitorValueNote));
    valueRow->addWidget(commandTransmit_);
    auto* recordRow = new QHBoxLayout;
    recordRow->addWidget(outputsLabel_, 1);
    recordRow->addWidget(recordRaw_);
    recordRow->addWidget(recordButton_);
    auto* commandsPane = new QWidget(this);
    auto* cl = new QVBoxLayout(commandsPane);
    cl->setContentsMargins(0, 0, 0, 0);
    cl->addWidget(new QLabel(ui(str::MonitorCommands)));
    cl->addWidget(banner_);
    cl->addWidget(commandsView_, 1);
    cl->addLayout(valueRow);
    cl->addWidget(transmitNote_);
    cl->addLayout(recordRow);

    auto* rawPane = new QWidget(this);
    auto* rl = new QVBoxLayout(rawPane);
    rl->setContentsMargins(0, 0, 0, 0);
    rl->addWidget(list_, 1);
    rl->addWidget(new QLabel(ui(str::MonitorInputDataLabel)));
    rl->addWidget(inputData_);
    rl->addWidget(output);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(rawPane);
    splitter->addWidget(commandsPane);
    splitter->setChildrenCollapsible(false);
    splitter->setStretchFactor(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);

    connect(commandTransmit_, &QPushButton::clicked, this, &MonitorWindow::transmitCommand);
    connect(valueEdit_, &QLineEdit::returnPressed, this, &MonitorWindow::transmitCommand);
    connect(recordButton_, &QPushButton::clicked, this, &MonitorWindow::toggleRecording);
    highlightTimer_ = new QTimer(this);
    highlightTimer_->setInterval(200);
    connect(highlightTimer_, &QTimer::timeout, this, &MonitorWindow::refreshHighlights);
    highlightTimer_->start();
    resetTimer_ = new QTimer(this);
    resetTimer_->setSingleShot(true);
    resetTimer_->setInterval(kResetWaitMs);
    connect(resetTimer_, &QTimer::timeout, this, [this] { finishReset(false); });
    resize(1640, 640);

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
        stopRecording();
    });

    configurationChanged();
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
    Message ignored;
    recording_.close(ignored);
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
    if (displaying_) {
        for (std::size_t i = 0; i < items_.size(); ++i) {
            showCommandRow(i);
        }
    }
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

LocalStamp MonitorWindow::localNow() const {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec()};
}

void MonitorWindow::configurationChanged() {
    if (session_ != nullptr) {
        seenChanges_ = session_->changeCount();
        commands_.setConfiguration(session_->configuration(), devices_, plcStarts_);
    }
    banner_->setVisible(session_ != nullptr && !session_->matchesGateway());
    rebuildCommands();
    updateTransmitState();
}

std::optional<std::size_t> MonitorWindow::selectedRow() const {
    QTreeWidgetItem* item = commandsView_->currentItem();
    if (item != nullptr && item->parent() != nullptr) {
        item = item->parent();
    }
    if (item == nullptr) {
        return std::nullopt;
    }
    const auto row = static_cast<std::size_t>(item->data(0, Qt::UserRole).toInt());
    return row < commands_.rows().size() ? std::optional(row) : std::nullopt;
}

void MonitorWindow::rebuildCommands() {
    const std::optional<std::size_t> was = selectedRow();
    int keep = -1;
    if (was && *was < items_.size()) {
        keep = items_[*was]->data(ColNode, Qt::UserRole + 1).toInt();
    }
    commandsView_->clear();
    items_.clear();
    highlighted_.assign(commands_.rows().size(), false);
    const auto rows = commands_.rows();
    QTreeWidgetItem* current = nullptr;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CommandRow& r = rows[i];
        auto* item = new QTreeWidgetItem(commandsView_);
        item->setData(0, Qt::UserRole, static_cast<int>(i));
        item->setData(ColNode, Qt::UserRole + 1, r.position);
        item->setText(ColNode, text(r.node));
        item->setText(ColCommand, QString::fromLatin1(commandType(r.kind).label));
        item->setText(ColTarget, text(r.target));
        item->setText(ColDescription, text(r.description));
        item->setText(ColBytes, text(r.byteRange));
        item->setText(ColPlc, text(r.plcAddress));
        for (const ObjectRow& o : r.objects) {
            auto* child = new QTreeWidgetItem(item);
            child->setText(ColCommand, text(o.typeName));
            child->setText(ColDescription, text(o.name));
            child->setText(ColBytes, objectPlace(r, o));
        }
        items_.push_back(item);
        showCommandRow(i);
        if (r.position == keep) {
            current = item;
        }
    }
    commandsView_->expandAll();
    for (int c = 0; c < ColRaw; ++c) {
        commandsView_->resizeColumnToContents(c);
    }
    // The value columns are sized for the values to come, not for the empty ones of now.
    const QFontMetrics fm = commandsView_->fontMetrics();
    const int pad = fm.horizontalAdvance(QLatin1Char('0')) * 3;
    const std::pair<int, const char*> widths[] = {{ColRaw, "00 00 00 00"},
                                                  {ColUnsigned, "4294967295"},
                                                  {ColSigned, "-2147483648"},
                                                  {ColChanged, "00:00:00.000"}};
    for (const auto& [column, sample] : widths) {
        commandsView_->setColumnWidth(
            column, std::max(fm.horizontalAdvance(QLatin1String(sample)),
                             fm.horizontalAdvance(commandsView_->headerItem()->text(column))) +
                        pad);
    }
    if (current != nullptr) {
        commandsView_->setCurrentItem(current);
    }
}

void MonitorWindow::showCommandRow(std::size_t i) {
    const CommandRow& r = commands_.rows()[i];
    QTreeWidgetItem* item = items_[i];
    item->setText(ColRaw, r.beyond ? ui(str::MonitorBeyondBuffer) : text(r.rawText));
    item->setText(ColUnsigned, text(r.unsignedText));
    item->setText(ColSigned, text(r.signedText));
    item->setText(ColChanged, text(r.changedAt));
    for (std::size_t k = 0; k < r.objects.size(); ++k) {
        const ObjectRow& o = r.objects[k];
        const bool isSigned = o.typeClass == DataTypeClass::Signed;
        QTreeWidgetItem* child = item->child(static_cast<int>(k));
        child->setText(ColUnsigned, isSigned ? QString() : text(o.value));
        child->setText(ColSigned, isSigned ? text(o.value) : QString());
    }
}

void MonitorWindow::refreshHighlights() {
    // Every change of the session's configuration (steps, Undo, New, Open) moves its count.
    if (session_ != nullptr && session_->changeCount() != seenChanges_) {
        configurationChanged();
    }
    const long long now = clock_.elapsed();
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const bool lit = displaying_ && commands_.recentlyChanged(i, now);
        if (lit == highlighted_[i]) {
            continue;
        }
        highlighted_[i] = lit;
        for (int c = 0; c < ColumnCount; ++c) {
            items_[i]->setBackground(c, lit ? QBrush(kRecentColour) : QBrush());
        }
    }
}

void MonitorWindow::showReport(const MonitorReport& report) {
    const long long now = clock_.elapsed();
    const LocalStamp stamp = localNow();
    bool selectedBuffer = false;
    const std::optional<std::size_t> selected = selectedRow();
    for (const MonitorFrame& frame : report.frames) {
        const std::vector<std::size_t> changed = commands_.onFrame(frame, stamp, now);
        recording_.addLine(stamp, commands_.rows(), frame, now);
        if (!displaying_) {
            continue;
        }
        std::string hex = FormatHex(frame.bytes);
        if (!hex.empty()) {
            hex.pop_back();
        }
        (frame.output ? lastOutputText_ : lastInputText_) = std::move(hex);
        selectedBuffer =
            selectedBuffer || (selected && commands_.rows()[*selected].output == frame.output);
        for (const std::size_t i : changed) {
            showCommandRow(i);
        }
    }
    if (!report.frames.empty()) {
        refreshHighlights();
    }
    if (selectedBuffer) {
        showSelectedBytes();
    }
    if (report.sent) {
        stay_.noteSent(*report.sent);
        commands_.noteSent(*report.sent, report.mode);
        outputsLabel_->setText(stay_.any() ? ui(str::MonitorOutputsSet).arg(text(stay_.text()))
                                           : ui(str::MonitorNoOutputsSet));
    }
    if (report.mode != mode_ || report.outputLength != outputLength_) {
        mode_ = report.mode;
        outputLength_ = report.outputLength;
        updateTransmitState();
    }
    if (resetting_ && !stay_.any()) {
        finishReset(true);
    }
}

void MonitorWindow::updateTransmitState() {
    const bool matches = session_ != nullptr && session_->matchesGateway();
    const Message block = commandTransmitBlock(mode_, outputLength_, matches);
    const std::optional<std::size_t> row = selectedRow();
    QString reason;
    if (resetting_) {
        reason = ui(str::MonitorResetting);
    } else if (!block.empty()) {
        reason = core(block);
    } else if (!row || !commands_.rows()[*row].output) {
        reason = ui(str::MonitorChooseOutput);
    }
    commandTransmit_->setEnabled(reason.isEmpty());
    transmitNote_->setText(reason);
}

void MonitorWindow::transmitCommand() {
    const std::optional<std::size_t> row = selectedRow();
    if (!commandTransmit_->isEnabled() || !row) {
        return;
    }
    if (mode_ == MonitorMode::FixedImage && !wholeImageTold_) {
        if (!prompts_.askOkCancel(str::MonitorWholeImage)) {
            return;
        }
        wholeImageTold_ = true;
    }
    const CommandTransmit t =
        commands_.transmit(*row, valueEdit_->text().trimmed().toStdString(), mode_, outputLength_);
    if (!t.refusal.empty()) {
        prompts_.tell(t.refusal);
        return;
    }
    queueOutputs({{t.start, t.bytes}});
}

void MonitorWindow::queueOutputs(const std::vector<SentOutput>& outputs) {
    QMetaObject::invokeMethod(
        worker_, [w = worker_, outputs] { w->queue(outputs); }, Qt::QueuedConnection);
}

void MonitorWindow::showSelectedBytes() {
    const std::optional<std::size_t> row = selectedRow();
    if (!row) {
        return;
    }
    const CommandRow& r = commands_.rows()[*row];
    const std::string& hex = r.output ? lastOutputText_ : lastInputText_;
    inputData_->setPlainText(text(hex));
    const auto first = static_cast<std::size_t>(r.address) * 3;
    if (first >= hex.size()) {
        inputData_->setExtraSelections({});
        return;
    }
    const std::size_t last =
        std::min(hex.size(), (static_cast<std::size_t>(r.address) + r.bytes) * 3 - 1);
    QTextEdit::ExtraSelection selection;
    selection.cursor = QTextCursor(inputData_->document());
    selection.cursor.setPosition(static_cast<int>(first));
    selection.cursor.setPosition(static_cast<int>(last), QTextCursor::KeepAnchor);
    selection.format.setBackground(QColor(150, 200, 255));
    inputData_->setExtraSelections({selection});
}

void MonitorWindow::toggleRecording() {
    if (recording_.isOpen()) {
        stopRecording();
        return;
    }
    FileDialogRequest request;
    request.kind = FileDialogKind::SaveAs;
    request.save = true;
    request.defaultSuffix = "csv";
    request.filters = {{Message::plain(ui(str::MonitorRecordFilter).toStdString()), "*.csv"}};
    const std::optional<std::string> path = prompts_.chooseFile(request);
    if (!path || path->empty()) {
        return;
    }
    Message error;
    if (!recording_.open(*path, commands_.rows(), recordRaw_->isChecked(), error)) {
        prompts_.tell(error);
        return;
    }
    recordButton_->setText(ui(str::MonitorStopRecording));
    recordRaw_->setEnabled(false);
}

void MonitorWindow::stopRecording() {
    if (!recording_.isOpen()) {
        return;
    }
    const std::string path = recording_.path();
    Message error;
    if (recording_.close(error)) {
        emit contentSaved(QFile::decodeName(QByteArray::fromStdString(path)));
    } else {
        prompts_.tell(error);
    }
    recordButton_->setText(ui(str::MonitorRecord));
    recordRaw_->setEnabled(true);
}

void MonitorWindow::done(int result) {
    if (closeNow_ || !stay_.any()) {
        QDialog::done(result);
        return;
    }
    if (resetting_) {
        return; // the reset is under way; it closes the window when it ends
    }
    switch (prompts_.askYesNoCancel(str::MonitorOutputsStay)) {
    case SaveAnswer::Cancel:
        return;
    case SaveAnswer::No:
        closeNow_ = true;
        QDialog::done(result);
        return;
    case SaveAnswer::Yes:
        break;
    }
    resetting_ = true;
    closeResult_ = result;
    queueOutputs(stay_.resetOutputs(mode_, outputLength_));
    resetTimer_->start();
    updateTransmitState();
}

void MonitorWindow::finishReset(bool sent) {
    if (!resetting_) {
        return;
    }
    resetting_ = false;
    resetTimer_->stop();
    if (!sent) {
        prompts_.tell(str::MonitorResetNotSent);
    }
    closeNow_ = true;
    QDialog::done(closeResult_);
}

} // namespace torvane::gui
