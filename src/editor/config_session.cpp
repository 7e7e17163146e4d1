#include "editor/config_session.h"

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

void ConfigSession::markModified(EditStep step) {
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
