#include "model/record_view.h"

#include "model/strings.h"
#include "model/text_number.h"

namespace torvane {

namespace {

// Besides the empty text, the older program's mark for a value not yet entered.
constexpr std::string_view kNotEntered = "-1";

bool isNotEntered(std::string_view text) {
    return text.empty() || text == kNotEntered;
}

} // namespace

DecodedNumber decodeNumber(std::string_view text) {
    DecodedNumber n;
    n.number = decimalValue(text);
    n.canonical = isCanonicalDecimal(text);
    if (!isNotEntered(text)) {
        n.value = n.number;
    }
    return n;
}

std::string shownValue(const std::string& stored) {
    return stored == kNotEntered ? std::string() : stored;
}

int nodeIdFromName(std::string_view nodeName) {
    const std::string_view prefix = str::NodeNamePrefix;
    return nodeName.size() > prefix.size() ? decimalValue(nodeName.substr(prefix.size())) : 0;
}

RecordView::RecordView(const CONFIG& config) {
    const std::span<const NodeEntry> nodes = usedNodes(config);
    nodes_.reserve(nodes.size());
    for (const NodeEntry& n : nodes) {
        nodes_.push_back({&n, static_cast<int>(nodes_.size()), decodeNumber(n.NodeAddress),
                          nodeIdFromName(n.NodeName), n.NodeName == str::NewNode});
    }
    const std::span<const INSTRUCTION> commands = usedCommands(config);
    commands_.reserve(commands.size());
    for (const INSTRUCTION& c : commands) {
        CommandView v;
        v.record = &c;
        v.position = static_cast<int>(commands_.size());
        if (const CommandType* t = findCommandType(c.InstructionType)) {
            v.kind = t->kind;
        }
        v.code = decodeNumber(c.InstructionType);
        v.nodeAddress = decodeNumber(c.NodeAddress);
        v.index = decodeNumber(c.Index);
        v.subIndex = decodeNumber(c.SubIndex);
        v.cobId = decodeNumber(c.CobId);
        v.mappingAddress = decodeNumber(c.MappingAddress);
        v.bytes = decodeNumber(c.Bytes);
        commands_.push_back(v);
    }
}

const NodeView* RecordView::node(int position) const {
    if (position < 1 || position > static_cast<int>(nodes_.size())) {
        return nullptr;
    }
    return &nodes_[static_cast<std::size_t>(position - 1)];
}

const CommandView* RecordView::command(int position) const {
    if (position < 1 || position > static_cast<int>(commands_.size())) {
        return nullptr;
    }
    return &commands_[static_cast<std::size_t>(position - 1)];
}

std::vector<const CommandView*> RecordView::ofKind(CommandKind kind) const {
    std::vector<const CommandView*> list;
    for (const CommandView& c : commands_) {
        if (c.kind == kind) {
            list.push_back(&c);
        }
    }
    return list;
}

INSTRUCTION& storedCommand(CONFIG& config, const CommandView& command) {
    return config.Instructions.at(static_cast<std::size_t>(command.position));
}

NodeEntry& storedNode(CONFIG& config, const NodeView& node) {
    return config.Nodes.at(static_cast<std::size_t>(node.position));
}

} // namespace torvane
