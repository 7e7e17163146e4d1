#include "sim_options.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace torvane::sim {
namespace {

bool parseNumber(const std::string& text, long min, long max, long& out) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end && !text.empty() && out >= min && out <= max;
}

// "5.2" -> 5, 2; each part 0..255.
bool parseFirmware(const std::string& text, std::uint8_t& major, std::uint8_t& minor) {
    const auto dot = text.find('.');
    if (dot == std::string::npos) {
        return false;
    }
    long a = 0;
    long b = 0;
    if (!parseNumber(text.substr(0, dot), 0, 255, a) ||
        !parseNumber(text.substr(dot + 1), 0, 255, b)) {
        return false;
    }
    major = static_cast<std::uint8_t>(a);
    minor = static_cast<std::uint8_t>(b);
    return true;
}

// "0F 00 7f": bytes in hex separated by blanks.
bool parseStep(const std::string& text, std::vector<std::uint8_t>& out) {
    std::istringstream in(text);
    std::string word;
    out.clear();
    while (in >> word) {
        long v = 0;
        const char* end = word.data() + word.size();
        auto [ptr, ec] = std::from_chars(word.data(), end, v, 16);
        if (ec != std::errc() || ptr != end || word.size() > 2 || v < 0) {
            return false;
        }
        out.push_back(static_cast<std::uint8_t>(v));
    }
    return !out.empty();
}

// One step per line; empty lines and lines starting with '#' are skipped.
bool readPattern(const std::string& path, std::vector<std::vector<std::uint8_t>>& steps,
                 std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read the pattern file " + path;
        return false;
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (line.find_first_not_of(" \t\r") == std::string::npos || line[0] == '#') {
            continue;
        }
        std::vector<std::uint8_t> step;
        if (!parseStep(line, step)) {
            error = path + ":" + std::to_string(number) + ": not bytes in hex";
            return false;
        }
        steps.push_back(std::move(step));
    }
    return true;
}

} // namespace

bool parseSimOptions(const std::vector<std::string>& args, SimOptions& out, std::string& error) {
    out = SimOptions{};
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& v) {
            if (i + 1 >= args.size()) {
                error = "option " + a + " needs a value";
                return false;
            }
            v = args[++i];
            return true;
        };
        std::string v;
        if (a == "-h" || a == "--help") {
            out.help = true;
        } else if (a == "--model") {
            if (!value(v)) {
                return false;
            }
            if (v == "master") {
                out.model = SimModel::Master;
            } else if (v == "slave") {
                out.model = SimModel::Slave;
            } else {
                error = "--model must be master or slave, not '" + v + "'";
                return false;
            }
        } else if (a == "--firmware") {
            if (!value(v)) {
                return false;
            }
            if (!parseFirmware(v, out.firmwareMajor, out.firmwareMinor)) {
                error = "--firmware needs MAJOR.MINOR with each part 0..255, not '" + v + "'";
                return false;
            }
        } else if (a == "--old-firmware") {
            out.oldFirmware = true;
        } else if (a == "--stored-format") {
            if (!value(v)) {
                return false;
            }
            long raw = 0;
            if (v == "auto") {
                out.storedFormat = StoredFormat::Auto;
            } else if (v == "compatible") {
                out.storedFormat = StoredFormat::Compatible;
            } else if (v == "new") {
                out.storedFormat = StoredFormat::New;
            } else if (parseNumber(v, 0, 255, raw)) {
                out.storedFormat = StoredFormat::Raw;
                out.storedFormatRaw = static_cast<std::uint8_t>(raw);
            } else {
                error = "--stored-format must be auto, compatible, new or a byte 0..255, not '" +
                        v + "'";
                return false;
            }
        } else if (a == "--device" || a == "--link" || a == "--store" || a == "--log") {
            if (!value(v)) {
                return false;
            }
            if (v.empty()) {
                error = "option " + a + " needs a non-empty path";
                return false;
            }
            (a == "--device"  ? out.device
             : a == "--link"  ? out.linkPath
             : a == "--store" ? out.storePath
                              : out.logPath) = v;
        } else if (a == "--drop-frame" || a == "--bad-ack") {
            if (!value(v)) {
                return false;
            }
            long n = 0;
            if (!parseNumber(v, 1, 1000000, n)) {
                error = a;
                error += " needs a frame number from 1, not '" + v + "'";
                return false;
            }
            (a == "--drop-frame" ? out.dropFrames : out.badAckFrames).insert(n);
        } else if (a == "--flip-bit") {
            if (!value(v)) {
                return false;
            }
            // N[:BYTE[:BIT]]
            std::string parts[3] = {v, "3", "0"};
            for (int k = 0; k < 2; ++k) {
                const auto colon = parts[k].find(':');
                if (colon == std::string::npos) {
                    break;
                }
                parts[k + 1] = parts[k].substr(colon + 1);
                parts[k].resize(colon);
            }
            long n = 0;
            long byte = 0;
            long bit = 0;
            if (!parseNumber(parts[0], 1, 1000000, n) || !parseNumber(parts[1], 0, 255, byte) ||
                !parseNumber(parts[2], 0, 7, bit)) {
                error = "--flip-bit needs N[:BYTE[:BIT]] (frame from 1, byte 0..255, bit 0..7), "
                        "not '" +
                        v + "'";
                return false;
            }
            out.flipBits[n] = {static_cast<int>(byte), static_cast<int>(bit)};
        } else if (a == "--silent") {
            out.silent = true;
        } else if (a == "--monitor") {
            if (!value(v)) {
                return false;
            }
            if (v != "fixed" && v != "addressed" && v != "split") {
                error = "--monitor must be fixed, addressed or split, not '" + v + "'";
                return false;
            }
            out.monitor = v == "fixed"       ? MonitorMode::Fixed
                          : v == "addressed" ? MonitorMode::Addressed
                                             : MonitorMode::Split;
        } else if (a == "--pattern" || a == "--step") {
            if (!value(v)) {
                return false;
            }
            std::vector<std::uint8_t> step;
            if (a == "--pattern") {
                if (!readPattern(v, out.pattern, error)) {
                    return false;
                }
            } else if (parseStep(v, step)) {
                out.pattern.push_back(std::move(step));
            } else {
                error = "--step needs bytes in hex separated by blanks, not '" + v + "'";
                return false;
            }
        } else if (a == "--step-seconds") {
            long n = 0;
            if (!value(v)) {
                return false;
            }
            if (!parseNumber(v, 1, 3600, n)) {
                error = "--step-seconds needs a whole number of seconds 1..3600, not '" + v + "'";
                return false;
            }
            out.patternStepSeconds = static_cast<int>(n);
        } else {
            error = "unknown option '" + a + "'";
            return false;
        }
    }
    if (!out.pattern.empty()) {
        const std::size_t input = out.monitor == MonitorMode::Split ? 48 : 16;
        if (out.monitor == MonitorMode::None) {
            error = "--pattern and --step need --monitor";
            return false;
        }
        for (const auto& step : out.pattern) {
            if (step.size() > input) {
                error = "a pattern step is longer than the " + std::to_string(input) +
                        "-byte input buffer";
                return false;
            }
        }
    }
    if (!out.device.empty() && !out.linkPath.empty()) {
        error = "--link only applies to a pseudo-terminal, not with --device";
        return false;
    }
    return true;
}

std::string simUsage() {
    return "Usage: torvane-gatewaysim [OPTIONS]\n"
           "\n"
           "A simulated gateway for configuration transfers. Without --device it opens a\n"
           "pseudo-terminal and prints its device path as the first line of output.\n"
           "\n"
           "Options:\n"
           "  --model master|slave     gateway model: TAVO20 (master, default) or TAVO20S\n"
           "  --firmware MAJOR.MINOR   firmware version in the identification reply (default 5.2)\n"
           "  --old-firmware           identify as old firmware (compatible format only)\n"
           "  --stored-format F        answer to the stored-format question: auto (the format\n"
           "                           of the stored configuration, default), compatible, new,\n"
           "                           or a raw byte 0..255\n"
           "  --store FILE             keep the downloaded configuration in FILE and serve it\n"
           "                           on later runs\n"
           "  --log FILE               log every frame received and sent, in hex\n"
           "  --link PATH              also make PATH a symbolic link to the pseudo-terminal\n"
           "  --device PATH            serve an existing serial device instead\n"
           "  --drop-frame N           do not answer the N-th frame received (counted from 1,\n"
           "                           every frame; may be repeated)\n"
           "  --bad-ack N              answer the N-th frame with a corrupted first byte\n"
           "  --flip-bit N[:BYTE[:BIT]] flip one bit of the answer to the N-th frame (byte 3,\n"
           "                           bit 0 unless given; a byte past the end is the last),\n"
           "                           its checksum left as it was\n"
           "  --silent                 never answer\n"
           "  --monitor MODE           send I/O frames for the monitor every 200 ms (fixed,\n"
           "                           addressed, split) and log the output data it answers;\n"
           "                           downloads and uploads are still served, the frames\n"
           "                           pause while one runs\n"
           "  --pattern FILE           play input values instead of a counter: one step per\n"
           "                           line, bytes in hex from input byte 0 on ('0F 00 7F'),\n"
           "                           the rest 0; '#' starts a comment line; repeats\n"
           "  --step HEX               one more step of the pattern (may be repeated)\n"
           "  --step-seconds S         each step lasts S seconds (default 1) and, where the\n"
           "                           monitor answers, until it has answered one of its frames\n"
           "  -h, --help               show this text\n"
           "\n"
           "Ends on SIGTERM, SIGINT, or when the process that started it ends.\n"
           "Exit codes: 0 normal end, 1 the line or a file could not be opened, 2 usage error.\n";
}

} // namespace torvane::sim
