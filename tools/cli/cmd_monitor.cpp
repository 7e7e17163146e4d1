#include "cli_common.h"
#include "comm/serial_link.h"
#include "commands.h"
#include "model/text_codec.h"
#include "monitor/command_monitor.h"
#include "monitor/monitor_recording.h"
#include "monitor/monitor_session.h"
#include "platform/serial_ports.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <csignal>
#include <ctime>
#include <iostream>
#include <memory>
#include <string>

namespace torvane::cli {
namespace {

const char* const kMonitorHelp =
    "Usage: torvane-cli monitor IN --port DEVICE [--duration S] [--csv OUT] [--raw]\n\n"
    "Watches the I/O data of the running gateway on DEVICE as the program's Monitor window\n"
    "does: reads its frames every 500 ms and answers each one. The frames are decoded by the\n"
    "configuration file IN (.chg or .xml): one line per changed command value on stdout,\n"
    "  TIME<TAB>COMMAND<TAB>BYTES<TAB>UNSIGNED<TAB>SIGNED\n"
    "with TIME in ISO 8601 local time with milliseconds, COMMAND as\n"
    "'Node 5 Transmit PDO 389 (0x185) 0..1', BYTES in hex and the values little-endian\n"
    "(empty beyond 8 bytes). The values show at the right place only when IN is the\n"
    "configuration the gateway runs.\n\n"
    "  --port DEVICE  serial device, as for download\n"
    "  --duration S   end after S seconds (default: run until SIGINT or SIGTERM)\n"
    "  --csv OUT      also record every frame into the CSV file OUT: Time, then one column\n"
    "                 per command (its unsigned value; its bytes in hex beyond 8 bytes),\n"
    "                 flushed every second\n"
    "  --raw          print the frames instead of the values ('TIME<TAB>Input data<TAB>01 02'),\n"
    "                 and add the columns 'Input frame' and 'Output frame' to the CSV\n\n"
    "Exit codes: 0 ended after S seconds or by a signal, everything written; 1 IN could not\n"
    "be read, the port could not be opened or OUT not written; 2 usage error.\n";

std::atomic<bool> g_stop{false};

extern "C" void onStopSignal(int /*sig*/) {
    g_stop = true;
}

void installStopSignals() {
    struct sigaction sa {};
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
}

LocalStamp localNow() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm tm{};
    localtime_r(&t, &tm);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,          tm.tm_hour,
            tm.tm_min,         tm.tm_sec,     static_cast<int>(ms)};
}

int cmdMonitor(ParsedArgs& p) {
    if (p.positional.size() != 1) {
        return usageError("monitor", "needs exactly one configuration file IN");
    }
    if (p.options.count("--port") == 0) {
        return usageError("monitor", "needs --port DEVICE");
    }
    long long durationMs = -1;
    if (p.options.count("--duration") != 0) {
        const std::string& text = p.options["--duration"];
        unsigned seconds = 0;
        const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), seconds);
        if (ec != std::errc() || ptr != text.data() + text.size() || seconds == 0) {
            return usageError("monitor",
                              "--duration needs a whole number of seconds from 1, not '" +
                                  printableText(text) + "'");
        }
        durationMs = static_cast<long long>(seconds) * 1000;
    }
    const bool raw = p.flags.count("--raw") != 0;
    const std::string& in = p.positional[0];
    GatewayConfiguration cfg;
    if (!loadConfiguration(in, cfg)) {
        return kExitFailed;
    }
    CommandMonitor commands;
    commands.setConfiguration(cfg, {}, {});

    installStopSignals();
    const std::string device = p.options["--port"];
    std::unique_ptr<SerialPort> port = platform::createSerialPort();
    SteadyClock clock;
    MonitorSession session(*port, clock);
    Message reason;
    if (!session.open(device, reason)) {
        printError(printableText(device) + ": " + reason.english());
        return kExitFailed;
    }
    MonitorRecording recording;
    if (p.options.count("--csv") != 0 &&
        !recording.open(p.options["--csv"], commands.rows(), raw, reason)) {
        printError(printableText(reason.english()));
        return kExitFailed;
    }

    const long long start = clock.nowMs();
    long long next = start;
    while (!g_stop && (durationMs < 0 || clock.nowMs() - start < durationMs)) {
        const LocalStamp stamp = localNow();
        const MonitorTick tick = session.tick({stamp.hour, stamp.minute, stamp.second}, "");
        const long long now = clock.nowMs();
        for (const MonitorFrame& frame : tick.frames) {
            const std::vector<std::size_t> changed = commands.onFrame(frame, stamp, now);
            if (raw) {
                std::string hex = FormatHex(frame.bytes);
                if (!hex.empty()) {
                    hex.pop_back();
                }
                std::cout << iso8601(stamp) << '\t' << (frame.output ? "Output data" : "Input data")
                          << '\t' << hex << '\n';
            } else {
                for (const std::size_t i : changed) {
                    const CommandRow& r = commands.rows()[i];
                    std::cout << iso8601(stamp) << '\t' << printableText(r.header) << '\t'
                              << r.rawText << '\t' << r.unsignedText << '\t' << r.signedText
                              << '\n';
                }
            }
            recording.addLine(stamp, commands.rows(), frame, now);
        }
        std::cout.flush();
        next += 500;
        // Short sleeps, so a signal ends the run within a tenth of a second.
        while (!g_stop && clock.nowMs() < next &&
               (durationMs < 0 || clock.nowMs() - start < durationMs)) {
            clock.sleepMs(static_cast<int>(std::min<long long>(100, next - clock.nowMs())));
        }
    }
    port->close();
    if (!recording.close(reason)) {
        printError(printableText(reason.english()));
        return kExitFailed;
    }
    return std::cout.flush() ? kExitOk : kExitFailed;
}

} // namespace

const Command kMonitorCommand{"monitor", "watch the gateway's I/O data by command", kMonitorHelp,
                              {"--raw"}, {"--port", "--duration", "--csv"},         cmdMonitor};

} // namespace torvane::cli
