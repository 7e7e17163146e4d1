#pragma once

#include "platform/gateway_simulator.h"

#include <QString>
#include <string>

namespace torvane::gui {

// `torvane --demo`: a simulated gateway (torvane-gatewaysim, master model, answering downloads,
// uploads and the monitor) on a pseudo-terminal, listed among the serial ports as
// "Demo gateway". It ends with this object, and with the program even when that crashes.
class DemoGateway {
public:
    DemoGateway();
    ~DemoGateway();
    DemoGateway(const DemoGateway&) = delete;
    DemoGateway& operator=(const DemoGateway&) = delete;

    // Starts the simulator found beside this program. Returns false with `error` set when it is
    // missing or does not come up.
    bool start(QString& error);
    // Ends the simulator and waits for it; harmless when it is not running.
    void stop();

    // The pseudo-terminal the simulator serves; empty when not running.
    const std::string& device() const { return simulator_.device(); }
    long long processId() const { return simulator_.processId(); }

private:
    platform::GatewaySimulator simulator_;
};

// The name the port list shows for `device`: "Demo gateway" for the running demo, else the
// device itself.
QString portDisplayName(const std::string& device);

} // namespace torvane::gui
