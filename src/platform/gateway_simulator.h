#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <string>

class QProcess;

namespace torvane::platform {

// torvane-gatewaysim as a child process serving a pseudo-terminal: the one way the program's
// demo and the tests start it. The simulator ends with this object, and by itself when its
// parent dies.
class GatewaySimulator {
public:
    GatewaySimulator();
    ~GatewaySimulator();
    GatewaySimulator(const GatewaySimulator&) = delete;
    GatewaySimulator& operator=(const GatewaySimulator&) = delete;

    // The simulator installed beside the running program.
    static QString besideThisProgram();

    // Starts `program` with `args` and waits for the pseudo-terminal it prints on its first
    // line. Returns false with `error` set when the program is missing or does not come up.
    bool start(const QString& program, const QStringList& args, QString& error);
    // Ends the simulator and waits for it; harmless when it is not running.
    void stop();

    // The pseudo-terminal the simulator serves; empty when not running.
    const std::string& device() const { return device_; }
    long long processId() const;

private:
    std::unique_ptr<QProcess> process_;
    std::string device_;
};

} // namespace torvane::platform
