#include "editor/config_session.h"

#include "comm/transfer_codes.h"
#include "editor/grid.h"
#include "model/strings.h"

#include <utility>

namespace torvane {

ConfigSession::ConfigSession(DocumentUi& ui)
    : cfg_(newConfiguration(kCanopenMaster)), treeEditor_(cfg_, state_), doc_(cfg_, ui),
      shown_(snapshot(0)) {
    doc_.onBegin([this] { beginDocument(); });
}

void ConfigSession::beginDocument() {
    ++generation_;
    ++changes_;
    treeEditor_.resetCopyState();
    undo_.clear();
    redo_.clear();
    shown_ = snapshot(nextId_++);
    // An upload shows a configuration that is on no disk.
    savedId_ = doc_.ModifiedFlag() ? kNoState : shown_.id;
}

void ConfigSession::adoptUpload(const GatewayConfiguration& uploaded) {
    cfg_ = uploaded;
    gateway_ = uploaded;
    doc_.becomeUntitled();
    beginDocument(); // modified and on no disk: no state of its history is the saved one
    notify();
}

void ConfigSession::noteSavedState() {
    // A clear mark means an Open or an archive save since the last step: the state is on disk.
    if (!doc_.ModifiedFlag()) {
        savedId_ = shown_.id;
    }
}

void ConfigSession::record(EditStep step) {
    noteSavedState();
    undo_.push_back({std::move(step), std::move(shown_)});
    if (undo_.size() > kHistoryLimit) {
        undo_.pop_front();
    }
    redo_.clear();
    shown_ = snapshot(nextId_++);
    doc_.setModified(true);
    notify();
}

GridPage ConfigSession::page(const TreeSelection& item) {
    return fillGrid(cfg_, state_, editTargetOf(item));
}

CommitResult ConfigSession::commitCell(const TreeSelection& item, int row,
                                       const std::string& text) {
    // The step is named by the row's label as the page showed it before the change.
    const GridPage before = page(item);
    CommitResult r = commitGridCell(cfg_, state_, editTargetOf(item), row, text);
    if (r.modified && cfg_ == shown_.cfg) {
        // A refused or unchanged value still counts as an edit for the save question, but an
        // undo step that changes nothing would only confuse.
        doc_.setModified(true);
        notify();
    } else if (r.modified) {
        const bool onPage = row >= 0 && row < static_cast<int>(before.rows.size());
        record({onPage ? before.rows[static_cast<std::size_t>(row)].label : Message(), item, item});
    }
    return r;
}

TreeEditResult ConfigSession::treeStep(Text name, const TreeSelection& at, TreeEditResult result) {
    if (result.changed) {
        record({name, at, result.select});
    }
    return result;
}

TreeEditResult ConfigSession::addNode(const TreeSelection& selected) {
    return treeStep(str::StepAddNode, selected, treeEditor_.addNode(selected));
}

TreeEditResult ConfigSession::deleteNode(const TreeSelection& selected) {
    return treeStep(str::StepDeleteNode, selected, treeEditor_.deleteNode(selected));
}

TreeEditResult ConfigSession::deleteCommand(const TreeSelection& selected) {
    return treeStep(str::StepDeleteCommand, selected, treeEditor_.deleteCommand(selected));
}

TreeEditResult ConfigSession::pasteNode(const TreeSelection& selected) {
    return treeStep(str::StepPasteNode, selected, treeEditor_.pasteNode(selected));
}

AddCommandResult ConfigSession::addCommand(const TreeSelection& target, int kind,
                                           const TreeSelection& shown) {
    AddCommandResult r =
        torvane::addCommand(cfg_, state_.firmwareIndex, editTargetOf(target), kind);
    if (r.modified) {
        record({str::StepAddCommand, target, shown});
    }
    return r;
}

MappingChange ConfigSession::calculateMapping(const TreeSelection& at) {
    const int countBefore = cfg_.Config.InstructionCount;
    const MappingCommandResult r = runCalculateMappingCommand(cfg_);
    MappingChange change;
    change.outcome = r.outcome;
    change.message = r.message;
    // A refused calculation may still have cut the commands beyond the table: that is undoable.
    change.stepRecorded =
        r.outcome != MappingOutcome::Refused || cfg_.Config.InstructionCount != countBefore;
    if (change.stepRecorded) {
        record({str::StepCalculateMapping, at, at});
    }
    const int fault =
        r.outcome == MappingOutcome::Refused ? r.refusedCommand : r.totals.firstOverflowCommand;
    if (r.outcome != MappingOutcome::Fits && fault >= 0) {
        change.faultCommands.push_back(fault);
    }
    return change;
}

DownloadApplied ConfigSession::applyDownload(const TransferOutcome& outcome,
                                             const TreeSelection& at) {
    DownloadApplied applied;
    const int countBefore = cfg_.Config.InstructionCount;
    const DownloadChanges changes = applyDownloadChanges(cfg_, outcome);
    if (changes.any()) {
        record({downloadStepName(changes), at, at});
        applied.stepRecorded = true;
    }
    applied.commandsCut = cfg_.Config.InstructionCount != countBefore;
    if (outcome.started && outcome.resultCode == static_cast<int>(TransferResult::Success)) {
        gateway_ = outcome.configuration; // the copy the gateway received
    }
    if (!outcome.started) {
        applied.faultCommands = outcome.checkCommands;
        applied.faultNode = outcome.checkNode;
    }
    return applied;
}

bool ConfigSession::matchesGateway() const {
    if (!gateway_) {
        return false;
    }
    // The layout edition follows the gateway's firmware; it says nothing of the contents.
    const CONFIG& a = cfg_.Config;
    const CONFIG& b = gateway_->Config;
    if (cfg_.ConfigType != gateway_->ConfigType || !(cfg_.Fieldbus == gateway_->Fieldbus) ||
        a.NodeCount != b.NodeCount || a.InstructionCount != b.InstructionCount) {
        return false;
    }
    CONFIG edition = a;
    edition.ConfigEdition = b.ConfigEdition;
    return edition == b;
}

ConfigSession::State ConfigSession::swapIn(State state) {
    noteSavedState();
    State previous = std::exchange(shown_, std::move(state));
    cfg_ = shown_.cfg;
    state_.firmwareIndex = shown_.firmwareIndex;
    doc_.setModified(shown_.id != savedId_);
    return previous;
}

std::optional<TreeSelection> ConfigSession::travel(std::deque<Entry>& from, std::deque<Entry>& to,
                                                   TreeSelection EditStep::*shownItem) {
    if (from.empty()) {
        return std::nullopt;
    }
    Entry entry = std::move(from.back());
    from.pop_back();
    State left = swapIn(std::move(entry.state));
    const TreeSelection where = entry.step.*shownItem;
    to.push_back({std::move(entry.step), std::move(left)});
    notify();
    return where;
}

std::optional<TreeSelection> ConfigSession::undo() {
    return travel(undo_, redo_, &EditStep::before);
}

std::optional<TreeSelection> ConfigSession::redo() {
    return travel(redo_, undo_, &EditStep::after);
}

void ConfigSession::notify() {
    ++changes_;
    for (const Listener& listener : listeners_) {
        listener();
    }
}

} // namespace torvane
