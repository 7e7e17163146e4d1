#include "gui/comm/transfer_runner.h"

#include "gui/app/translation.h"
#include "gui/comm/progress_window.h"
#include "gui/editor/prompts.h"
#include "mapping/predownload_checks.h"

#include <QCoreApplication>
#include <QThread>

namespace torvane::gui {
namespace {

// Calls `fn` on the GUI thread and waits for its answer. While the runner shuts down the GUI
// thread may itself be waiting for the worker, so `fallback` is answered instead.
template <typename T, typename Fn>
T askOnGuiThread(TransferRunner* runner, const std::atomic<bool>& shuttingDown, T fallback, Fn fn) {
    if (shuttingDown) {
        return fallback;
    }
    T answer = fallback;
    TransferRunner::GuiJob job = [&] {
        if (!shuttingDown) {
            answer = fn();
        }
    };
    emit runner->guiJobRequested(&job);
    return answer;
}

class WorkerBridge final : public ProgressObserver, public FormatQuestion, public CycleQuestioner {
public:
    WorkerBridge(TransferRunner* runner, Prompts& prompts, TransferQuestions& questions,
                 const std::atomic<bool>& shuttingDown)
        : runner_(runner), prompts_(prompts), questions_(questions), shuttingDown_(shuttingDown) {}

    // Signals cross to the GUI thread queued; the popup is never touched from here.
    void progressRange(int steps) override { emit runner_->progressStarted(steps); }
    void progressStep(int steps) override { emit runner_->progressAdvanced(steps); }
    void progressFinished() override { emit runner_->progressEnded(); }
    FormatChoice askDownloadFormat() override {
        return askOnGuiThread(runner_, shuttingDown_, FormatChoice::Cancel,
                              [this] { return questions_.askDownloadFormat(); });
    }
    bool askToContinue(const CycleQuestion& question) override {
        return askOnGuiThread(runner_, shuttingDown_, false,
                              [this, &question] { return prompts_.askOkCancel(question.text); });
    }

private:
    TransferRunner* runner_;
    Prompts& prompts_;
    TransferQuestions& questions_;
    const std::atomic<bool>& shuttingDown_;
};

} // namespace

TransferRunner::TransferRunner(const ConfigSession& session, ProgressWindow& wait, Prompts& prompts,
                               TransferQuestions& questions, SerialPortFactory makePort,
                               QObject* parent)
    : QObject(parent), session_(session), wait_(wait), prompts_(prompts), questions_(questions),
      makePort_(std::move(makePort)) {
    connect(this, &TransferRunner::progressStarted, &wait_, &ProgressWindow::start,
            Qt::QueuedConnection);
    connect(this, &TransferRunner::progressAdvanced, &wait_, &ProgressWindow::advance,
            Qt::QueuedConnection);
    connect(this, &TransferRunner::progressEnded, &wait_, &ProgressWindow::finish,
            Qt::QueuedConnection);
    connect(
        this, &TransferRunner::guiJobRequested, this, [](GuiJob* job) { (*job)(); },
        Qt::BlockingQueuedConnection);
}

TransferRunner::~TransferRunner() {
    if (thread_ == nullptr) {
        return;
    }
    shuttingDown_ = true;
    // A question may be queued to this thread right now; let it through (it answers the
    // fallback) while waiting for the transfer to end.
    while (!thread_->wait(10)) {
        QCoreApplication::processEvents();
    }
    delete thread_;
}

bool TransferRunner::start(TransferKind kind, const std::vector<std::string>& ports,
                           int portIndex) {
    if (thread_ != nullptr) {
        return false;
    }
    const bool known = portIndex >= 0 && static_cast<std::size_t>(portIndex) < ports.size();
    const QString port =
        known ? QString::fromStdString(ports[static_cast<std::size_t>(portIndex)]) : QString();
    switch (kind) {
    case TransferKind::Download:
        wait_.setTask(ui(str::WaitTitleDownload), ui(str::WaitLineDownload), port);
        break;
    case TransferKind::Upload:
        wait_.setTask(ui(str::WaitTitleUpload), ui(str::WaitLineUpload), port);
        break;
    case TransferKind::Compare:
        wait_.setTask(ui(str::CompareGatewayTitle), ui(str::WaitLineUpload), port);
        break;
    }
    TransferRequest request;
    request.configuration = session_.configuration(); // the worker's own copy: editing goes on
    request.oldEditionLoaded = session_.document().OldEditionLoaded();
    request.ports = ports;
    request.portIndex = portIndex;
    thread_ = QThread::create([this, kind, request = std::move(request)]() mutable {
        WorkerBridge bridge(this, prompts_, questions_, shuttingDown_);
        TransferServices services;
        services.openPort = makePort_;
        services.progress = &bridge;
        services.formatQuestion = &bridge;
        services.cycleQuestion = &bridge;
        TransferOutcome outcome = kind == TransferKind::Download
                                      ? runDownload(std::move(request), services)
                                      : runUpload(std::move(request), services);
        if (!shuttingDown_) {
            QMetaObject::invokeMethod(
                this, [this, kind, outcome = std::move(outcome)] { finished(kind, outcome); },
                Qt::QueuedConnection);
        }
    });
    thread_->start();
    return true;
}

void TransferRunner::finished(TransferKind kind, const TransferOutcome& outcome) {
    thread_->wait();
    wait_.finish();
    if (onFinished_) {
        onFinished_(kind, outcome);
    }
    // The user sees the result before the commands are offered again; a comparison that
    // uploaded shows its window instead.
    const bool compared = kind == TransferKind::Compare &&
                          outcome.resultCode == static_cast<int>(TransferResult::Success);
    if (!outcome.text.empty() && !compared) {
        prompts_.tell(transferMessage(outcome));
    }
    delete thread_;
    thread_ = nullptr;
    emit idle();
}

} // namespace torvane::gui
