#include "monitor/monitor_session.h"

#include "comm/serial_link.h"

#include <array>

namespace torvane {

bool MonitorSession::open(const std::string& device, Message& reason) {
    return OpenSerialPort(port_, device, 57600, 1, reason) == LinkResult::Ok;
}

MonitorTick MonitorSession::tick(const TimeOfDay& now, const std::string& startText) {
    if (!port_.isOpen()) {
        return {};
    }
    std::array<std::uint8_t, MonitorEngine::kReadCapacity> buffer{};
    std::size_t count = 0;
    ReadAvailable(port_, clock_, buffer.data(), buffer.size(), count);
    if (count == 0) {
        return {};
    }
    MonitorTick out = engine_.onReceived(std::span(buffer.data(), count), now, startText);
    if (!out.answer.empty()) {
        WriteFrame(port_, clock_, out.answer);
    }
    return out;
}

} // namespace torvane
