#pragma once

// The node page and the SDO/TPDO/RPDO command pages of the grid: what they show and how each
// value cell commits into the configuration. Toolkit-free; the view only displays the result.

#include "editor/grid_page.h"
#include "model/configuration.h"

#include <string>
#include <string_view>
#include <vector>

namespace torvane {

// Row numbers of the command pages.
inline constexpr int kRowSlaveAddress = 0;
inline constexpr int kRowSdoIndex = 1;
inline constexpr int kRowSdoSubIndex = 2;
inline constexpr int kRowSdoBytes = 3;
inline constexpr int kRowSdoMapping = 4;
inline constexpr int kRowSdoDescription = 5;
inline constexpr int kRowPdoCobId = 1;
inline constexpr int kRowPdoBytes = 2;
inline constexpr int kRowPdoMapping = 3;
inline constexpr int kRowPdoDescription = 4;

// Byte limit of each Profibus buffer for the command checks: the I/O size choice, 244 for the
// hardware-configuration choice, 112 for any other text.
int commandIoLimit(const FIELDBUS& fieldbus);

// True when `text` may become a node address: a canonical decimal number in 1..127.
bool isNodeAddressText(std::string_view text);

// The four usual COB-IDs of a node's Transmit PDO (node + 384, 640, 896, 1152) or Receive PDO
// (node + 512, 768, 1024, 1280), as decimal texts in that order.
std::vector<std::string> defaultCobIds(int nodeId, bool transmit);

// Page kind of a command by its type code, as the tree text decides it: SDO for "1"/"2", TPDO
// for "3", RPDO for anything else.
PageKind commandPageKind(const std::string& instructionType);

// The rows of the node page (target.page == Node) or of a command page (SdoCommand, TpdoCommand,
// RpdoCommand) for the record `target` designates. Returns a page with kind None and no rows
// when the target does not designate a used node or command.
GridPage commandGridPage(const GatewayConfiguration& cfg, const EditTarget& target);

// Commits `text` (the picked list entry or the typed text) into row `row` of the node or command
// page of `target` and returns what the cell shows and the messages to show in order. A target
// or row that designates nothing editable changes nothing and returns modified == false.
// The Index and COB-ID cells also take hexadecimal ("0x6041", "6041h"), stored as decimal, and
// the form they show ("24641 (0x6041)"). `note` says why a typed text was kept out silently, or
// how a bare Index of decimal digits was read.
CommitResult commitCommandGridCell(GatewayConfiguration& cfg, const EditorState& state,
                                   const EditTarget& target, int row, std::string_view text);

// What the cell of `row` shows for its value `shown`: the Index (SDO page) and the COB-ID (PDO
// pages) as "24641 (0x6041)", every other cell its value as it is. The text editor opens with the
// value itself, and the stored text never carries the brackets.
std::string commandCellText(PageKind page, int row, const std::string& shown);

// The value of an Index cell (SDO page) or COB-ID cell (PDO pages) in both forms, for its tooltip
// and the status bar: "24641 = 0x6041" (index: 4 hex digits), "385 = 0x181" (COB-ID: 3 hex
// digits). Empty for every other cell and for an empty or non-numeric value.
std::string commandCellTip(PageKind page, int row, const std::string& shown);

} // namespace torvane
