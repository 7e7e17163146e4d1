#pragma once

#include "model/configuration.h"
#include "model/message.h"

#include <string>

namespace torvane {

// Buffer size of an I/O byte count text: 16, 48, 96 or 112; 244 for the hardware-configuration
// choice and for any text that is not one of the four sizes.
int ioByteLimit(const std::string& inportNum);

// Outcome of the calculation itself. Addresses are always written, even when they do not fit.
struct MappingResult {
    bool fits = false;
    int inputTotal = 0;  // input cursor + control-status reserve
    int outputTotal = 0; // output cursor + control-status reserve
    // 0-based position of the first command (in placement order) whose end passes the limit
    // that `fits` is judged by; -1 when it fits.
    int firstOverflowCommand = -1;
};

// Rewrites the MappingAddress of every used command (InstructionCount, clamped to the table)
// and tests the totals against the I/O byte count and the edition's budget. Never refuses:
// fits is false on overflow, with the overflowing addresses left in place.
MappingResult calculateMapping(GatewayConfiguration& cfg);

// What the "Calculate Mapping Address" command ended with.
enum class MappingOutcome {
    Fits,     // addresses written, "Automatic mapping is successful"
    Overflow, // addresses written anyway, the beyond-range message
    Refused,  // a used command has no byte count; nothing changed but the 84 cap
};

struct MappingCommandResult {
    MappingOutcome outcome = MappingOutcome::Refused;
    Message message;         // the one text to show
    int refusedCommand = -1; // 0-based index of the command without byte count, when Refused
    MappingResult totals;    // valid unless Refused
};

// The "Calculate Mapping Address" command after its confirmation: caps InstructionCount at 84,
// refuses (changing no address) when a command has no byte count entered, else calculates.
// The caller shows `message` and rebuilds the tree unless the outcome is Refused.
MappingCommandResult runCalculateMappingCommand(GatewayConfiguration& cfg);

} // namespace torvane
