#pragma once

// The network tree as plain data, the selection rules and the node/command operations.

#include "editor/grid_page.h"
#include "model/configuration.h"

#include <string>
#include <vector>

namespace torvane {

enum class TreeItemKind {
    None,           // no selection
    Profibus,       // "Profibus Network"
    CanopenNetwork, // "CANopen Network" (master)
    CanopenSlave,   // "CANopen Slave" (slave)
    Node,           // a node under "CANopen Network"
    Command,        // a command under a node or under "CANopen Slave"
};

// One tree item; the GUI turns these into QTreeWidgetItems.
struct TreeItem {
    TreeItemKind kind = TreeItemKind::None;
    std::string text;
    int data = 0; // 1-based node or command position; 0 for the two root items
    std::vector<TreeItem> children;

    bool operator==(const TreeItem&) const = default;
};

// An item as the rules see it: its kind, text and item data.
struct TreeSelection {
    TreeItemKind kind = TreeItemKind::None;
    int data = 0;
    std::string text;

    bool operator==(const TreeSelection&) const = default;
};

// The whole tree: "Profibus Network", then "CANopen Network" (with nodes and their commands)
// or "CANopen Slave" (with the commands).
std::vector<TreeItem> buildTree(const GatewayConfiguration& cfg);

// The root item of the CANopen side for the configuration type.
TreeSelection canopenSideItem(const GatewayConfiguration& cfg);

// The grid page a selected item shows (PageKind::None for no selection).
PageKind pageKindOf(const TreeSelection& item);

// The record a commit started on `item` stores into.
EditTarget editTargetOf(const TreeSelection& item);

struct EditFlags {
    bool addNode = false;
    bool deleteNode = false;
    bool addCommand = false;
    bool deleteCommand = false;
    bool copyNode = false;
    bool pasteNode = false;

    bool operator==(const EditFlags&) const = default;
};

// Copy state of the view; reset whenever a configuration is created or loaded.
struct CopyState {
    int copiedAddress = -1;
    bool pastePossible = false;
    bool addNodeFailed = false;
};

// True when the right-click context menu opens on `item`.
bool contextMenuOpensOn(const TreeSelection& item);

// Outcome of a tree operation.
struct TreeEditResult {
    std::vector<Message> messages;     // message boxes, in order
    bool changed = false;              // configuration changed: rebuild the tree, set ModifiedFlag
    TreeSelection select;              // item to select afterwards
    std::vector<TreeSelection> expand; // items to expand afterwards
    // The nodes kept their positions: items expanded before stay expanded (besides `expand`).
    bool keepExpanded = false;
};

// The tree operations on the live configuration. Each does nothing (changed = false, the
// selection stays) when the selection does not fit it.
class NetworkTreeEditor {
public:
    NetworkTreeEditor(GatewayConfiguration& cfg, EditorState& state) : cfg_(cfg), state_(state) {}

    // Forgets the copied node; run whenever a configuration is created or loaded.
    void resetCopyState() { copy_ = CopyState{}; }
    const CopyState& copyState() const { return copy_; }

    // Enabled flags of the six operations for a selection (refreshes the firmware index).
    EditFlags enabledFlags(const TreeSelection& selected);

    // Appends a "New node" and selects it; refused with "Nodes overrun!" beyond 84 nodes.
    TreeEditResult addNode(const TreeSelection& selected);
    // Removes the selected node and its commands; later nodes and their commands move up.
    TreeEditResult deleteNode(const TreeSelection& selected);
    // Removes the selected command; later commands move up.
    TreeEditResult deleteCommand(const TreeSelection& selected);
    // Remembers the selected node's address for Paste Node (-1 when no node is selected).
    void copyNode(const TreeSelection& selected);
    // Adds a node carrying copies of the copied node's commands; stops at the first limit.
    TreeEditResult pasteNode(const TreeSelection& selected);

private:
    bool appendNode(TreeEditResult& result);

    GatewayConfiguration& cfg_;
    EditorState& state_;
    CopyState copy_;
};

} // namespace torvane
