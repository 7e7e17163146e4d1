#pragma once

#include "editor/document.h"
#include "editor/grid_page.h"
#include "editor/network_tree.h"
#include "model/configuration.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace torvane {

// One committed change as Undo and Redo know it: its name and the tree items it is about.
struct EditStep {
    Message name; // shown after "Undo"/"Redo"; one of the step texts of strings.h or a row label
    TreeSelection before; // selected again by Undo
    TreeSelection after;  // selected again by Redo
};

// The live configuration and what belongs to it: the document (file state and lifecycle), the
// editor state, the copied node, the undo history and the change notification. The view, the
// main window, the transfer runner and the dialogs share one session; none of them keeps a
// configuration.
class ConfigSession {
public:
    // Steps kept for Undo; the oldest goes first. A step holds one copy of the configuration.
    static constexpr std::size_t kHistoryLimit = 100;

    explicit ConfigSession(DocumentUi& ui);
    ConfigSession(const ConfigSession&) = delete;
    ConfigSession& operator=(const ConfigSession&) = delete;

    GatewayConfiguration& configuration() { return cfg_; }
    const GatewayConfiguration& configuration() const { return cfg_; }
    Document& document() { return doc_; }
    const Document& document() const { return doc_; }
    EditorState& editorState() { return state_; }
    NetworkTreeEditor& treeEditor() { return treeEditor_; }

    // Another configuration is shown (New, Open, a recent file, Upload): forgets the copied
    // node and the history. The document calls it for every load; adoptUpload for an upload.
    void beginDocument();
    // A complete upload replaces the configuration: it becomes a new, untitled, modified
    // document (Save asks for a name), then every listener is told.
    void adoptUpload(const GatewayConfiguration& uploaded);
    // Counts beginDocument(): a change of it means another document.
    int documentGeneration() const { return generation_; }
    // Counts every change of the configuration shown (steps, Undo, Redo, another document): what
    // was made of the configuration at one count is out of date at another.
    int changeCount() const { return changes_; }

    // A committed change of the configuration: records it as one undoable step, sets
    // ModifiedFlag, then tells every listener.
    void markModified(EditStep step = {});
    using Listener = std::function<void()>;
    void onModified(Listener listener) { listeners_.push_back(std::move(listener)); }

    // The step Undo or Redo would take back or make again; nullptr when there is none.
    const EditStep* undoStep() const { return undo_.empty() ? nullptr : &undo_.back().step; }
    const EditStep* redoStep() const { return redo_.empty() ? nullptr : &redo_.back().step; }
    // Restores the configuration before the last step (after the last undone one for Redo).
    // ModifiedFlag is cleared exactly when the result is the state last opened or saved.
    // Returns the item to select; nullopt when there was nothing to do.
    std::optional<TreeSelection> undo();
    std::optional<TreeSelection> redo();

private:
    // What a step changes: the configuration and the firmware choice that goes with it.
    struct State {
        GatewayConfiguration cfg;
        int firmwareIndex = 0;
        int id = 0; // equal ids, equal states
    };
    struct Entry {
        EditStep step;
        State state; // before the step on the undo side, after it on the redo side
    };

    State snapshot(int id) const { return {cfg_, state_.firmwareIndex, id}; }
    void noteSavedState();
    // Shows `state`; the state shown until now is returned.
    State swapIn(State state);
    // Moves the newest entry of `from` to `to`, showing its state; the undo and redo sides hold
    // at most kHistoryLimit entries together.
    std::optional<TreeSelection> travel(std::deque<Entry>& from, std::deque<Entry>& to,
                                        TreeSelection EditStep::*shownItem);
    void notify();

    GatewayConfiguration cfg_;
    EditorState state_;
    NetworkTreeEditor treeEditor_;
    Document doc_;
    int generation_ = 0;
    int changes_ = 0;
    std::vector<Listener> listeners_;

    // The configuration as the last step, undo, redo or load left it: the state before the next
    // step, since edits reach the configuration only through steps.
    State shown_;
    std::deque<Entry> undo_;
    std::deque<Entry> redo_;
    static constexpr int kNoState = -1;
    int nextId_ = 1;
    int savedId_ = 0; // the state last opened or saved; ModifiedFlag false means it is shown
};

} // namespace torvane
