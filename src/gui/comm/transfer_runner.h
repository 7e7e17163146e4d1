#pragma once

#include "editor/config_session.h"
#include "transfer/transfer_job.h"

#include <QObject>
#include <QPointer>
#include <atomic>
#include <functional>
#include <string>
#include <vector>

class QThread;

namespace torvane::gui {

class ProgressWindow;
class Prompts;

// The format question of a download; the real one shows "Download hint:", tests answer it.
class TransferQuestions {
public:
    virtual ~TransferQuestions() = default;
    virtual FormatChoice askDownloadFormat() = 0;
};

// Compare runs an upload whose configuration is only compared, never applied.
enum class TransferKind { Download, Upload, Compare };

// Runs one transfer job on a worker thread over a copy of the session's configuration. The
// worker never touches a widget or the session: progress, questions and the result come back to the
// GUI thread, where `onFinished` applies the outcome before the one message box is shown; `idle`
// follows it.
class TransferRunner : public QObject {
    Q_OBJECT
public:
    using FinishedHandler = std::function<void(TransferKind, const TransferOutcome&)>;
    using GuiJob = std::function<void()>;

    // `session` must outlive the runner.
    TransferRunner(const ConfigSession& session, ProgressWindow& wait, Prompts& prompts,
                   TransferQuestions& questions, SerialPortFactory makePort,
                   QObject* parent = nullptr);
    ~TransferRunner() override;

    void setFinishedHandler(FinishedHandler handler) { onFinished_ = std::move(handler); }

    // Starts a transfer of the session's configuration over `ports[portIndex]`. False while one
    // runs.
    bool start(TransferKind kind, const std::vector<std::string>& ports, int portIndex);
    bool running() const { return thread_ != nullptr; }

signals:
    // The transfer ended and its message was shown.
    void idle();
    // Emitted on the worker thread; the progress popup follows them on the GUI thread.
    void progressStarted(int steps);
    void progressAdvanced(int steps);
    void progressEnded();
    // Emitted on the worker thread, which blocks until the job has run on the GUI thread.
    void guiJobRequested(GuiJob* job);

private:
    void finished(TransferKind kind, const TransferOutcome& outcome);

    const ConfigSession& session_;
    ProgressWindow& wait_;
    Prompts& prompts_;
    TransferQuestions& questions_;
    SerialPortFactory makePort_;
    FinishedHandler onFinished_;
    QThread* thread_ = nullptr;
    std::atomic<bool> shuttingDown_{false};
};

} // namespace torvane::gui
