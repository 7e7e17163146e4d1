#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace torvane::sim {

enum class SimModel { Master, Slave };

// What the simulator answers to the stored-format question (TAVO20: the 0xFC query; TAVO20S: byte
// 3 of the identification reply). Auto follows the format the stored configuration came in.
enum class StoredFormat { Auto, Compatible, New, Raw };

// I/O frame layouts the simulator sends for the monitor.
enum class MonitorMode { None, Fixed, Addressed, Split };

struct SimOptions {
    SimModel model = SimModel::Master;
    std::uint8_t firmwareMajor = 5;
    std::uint8_t firmwareMinor = 2;
    bool oldFirmware = false;
    StoredFormat storedFormat = StoredFormat::Auto;
    std::uint8_t storedFormatRaw = 0;
    std::string device;    // serve this device instead of a new pseudo-terminal
    std::string linkPath;  // symlink to the pseudo-terminal
    std::string storePath; // configuration kept across runs
    std::string logPath;   // every frame in hex
    std::set<long> dropFrames;
    std::set<long> badAckFrames;
    // Frame number -> (byte, bit) of its reply to flip, the checksum left as it was.
    std::map<long, std::pair<int, int>> flipBits;
    bool silent = false;
    MonitorMode monitor = MonitorMode::None;
    // Input values played in turn instead of the running counter: each step's bytes from input
    // byte 0 on, the rest 0.
    std::vector<std::vector<std::uint8_t>> pattern;
    int patternStepSeconds = 1;
    bool help = false;
};

// Parses the command line (without the program name). Returns false and sets `error` to a
// message naming the bad option or value.
bool parseSimOptions(const std::vector<std::string>& args, SimOptions& out, std::string& error);

// The --help text.
std::string simUsage();

} // namespace torvane::sim
