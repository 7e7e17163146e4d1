#pragma once

#include "comm/serial_port.h"
#include "monitor/monitor_engine.h"

#include <string>

namespace torvane {

// One opening of the monitor: the port, the clock and the engine. Every call comes from one
// thread (the window runs the ticks off its GUI thread and posts "Transmit" to that thread).
class MonitorSession {
public:
    MonitorSession(SerialPort& port, Clock& clock) : port_(port), clock_(clock) {}

    // Opens the port at 57600 baud, odd parity. Returns false (reason filled) on failure; the
    // ticks then simply find nothing.
    bool open(const std::string& device, Message& reason);

    // One timer tick: reads what has arrived (the ReadAvailable waits included), lets the
    // engine handle it and writes the answer frame, if any.
    MonitorTick tick(const TimeOfDay& now, const std::string& startText);

    MonitorEngine& engine() { return engine_; }

private:
    SerialPort& port_;
    Clock& clock_;
    MonitorEngine engine_;
};

} // namespace torvane
