#include "editor/network_tree.h"

#include "editor/add_command.h"
#include "editor/command_pages.h"
#include "model/record_view.h"
#include "model/strings.h"
#include "model/text_number.h"

#include <algorithm>

namespace torvane {

namespace {

bool isMasterCommandLimitOk(const CONFIG& c, const std::string& type, int firmwareIndex,
                            Message& message) {
    if (firmwareIndex >= 2) {
        if (c.InstructionCount + 1 > kCommandCap) {
            message = str::CommandsNumberExceed;
            return false;
        }
        return true;
    }
    const std::span<const INSTRUCTION> commands = usedCommands(c);
    const int sameType = 1 + static_cast<int>(std::count_if(
                                 commands.begin(), commands.end(),
                                 [&](const INSTRUCTION& i) { return i.InstructionType == type; }));
    const CommandTypeLimit limit = oldFirmwareCommandLimit(kCanopenMaster, type);
    if (sameType > limit.limit) {
        message = limit.message;
        return false;
    }
    if (c.InstructionCount + 1 > kInstructionTableSize) {
        message = str::CommandsNumberExceed;
        return false;
    }
    return true;
}

// The item of the used node at 1-based `position`.
TreeSelection nodeItem(const CONFIG& c, int position) {
    return {TreeItemKind::Node, position, usedNodes(c)[position - 1].NodeName};
}

TreeItem commandItem(const CommandView& cmd) {
    const CommandType* type = cmd.type();
    return {TreeItemKind::Command, type != nullptr ? type->label : "", cmd.position + 1, {}};
}

} // namespace

std::vector<TreeItem> buildTree(const GatewayConfiguration& cfg) {
    const RecordView view(cfg.Config);
    std::vector<TreeItem> roots;
    roots.push_back({TreeItemKind::Profibus, str::ProfibusNetwork, 0, {}});
    if (cfg.isMaster()) {
        TreeItem network{TreeItemKind::CanopenNetwork, str::CanopenNetwork, 0, {}};
        for (const NodeView& n : view.nodes()) {
            TreeItem node{TreeItemKind::Node, n.record->NodeName, n.position + 1, {}};
            for (const CommandView& cmd : view.commands()) {
                if (cmd.owner() == node.data) {
                    node.children.push_back(commandItem(cmd));
                }
            }
            network.children.push_back(std::move(node));
        }
        roots.push_back(std::move(network));
    } else {
        TreeItem slave{TreeItemKind::CanopenSlave, str::CanopenSlave, 0, {}};
        for (const CommandView& cmd : view.commands()) {
            slave.children.push_back(commandItem(cmd));
        }
        roots.push_back(std::move(slave));
    }
    return roots;
}

TreeSelection canopenSideItem(const GatewayConfiguration& cfg) {
    if (cfg.isMaster()) {
        return {TreeItemKind::CanopenNetwork, 0, str::CanopenNetwork};
    }
    return {TreeItemKind::CanopenSlave, 0, str::CanopenSlave};
}

PageKind pageKindOf(const TreeSelection& item) {
    switch (item.kind) {
    case TreeItemKind::None:
        return PageKind::None;
    case TreeItemKind::Profibus:
        return PageKind::Profibus;
    case TreeItemKind::CanopenNetwork:
    case TreeItemKind::CanopenSlave:
        return PageKind::Canopen;
    case TreeItemKind::Node:
        return PageKind::Node;
    case TreeItemKind::Command:
        break;
    }
    for (const CommandType& t : kCommandTypes) {
        if (item.text == t.label) {
            return commandPageKind(t.code);
        }
    }
    return PageKind::RpdoCommand;
}

EditTarget editTargetOf(const TreeSelection& item) {
    return {pageKindOf(item), item.data};
}

bool contextMenuOpensOn(const TreeSelection& item) {
    return item.kind != TreeItemKind::None && item.kind != TreeItemKind::Profibus;
}

EditFlags NetworkTreeEditor::enabledFlags(const TreeSelection& selected) {
    state_.firmwareIndex = firmwareVersionIndex(cfg_.FirmwareVersion, state_.firmwareIndex);
    EditFlags f;
    const bool node = selected.kind == TreeItemKind::Node;
    // On a node, Add Node adds another node to the network.
    f.addNode = cfg_.isMaster() && (selected.kind == TreeItemKind::CanopenNetwork || node);
    f.deleteNode = node;
    f.addCommand = node || selected.kind == TreeItemKind::CanopenSlave;
    f.deleteCommand = selected.kind == TreeItemKind::Command;
    f.copyNode = node;
    f.pasteNode = node && copy_.pastePossible;
    return f;
}

bool NetworkTreeEditor::appendNode(TreeEditResult& result) {
    CONFIG& c = cfg_.Config;
    if (c.NodeCount + 1 > kNodeLimit || !torvane::appendNode(c, {"", str::NewNode})) {
        result.messages.emplace_back(str::NodesOverrun);
        copy_.addNodeFailed = true;
        return false;
    }
    result.changed = true;
    return true;
}

TreeEditResult NetworkTreeEditor::addNode(const TreeSelection& selected) {
    TreeEditResult result;
    result.select = selected;
    if (!cfg_.isMaster() ||
        (selected.kind != TreeItemKind::CanopenNetwork && selected.kind != TreeItemKind::Node)) {
        return result;
    }
    if (appendNode(result)) {
        // The new node is selected, so that its address can be typed at once.
        result.select = nodeItem(cfg_.Config, cfg_.Config.NodeCount);
        result.expand.push_back(canopenSideItem(cfg_));
        result.keepExpanded = true;
    }
    return result;
}

TreeEditResult NetworkTreeEditor::deleteNode(const TreeSelection& selected) {
    TreeEditResult result;
    result.select = selected;
    CONFIG& c = cfg_.Config;
    const int p = selected.data;
    if (!cfg_.isMaster() || selected.kind != TreeItemKind::Node || p < 1 || p > usedNodeCount(c)) {
        return result;
    }
    eraseNode(c, p - 1);
    result.changed = true;
    result.select = canopenSideItem(cfg_);
    result.expand.push_back(result.select);
    return result;
}

TreeEditResult NetworkTreeEditor::deleteCommand(const TreeSelection& selected) {
    TreeEditResult result;
    result.select = selected;
    CONFIG& c = cfg_.Config;
    const int q = selected.data;
    if (selected.kind != TreeItemKind::Command || q < 1 || q > usedCommandCount(c)) {
        return result;
    }
    const int owner = usedCommands(c)[q - 1].NodeIndex;
    eraseCommand(c, q - 1);
    result.changed = true;
    result.keepExpanded = true;
    // The deleted item's parent takes the selection.
    if (cfg_.isMaster() && owner >= 1 && owner <= usedNodeCount(c)) {
        result.select = nodeItem(c, owner);
    } else {
        result.select = canopenSideItem(cfg_);
    }
    return result;
}

void NetworkTreeEditor::copyNode(const TreeSelection& selected) {
    if (selected.kind != TreeItemKind::Node) {
        copy_.copiedAddress = -1;
        copy_.pastePossible = false;
        return;
    }
    copy_.copiedAddress = nodeIdFromName(selected.text);
    state_.lastCopiedNodeAddress = copy_.copiedAddress;
    copy_.pastePossible = copy_.copiedAddress > 0;
}

TreeEditResult NetworkTreeEditor::pasteNode(const TreeSelection& selected) {
    TreeEditResult result;
    result.select = selected;
    if (!cfg_.isMaster() || selected.kind != TreeItemKind::Node || !copy_.pastePossible) {
        return result;
    }
    copy_.addNodeFailed = false;
    if (!appendNode(result)) {
        return result;
    }
    state_.firmwareIndex = firmwareVersionIndex(cfg_.FirmwareVersion, state_.firmwareIndex);
    CONFIG& c = cfg_.Config;
    const int newNode = c.NodeCount;
    result.expand.push_back(nodeItem(c, newNode));
    result.keepExpanded = true;
    const std::string source = decimalText(copy_.copiedAddress);
    // Decoded before the copies are appended: they lie beyond and are not copied again.
    const RecordView existing(c);
    for (const CommandView& command : existing.commands()) {
        const INSTRUCTION& from = *command.record;
        if (from.NodeAddress != source) {
            continue;
        }
        Message message;
        if (!isMasterCommandLimitOk(c, from.InstructionType, state_.firmwareIndex, message)) {
            result.messages.push_back(message);
            break;
        }
        INSTRUCTION to;
        to.NodeIndex = newNode;
        to.NodeAddress = usedNodes(c).back().NodeAddress;
        to.InstructionType = from.InstructionType;
        to.Index = from.Index;
        to.SubIndex = from.SubIndex;
        to.CobId = from.CobId;
        to.MappingAddress = from.MappingAddress;
        to.Bytes = from.Bytes;
        appendCommand(c, to);
    }
    return result;
}

} // namespace torvane
