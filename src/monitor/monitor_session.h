#pragma once

#include "comm/serial_port.h"
#include "monitor/monitor_engine.h"

#include <deque>
#include <string>
#include <vector>

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

    // Queues output for its own start; one goes with each answer, in order, after any pending
    // raw output. A refused one is dropped with its message in the tick that tried it.
    void queueOutput(std::size_t start, std::vector<std::uint8_t> bytes);
    // Queued outputs and the one pending in the engine that have not gone out yet.
    std::size_t outputsWaiting() const;

    MonitorEngine& engine() { return engine_; }

private:
    SerialPort& port_;
    Clock& clock_;
    MonitorEngine engine_;
    std::deque<SentOutput> queue_;
};

} // namespace torvane
