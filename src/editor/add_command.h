#pragma once

// The "Select Commands" dialog's entries and the adding of one command with the gateway's
// command limits. Toolkit-free; the dialog only lists the entries and forwards double-clicks.

#include "editor/grid_page.h"
#include "model/configuration.h"

#include <string>
#include <vector>

namespace torvane {

// One entry of the "Select Commands" list.
struct AddCommandEntry {
    Message text;                // list text, e.g. "Upload SDO -> Profibus In"
    std::string instructionType; // "1".."4"
    std::string treeText;        // text of the command's tree item

    bool operator==(const AddCommandEntry&) const = default;
};

// The list entries of the dialog for `configType`, in list order (the position is the kind
// passed to addCommand): four for a master configuration, two for a slave configuration.
std::vector<AddCommandEntry> addCommandEntries(int configType);

// How many commands of one type the older firmware generations (index below 2) take, and the
// message that refuses one more.
struct CommandTypeLimit {
    int limit;
    Text message;
};

// Limit of `type` with the older firmware: master 28 per SDO type and 14 per PDO type, slave 42
// per PDO type. Any type other than "3"/"4" counts as SDO in a master configuration.
CommandTypeLimit oldFirmwareCommandLimit(int configType, const std::string& type);

enum class AddCommandStatus {
    Added,   // the command was appended
    Refused, // a limit refused it; messages say which; nothing changed
    Ignored, // the target is neither a node nor "CANopen Slave", or the kind is unknown
};

struct AddCommandResult {
    AddCommandStatus status = AddCommandStatus::Ignored;
    std::vector<Message> messages; // message boxes to show, in order
    int position = 0;              // 1-based position of the new command: its item data
    std::string treeText;          // text of the new tree item
    EditTarget parent;             // tree item that receives the new item and is expanded
    bool modified = false;         // ModifiedFlag is to be set
};

// Appends one command of the entry at `kind` (position in addCommandEntries) under `target`: a
// node (page Node, 1-based node position; master configuration) or "CANopen Slave" (page
// Canopen; slave configuration). `firmwareIndex` selects the limits. Returns Refused with the
// limit message, or Ignored, and leaves the configuration unchanged when nothing is added.
AddCommandResult addCommand(GatewayConfiguration& cfg, int firmwareIndex, const EditTarget& target,
                            int kind);

} // namespace torvane
