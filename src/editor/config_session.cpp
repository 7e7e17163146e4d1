#include "editor/config_session.h"

#include <utility>

namespace torvane {

ConfigSession::ConfigSession(DocumentUi& ui)
    : cfg_(newConfiguration(kCanopenMaster)), treeEditor_(cfg_, state_), doc_(cfg_, ui),
      shown_(snapshot(0)) {}

void ConfigSession::beginDocument() {
    ++generation_;
    treeEditor_.resetCopyState();
    undo_.clear();
    redo_.clear();
    shown_ = snapshot(nextId_++);
    // An upload shows a configuration that is on no disk.
    savedId_ = doc_.ModifiedFlag() ? kNoState : shown_.id;
}

void ConfigSession::markModified(EditStep step) {
    if (!doc_.ModifiedFlag()) {
        savedId_ = shown_.id; // an Open or a save since the last step
    }
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
    if (!doc_.ModifiedFlag()) {
        savedId_ = shown_.id;
    }
    State previous = std::exchange(shown_, std::move(state));
    cfg_ = shown_.cfg;
    state_.firmwareIndex = shown_.firmwareIndex;
    doc_.setModified(shown_.id != savedId_);
    return previous;
}

std::optional<TreeSelection> ConfigSession::undo() {
    if (undo_.empty()) {
        return std::nullopt;
    }
    Entry entry = std::move(undo_.back());
    undo_.pop_back();
    State after = swapIn(std::move(entry.state));
    const TreeSelection where = entry.step.before;
    redo_.push_back({std::move(entry.step), std::move(after)});
    notify();
    return where;
}

std::optional<TreeSelection> ConfigSession::redo() {
    if (redo_.empty()) {
        return std::nullopt;
    }
    Entry entry = std::move(redo_.back());
    redo_.pop_back();
    State before = swapIn(std::move(entry.state));
    const TreeSelection where = entry.step.after;
    undo_.push_back({std::move(entry.step), std::move(before)});
    notify();
    return where;
}

void ConfigSession::notify() {
    for (const Listener& listener : listeners_) {
        listener();
    }
}

} // namespace torvane
