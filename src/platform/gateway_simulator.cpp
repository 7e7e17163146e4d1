#include "platform/gateway_simulator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace torvane::platform {

namespace {

constexpr int kWaitMs = 5000;
constexpr int kStopWaitMs = 3000;

} // namespace

GatewaySimulator::GatewaySimulator() = default;

GatewaySimulator::~GatewaySimulator() {
    stop();
}

QString GatewaySimulator::besideThisProgram() {
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral("torvane-gatewaysim"));
}

long long GatewaySimulator::processId() const {
    return process_ ? process_->processId() : 0;
}

bool GatewaySimulator::start(const QString& program, const QStringList& args, QString& error) {
    stop();
    if (!QFileInfo(program).isExecutable()) {
        error = QStringLiteral("%1 is missing").arg(program);
        return false;
    }
    process_ = std::make_unique<QProcess>();
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_->start(program, args);
    if (!process_->waitForStarted(kWaitMs)) {
        error = process_->errorString();
        process_.reset();
        return false;
    }
    while (!process_->canReadLine() && process_->waitForReadyRead(kWaitMs)) {
    }
    const QString line = QString::fromLocal8Bit(process_->readLine()).trimmed();
    if (line.isEmpty()) {
        error = QStringLiteral("torvane-gatewaysim did not name its line");
        stop();
        return false;
    }
    device_ = line.toStdString();
    return true;
}

void GatewaySimulator::stop() {
    if (!process_) {
        return;
    }
    if (process_->state() != QProcess::NotRunning) {
        process_->terminate();
        if (!process_->waitForFinished(kStopWaitMs)) {
            process_->kill();
            process_->waitForFinished(kStopWaitMs);
        }
    }
    process_.reset();
    device_.clear();
}

} // namespace torvane::platform
