#include "editor/command_pages.h"

#include "editor/cell_notes.h"
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

// A byte count as a number; "-1" and other unset texts count as nothing.
int bytesOf(const std::string& text) {
    return std::max(0, decimalValue(text));
}

// COB-ID key under which PDO parts are grouped: unset texts ("", "-1") share one key.
std::string cobIdKey(const std::string& text) {
    const std::int32_t v = decimalValue(text);
    return v <= 0 ? std::string() : decimalText(v);
}

// A COB-ID as "%d", empty when its value is 0.
std::string canonicalCobId(const std::string& text) {
    const std::int32_t v = decimalValue(text);
    return v == 0 ? std::string() : decimalText(v);
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
    const std::string value = hexEntryAsDecimal("0x" + std::string(typed));
    if (!isCanonicalDecimal(value)) {
        return -1;
    }
    const long v = decimalValue(value);
    return v >= 1 && v <= kMaxIndex ? v : -1;
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

struct Tables {
    int nodeCount;
    int commandCount;
};

Tables usedTables(const CONFIG& c) {
    return {usedNodeCount(c), usedCommandCount(c)};
}

const NodeEntry* owningNode(const CONFIG& c, const INSTRUCTION& cmd) {
    if (cmd.NodeIndex < 1 || cmd.NodeIndex > usedTables(c).nodeCount) {
        return nullptr;
    }
    return &c.Nodes[static_cast<std::size_t>(cmd.NodeIndex - 1)];
}

GridRow cobIdRow(const GatewayConfiguration& cfg, const INSTRUCTION& cmd, bool transmit) {
    GridRow r =
        row(str::CmdRowCobId, cmd.CobId, EditorKind::List,
            transmit ? kHelpTpdoCobId : kHelpRpdoCobId, transmit ? str::Help61309 : str::Help61311);
    int nodeId = 0;
    if (cfg.isMaster()) {
        const NodeEntry* node = owningNode(cfg.Config, cmd);
        if (node == nullptr || node->NodeName == str::NewNode) {
            r.openRefusal = str::EnterNodeAddress;
            return r;
        }
        nodeId = nodeIdFromName(node->NodeName);
    } else {
        nodeId = decimalValue(cfg.Config.SlaveNodeAddress);
    }
    // PDO1 to PDO4, then "Self-defining": the list opens on the stored COB-ID, on PDO1 when
    // there is none, so that leaving it at once stores nothing unexpected.
    const std::string stored = cobIdKey(cmd.CobId);
    for (const std::string& id : defaultCobIds(nodeId, transmit)) {
        r.choices.push_back(decimalWithHex(id, kCobIdHexDigits));
    }
    r.choices.emplace_back(str::CobIdSelfDefining);
    r.listSelection = stored.empty() ? r.choices.front() : decimalWithHex(stored, kCobIdHexDigits);
    return r;
}

// ---- Commits --------------------------------------------------------------------------------

CommitResult commitCobId(GatewayConfiguration& cfg, int q, std::string_view text) {
    CONFIG& c = cfg.Config;
    INSTRUCTION& cmd = c.Instructions[static_cast<std::size_t>(q)];
    if (text == str::CobIdSelfDefining) {
        cmd.CobId = canonicalCobId(cmd.CobId);
        return showsWith(cmd.CobId, str::SelfDefiningHint);
    }
    // A refused text never shows in the cell: the cell always shows what is stored.
    if (!digitsOnly(text)) {
        return showsWith(cmd.CobId, str::IllegalCobId);
    }
    const std::int32_t v = decimalValue(text);
    if (!isValidCobId(v)) {
        cmd.CobId = canonicalCobId(cmd.CobId);
        return showsWith(cmd.CobId, str::IllegalCobId);
    }
    // Stored in canonical form so that "0389" and "389" are one PDO in every later comparison.
    std::string entered = decimalText(v);
    const int count = usedTables(c).commandCount;
    CommitResult r;
    if (cfg.isMaster()) {
        int sum = 0;
        bool conflict = false;
        for (int j = 0; j < count; ++j) {
            const INSTRUCTION& other = c.Instructions[static_cast<std::size_t>(j)];
            if (j == q || decimalValue(other.CobId) != v) {
                continue;
            }
            if (other.InstructionType != cmd.InstructionType ||
                other.NodeAddress != cmd.NodeAddress) {
                r.messages.push_back(
                    withNumber(str::CobIdConflictNode, decimalValue(other.NodeAddress)));
                conflict = true;
                break;
            }
            sum += bytesOf(other.Bytes);
        }
        if (conflict) {
            entered.clear();
        } else if (bytesOf(cmd.Bytes) + sum > kPdoMaxBytes) {
            r.messages.emplace_back(str::CobIdBytesOutOfRange);
            entered.clear();
        }
        cmd.CobId = entered;
        r.cellText = entered;
        return r;
    }
    for (int j = 0; j < count; ++j) {
        if (j != q && decimalValue(c.Instructions[static_cast<std::size_t>(j)].CobId) == v) {
            return showsWith(cmd.CobId, str::CobIdExists);
        }
    }
    cmd.CobId = entered;
    r.cellText = entered;
    return r;
}

CommitResult commitPdoBytes(GatewayConfiguration& cfg, int q, std::string_view text) {
    CONFIG& c = cfg.Config;
    INSTRUCTION& cmd = c.Instructions[static_cast<std::size_t>(q)];
    const int b = decimalValue(text);
    if (!isCanonicalDecimal(text) || b < 1 || b > kPdoMaxBytes) {
        return showsNoted(cmd.Bytes, rangeNote(text, 1, kPdoMaxBytes));
    }
    const int limit = commandIoLimit(cfg.Fieldbus);
    const int m = std::max(0, decimalValue(cmd.MappingAddress));
    if (m + b > limit) {
        return showsWith(cmd.Bytes, str::MappingOutOfRange);
    }
    const std::string key = cobIdKey(cmd.CobId);
    int sum = b;
    const int count = usedTables(c).commandCount;
    for (int j = 0; j < count; ++j) {
        const INSTRUCTION& other = c.Instructions[static_cast<std::size_t>(j)];
        if (j != q && other.InstructionType == cmd.InstructionType &&
            cobIdKey(other.CobId) == key) {
            sum += bytesOf(other.Bytes);
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

// Bytes of `q` plus those of the other commands reading or writing the same SDO object
// (same type, node address, index and sub-index).
int sdoObjectBytes(const CONFIG& c, int q, int ownBytes, std::string_view index,
                   std::string_view subIndex) {
    const INSTRUCTION& cmd = c.Instructions[static_cast<std::size_t>(q)];
    int sum = ownBytes;
    const int count = usedTables(c).commandCount;
    for (int j = 0; j < count; ++j) {
        const INSTRUCTION& other = c.Instructions[static_cast<std::size_t>(j)];
        if (j != q && other.InstructionType == cmd.InstructionType &&
            other.NodeAddress == cmd.NodeAddress && other.Index == index &&
            other.SubIndex == subIndex) {
            sum += bytesOf(other.Bytes);
        }
    }
    return sum;
}

// `text` is what `typed` reads as (a hex entry already turned into decimal).
CommitResult commitSdoIndex(GatewayConfiguration& cfg, int q, std::string_view text,
                            std::string_view typed, bool subIndex) {
    CONFIG& c = cfg.Config;
    INSTRUCTION& cmd = c.Instructions[static_cast<std::size_t>(q)];
    std::string& field = subIndex ? cmd.SubIndex : cmd.Index;
    const int total = subIndex ? sdoObjectBytes(c, q, bytesOf(cmd.Bytes), cmd.Index, text)
                               : sdoObjectBytes(c, q, bytesOf(cmd.Bytes), text, cmd.SubIndex);
    if (total > kSdoObjectMaxBytes) {
        return showsWith(field, str::SameIndexBytesOutOfRange);
    }
    const long lo = subIndex ? 0 : 1;
    const long hi = subIndex ? kMaxSubIndex : kMaxIndex;
    const std::int32_t v = decimalValue(text);
    const bool digits = digitsOnly(typed);
    if (!isCanonicalDecimal(text) || v < lo || v > hi) {
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

CommitResult commitSdoBytes(GatewayConfiguration& cfg, int q, std::string_view text) {
    CONFIG& c = cfg.Config;
    INSTRUCTION& cmd = c.Instructions[static_cast<std::size_t>(q)];
    const int b = decimalValue(text);
    if (!isCanonicalDecimal(text) || (b != 1 && b != 2 && b != 4)) {
        return showsNoted(cmd.Bytes, text.empty() ? Message(str::NoteSdoBytesNeeded)
                                                  : Message(str::NoteSdoBytesNotAllowed, text));
    }
    const int limit = commandIoLimit(cfg.Fieldbus);
    const int m = std::max(0, decimalValue(cmd.MappingAddress));
    if (m + b > limit) {
        return showsWith(cmd.Bytes, str::MappingOutOfRange);
    }
    if (sdoObjectBytes(c, q, b, cmd.Index, cmd.SubIndex) > kSdoObjectMaxBytes) {
        return showsWith(cmd.Bytes, str::SameIndexBytesOutOfRange);
    }
    if (crossesBlock(cfg.Fieldbus, m, b)) {
        return showsWith(cmd.Bytes, str::Io96BlockIntegrity);
    }
    cmd.Bytes = std::string(text);
    return shows(cmd.Bytes);
}

CommitResult commitMapping(GatewayConfiguration& cfg, int q, std::string_view text) {
    INSTRUCTION& cmd = cfg.Config.Instructions[static_cast<std::size_t>(q)];
    // An emptied cell takes the address away (the mapping calculation fills it again); any other
    // text that is not a plain number is a typing slip and keeps the stored address.
    if (text.empty()) {
        cmd.MappingAddress.clear();
        return shows(cmd.MappingAddress);
    }
    const int limit = commandIoLimit(cfg.Fieldbus);
    if (!isCanonicalDecimal(text)) {
        return showsNoted(cmd.MappingAddress, rangeNote(text, 0, limit - 1));
    }
    const int m = decimalValue(text);
    const int b = bytesOf(cmd.Bytes);
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

// Moves the PDO COB-IDs of node `p` (0-based) from `base` to `newAddress`; a moved COB-ID that is
// invalid or used by a command of another node is emptied with a message.
void renumberCobIds(CONFIG& c, int p, int base, const std::string& newAddress, CommitResult& r) {
    const int count = usedTables(c).commandCount;
    const int owner = p + 1;
    const int shift = decimalValue(newAddress) - base;
    for (int k = 0; k < count; ++k) {
        INSTRUCTION& cmd = c.Instructions[static_cast<std::size_t>(k)];
        if (cmd.NodeIndex != owner || !isPdoCommand(cmd.InstructionType) ||
            decimalValue(cmd.CobId) <= 0) {
            continue;
        }
        const long moved = static_cast<long>(decimalValue(cmd.CobId)) + shift;
        if (!isValidCobId(moved)) {
            r.messages.emplace_back(str::RenumberCobIdIllegal);
            cmd.CobId.clear();
            continue;
        }
        // Only other nodes can clash: this node's COB-IDs all move together, so comparing with a
        // sibling that has not moved yet would report a conflict that will not exist.
        bool conflict = false;
        std::vector<Message> shown;
        for (int j = 0; j < count; ++j) {
            const INSTRUCTION& other = c.Instructions[static_cast<std::size_t>(j)];
            if (other.NodeIndex == owner || other.NodeAddress == newAddress ||
                decimalValue(other.CobId) != moved) {
                continue;
            }
            conflict = true;
            Message message =
                withNumber(str::RenumberCobIdConflict, decimalValue(other.NodeAddress));
            if (std::find(shown.begin(), shown.end(), message) == shown.end()) {
                shown.push_back(message);
                r.messages.push_back(std::move(message));
            }
        }
        cmd.CobId = conflict ? std::string() : decimalText(moved);
    }
}

CommitResult commitNodeAddress(GatewayConfiguration& cfg, const EditorState& state, int p,
                               std::string_view typed) {
    CONFIG& c = cfg.Config;
    NodeEntry& node = c.Nodes[static_cast<std::size_t>(p)];
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
        const int nodes = usedTables(c).nodeCount;
        for (int j = 0; j < nodes; ++j) {
            if (j != p && c.Nodes[static_cast<std::size_t>(j)].NodeAddress == text) {
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
    const int count = usedTables(c).commandCount;
    const int owner = p + 1;
    // COB-IDs of a node without an address were made for another one: for a node that lost its
    // address, the one its name still carries; for a pasted node, the copied node's.
    int base = decimalValue(stored);
    if (base <= 0) {
        const int named = nodeIdFromName(node.NodeName);
        base = node.NodeName != str::NewNode && named > 0 ? named : state.lastCopiedNodeAddress;
    }
    node.NodeAddress = text;
    node.NodeName = std::string(str::NodeNamePrefix) + text;
    r.treeTextChanged = true;
    for (int k = 0; k < count; ++k) {
        INSTRUCTION& cmd = c.Instructions[static_cast<std::size_t>(k)];
        if (cmd.NodeIndex == owner) {
            cmd.NodeAddress = text;
        }
    }
    renumberCobIds(c, p, base, text, r);
    r.cellText = text;
    return r;
}

} // namespace

bool isNodeAddressText(std::string_view text) {
    if (!isCanonicalDecimal(text)) {
        return false;
    }
    const std::int32_t value = decimalValue(text);
    return value >= 1 && value <= kMaxNodeAddress;
}

int nodeIdFromName(const std::string& nodeName) {
    return nodeName.size() > 5 ? decimalValue(std::string_view(nodeName).substr(5)) : 0;
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
    const Tables used = usedTables(c);
    GridPage page;
    if (target.page == PageKind::Node) {
        if (target.position < 1 || target.position > used.nodeCount) {
            return page;
        }
        const NodeEntry& node = c.Nodes[static_cast<std::size_t>(target.position - 1)];
        page.kind = PageKind::Node;
        page.rows.push_back(row(str::CmdRowSlaveAddress, node.NodeAddress, EditorKind::Text,
                                kHelpSlaveAddress, str::Help61303));
        return page;
    }
    if (!isCommandPage(target.page) || target.position < 1 || target.position > used.commandCount) {
        return page;
    }
    const INSTRUCTION& cmd = c.Instructions[static_cast<std::size_t>(target.position - 1)];
    page.kind = commandPageKind(cmd.InstructionType);
    std::string address = c.SlaveNodeAddress;
    if (cfg.isMaster()) {
        const NodeEntry* node = owningNode(c, cmd);
        address = node != nullptr ? node->NodeAddress : cmd.NodeAddress;
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
    page.rows.push_back(cobIdRow(cfg, cmd, page.kind == PageKind::TpdoCommand));
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
    const Tables used = usedTables(cfg.Config);
    if (target.page == PageKind::Node) {
        if (row != kRowSlaveAddress || target.position < 1 || target.position > used.nodeCount) {
            return nothingEditable();
        }
        return commitNodeAddress(cfg, state, target.position - 1, text);
    }
    if (!isCommandPage(target.page) || target.position < 1 || target.position > used.commandCount) {
        return nothingEditable();
    }
    const int q = target.position - 1;
    INSTRUCTION& cmd = cfg.Config.Instructions[static_cast<std::size_t>(q)];
    const PageKind kind = commandPageKind(cmd.InstructionType);
    if (kind == PageKind::SdoCommand) {
        switch (row) {
        case kRowSdoIndex: {
            const std::string typed = withoutHexNote(text);
            return commitSdoIndex(cfg, q, hexEntryAsDecimal(typed), typed, false);
        }
        case kRowSdoSubIndex:
            return commitSdoIndex(cfg, q, text, text, true);
        case kRowSdoBytes:
            return commitSdoBytes(cfg, q, text);
        case kRowSdoMapping:
            return commitMapping(cfg, q, text);
        case kRowSdoDescription:
            cmd.Description = std::string(text);
            return shows(cmd.Description);
        default:
            return nothingEditable();
        }
    }
    switch (row) {
    case kRowPdoCobId:
        return commitCobId(cfg, q, hexEntryAsDecimal(withoutHexNote(text)));
    case kRowPdoBytes:
        return commitPdoBytes(cfg, q, text);
    case kRowPdoMapping:
        if (!cfg.isMaster()) {
            return nothingEditable();
        }
        return commitMapping(cfg, q, text);
    case kRowPdoDescription:
        cmd.Description = std::string(text);
        return shows(cmd.Description);
    default:
        return nothingEditable();
    }
}

} // namespace torvane
