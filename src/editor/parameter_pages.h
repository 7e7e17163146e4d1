#pragma once

// The Profibus page and the CANopen master and slave pages of the parameter grid.

#include "editor/grid_page.h"
#include "model/configuration.h"

#include <string>

namespace torvane {

// The Profibus page ("Profibus Network"); refreshes state.firmwareIndex first.
GridPage profibusPage(const GatewayConfiguration& cfg, EditorState& state);

// The CANopen page of the configuration type ("CANopen Network" or "CANopen Slave");
// refreshes state.firmwareIndex first.
GridPage canopenPage(const GatewayConfiguration& cfg, EditorState& state);

// Commits the editor of `row` on the Profibus or CANopen page (`page`). A refused value is
// restored without a message box (cellText is then the stored value, `note` says why); a row that
// opens no editor in the current state changes nothing and returns keepCell with modified false.
CommitResult commitParameter(GatewayConfiguration& cfg, EditorState& state, PageKind page, int row,
                             const std::string& text);

// The numeric range check of the parameter rows: digits only, not empty, value in [lo, hi].
bool passesRangeCheck(const std::string& text, long lo, long hi);

} // namespace torvane
