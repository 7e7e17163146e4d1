#pragma once

#include "comm/protocol_base.h"
#include "comm/serial_port.h"
#include "model/configuration.h"

#include <string>
#include <vector>

namespace torvane {

class CycleQuestioner;

// Everything one transfer needs; the configuration is a copy taken when the command started,
// so the GUI may go on editing the live one.
struct TransferRequest {
    GatewayConfiguration configuration;
    bool oldEditionLoaded = false; // the document's OldEditionLoaded
    std::vector<std::string> ports;
    int portIndex = 0;
};

// The toolkit-free parts the job talks through; any of them may be null.
struct TransferServices {
    SerialPortFactory openPort;               // creates the port; null gives result 0
    Clock* clock = nullptr;                   // null: the steady clock
    ProgressObserver* progress = nullptr;     // range 13, steps, finished
    FormatQuestion* formatQuestion = nullptr; // null answers Cancel
    CycleQuestioner* cycleQuestion = nullptr; // null answers Cancel
};

struct TransferOutcome {
    // False when the command stopped before a port was touched (a failed pre-download check,
    // an unknown ConfigType); `text` then holds the check's message (empty after a Cancel).
    bool started = false;
    int resultCode = -1; // the TransferResult's number when started (exit codes are made of it)
    Message text;        // the one message to show
    std::string port;    // the port the transfer opened (or tried to); empty when none was known
    // A failed pre-download check: the 0-based positions of the commands it is about and the
    // 0-based position of a node without a command (-1 for none), as CheckResult has them.
    std::vector<int> checkCommands;
    int checkNode = -1;
    // True when the commands beyond the 84th were dropped; the live configuration drops them too.
    bool commandsCapped = false;
    // Download: the copy as the protocol left it (ConfigEdition after identification, slave
    // mapping addresses). Upload: the uploaded configuration when `configurationChanged`.
    GatewayConfiguration configuration;
    // Upload: the configuration was read completely and replaces the live one.
    // Download: the protocol changed ConfigEdition or mapping addresses.
    bool configurationChanged = false;
    // Upload: the format the gateway's identification gave (None before it), and whether its
    // firmware answered the SDO options request.
    DownloadFormat format = DownloadFormat::None;
    bool sdoOptionsRead = false;
};

// Runs the Download command after the serial dialog: cap at 84, the checks of the configuration
// type, then open, identify and send. Never throws; every failure is in the outcome.
TransferOutcome runDownload(TransferRequest request, const TransferServices& services);

// Runs the Upload command after the serial dialog. The outcome carries the uploaded
// configuration only when every frame was read.
TransferOutcome runUpload(TransferRequest request, const TransferServices& services);

// What a finished download changed in the live configuration.
struct DownloadChanges {
    bool commandsCut = false;      // the commands beyond the 84th were dropped
    bool mappingAddresses = false; // a slave's recalculated mapping addresses differ
    bool layout = false; // the edition the gateway's format gave moved across the old layout

    bool any() const { return commandsCut || mappingAddresses || layout; }
};
// The message box text of a finished transfer: `text`, and under a failure of the port or the
// gateway (result codes 0 to 8) on a known port a line naming it ("Port: /dev/ttyUSB0").
Message transferMessage(const TransferOutcome& outcome);

// Applies what a finished download changed in its copy to the live configuration: the 84 cap,
// (slave) the recalculated mapping addresses, and the edition of the format the gateway took when
// it changes the layout (below the new layout or not; within one side the editions behave the
// same, so the live one stays). Other edits made meanwhile stay. Returns what changed.
DownloadChanges applyDownloadChanges(GatewayConfiguration& live, const TransferOutcome& outcome);

// The name of the undo step of a download that changed `changes`: "Download (84-command cut)",
// the changes listed in the parentheses; empty when nothing changed.
Message downloadStepName(const DownloadChanges& changes);

} // namespace torvane
