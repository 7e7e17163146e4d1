#include "gui/app/demo_gateway.h"

#include "gui/app/gui_texts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <mutex>

namespace torvane::gui {
namespace {

std::mutex g_demoMutex;
std::string g_demoDevice;

void setDemoDevice(const std::string& device) {
    const std::lock_guard<std::mutex> lock(g_demoMutex);
    g_demoDevice = device;
}

} // namespace

std::string portDisplayName(const std::string& device) {
    const std::lock_guard<std::mutex> lock(g_demoMutex);
    return !g_demoDevice.empty() && device == g_demoDevice ? str::DemoGatewayName : device;
}

DemoGateway::DemoGateway() = default;

DemoGateway::~DemoGateway() {
    stop();
}

long long DemoGateway::processId() const {
    return process_ ? process_->processId() : 0;
}

bool DemoGateway::start(QString& error) {
    stop();
    const QString program =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("torvane-gatewaysim"));
    if (!QFileInfo(program).isExecutable()) {
        error = QStringLiteral("%1 is missing").arg(program);
        return false;
    }
    process_ = std::make_unique<QProcess>();
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // The addressed I/O frames show input and output rows in the monitor.
    process_->start(program, {QStringLiteral("--model"), QStringLiteral("master"),
                              QStringLiteral("--monitor"), QStringLiteral("addressed")});
    // The simulator prints its pseudo-terminal on the first line once it serves it.
    if (!process_->waitForStarted(5000)) {
        error = process_->errorString();
        process_.reset();
        return false;
    }
    while (!process_->canReadLine() && process_->waitForReadyRead(5000)) {
    }
    const QString line = QString::fromLocal8Bit(process_->readLine()).trimmed();
    if (line.isEmpty()) {
        error = QStringLiteral("torvane-gatewaysim did not name its line");
        stop();
        return false;
    }
    device_ = line.toStdString();
    setDemoDevice(device_);
    // Every port list of the program includes the extra ports named here.
    QByteArray extra = qgetenv("TORVANE_EXTRA_PORTS");
    if (!extra.isEmpty()) {
        extra.append(':');
    }
    extra.append(line.toLocal8Bit());
    qputenv("TORVANE_EXTRA_PORTS", extra);
    return true;
}

void DemoGateway::stop() {
    if (!process_) {
        return;
    }
    if (process_->state() != QProcess::NotRunning) {
        process_->terminate();
        if (!process_->waitForFinished(3000)) {
            process_->kill();
            process_->waitForFinished(3000);
        }
    }
    process_.reset();
    setDemoDevice({});
    device_.clear();
}

} // namespace torvane::gui
