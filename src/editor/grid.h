#pragma once

// One entry point for the view: the page of any tree item and the commit of any cell.

#include "editor/grid_page.h"
#include "model/configuration.h"

#include <string>

namespace torvane {

// The page `target` shows (PageKind::None: an empty page). Refreshes state.firmwareIndex from
// FirmwareVersion first, as every fill of the grid does.
GridPage fillGrid(const GatewayConfiguration& cfg, EditorState& state, const EditTarget& target);

// Commits `text` (the picked list entry, else the typed text) into row `row` of the page of
// `target`. Returns modified == false and keepCell when the row opens no editor there.
CommitResult commitGridCell(GatewayConfiguration& cfg, EditorState& state, const EditTarget& target,
                            int row, const std::string& text);

} // namespace torvane
