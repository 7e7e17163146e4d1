#pragma once

#include "editor/config_session.h"
#include "editor/grid_page.h"
#include "editor/network_tree.h"

#include <QWidget>
#include <optional>
#include <vector>

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace torvane::gui {

class Prompts;

// The main view: the network tree ("Devices") on the left and the property grid
// ("Configuration") on the right. It shows the session's configuration and keeps none of its
// own. Every decision is taken by the editor rules; the view shows their pages and forwards
// clicks, edits and commands.
class ConfigView : public QWidget {
    Q_OBJECT
public:
    // `session` must outlive the view.
    ConfigView(ConfigSession& session, Prompts& prompts, QWidget* parent = nullptr);
    ~ConfigView() override;

    // Enabled flags of the tree operations for the current selection.
    EditFlags editFlags();

    // Rebuilds the tree from the configuration. `initialised`: the view was initialised for a
    // new, opened or uploaded configuration (selects "Profibus Network"); otherwise the CANopen
    // side is selected and expanded.
    void rebuildTree(bool initialised);

    // Commits the open cell editor, if any, exactly as leaving it would.
    void commitOpenEditor();

    // Repaints the grid page from the configuration after a change made outside the grid (a
    // finished download). An open cell editor stays open when the page keeps its rows.
    void refreshPage();

    // The current selection as the rules see it.
    // The page the grid shows.
    const GridPage& page() const { return page_; }
    TreeSelection selection() const;
    // Selects the item that `wanted` designates; false when there is none.
    bool select(const TreeSelection& wanted);
    // Selects (expanding its node) the first of `commands` (0-based command positions), else
    // the node at 0-based `node`: what a failed check or mapping calculation is about. False
    // when there is no such item.
    bool selectFault(const std::vector<int>& commands, int node = -1);

    QTreeWidget* tree() const { return tree_; }
    QTableWidget* grid() const { return grid_; }
    QComboBox* listEditor() const { return list_; }
    QLineEdit* textEditor() const { return text_; }
    // The tree item of a selection; nullptr when there is none.
    QTreeWidgetItem* itemFor(const TreeSelection& wanted) const;

    void addNode();
    void deleteNode();
    void addCommand();
    void deleteCommand();
    void copyNode();
    void pasteNode();
    void calculateMapping();
    // Undo and Redo of the session's steps: the tree and grid show the restored configuration
    // with the step's item selected. Commit an open cell editor first.
    void undo();
    void redo();

    // The grid row the keyboard works on (-1: none); it follows clicks and the arrow keys.
    int currentRow() const { return currentRow_; }

signals:
    void helpTextChanged(const QString& text);
    // Why a typed value was kept out without a message box, or how it was read; for the status
    // bar (the Info tab gets it with helpTextChanged).
    void noteShown(const QString& text);
    // The current row's value in both forms ("24641 = 0x6041") for the status bar; empty when
    // the current row has none.
    void valueTipChanged(const QString& text);
    void editStateChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillGrid();
    void showPage(const GridPage& page);
    void cellClicked(int row, int column);
    void openEditor(int row, const QString& typed = QString());
    // `byKey`: Enter or Tab committed; the edited row stays current with its focus frame.
    void commitEditor(bool byKey = false);
    void cancelEditor();
    void showRowHelp(int row);
    // The editor rule's note on the commit of `row`, in the status bar and the Info tab.
    void showNote(int row, const Message& note);
    // Keyboard on the grid and in an open editor; true when the key was used.
    bool gridKey(QKeyEvent* key);
    bool editorKey(QKeyEvent* key);
    // Opens the editor of `row` as a key does (Enter, F2, a typed character): nothing for a
    // read-only row, the refusal message when the row refuses.
    void openEditorByKey(int row, const QString& typed);
    // The next (step 1) or previous (step -1) row after `row` whose editor opens; -1 for none.
    int nextEditableRow(int row, int step) const;
    bool keyEditable(int row) const;
    // The current row for a key that opens an editor; the first editable row when none is.
    int keyRow();
    // `frame`: show the focus frame on the row's value cell (keyboard moves only).
    void setCurrentRow(int row, bool frame);
    QString valueTip(int row) const;
    void hideEditors();
    void applyTreeResult(const TreeEditResult& result);
    void showRestored(const std::optional<TreeSelection>& where);
    std::vector<TreeSelection> expandedItems() const;
    // Expands exactly the items named in `expanded` (by kind and position), collapses the rest.
    void restoreExpanded(const std::vector<TreeSelection>& expanded);
    void showContextMenu(const QPoint& pos);
    void refreshNodeTexts();
    void addOneCommand(int kind);
    static TreeSelection selectionOf(const QTreeWidgetItem* item);

    ConfigSession& session_;
    Prompts& prompts_;
    const GatewayConfiguration& cfg_;

    QLabel* treeHeading_;
    QLabel* gridHeading_;
    QTreeWidget* tree_;
    QTableWidget* grid_;
    QComboBox* list_;
    QLineEdit* text_;

    GridPage page_;           // what the grid shows
    bool gridFilled_ = false; // clicks are ignored until a selection filled the grid
    std::optional<TreeSelection> contextTarget_;

    // The open editor: the clicked row, the page and record it commits into.
    enum class OpenEditor { None, List, Text };
    OpenEditor open_ = OpenEditor::None;
    int editRow_ = -1;
    TreeSelection editItem_;
    std::string editOriginal_;
    bool committing_ = false;
    int currentRow_ = -1;
};

} // namespace torvane::gui
