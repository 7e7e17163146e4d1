#pragma once

// torvane-gatewaysim on a pseudo-terminal for the GUI tests: started beside the test program,
// listed through TORVANE_EXTRA_PORTS, and stopped on every path (the destructor, and the kernel
// when the test process itself dies).

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/prctl.h>

namespace torvane::gui::test {

class GatewaySim {
public:
    // Starts the simulator with `args` and a frame log in `logPath`; device() is empty when it
    // did not start.
    GatewaySim(const QStringList& args, const QString& logPath) : log_(logPath) {
        QFile::remove(log_);
        proc_.setProgram(binDir() + QStringLiteral("/torvane-gatewaysim"));
        proc_.setArguments(QStringList{QStringLiteral("--log"), log_} + args);
        proc_.setProcessChannelMode(QProcess::SeparateChannels);
        proc_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        proc_.start();
        if (!proc_.waitForStarted(5000)) {
            return;
        }
        while (!proc_.canReadLine() && proc_.waitForReadyRead(5000)) {
        }
        const QString line = QString::fromLocal8Bit(proc_.readLine()).trimmed();
        if (line.startsWith('/')) {
            device_ = line;
            ::setenv("TORVANE_EXTRA_PORTS", device_.toLocal8Bit().constData(), 1);
        }
    }
    ~GatewaySim() {
        if (proc_.state() != QProcess::NotRunning) {
            proc_.terminate();
            if (!proc_.waitForFinished(5000)) {
                proc_.kill();
                proc_.waitForFinished(5000);
            }
        }
        ::unsetenv("TORVANE_EXTRA_PORTS");
    }
    GatewaySim(const GatewaySim&) = delete;
    GatewaySim& operator=(const GatewaySim&) = delete;

    const QString& device() const { return device_; }

    // The frames the simulator received, as hex texts ("FE 00 FE"), in order.
    QStringList received() const {
        QFile f(log_);
        QStringList frames;
        if (!f.open(QIODevice::ReadOnly)) {
            return frames;
        }
        for (const QByteArray& raw : f.readAll().split('\n')) {
            const QString line = QString::fromLatin1(raw);
            const qsizetype at = line.indexOf(QStringLiteral(" RX #"));
            if (at >= 0) {
                const QString rest = line.mid(at + 5);
                frames << rest.mid(rest.indexOf(' ') + 1).trimmed();
            }
        }
        return frames;
    }

    static QString binDir() { return QCoreApplication::applicationDirPath(); }

private:
    QProcess proc_;
    QString log_;
    QString device_;
};

} // namespace torvane::gui::test
