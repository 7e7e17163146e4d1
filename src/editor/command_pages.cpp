#include "editor/command_pages.h"

#include "editor/cell_notes.h"
#include "model/record_view.h"
#include "model/strings.h"
#include "model/text_number.h"

#include <algorithm>
#include <vector>

namespace torvane {

namespace {

constexpr int kHelpSlaveAddress = 61303;
constexpr int kHelpIndex = 61304;
constexpr int kHelpSubIndex = 61305;
constexpr int kHelpSdoBytes = 61306;
constexpr int kHelpMapping = 61307;
constexpr int kHelpTpdoCobId = 61309;
constexpr int kHelpPdoBytes = 61310;
constexpr int kHelpRpdoCobId = 61311;

constexpr int kPdoMaxBytes = 8;
constexpr int kSdoObjectMaxBytes = 4;
constexpr int kMaxIndex = 65535;
constexpr int kMaxSubIndex = 255;
constexpr int kIndexHexDigits = 4;
constexpr int kCobIdHexDigits = 3;
constexpr int kMaxNodeAddress = 127;

// `format` with its %1 standing for `value`.
Message withNumber(Text format, long value) {
    return {format, value};
}

GridRow row(Text label, const std::string& stored, EditorKind editor, int helpId,
            const Message& helpText, bool grey = false) {
    GridRow r;
    r.label = label;
    r.value = shownValue(stored);
    r.grey = grey;
    r.editor = editor;
    r.helpId = helpId;
    r.helpText = helpText;
    return r;
}

// A row without a help text.
GridRow row(Text label, const std::string& stored, EditorKind editor, int helpId,
            std::nullptr_t /*noHelp*/) {
    return row(label, stored, editor, helpId, Message());
}

// COB-ID key under which PDO parts are grouped: the texts not entered and those naming no
// COB-ID share one key.
std::string cobIdKey(const DecodedNumber& cobId) {
    return cobId.number <= 0 ? std::string() : decimalText(cobId.number);
}

// A COB-ID as "%d", empty when its value is 0.
std::string canonicalCobId(const DecodedNumber& cobId) {
    return cobId.number == 0 ? std::string() : decimalText(cobId.number);
}

bool digitsOnly(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// True when `m` + `b` leaves the 32-byte block that `m` starts in; only a 96-byte buffer has
// such blocks.
bool crossesBlock(const FIELDBUS& fieldbus, int m, int b) {
    return packingOf(fieldbus.InportNum) == PackingMode::Block32 && crossesBlock32(m, b);
}

CommitResult shows(const std::string& stored) {
    CommitResult r;
    r.cellText = shownValue(stored);
    return r;
}

CommitResult showsWith(const std::string& stored, const Message& message) {
    CommitResult r = shows(stored);
    r.messages.emplace_back(message);
    return r;
}

CommitResult showsNoted(const std::string& stored, Message note) {
    CommitResult r = shows(stored);
    r.note = std::move(note);
    return r;
}

// `typed` read as bare hexadecimal digits ("1A00"); -1 when it is not such a text or names no
// index.
long bareHexIndex(std::string_view typed) {
    const DecodedNumber value = decodeNumber(hexEntryAsDecimal("0x" + std::string(typed)));
    if (!value.canonical) {
        return -1;
    }
    return value.number >= 1 && value.number <= kMaxIndex ? value.number : -1;
}

CommitResult nothingEditable() {
    CommitResult r;
    r.keepCell = true;
    r.modified = false;
    return r;
}

bool isCommandPage(PageKind kind) {
    return kind == PageKind::SdoCommand || kind == PageKind::TpdoCommand ||
           kind == PageKind::RpdoCommand;
}

GridRow cobIdRow(const GatewayConfiguration& cfg, const RecordView& view, const CommandView& cmd,
                 bool transmit) {
    GridRow r =
        row(str::CmdRowCobId, cmd.record->CobId, EditorKind::List,
            transmit ? kHelpTpdoCobId : kHelpRpdoCobId, transmit ? str::Help61309 : str::Help61311);
    int nodeId = 0;
    if (cfg.isMaster()) {
        const NodeView* node = view.ownerOf(cmd);
        if (node == nullptr || node->unnamed) {
            r.openRefusal = str::EnterNodeAddress;
            return r;
        }
        nodeId = node->nameId;
    } else {
        nodeId = decodeNumber(cfg.Config.SlaveNodeAddress).number;
    }
    // PDO1 to PDO4, then "Self-defining": the list opens on the stored COB-ID, on PDO1 when
    // there is none, so that leaving it at once stores nothing unexpected.
    const std::string stored = cobIdKey(cmd.cobId);
    for (const std::string& id : defaultCobIds(nodeId, transmit)) {
        r.choices.push_back(decimalWithHex(id, kCobIdHexDigits));
    }
    r.choices.emplace_back(str::CobIdSelfDefining);
    r.listSelection = stored.empty() ? r.choices.front() : decimalWithHex(stored, kCobIdHexDigits);
    return r;
}

// ---- Commits --------------------------------------------------------------------------------

// Every commit below decodes the tables once, before it changes the one command or node it is
// about; the other entries it compares with stay as decoded.

CommitResult commitCobId(GatewayConfiguration& cfg, const RecordView& view, const CommandView& self,
                         std::string_view text) {
    INSTRUCTION& cmd = storedCommand(cfg.Config, self);
    if (text == str::CobIdSelfDefining) {
        cmd.CobId = canonicalCobId(self.cobId);
        return showsWith(cmd.CobId, str::SelfDefiningHint);
    }
    // A refused text never shows in the cell: the cell always shows what is stored.
    if (!digitsOnly(text)) {
        return showsWith(cmd.CobId, str::IllegalCobId);
    }
    const std::int32_t v = decodeNumber(text).number;
    if (!isValidCobId(v)) {
        cmd.CobId = canonicalCobId(self.cobId);
        return showsWith(cmd.CobId, str::IllegalCobId);
    }
    // Stored in canonical form so that "0389" and "389" are one PDO in every later comparison.
    std::string entered = decimalText(v);
    CommitResult r;
    if (cfg.isMaster()) {
        int sum = 0;
        bool conflict = false;
        for (const CommandView& other : view.commands()) {
            if (other.position == self.position || other.cobId.number != v) {
                continue;
            }
            if (other.record->InstructionType != cmd.InstructionType ||
                other.record->NodeAddress != cmd.NodeAddress) {
                r.messages.push_back(withNumber(str::CobIdConflictNode, other.nodeAddress.number));
                conflict = true;
                break;
            }
            sum += other.bytes.atLeastZero();
        }
        if (conflict) {
            entered.clear();
        } else if (self.bytes.atLeastZero() + sum > kPdoMaxBytes) {
            r.messages.emplace_back(str::CobIdBytesOutOfRange);
            entered.clear();
        }
        cmd.CobId = entered;
        r.cellText = entered;
        return r;
    }
    for (const CommandView& other : view.commands()) {
        if (other.position != self.position && other.cobId.number == v) {
            return showsWith(cmd.CobId, str::CobIdExists);
        }
    }
    cmd.CobId = entered;
    r.cellText = entered;
    return r;
}

CommitResult commitPdoBytes(GatewayConfiguration& cfg, const RecordView& view,
                            const CommandView& self, std::string_view text) {
    INSTRUCTION& cmd = storedCommand(cfg.Config, self);
    const DecodedNumber typed = decodeNumber(text);
    const int b = typed.number;
    if (!typed.canonical || b < 1 || b > kPdoMaxBytes) {
        return showsNoted(cmd.Bytes, rangeNote(text, 1, kPdoMaxBytes));
    }
    const int limit = commandIoLimit(cfg.Fieldbus);
    const int m = self.mappingAddress.atLeastZero();
    if (m + b > limit) {
        return showsWith(cmd.Bytes, str::MappingOutOfRange);
    }
    const std::string key = cobIdKey(self.cobId);
    int sum = b;
    for (const CommandView& other : view.commands()) {
        if (other.position != self.position &&
            other.record->InstructionType == cmd.InstructionType && cobIdKey(other.cobId) == key) {
            sum += other.bytes.atLeastZero();
        }
    }
    if (sum > kPdoMaxBytes) {
        return showsWith(cmd.Bytes, str::SameCobIdBytesOutOfRange);
    }
    if (crossesBlock(cfg.Fieldbus, m, b)) {
        return showsWith(cmd.Bytes, str::Io96BlockIntegrity);
    }
    cmd.Bytes = std::string(text);
    return shows(cmd.Bytes);
}

// Bytes of `self` (`ownBytes`) plus those of the other commands reading or writing the same SDO
// object (same type, node address, index and sub-index).
int sdoObjectBytes(const RecordView& view, const CommandView& self, int ownBytes,
                   std::string_view index, std::string_view subIndex) {
    const INSTRUCTION& cmd = *self.record;
    int sum = ownBytes;
    for (const CommandView& other : view.commands()) {
        const INSTRUCTION& o = *other.record;
        if (other.position != self.position && o.InstructionType == cmd.InstructionType &&
            o.NodeAddress == cmd.NodeAddress && o.Index == index && o.SubIndex == subIndex) {
            sum += other.bytes.atLeastZero();
        }
    }
    return sum;
}

// `text` is what `typed` reads as (a hex entry already turned into decimal).
CommitResult commitSdoIndex(GatewayConfiguration& cfg, const RecordView& view,
                            const CommandView& self, std::string_view text, std::string_view typed,
                            bool subIndex) {
    INSTRUCTION& cmd = storedCommand(cfg.Config, self);
    std::string& field = subIndex ? cmd.SubIndex : cmd.Index;
    const int own = self.bytes.atLeastZero();
    const int total = subIndex ? sdoObjectBytes(view, self, own, cmd.Index, text)
                               : sdoObjectBytes(view, self, own, text, cmd.SubIndex);
    if (total > kSdoObjectMaxBytes) {
        return showsWith(field, str::SameIndexBytesOutOfRange);
    }
    const long lo = subIndex ? 0 : 1;
    const long hi = subIndex ? kMaxSubIndex : kMaxIndex;
    const DecodedNumber entered = decodeNumber(text);
    const std::int32_t v = entered.number;
    const bool digits = digitsOnly(typed);
    if (!entered.canonical || v < lo || v > hi) {
        if (!subIndex && !digits && bareHexIndex(typed) > 0) {
            return showsNoted(field, Message(str::NoteIndexHexLetters, typed));
        }
        return showsNoted(field, rangeNote(typed, lo, hi));
    }
    field = std::string(text);
    CommitResult r = shows(field);
    // Bare digits are decimal, but an index is usually written in hex: say how it was read.
    const long asHex = digits && !subIndex ? bareHexIndex(typed) : -1;
    if (asHex > 0 && asHex != v) {
        r.note = Message(str::NoteIndexReadAsDecimal, typed, hexText(v, kIndexHexDigits));
    }
    return r;
}

CommitResult commitSdoBytes(GatewayConfiguration& cfg, const RecordView& view,
                            const CommandView& self, std::string_view text) {
    INSTRUCTION& cmd = storedCommand(cfg.Config, self);
    const DecodedNumber typed = decodeNumber(text);
    const int b = typed.number;
    if (!typed.canonical || (b != 1 && b != 2 && b != 4)) {
        return showsNoted(cmd.Bytes, text.empty() ? Message(str::NoteSdoBytesNeeded)
                                                  : Message(str::NoteSdoBytesNotAllowed, text));
    }
    const int limit = commandIoLimit(cfg.Fieldbus);
    const int m = self.mappingAddress.atLeastZero();
    if (m + b > limit) {
        return showsWith(cmd.Bytes, str::MappingOutOfRange);
    }
    if (sdoObjectBytes(view, self, b, cmd.Index, cmd.SubIndex) > kSdoObjectMaxBytes) {
        return showsWith(cmd.Bytes, str::SameIndexBytesOutOfRange);
    }
    if (crossesBlock(cfg.Fieldbus, m, b)) {
        return showsWith(cmd.Bytes, str::Io96BlockIntegrity);
    }
    cmd.Bytes = std::string(text);
    return shows(cmd.Bytes);
}

CommitResult commitMapping(GatewayConfiguration& cfg, const CommandView& self,
                           std::string_view text) {
    INSTRUCTION& cmd = storedCommand(cfg.Config, self);
    // An emptied cell takes the address away (the mapping calculation fills it again); any other
    // text that is not a plain number is a typing slip and keeps the stored address.
    if (text.empty()) {
        cmd.MappingAddress.clear();
        return shows(cmd.MappingAddress);
    }
    const int limit = commandIoLimit(cfg.Fieldbus);
    const DecodedNumber typed = decodeNumber(text);
    if (!typed.canonical) {
        return showsNoted(cmd.MappingAddress, rangeNote(text, 0, limit - 1));
    }
    const int m = typed.number;
    const int b = self.bytes.atLeastZero();
    const Text* stop = nullptr;
    if (m >= limit) {
        stop = &str::MappingBeyondRange;
    } else if (m + b > limit) {
        stop = &str::MappingOutOfRange;
    }
    if (stop != nullptr) {
        CommitResult r = showsWith(cmd.MappingAddress, *stop);
        r.keepCell = true;
        return r;
    }
    if (crossesBlock(cfg.Fieldbus, m, b)) {
        return showsWith(cmd.MappingAddress, str::Io96BlockIntegrity);
    }
    cmd.MappingAddress = std::string(text);
    return shows(cmd.MappingAddress);
}

// Moves the PDO COB-IDs of `node` from `base` to `newAddress`; a moved COB-ID that is invalid or
// used by a command of another node is emptied with a message.
void renumberCobIds(CONFIG& c, const RecordView& view, const NodeView& node, int base,
                    const std::string& newAddress, CommitResult& r) {
    const int owner = node.position + 1;
    const int shift = decodeNumber(newAddress).number - base;
    for (const CommandView& self : view.commands()) {
        if (self.owner() != owner || !self.isPdo() || self.cobId.number <= 0) {
            continue;
        }
        INSTRUCTION& cmd = storedCommand(c, self);
        const long moved = static_cast<long>(self.cobId.number) + shift;
        if (!isValidCobId(moved)) {
            r.messages.emplace_back(str::RenumberCobIdIllegal);
            cmd.CobId.clear();
            continue;
        }
        // Only other nodes can clash: this node's COB-IDs all move together, so comparing with a
        // sibling that has not moved yet would report a conflict that will not exist.
        bool conflict = false;
        std::vector<Message> shown;
        for (const CommandView& other : view.commands()) {
            if (other.owner() == owner || other.record->NodeAddress == newAddress ||
                other.cobId.number != moved) {
                continue;
            }
            conflict = true;
            Message message = withNumber(str::RenumberCobIdConflict, other.nodeAddress.number);
            if (std::find(shown.begin(), shown.end(), message) == shown.end()) {
                shown.push_back(message);
                r.messages.push_back(std::move(message));
            }
        }
        cmd.CobId = conflict ? std::string() : decimalText(moved);
    }
}

CommitResult commitNodeAddress(GatewayConfiguration& cfg, const EditorState& state,
                               const RecordView& view, const NodeView& self,
                               std::string_view typed) {
    CONFIG& c = cfg.Config;
    NodeEntry& node = storedNode(c, self);
    const std::string stored = node.NodeAddress;
    std::string text(typed);
    CommitResult r;
    // Only a canonical decimal number in 1..127 is an address; anything else (" 5", "05", "0")
    // is refused silently and the old address stays.
    if (!isNodeAddressText(text)) {
        r.cellText = shownValue(stored);
        r.note = rangeNote(text, 1, kMaxNodeAddress);
        return r;
    }
    if (text == c.SlaveAddress) {
        r.messages.emplace_back(str::NodeAddressIsGateway);
        text = stored;
    }
    if (text != stored) {
        for (const NodeView& other : view.nodes()) {
            if (other.position != self.position && other.record->NodeAddress == text) {
                r.messages.emplace_back(str::NodeAddressRepetitive);
                text = stored;
                break;
            }
        }
    }
    if (text == stored) {
        r.cellText = shownValue(stored);
        return r;
    }
    const int owner = self.position + 1;
    // COB-IDs of a node without an address were made for another one: for a node that lost its
    // address, the one its name still carries; for a pasted node, the copied node's.
    int base = self.address.number;
    if (base <= 0) {
        base = !self.unnamed && self.nameId > 0 ? self.nameId : state.lastCopiedNodeAddress;
    }
    node.NodeAddress = text;
    node.NodeName = std::string(str::NodeNamePrefix) + text;
    r.treeTextChanged = true;
    for (const CommandView& cmd : view.commands()) {
        if (cmd.owner() == owner) {
            storedCommand(c, cmd).NodeAddress = text;
        }
    }
    renumberCobIds(c, view, self, base, text, r);
    r.cellText = text;
    return r;
}

} // namespace

bool isNodeAddressText(std::string_view text) {
    const DecodedNumber n = decodeNumber(text);
    return n.canonical && n.number >= 1 && n.number <= kMaxNodeAddress;
}

std::vector<std::string> defaultCobIds(int nodeId, bool transmit) {
    const int bases[2][4] = {{512, 768, 1024, 1280}, {384, 640, 896, 1152}};
    std::vector<std::string> ids;
    for (const int base : bases[transmit ? 1 : 0]) {
        ids.push_back(decimalText(static_cast<long long>(nodeId) + base));
    }
    return ids;
}

int commandIoLimit(const FIELDBUS& fieldbus) {
    // A text outside the table is held to the largest fixed size.
    const IoSize* size = findIoSize(fieldbus.InportNum);
    return size != nullptr ? size->byteLimit : kIoSizes[kFixedIoSizeCount - 1].byteLimit;
}

PageKind commandPageKind(const std::string& instructionType) {
    if (instructionType == kUploadSdo || instructionType == kDownloadSdo) {
        return PageKind::SdoCommand;
    }
    if (instructionType == kTransmitPdo) {
        return PageKind::TpdoCommand;
    }
    return PageKind::RpdoCommand;
}

GridPage commandGridPage(const GatewayConfiguration& cfg, const EditTarget& target) {
    const CONFIG& c = cfg.Config;
    const RecordView view(c);
    GridPage page;
    if (target.page == PageKind::Node) {
        const NodeView* node = view.node(target.position);
        if (node == nullptr) {
            return page;
        }
        page.kind = PageKind::Node;
        page.rows.push_back(row(str::CmdRowSlaveAddress, node->record->NodeAddress,
                                EditorKind::Text, kHelpSlaveAddress, str::Help61303));
        return page;
    }
    const CommandView* found = isCommandPage(target.page) ? view.command(target.position) : nullptr;
    if (found == nullptr) {
        return page;
    }
    const CommandView& command = *found;
    const INSTRUCTION& cmd = *command.record;
    page.kind = commandPageKind(cmd.InstructionType);
    std::string address = c.SlaveNodeAddress;
    if (cfg.isMaster()) {
        const NodeView* node = view.ownerOf(command);
        address = node != nullptr ? node->record->NodeAddress : cmd.NodeAddress;
    }
    page.rows.push_back(row(str::CmdRowSlaveAddress, address, EditorKind::None, kHelpSlaveAddress,
                            str::Help61303, true));
    if (page.kind == PageKind::SdoCommand) {
        page.rows.push_back(
            row(str::CmdRowIndex, cmd.Index, EditorKind::Text, kHelpIndex, str::Help61304));
        page.rows.push_back(row(str::CmdRowSubIndex, cmd.SubIndex, EditorKind::Text, kHelpSubIndex,
                                str::Help61305));
        page.rows.push_back(row(str::ParamNumberOfBytes, cmd.Bytes, EditorKind::Text, kHelpSdoBytes,
                                str::Help61306));
        page.rows.push_back(row(str::CmdRowMappingAddress, cmd.MappingAddress, EditorKind::Text,
                                kHelpMapping, str::Help61307));
        page.rows.push_back(
            row(str::CmdRowDescription, cmd.Description, EditorKind::Text, kHelpClear, nullptr));
        return page;
    }
    page.rows.push_back(cobIdRow(cfg, view, command, page.kind == PageKind::TpdoCommand));
    page.rows.push_back(
        row(str::ParamNumberOfBytes, cmd.Bytes, EditorKind::Text, kHelpPdoBytes, str::Help61310));
    const bool master = cfg.isMaster();
    page.rows.push_back(row(str::CmdRowMappingAddress, cmd.MappingAddress,
                            master ? EditorKind::Text : EditorKind::None, kHelpMapping,
                            str::Help61307, !master));
    page.rows.push_back(
        row(str::CmdRowDescription, cmd.Description, EditorKind::Text, kHelpClear, nullptr));
    return page;
}

std::string commandCellText(PageKind page, int row, const std::string& shown) {
    if (page == PageKind::SdoCommand && row == kRowSdoIndex) {
        return decimalWithHex(shown, kIndexHexDigits);
    }
    if ((page == PageKind::TpdoCommand || page == PageKind::RpdoCommand) && row == kRowPdoCobId) {
        return decimalWithHex(shown, kCobIdHexDigits);
    }
    return shown;
}

std::string commandCellTip(PageKind page, int row, const std::string& shown) {
    if (page == PageKind::SdoCommand && row == kRowSdoIndex) {
        return decimalAndHex(shown, kIndexHexDigits);
    }
    if ((page == PageKind::TpdoCommand || page == PageKind::RpdoCommand) && row == kRowPdoCobId) {
        return decimalAndHex(shown, kCobIdHexDigits);
    }
    return {};
}

CommitResult commitCommandGridCell(GatewayConfiguration& cfg, const EditorState& state,
                                   const EditTarget& target, int row, std::string_view text) {
    const RecordView view(cfg.Config);
    if (target.page == PageKind::Node) {
        const NodeView* node = view.node(target.position);
        if (row != kRowSlaveAddress || node == nullptr) {
            return nothingEditable();
        }
        return commitNodeAddress(cfg, state, view, *node, text);
    }
    const CommandView* self = isCommandPage(target.page) ? view.command(target.position) : nullptr;
    if (self == nullptr) {
        return nothingEditable();
    }
    INSTRUCTION& cmd = storedCommand(cfg.Config, *self);
    const PageKind kind = commandPageKind(cmd.InstructionType);
    if (kind == PageKind::SdoCommand) {
        switch (row) {
        case kRowSdoIndex: {
            const std::string typed = withoutHexNote(text);
            return commitSdoIndex(cfg, view, *self, hexEntryAsDecimal(typed), typed, false);
        }
        case kRowSdoSubIndex:
            return commitSdoIndex(cfg, view, *self, text, text, true);
        case kRowSdoBytes:
            return commitSdoBytes(cfg, view, *self, text);
        case kRowSdoMapping:
            return commitMapping(cfg, *self, text);
        case kRowSdoDescription:
            cmd.Description = std::string(text);
            return shows(cmd.Description);
        default:
            return nothingEditable();
        }
    }
    switch (row) {
    case kRowPdoCobId:
        return commitCobId(cfg, view, *self, hexEntryAsDecimal(withoutHexNote(text)));
    case kRowPdoBytes:
        return commitPdoBytes(cfg, view, *self, text);
    case kRowPdoMapping:
        if (!cfg.isMaster()) {
            return nothingEditable();
        }
        return commitMapping(cfg, *self, text);
    case kRowPdoDescription:
        cmd.Description = std::string(text);
        return shows(cmd.Description);
    default:
        return nothingEditable();
    }
}

} // namespace torvane
