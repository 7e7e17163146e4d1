#pragma once

// The record decoded: what the stored texts of the node and command tables mean, read once into
// typed values. The record keeps its texts (the files and the grid store them); the rules read
// these values instead of converting texts themselves, so that every reader agrees on what an
// empty text, a "not entered" mark or a leading blank means.

#include "model/configuration.h"
#include "model/vocabulary.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace torvane {

// A number text as the program reads it, stored or typed.
struct DecodedNumber {
    // The entered value; nullopt for the texts that mean "not entered".
    std::optional<std::int32_t> value;
    // The number the text reads as, entered or not: optional blanks and sign, then the leading
    // decimal digits, 0 when there are none, saturated at the int32 range. The gateway receives
    // it and the range checks add it; a "not entered" text reads as a number of its own.
    std::int32_t number = 0;
    // The text is exactly the decimal form of `number`: digits only, no sign, no leading zero, no
    // blank. The grid takes numbers in this form only.
    bool canonical = false;

    bool entered() const { return value.has_value(); }
    // `number`, a negative one counting as 0: a length or an address that cannot move back.
    std::int32_t atLeastZero() const { return number < 0 ? 0 : number; }
};

// What `text` means as a number; never fails.
DecodedNumber decodeNumber(std::string_view text);

// The text the grid shows for a stored value: a "not entered" mark shows as an empty cell.
std::string shownValue(const std::string& stored);

// The node ID a node's tree text carries: the number after "Node-"; 0 for "New node" or a text
// without digits there.
int nodeIdFromName(std::string_view nodeName);

// One used command, decoded.
struct CommandView {
    const INSTRUCTION* record = nullptr; // the stored texts; the view lives no longer than they do
    int position = 0;                    // 0-based position in the command table
    std::optional<CommandKind> kind;     // nullopt for a code outside "1".."4"
    // The type code as a number: the download checks and the byte map take " 3" for 3.
    DecodedNumber code;
    DecodedNumber nodeAddress;
    DecodedNumber index;
    DecodedNumber subIndex;
    DecodedNumber cobId;
    DecodedNumber mappingAddress;
    DecodedNumber bytes;

    // The type's entry in the vocabulary; null for an unknown code.
    const CommandType* type() const { return kind ? &commandType(*kind) : nullptr; }
    bool isPdo() const { return kind && commandType(*kind).pdo; }
    // Its data lie in the Profibus input buffer (Upload SDO, Transmit PDO).
    bool isInput() const { return kind && commandType(*kind).input; }
    // The 1-based position of the owning node; 0 in a slave configuration.
    int owner() const { return record->NodeIndex; }
};

// One used node, decoded.
struct NodeView {
    const NodeEntry* record = nullptr; // the stored texts
    int position = 0;                  // 0-based position in the node table
    DecodedNumber address;
    int nameId = 0;       // nodeIdFromName of its tree text
    bool unnamed = false; // still "New node": no address was ever given
};

// The used entries of both tables of one CONFIG, decoded once, in table order. It points into
// that CONFIG: decode again after the tables change.
class RecordView {
public:
    explicit RecordView(const CONFIG& config);

    std::span<const NodeView> nodes() const { return nodes_; }
    std::span<const CommandView> commands() const { return commands_; }
    // The used node at 1-based `position` (a command's owner, a tree item's data); null for any
    // other position.
    const NodeView* node(int position) const;
    // The used command at 1-based `position`; null for any other position.
    const CommandView* command(int position) const;
    // The node a command belongs to; null when its NodeIndex names no used node.
    const NodeView* ownerOf(const CommandView& command) const { return node(command.owner()); }
    // The used commands of one kind, in table order.
    std::vector<const CommandView*> ofKind(CommandKind kind) const;

private:
    std::vector<NodeView> nodes_;
    std::vector<CommandView> commands_;
};

// The stored texts behind a view, to change them; `config` is the one the view was decoded from.
INSTRUCTION& storedCommand(CONFIG& config, const CommandView& command);
NodeEntry& storedNode(CONFIG& config, const NodeView& node);

} // namespace torvane
