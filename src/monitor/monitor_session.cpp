#include "monitor/monitor_session.h"

#include "comm/serial_link.h"

#include <array>

namespace torvane {

bool MonitorSession::open(const std::string& device, Message& reason) {
    return OpenSerialPort(port_, device, 57600, 1, reason) == LinkResult::Ok;
}

void MonitorSession::queueOutput(std::size_t start, std::vector<std::uint8_t> bytes) {
    queue_.push_back({start, std::move(bytes)});
}

std::size_t MonitorSession::outputsWaiting() const {
    return queue_.size() + (engine_.outputPending() ? 1 : 0);
}

MonitorTick MonitorSession::tick(const TimeOfDay& now, const std::string& startText) {
    if (!port_.isOpen()) {
        return {};
    }
    std::vector<Message> refused;
    while (!engine_.outputPending() && !queue_.empty()) {
        const SentOutput next = std::move(queue_.front());
        queue_.pop_front();
        Message message = engine_.transmitAt(next.start, next.bytes);
        if (!message.empty()) {
            refused.push_back(std::move(message));
        }
    }
    std::array<std::uint8_t, MonitorEngine::kReadCapacity> buffer{};
    std::size_t count = 0;
    ReadAvailable(port_, clock_, buffer.data(), buffer.size(), count);
    MonitorTick out;
    if (count > 0) {
        out = engine_.onReceived(std::span(buffer.data(), count), now, startText);
    }
    out.messages.insert(out.messages.begin(), refused.begin(), refused.end());
    if (!out.answer.empty()) {
        WriteFrame(port_, clock_, out.answer);
    }
    return out;
}

} // namespace torvane
