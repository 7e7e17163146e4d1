#pragma once

#include "model/configuration.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace torvane {

// Byte map geometry: 25 rows of ten offsets, cells numbered 16 per row.
inline constexpr int kUsageCellCount = 400;
inline constexpr int kUsageRowCount = 25;
inline constexpr int kUsageCellsPerRow = 16;
inline constexpr int kUsageBytesPerRow = 10;
inline constexpr int kUsageLastOffset = 249;

enum class BufferSide { Input, Output };

// Colour of a byte-map cell; Default keeps the grid's own background.
enum class CellColour { Default, InputOnce, OutputOnce, Conflict };

struct Rgb {
    std::uint8_t r, g, b;
};

// Red, green, blue of a painted colour; {0,0,0} for Default (not painted).
Rgb rgbOf(CellColour colour);

// Cell index of a byte offset (16 × (a div 10) + a mod 10), or -1 outside 0..249.
int usageCellOfOffset(int offset);

// Grid row (0..24) and column (1..16, column 0 holds the labels) of a cell index.
int usageRowOfCell(int cell);
int usageColumnOfCell(int cell);

// Label of a grid row: the offset 10 × row in four digits ("0000", "0120", "0240").
std::string usageRowLabel(int row);

// One command of the snapshot the conflict window works on.
struct UsageCommand {
    int type = 0;            // InstructionType as an integer; negated while the command is left out
    int start = 0;           // MappingAddress
    int bytes = 0;           // Bytes
    bool hasAddress = false; // false without a MappingAddress: the command colours nothing
};

// One line of the command check list.
struct UsageListEntry {
    int command = 0;   // index into the snapshot
    std::string label; // "Upload SDO", "Download SDO", "TPDO" or "RPDO"
};

// The counters behind the conflict window's two byte maps. Built from a snapshot of the
// commands; changes nothing in the configuration.
class ByteUsageTables {
public:
    // Snapshot of the used commands of `cfg`, all included, tables filled.
    explicit ByteUsageTables(const GatewayConfiguration& cfg);

    // The check-list lines: every command of type 1..4, in list order, each checked at start.
    const std::vector<UsageListEntry>& listEntries() const { return list_; }
    const std::vector<UsageCommand>& commands() const { return commands_; }

    // Includes or leaves out snapshot command `command` and updates the counters; false (and
    // no change) for an index outside the snapshot.
    bool setIncluded(int command, bool included);
    bool isIncluded(int command) const;

    // Number of included commands using the byte of `cell` on `side`; 0 outside the table.
    int count(BufferSide side, int cell) const;

    // Colour of `cell` in the byte map of `side`.
    CellColour colour(BufferSide side, int cell) const;

    // Sets all counters from the snapshot again.
    void refill();

private:
    void add(const UsageCommand& c, int delta);

    std::vector<UsageCommand> commands_;
    std::vector<UsageListEntry> list_;
    std::array<int, kUsageCellCount> input_{};
    std::array<int, kUsageCellCount> output_{};
};

} // namespace torvane
