#pragma once

#include "model/configuration.h"
#include "model/message.h"

#include <string>
#include <vector>

namespace torvane {

// Which cyclic traffic a bus-load question is about.
enum class CycleKind { Rpdo, Sdo };

// Least cycle in ms the gateway can keep for `commandCount` commands of `kind` at `baudRate`
// (any text other than the listed rates counts as the slowest row). 0 for no commands.
int leastCycleMs(const std::string& baudRate, CycleKind kind, int commandCount);

// One bus-load question: the configured cycle is shorter than the gateway can keep.
struct CycleQuestion {
    CycleKind kind = CycleKind::Rpdo;
    int commandCount = 0;
    int leastCycle = 0;      // ms
    int configuredCycle = 0; // ms
    Message text;            // the question as the dialog shows it (OK / Cancel)
};

// Answers the bus-load questions; the GUI shows a dialog, the command line answers from a flag.
class CycleQuestioner {
public:
    virtual ~CycleQuestioner() = default;
    // True for OK (go on), false for Cancel (stop the download).
    virtual bool askToContinue(const CycleQuestion& question) = 0;
};

enum class CheckOutcome {
    Passed,
    Failed,    // a rule failed; message holds the text to show
    Cancelled, // the user answered Cancel to a bus-load question; nothing more to show
};

struct CheckResult {
    CheckOutcome outcome = CheckOutcome::Passed;
    Message message;  // the failure text
    Message question; // for Cancelled: the question that was refused
    // For Failed: the 0-based positions of the commands the failure is about (one, or the two
    // that overlap or conflict), and the 0-based position of a node without a command (-1 when
    // the failure is about commands).
    std::vector<int> commands;
    int node = -1;

    bool passed() const { return outcome == CheckOutcome::Passed; }
};

// Validate configuration before a download: bus-load questions, mapping range, 32-byte rule,
// missing addresses, overlaps, PDO COB-ID directions. Answering OK to a question goes on with
// the later checks. Returns Failed with the first failing message, or Cancelled. Reads only.
CheckResult validateConfiguration(const GatewayConfiguration& cfg, CycleQuestioner& questioner);

// Check nodes: Failed with "There is invalid node!" when a node has no command.
CheckResult checkNodes(const GatewayConfiguration& cfg);

// Validate configuration, then Check nodes, as the master download runs them.
CheckResult runPreDownloadChecks(const GatewayConfiguration& cfg, CycleQuestioner& questioner);

} // namespace torvane
