#pragma once

// torvane-gatewaysim on a pseudo-terminal for the GUI tests: started beside the test program,
// listed through TORVANE_EXTRA_PORTS, and stopped on every path (the destructor, and the
// simulator itself when the test process dies).

#include "platform/gateway_simulator.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <cstdlib>

namespace torvane::gui::test {

class GatewaySim {
public:
    // Starts the simulator with `args` and a frame log in `logPath`; device() is empty when it
    // did not start.
    GatewaySim(const QStringList& args, const QString& logPath) : log_(logPath) {
        QFile::remove(log_);
        QString error;
        if (sim_.start(binDir() + QStringLiteral("/torvane-gatewaysim"),
                       QStringList{QStringLiteral("--log"), log_} + args, error)) {
            device_ = QString::fromStdString(sim_.device());
            ::setenv("TORVANE_EXTRA_PORTS", device_.toLocal8Bit().constData(), 1);
        }
    }
    ~GatewaySim() {
        sim_.stop();
        ::unsetenv("TORVANE_EXTRA_PORTS");
    }
    GatewaySim(const GatewaySim&) = delete;
    GatewaySim& operator=(const GatewaySim&) = delete;

    const QString& device() const { return device_; }

    // The simulator's log as written so far.
    QString logText() const {
        QFile f(log_);
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
    }

    // The frames the simulator received, as hex texts ("FE 00 FE"), in order.
    QStringList received() const {
        QStringList frames;
        for (const QString& line : logText().split('\n')) {
            const qsizetype at = line.indexOf(QStringLiteral(" RX #"));
            if (at >= 0) {
                const QString rest = line.mid(at + 5);
                frames << rest.mid(rest.indexOf(' ') + 1).trimmed();
            }
        }
        return frames;
    }

    static QString binDir() { return QCoreApplication::applicationDirPath(); }

    // Copies the e2e tests' configuration `variant` ("new", "master85", ...) over `path`.
    static bool writeFixture(const char* variant, const QString& path) {
        QFile::remove(path);
        return QFile::copy(QStringLiteral(TORVANE_TEST_DATA_DIR "/transfer/%1.chg")
                               .arg(QString::fromLatin1(variant)),
                           path);
    }

private:
    platform::GatewaySimulator sim_;
    QString log_;
    QString device_;
};

} // namespace torvane::gui::test
