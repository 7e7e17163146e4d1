#include "editor/network_tree.h"

#include "editor/add_command.h"
#include "editor/command_pages.h"
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
    int sameType = 1;
    for (int i = 0; i < c.InstructionCount; ++i) {
        if (c.Instructions[static_cast<std::size_t>(i)].InstructionType == type) {
            ++sameType;
        }
    }
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

TreeSelection nodeItem(const CONFIG& c, int position) {
    return {TreeItemKind::Node, position, c.Nodes[static_cast<std::size_t>(position - 1)].NodeName};
}

} // namespace

std::vector<TreeItem> buildTree(const GatewayConfiguration& cfg) {
    const CONFIG& c = cfg.Config;
    std::vector<TreeItem> roots;
    roots.push_back({TreeItemKind::Profibus, str::ProfibusNetwork, 0, {}});
    const int commands = std::min(c.InstructionCount, kInstructionTableSize);
    if (cfg.isMaster()) {
        TreeItem network{TreeItemKind::CanopenNetwork, str::CanopenNetwork, 0, {}};
        const int nodes = std::min(c.NodeCount, kNodeTableSize);
        for (int n = 1; n <= nodes; ++n) {
            TreeItem node{
                TreeItemKind::Node, c.Nodes[static_cast<std::size_t>(n - 1)].NodeName, n, {}};
            for (int i = 1; i <= commands; ++i) {
                const INSTRUCTION& ins = c.Instructions[static_cast<std::size_t>(i - 1)];
                if (ins.NodeIndex == n) {
                    node.children.push_back(
                        {TreeItemKind::Command, commandLabel(ins.InstructionType), i, {}});
                }
            }
            network.children.push_back(std::move(node));
        }
        roots.push_back(std::move(network));
    } else {
        TreeItem slave{TreeItemKind::CanopenSlave, str::CanopenSlave, 0, {}};
        for (int i = 1; i <= commands; ++i) {
            const INSTRUCTION& ins = c.Instructions[static_cast<std::size_t>(i - 1)];
            slave.children.push_back(
                {TreeItemKind::Command, commandLabel(ins.InstructionType), i, {}});
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
    if (c.NodeCount + 1 > kNodeLimit) {
        result.messages.emplace_back(str::NodesOverrun);
        copy_.addNodeFailed = true;
        return false;
    }
    ++c.NodeCount;
    NodeEntry& n = c.Nodes[static_cast<std::size_t>(c.NodeCount - 1)];
    n.NodeAddress.clear();
    n.NodeName = str::NewNode;
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
    if (!cfg_.isMaster() || selected.kind != TreeItemKind::Node || p < 1 || p > c.NodeCount ||
        p > kNodeTableSize) {
        return result;
    }
    int kept = 0;
    const int commands = std::min(c.InstructionCount, kInstructionTableSize);
    for (int i = 0; i < commands; ++i) {
        INSTRUCTION ins = c.Instructions[static_cast<std::size_t>(i)];
        if (ins.NodeIndex == p) {
            continue;
        }
        if (ins.NodeIndex > p) {
            --ins.NodeIndex;
        }
        c.Instructions[static_cast<std::size_t>(kept++)] = std::move(ins);
    }
    for (int i = kept; i < commands; ++i) {
        c.Instructions[static_cast<std::size_t>(i)] = INSTRUCTION{};
    }
    c.InstructionCount = kept;
    for (int n = p; n < c.NodeCount; ++n) {
        c.Nodes[static_cast<std::size_t>(n - 1)] = c.Nodes[static_cast<std::size_t>(n)];
    }
    c.Nodes[static_cast<std::size_t>(c.NodeCount - 1)] = NodeEntry{"", str::NewNode};
    --c.NodeCount;
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
    const int commands = std::min(c.InstructionCount, kInstructionTableSize);
    if (selected.kind != TreeItemKind::Command || q < 1 || q > commands) {
        return result;
    }
    const int owner = c.Instructions[static_cast<std::size_t>(q - 1)].NodeIndex;
    for (int i = q; i < commands; ++i) {
        c.Instructions[static_cast<std::size_t>(i - 1)] =
            c.Instructions[static_cast<std::size_t>(i)];
    }
    c.Instructions[static_cast<std::size_t>(commands - 1)] = INSTRUCTION{};
    c.InstructionCount = commands - 1;
    result.changed = true;
    result.keepExpanded = true;
    // The deleted item's parent takes the selection.
    if (cfg_.isMaster() && owner >= 1 && owner <= std::min(c.NodeCount, kNodeTableSize)) {
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
    // Commands appended below lie beyond `existing` and are not copied again.
    const int existing = std::min(c.InstructionCount, kInstructionTableSize);
    for (int i = 0; i < existing; ++i) {
        const INSTRUCTION from = c.Instructions[static_cast<std::size_t>(i)];
        if (from.NodeAddress != source) {
            continue;
        }
        Message message;
        if (!isMasterCommandLimitOk(c, from.InstructionType, state_.firmwareIndex, message)) {
            result.messages.push_back(message);
            break;
        }
        INSTRUCTION& to = c.Instructions[static_cast<std::size_t>(c.InstructionCount)];
        to = INSTRUCTION{};
        to.NodeIndex = newNode;
        to.NodeAddress = c.Nodes[static_cast<std::size_t>(newNode - 1)].NodeAddress;
        to.InstructionType = from.InstructionType;
        to.Index = from.Index;
        to.SubIndex = from.SubIndex;
        to.CobId = from.CobId;
        to.MappingAddress = from.MappingAddress;
        to.Bytes = from.Bytes;
        ++c.InstructionCount;
    }
    return result;
}

} // namespace torvane
