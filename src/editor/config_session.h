#pragma once

#include "editor/add_command.h"
#include "editor/document.h"
#include "editor/grid_page.h"
#include "editor/network_tree.h"
#include "mapping/mapping_calculation.h"
#include "model/configuration.h"
#include "transfer/transfer_job.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace torvane {

struct ConfigSessionAccess;

// One committed change as Undo and Redo know it: its name and the tree items it is about.
struct EditStep {
    Message name; // shown after "Undo"/"Redo"; one of the step texts of strings.h or a row label
    TreeSelection before; // selected again by Undo
    TreeSelection after;  // selected again by Redo
};

// What the window does after Calculate Mapping.
struct MappingChange {
    MappingOutcome outcome = MappingOutcome::Refused;
    Message message;           // the one message box
    bool stepRecorded = false; // addresses written: rebuild the tree, keeping what is open
    // The 0-based command the message is about, to select: the one without a byte count, or the
    // first that does not fit; empty when the mapping fits.
    std::vector<int> faultCommands;
};

// What the window does after a finished download was applied.
struct DownloadApplied {
    bool stepRecorded = false;      // the live configuration changed with it
    bool commandsCut = false;       // the command count changed: rebuild the tree, else repaint
    std::vector<int> faultCommands; // a failed check: 0-based commands to select, else the node
    int faultNode = -1;
};

// The live configuration and what belongs to it: the document (file state and lifecycle), the
// editor state, the copied node, the undo history and the change notification. The view, the
// main window, the transfer runner and the dialogs share one session; none of them keeps a
// configuration. Every change of the configuration is an operation here: it records its undo
// step and returns what the window must show again and select. New and Open go through the
// document.
class ConfigSession {
public:
    // Steps kept for Undo; the oldest goes first. A step holds one copy of the configuration.
    static constexpr std::size_t kHistoryLimit = 100;

    explicit ConfigSession(DocumentUi& ui);
    ConfigSession(const ConfigSession&) = delete;
    ConfigSession& operator=(const ConfigSession&) = delete;

    const GatewayConfiguration& configuration() const { return cfg_; }
    Document& document() { return doc_; }
    const Document& document() const { return doc_; }
    const EditorState& editorState() const { return state_; }
    const CopyState& copyState() const { return treeEditor_.copyState(); }

    // ---- What the window shows ------------------------------------------------------------------

    // The grid page of a tree item (refreshes the firmware index, as every fill of the grid does).
    GridPage page(const TreeSelection& item);
    // Enabled flags of the tree operations for a selection.
    EditFlags editFlags(const TreeSelection& selected) {
        return treeEditor_.enabledFlags(selected);
    }

    // ---- Changes ------------------------------------------------------------------------------

    // Commits `text` into row `row` of the page of `item` (the item selected when the editor
    // opened); a stored change is one step named by the row.
    CommitResult commitCell(const TreeSelection& item, int row, const std::string& text);
    // The tree operations on `selected`; each changed configuration is one step that Redo ends
    // on the item the result selects.
    TreeEditResult addNode(const TreeSelection& selected);
    TreeEditResult deleteNode(const TreeSelection& selected);
    TreeEditResult deleteCommand(const TreeSelection& selected);
    TreeEditResult pasteNode(const TreeSelection& selected);
    // Remembers the selected node for Paste Node; the configuration does not change.
    void copyNode(const TreeSelection& selected) { treeEditor_.copyNode(selected); }
    // Appends a command of entry `kind` of the "Select Commands" list under `target`; `shown` is
    // the item selected meanwhile, which Redo selects again.
    AddCommandResult addCommand(const TreeSelection& target, int kind, const TreeSelection& shown);
    // "Calculate Mapping Address" after its confirmation; `at` is the selected item.
    MappingChange calculateMapping(const TreeSelection& at);
    // Applies what a finished download changed in its copy (the 84 cut, a slave's addresses, the
    // layout the gateway took); `at` is the selected item. A download that changed nothing
    // records no step.
    DownloadApplied applyDownload(const TransferOutcome& outcome, const TreeSelection& at);
    // A complete upload replaces the configuration: it becomes a new, untitled, modified
    // document (Save asks for a name), then every listener is told.
    void adoptUpload(const GatewayConfiguration& uploaded);

    // ---- The gateway's configuration -----------------------------------------------------------

    // The open configuration is the one the gateway runs: equal to what this run last
    // downloaded, uploaded or found equal by a comparison with the gateway (edits taken back
    // count as unchanged). False before any of them.
    bool matchesGateway() const;
    // A comparison with the gateway found the open configuration equal.
    void noteGatewayEqual() { gateway_ = cfg_; }

    // ---- History and notification ---------------------------------------------------------------

    // Another configuration is shown (New, Open, a recent file, Upload): forgets the copied
    // node and the history. The document calls it for every load; adoptUpload for an upload.
    void beginDocument();
    // Counts beginDocument(): a change of it means another document.
    int documentGeneration() const { return generation_; }
    // Counts every change of the configuration shown (steps, Undo, Redo, another document): what
    // was made of the configuration at one count is out of date at another.
    int changeCount() const { return changes_; }
    // Runs after every step, Undo, Redo and upload, with ModifiedFlag already set.
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
    friend struct ConfigSessionAccess; // tests put their cases in place with it

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

    // A committed change of the configuration: records it as one undoable step, sets
    // ModifiedFlag, then tells every listener.
    void record(EditStep step);
    // Records a tree operation's change as a step named `name`, ending on the item it selects.
    TreeEditResult treeStep(Text name, const TreeSelection& at, TreeEditResult result);
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
    std::optional<GatewayConfiguration> gateway_;
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
