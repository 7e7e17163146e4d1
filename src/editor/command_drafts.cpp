#include "editor/command_drafts.h"

#include "editor/add_command.h"
#include "editor/command_pages.h"
#include "editor/grid.h"
#include "model/record_view.h"
#include "model/strings.h"

#include <algorithm>

namespace torvane {
namespace {

constexpr int kMaxNodeAddress = 127;

// The reasons a commit gives for keeping a typed text out.
std::vector<Message> reasonsOf(const CommitResult& r, const std::string& typed) {
    if (!r.messages.empty()) {
        return r.messages;
    }
    if (!r.note.empty()) {
        return {r.note};
    }
    return {Message(str::DraftRefused, typed)};
}

DraftResult refused(std::vector<Message> reasons) {
    DraftResult r;
    r.refusal = std::move(reasons);
    return r;
}

TreeSelection nodeItem(const CONFIG& c, int position) {
    return {TreeItemKind::Node, position, usedNodes(c)[position - 1].NodeName};
}

// Appends one draft under node `node` and types its cells; false with the reasons when a limit
// or a cell refused it, the command then removed again.
bool addOne(GatewayConfiguration& cfg, EditorState& state, int node, const INSTRUCTION& draft,
            DraftOutcome& outcome) {
    const std::vector<AddCommandEntry> entries = addCommandEntries(cfg.ConfigType);
    const auto entry = std::find_if(entries.begin(), entries.end(), [&](const AddCommandEntry& e) {
        return e.instructionType == draft.InstructionType;
    });
    if (entry == entries.end()) {
        outcome.reasons.emplace_back(str::DraftRefused, draft.InstructionType);
        return false;
    }
    const AddCommandResult added = addCommand(cfg, state.firmwareIndex, {PageKind::Node, node},
                                              static_cast<int>(entry - entries.begin()));
    if (added.status != AddCommandStatus::Added) {
        outcome.reasons = added.messages;
        return false;
    }
    const int position = added.position;
    const EditTarget target{commandPageKind(draft.InstructionType), position};
    const bool pdo = isPdoCommand(draft.InstructionType);
    struct Cell {
        int row;
        std::string INSTRUCTION::*field;
    };
    // The COB-ID before the byte count: until a PDO has its COB-ID it shares the empty one with
    // every other PDO of its type in the byte-count check.
    const std::vector<Cell> cells =
        pdo ? std::vector<Cell>{{kRowPdoCobId, &INSTRUCTION::CobId},
                                {kRowPdoBytes, &INSTRUCTION::Bytes},
                                {kRowPdoDescription, &INSTRUCTION::Description}}
            : std::vector<Cell>{{kRowSdoIndex, &INSTRUCTION::Index},
                                {kRowSdoSubIndex, &INSTRUCTION::SubIndex},
                                {kRowSdoBytes, &INSTRUCTION::Bytes},
                                {kRowSdoDescription, &INSTRUCTION::Description}};
    for (const Cell& cell : cells) {
        const std::string& typed = draft.*cell.field;
        if (typed.empty()) {
            continue;
        }
        const CommitResult r = commitGridCell(cfg, state, target, cell.row, typed);
        if (usedCommands(cfg.Config)[position - 1].*cell.field != typed) {
            outcome.reasons = reasonsOf(r, typed);
            eraseCommand(cfg.Config, position - 1);
            return false;
        }
    }
    outcome.position = position;
    return true;
}

} // namespace

bool DraftResult::changed() const {
    return nodeAdded || std::any_of(commands.begin(), commands.end(),
                                    [](const DraftOutcome& o) { return o.added; });
}

int DraftResult::refusedCount() const {
    return static_cast<int>(std::count_if(commands.begin(), commands.end(),
                                          [](const DraftOutcome& o) { return !o.added; }));
}

DraftResult addDrafts(GatewayConfiguration& cfg, EditorState& state, const NodeDrafts& drafts) {
    state.firmwareIndex = firmwareVersionIndex(cfg.FirmwareVersion, state.firmwareIndex);
    if (!cfg.isMaster()) {
        return refused({str::DraftsNeedMaster});
    }
    CONFIG& c = cfg.Config;
    DraftResult result;
    int node = drafts.node;
    if (node == 0) {
        // A temporary tree editor: the session's copied node stays as it is.
        NetworkTreeEditor tree(cfg, state);
        const TreeEditResult added = tree.addNode(canopenSideItem(cfg));
        if (!added.changed) {
            return refused(added.messages);
        }
        node = c.NodeCount;
        const CommitResult typed =
            commitGridCell(cfg, state, {PageKind::Node, node}, kRowSlaveAddress, drafts.address);
        if (drafts.address.empty() || usedNodes(c)[node - 1].NodeAddress != drafts.address) {
            eraseNode(c, node - 1);
            return refused(reasonsOf(typed, drafts.address));
        }
        if (!drafts.name.empty()) {
            usedNodes(c)[node - 1].NodeName = drafts.name;
        }
        result.nodeAdded = true;
    } else if (node < 1 || node > usedNodeCount(c)) {
        return refused({});
    } else if (!decodeNumber(usedNodes(c)[node - 1].NodeAddress).entered()) {
        // Its PDOs' COB-IDs are made for an address.
        return refused({str::EnterNodeAddress});
    }
    result.node = node;
    for (const INSTRUCTION& draft : drafts.commands) {
        DraftOutcome outcome;
        outcome.added = addOne(cfg, state, node, draft, outcome);
        result.commands.push_back(std::move(outcome));
    }
    result.select = nodeItem(c, node);
    return result;
}

std::vector<int> freeNodeAddresses(const GatewayConfiguration& cfg) {
    const RecordView view(cfg.Config);
    std::vector<bool> taken(kMaxNodeAddress + 1, false);
    for (const NodeView& n : view.nodes()) {
        if (n.address.entered() && n.address.number >= 1 && n.address.number <= kMaxNodeAddress) {
            taken[static_cast<std::size_t>(n.address.number)] = true;
        }
    }
    const DecodedNumber gateway = decodeNumber(cfg.Config.SlaveAddress);
    std::vector<int> free;
    for (int a = 1; a <= kMaxNodeAddress; ++a) {
        if (!taken[static_cast<std::size_t>(a)] && !(gateway.entered() && gateway.number == a)) {
            free.push_back(a);
        }
    }
    return free;
}

} // namespace torvane
