#pragma once

// Vocabulary shared by every grid page (parameter pages, node and command pages) and by the
// widgets that show them. Plain data only: the rule code fills it, the GUI displays it.

#include "model/message.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace torvane {

// What the grid shows, decided by the selected tree item.
enum class PageKind {
    None,        // nothing selected / grid not filled
    Profibus,    // "Profibus Network"
    Canopen,     // "CANopen Network" (master) or "CANopen Slave" (slave), by ConfigType
    Node,        // a node under "CANopen Network"
    SdoCommand,  // "Upload SDO" / "Download SDO"
    TpdoCommand, // "Transmit PDO"
    RpdoCommand, // "Receive PDO"
};

enum class EditorKind {
    None, // clicking the value cell opens nothing
    List, // editable drop-down list (QComboBox)
    Text, // one-line text box (QLineEdit)
};

// Help-pane action of a row: kHelpClear empties the pane, kHelpKeep leaves it as it is,
// any other value is a string-table id whose text is in GridRow::helpText.
inline constexpr int kHelpClear = 0;
inline constexpr int kHelpKeep = -1;

// One grid row: column 0 label, column 1 shown value.
struct GridRow {
    Message label;
    std::string value; // as shown (shownValue of the stored text)
    bool grey = false; // value cell painted RGB(200, 200, 200), else white
    EditorKind editor = EditorKind::None;
    std::vector<std::string> choices; // list editor entries, already in the list's sorted order
    std::string listSelection;        // entry selected when the list opens
    Message openRefusal;              // when set: shown as a message instead of opening the editor
    int helpId = kHelpClear;
    Message helpText; // text of helpId ("\r\n" line breaks), empty unless helpId > 0

    bool operator==(const GridRow&) const = default;
};

struct GridPage {
    PageKind kind = PageKind::None;
    std::vector<GridRow> rows; // clicks below the last row do nothing and keep the help text

    bool operator==(const GridPage&) const = default;
};

// The record a commit stores into: the tree item that was selected when the editor opened.
// `position` is that item's data: the 1-based node position on the node page, the 1-based
// command position on the command pages, 0 on the Profibus and CANopen pages.
struct EditTarget {
    PageKind page = PageKind::None;
    int position = 0;

    bool operator==(const EditTarget&) const = default;
};

// Outcome of committing one cell editor.
struct CommitResult {
    std::string cellText;          // what the cell shows (write it only while the target
                                   // is still the selected tree item)
    std::vector<Message> messages; // message boxes to show, in order
    bool keepCell = false;         // the cell keeps its previous text (cellText unused)
    bool refillPage = false;       // other cells of the page changed: rebuild and repaint it
    bool treeTextChanged = false;  // a tree item's text changed (node renamed): refresh texts
    bool rebuildTree = false;      // the tree must be rebuilt from the configuration
    bool modified = true;          // ModifiedFlag is to be set
    // Why the typed text was kept out without a message box, or how it was read; for the status
    // bar and the Info tab. Empty when there is nothing to say.
    Message note;
};

// View state the pages read besides the configuration; kept for the whole run.
struct EditorState {
    int firmwareIndex = 0;         // from FirmwareVersion; starts at 0 when the program starts
    int lastCopiedNodeAddress = 0; // set by every Copy Node made on a node, never reset
};

// Firmware version index of `version`: "1.3X" 0, "2.0" 1, "2.1X" 2, "3.0" 3; any other text
// keeps `previous`.
inline int firmwareVersionIndex(const std::string& version, int previous) {
    static const char* const known[] = {"1.3X", "2.0", "2.1X", "3.0"};
    for (int i = 0; i < 4; ++i) {
        if (version == known[i]) {
            return i;
        }
    }
    return previous;
}

// Choices in the order the list editor shows them: ascending, character by character, letter
// case ignored (digits sort before letters).
inline std::vector<std::string> sortedChoices(std::vector<std::string> choices) {
    std::stable_sort(choices.begin(), choices.end(),
                     [](const std::string& a, const std::string& b) {
                         return std::lexicographical_compare(
                             a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
                                 return std::tolower(static_cast<unsigned char>(x)) <
                                        std::tolower(static_cast<unsigned char>(y));
                             });
                     });
    return choices;
}

} // namespace torvane
